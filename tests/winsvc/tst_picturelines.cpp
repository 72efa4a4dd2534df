#include "support/pictures.h"
#include "winsvc/richtextcontrol.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextTable>

using namespace quillo;

namespace {

const QColor PictureColor(220, 20, 30);
constexpr int PictureHeight = 200;
constexpr int PaneWidth = 480; // narrower than a 600-pixel picture, as the programs open

bool isPictureColor(QRgb pixel) {
    return qAbs(qRed(pixel) - PictureColor.red()) < 40 &&
           qAbs(qGreen(pixel) - PictureColor.green()) < 40 &&
           qAbs(qBlue(pixel) - PictureColor.blue()) < 40;
}

// The top left corner of the picture shown in `image`; y is -1 where it shows nowhere.
QPoint pictureCorner(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isPictureColor(image.pixel(x, y)))
                return {x, y};
    return {0, -1};
}

// The position of the (only) picture in the control's text.
int picturePosition(const RichTextControl& control) {
    return int(control.plainText().indexOf(QChar(QChar::ObjectReplacementCharacter)));
}

QString writePicture(const QTemporaryDir& dir, int width, int height) {
    const QString path = dir.filePath(QStringLiteral("picture%1.png").arg(width));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(test::pngBytes(width, height, PictureColor)) < 0)
        return {};
    return path;
}

void showAtPaneSize(RichTextControl& control) {
    control.resize(PaneWidth, 400);
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&control));
}

} // namespace

class PictureLinesTest : public QObject {
    Q_OBJECT
private slots:
    void pictureAfterWordsShowsAtTheTop_data();
    void pictureAfterWordsShowsAtTheTop();
    void widerPaneTakesThePictureBack();
    void pictureAfterPictureMovesOn();
    void printedPictureFollowsTheWords();
};

void PictureLinesTest::pictureAfterWordsShowsAtTheTop_data() {
    QTest::addColumn<QString>("words"); // typed before the picture
    QTest::addColumn<int>("pictureWidth");
    QTest::addColumn<bool>("inTable");
    QTest::addColumn<bool>("besideWords"); // the picture shares the line with the words

    QTest::newRow("wide picture after words") << "a few words " << 600 << false << false;
    QTest::newRow("small picture beside words") << "a few words " << 120 << false << true;
    QTest::newRow("picture starting the line") << "" << 400 << false << true;
    QTest::newRow("picture wider than the pane") << "" << 900 << false << true;
    QTest::newRow("picture wider than the pane after words")
        << "a few words " << 900 << false << false;
    QTest::newRow("picture after words in a table cell") << "a few words " << 420 << true << false;
    QTest::newRow("small picture in a table cell") << "a few words " << 100 << true << true;
}

// A writer types a few words and puts a picture after them; the page is then shown in a
// pane of the size the programs open with, by the editor and by the viewer reading the saved
// page. A picture that cannot follow the words starts the next line right below them: the
// words' line stays as tall as its text, and the picture shows near the top of the pane.
void PictureLinesTest::pictureAfterWordsShowsAtTheTop() {
    QFETCH(QString, words);
    QFETCH(int, pictureWidth);
    QFETCH(bool, inTable);
    QFETCH(bool, besideWords);
    QTemporaryDir dir;
    const QString picture = writePicture(dir, pictureWidth, PictureHeight);
    QVERIFY(!picture.isEmpty());

    RichTextControl editor;
    showAtPaneSize(editor);
    if (inTable) {
        QTextCursor cursor = editor.textCursor();
        QTextTableFormat format;
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        cursor.insertTable(1, 1, format);
        editor.setTextCursor(cursor);
    }
    QTest::keyClicks(&editor, words);
    QVERIFY(editor.insertPicture(picture));

    RichTextControl viewer;
    viewer.setReadOnly(true);
    viewer.setRtf(editor.rtf());
    showAtPaneSize(viewer);

    for (RichTextControl* control : {&editor, &viewer}) {
        const QString shownBy = control == &editor ? "editor" : "viewer";
        const int position = picturePosition(*control);
        QVERIFY2(position >= 0, qPrintable(shownBy));
        control->document()->documentLayout()->documentSize(); // lays the page out
        const QTextBlock block = control->document()->findBlock(position);
        const QTextLayout* layout = block.layout();
        const QTextLine pictureLine = layout->lineForTextPosition(position - block.position());
        QVERIFY(pictureLine.isValid());
        QVERIFY2(pictureLine.height() >= PictureHeight, qPrintable(shownBy));
        if (besideWords) {
            QCOMPARE(pictureLine.lineNumber(), 0);
        } else {
            QCOMPARE(pictureLine.lineNumber(), 1);
            const QTextLine wordsLine = layout->lineAt(0);
            QVERIFY2(wordsLine.height() < 40,
                     qPrintable(QStringLiteral("%1: the words' line is %2 pixels tall")
                                    .arg(shownBy)
                                    .arg(wordsLine.height())));
            QVERIFY(pictureLine.y() < 40);
        }

        // What the pane shows: the picture within its first lines, not below a blank band.
        const QImage shown = control->viewport()->grab().toImage();
        const QPoint corner = pictureCorner(shown);
        const int top = corner.y();
        QVERIFY2(
            top >= 0 && top < 50,
            qPrintable(QStringLiteral("%1: the picture starts at row %2").arg(shownBy).arg(top)));

        // The caret around the picture: a click on it lands next to it, and the caret after it
        // stands on the picture's line.
        const QPoint onPicture(corner.x() + std::min(pictureWidth, PaneWidth - corner.x()) / 2,
                               top + PictureHeight / 2);
        const int clicked = control->cursorForPosition(onPicture).position();
        QVERIFY2(clicked == position || clicked == position + 1, qPrintable(shownBy));
        control->setSelStart(position + 1);
        const QRect caret = control->cursorRect();
        QVERIFY2(caret.bottom() > top + PictureHeight / 2 && caret.top() < top + PictureHeight,
                 qPrintable(shownBy));
        control->select(position, 1);
        QCOMPARE(control->selText(), QString(QChar::ObjectReplacementCharacter));
    }
}

// The line is chosen again as the pane's width changes: widened, the pane takes the picture
// beside the words; narrowed again, the picture moves on and the words' line shrinks back.
void PictureLinesTest::widerPaneTakesThePictureBack() {
    QTemporaryDir dir;
    const QString picture = writePicture(dir, 600, PictureHeight);
    QVERIFY(!picture.isEmpty());
    RichTextControl control;
    showAtPaneSize(control);
    QTest::keyClicks(&control, "a few words ");
    QVERIFY(control.insertPicture(picture));
    const QTextLayout* layout = control.document()->firstBlock().layout();
    const auto wordsLineHeight = [&](int paneWidth) {
        control.resize(paneWidth, 400);
        control.document()->documentLayout()->documentSize();
        return layout->lineAt(0).height();
    };
    QVERIFY(wordsLineHeight(PaneWidth) < 40);
    QCOMPARE(layout->lineCount(), 2);
    QVERIFY(wordsLineHeight(900) >= PictureHeight);
    QCOMPARE(layout->lineCount(), 1);
    QVERIFY(wordsLineHeight(PaneWidth) < 40);
    QCOMPARE(layout->lineCount(), 2);
}

// A picture that does not fit after another moves on too: the line it leaves is as tall as
// the picture that stays on it.
void PictureLinesTest::pictureAfterPictureMovesOn() {
    QTemporaryDir dir;
    const QString low = writePicture(dir, 250, 50);
    const QString tall = writePicture(dir, 300, 300);
    QVERIFY(!low.isEmpty() && !tall.isEmpty());
    RichTextControl control;
    showAtPaneSize(control);
    QVERIFY(control.insertPicture(low));
    QVERIFY(control.insertPicture(tall));
    control.document()->documentLayout()->documentSize();
    const QTextLayout* layout = control.document()->firstBlock().layout();
    QCOMPARE(layout->lineCount(), 2);
    QCOMPARE(layout->lineAt(0).height(), 50);
    QCOMPARE(layout->lineAt(1).height(), 300);
}

// Printing lays the same page out at the paper's width: a picture almost as wide as the paper
// after a few words prints on the next line, right below the words.
void PictureLinesTest::printedPictureFollowsTheWords() {
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    constexpr int dpi = 96;
    const QRect paper = printer.pageLayout().paintRectPixels(dpi);
    const QString picture = writePicture(dir, paper.width() - 40, PictureHeight);
    QVERIFY(!picture.isEmpty());

    RichTextControl control;
    QTest::keyClicks(&control, "a few words ");
    QVERIFY(control.insertPicture(picture));
    QVERIFY(control.print(printer));

    QProcess render;
    render.start("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-png",
                              dir.filePath("page.pdf"), dir.filePath("shot")});
    QVERIFY(render.waitForFinished(60000));
    QCOMPARE(render.exitCode(), 0);
    const QImage page(dir.filePath("shot-1.png"));
    QVERIFY(!page.isNull());
    const int top = pictureCorner(page).y();
    QVERIFY2(
        top > paper.top() && top < paper.top() + 50,
        qPrintable(
            QStringLiteral("printed from row %1, text from row %2").arg(top).arg(paper.top())));
}

QTEST_MAIN(PictureLinesTest)
#include "tst_picturelines.moc"

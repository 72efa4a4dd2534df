#include "winsvc/richtextcontrol.h"
#include "winsvc/wincolor.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextList>

using namespace quillo;

namespace {
// A page as a Windows rich-edit control saves it: Japanese text in code page 932 escapes,
// a bold word, a red word, two paragraphs.
const QByteArray RichEditPage =
    "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 "
    "\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 \\'93\\'fa\\'96\\'7b\\'8c\\'ea "
    "\\b bold\\b0  \\cf1 red\\cf0\\par\r\nsecond line\\par\r\n}\r\n";
} // namespace

class RichTextTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void rtfRoundTrip();
    void selection_data();
    void selection();
    void selectedTextReplaces();
    void formattingOfSelection();
    void mixedSelectionHasNoValue();
    void paragraphFormatting();
    void bulletHasRoomForItsMarker_data();
    void bulletHasRoomForItsMarker();
    void caretFormatAppliesToTyping();
    void find_data();
    void find();
    void rightMarginWraps();
    void sizesAndWrappingThePageCanCarry_data();
    void sizesAndWrappingThePageCanCarry();
    void scrollBarFollowsThePageShown();
    void backColor();
    void textColorUnderPalettes_data();
    void textColorUnderPalettes();
    void oneLevelUndo();
    void insertPicture();
    void lineNumbers();
    void printsPages();
    void clipboardOperations();
    void eventsCanBeConsumed();
    void textDropped();
    void sellengthHosei_data();
    void sellengthHosei();
};

void RichTextTest::rtfRoundTrip() {
    RichTextControl control;
    QSignalSpy changed(&control, &RichTextControl::contentChanged);
    control.setRtf(RichEditPage);
    QVERIFY(changed.count() > 0);
    QCOMPARE(control.plainText(), QString::fromUtf8("日本語 bold red\nsecond line"));
    QCOMPARE(control.textLength(), control.plainText().size());
    QVERIFY(!control.canUndoLastEdit()); // loading is not an edit

    const QByteArray written = control.rtf();
    QVERIFY(written.startsWith("{\\rtf1"));
    for (char ch : written)
        QVERIFY2(uchar(ch) < 0x80, "RTF must be 7-bit");
    RichTextControl again;
    again.setRtf(written);
    QCOMPARE(again.plainText(), control.plainText());
    QCOMPARE(again.rtf(), written);
    again.select(4, 4);
    QCOMPARE(again.selectionFormat().bold, true);
    again.select(9, 3);
    QCOMPARE(again.selectionFormat().color, 0x000000FFu);
}

void RichTextTest::selection_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("text");
    // Text "abc\ndef": the paragraph end is one position.
    QTest::newRow("inside") << 1 << 1 << 1 << 1 << "b";
    QTest::newRow("across the paragraph end") << 2 << 3 << 2 << 3 << "c\nd";
    QTest::newRow("length clamped at the end") << 5 << 10 << 5 << 2 << "ef";
    QTest::newRow("start past the end") << 100 << 1 << 7 << 0 << "";
    QTest::newRow("negative start") << -3 << 2 << 0 << 2 << "ab";
    QTest::newRow("negative length") << 2 << -1 << 2 << 0 << "";
}

void RichTextTest::selection() {
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, text);
    RichTextControl control;
    control.setPlainText("abc\ndef");
    control.setSelStart(start);
    QCOMPARE(control.selLength(), 0);
    control.setSelLength(length);
    QCOMPARE(control.selStart(), selStart);
    QCOMPARE(control.selLength(), selLength);
    QCOMPARE(control.selText(), text);
}

void RichTextTest::selectedTextReplaces() {
    RichTextControl control;
    control.setPlainText("Hello world");
    control.select(6, 5);
    control.setSelText("Qt\nline");
    QCOMPARE(control.plainText(), "Hello Qt\nline");
    QCOMPARE(control.selStart(), 13);
    QCOMPARE(control.selLength(), 0);
    control.select(5, 3);
    control.setSelText("");
    QCOMPARE(control.plainText(), "Hello\nline");
    control.select(0, 5);
    control.clearSelection();
    QCOMPARE(control.plainText(), "\nline");
}

void RichTextTest::formattingOfSelection() {
    RichTextControl control;
    control.setPlainText("abcdef");
    control.select(0, 3);
    SelectionFormat set;
    set.fontName = QString::fromUtf8("ＭＳ 明朝");
    set.fontSize = 12;
    set.color = 0x00FF0000u;
    set.bold = true;
    set.italic = true;
    set.underline = true;
    control.setSelectionFormat(set);
    // The paragraph part of the selection keeps its own values; compare the character part.
    const auto characterPart = [](SelectionFormat f) {
        f.alignment = f.leftIndent = f.rightIndent = std::nullopt;
        f.bullet = std::nullopt;
        return f;
    };
    QVERIFY(characterPart(control.selectionFormat()) == set);

    // Survives the trip through RTF.
    RichTextControl again;
    again.setRtf(control.rtf());
    again.select(0, 3);
    QVERIFY(characterPart(again.selectionFormat()) == set);
    again.select(3, 3);
    QCOMPARE(again.selectionFormat().bold, false);

    // Setting only bold leaves the other properties alone.
    SelectionFormat boldOff;
    boldOff.bold = false;
    control.select(0, 3);
    control.setSelectionFormat(boldOff);
    QCOMPARE(control.selectionFormat().bold, false);
    QCOMPARE(control.selectionFormat().italic, true);
}

void RichTextTest::mixedSelectionHasNoValue() {
    RichTextControl control;
    control.setPlainText("abcdef\nsecond");
    control.select(0, 3);
    SelectionFormat set;
    set.bold = true;
    set.fontSize = 14;
    set.color = 0x000000FFu;
    set.alignment = SelectionFormat::AlignCenter;
    control.setSelectionFormat(set);

    control.select(1, 4);
    const SelectionFormat mixed = control.selectionFormat();
    QCOMPARE(mixed.bold, std::nullopt);
    QCOMPARE(mixed.fontSize, std::nullopt);
    QCOMPARE(mixed.color, std::nullopt);
    QCOMPARE(mixed.italic, false); // not mixed: no part is italic
    QVERIFY(mixed.fontName.has_value());
    QCOMPARE(mixed.alignment, SelectionFormat::AlignCenter); // one paragraph

    control.select(3, 6); // "def\nse": both paragraphs
    QCOMPARE(control.selectionFormat().alignment, std::nullopt);
    control.select(0, 7); // the first paragraph with its end only
    QCOMPARE(control.selectionFormat().alignment, SelectionFormat::AlignCenter);
}

void RichTextTest::paragraphFormatting() {
    RichTextControl control;
    control.setPlainText("one\ntwo\nthree");
    control.select(0, 5); // "one" and the start of "two"
    SelectionFormat set;
    set.leftIndent = 720;
    set.rightIndent = 360;
    set.alignment = SelectionFormat::AlignRight;
    control.setSelectionFormat(set);
    SelectionFormat got = control.selectionFormat();
    QCOMPARE(got.leftIndent, 720);
    QCOMPARE(got.rightIndent, 360);
    QCOMPARE(got.alignment, SelectionFormat::AlignRight);
    control.select(0, 9); // reaches "three"
    QCOMPARE(control.selectionFormat().leftIndent, std::nullopt);

    control.select(0, 5);
    SelectionFormat bullet;
    bullet.bullet = true;
    control.setSelectionFormat(bullet);
    got = control.selectionFormat();
    QCOMPARE(got.bullet, true);
    QCOMPARE(got.leftIndent, 720); // a bullet keeps the indent
    control.select(0, 9);
    QCOMPARE(control.selectionFormat().bullet, std::nullopt);

    const QByteArray rtf = control.rtf();
    QVERIFY(rtf.contains("\\li720"));
    QVERIFY(rtf.contains("\\ri360"));
    QVERIFY(rtf.contains("\\qr"));
    RichTextControl again;
    again.setRtf(rtf);
    QCOMPARE(again.plainText(), control.plainText());
    again.select(0, 5);
    QCOMPARE(again.selectionFormat().bullet, true);
    QCOMPARE(again.selectionFormat().leftIndent, 720);
    QCOMPARE(again.selectionFormat().alignment, SelectionFormat::AlignRight);

    control.select(0, 5);
    bullet.bullet = false;
    control.setSelectionFormat(bullet);
    QCOMPARE(control.selectionFormat().bullet, false);
    QCOMPARE(control.selectionFormat().leftIndent, 720);
    QCOMPARE(control.plainText(), "one\ntwo\nthree");
}

// A bullet stands in a hanging indent, never cut off at the left edge: one made with the
// bullet command gets the hang a rich-edit control gives it, and a page stored with a bare
// \pn and no indent is shown with that room. The marker needs about a quarter inch (24
// pixels at 96 dpi).
void RichTextTest::bulletHasRoomForItsMarker_data() {
    QTest::addColumn<QByteArray>("stored"); // empty: bulleted with the command
    QTest::newRow("bullet command") << QByteArray();
    QTest::newRow("stored \\pn without indent")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\pntext\\'B7\\tab}"
                      "{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}\\f0 item\\par}");
}
void RichTextTest::bulletHasRoomForItsMarker() {
    QFETCH(QByteArray, stored);
    RichTextControl control;
    if (stored.isEmpty()) {
        control.setPlainText("item");
        control.select(0, 2);
        SelectionFormat bullet;
        bullet.bullet = true;
        control.setSelectionFormat(bullet);
        QVERIFY(control.rtf().contains("\\fi-360\\li360"));
    } else {
        control.setRtf(stored);
    }
    const QTextBlock block = control.document()->firstBlock();
    QVERIFY(block.textList());
    QVERIFY(block.blockFormat().leftMargin() >= 23.9);
    control.select(0, 2);
    QCOMPARE(control.selectionFormat().bullet, true);
    QCOMPARE(control.selectionFormat().leftIndent, 360);
    if (!stored.isEmpty())
        return;
    // Taking the bullet away takes its hang away: the text is back at the edge.
    SelectionFormat none;
    none.bullet = false;
    control.setSelectionFormat(none);
    QCOMPARE(control.selectionFormat().leftIndent, 0);
    QVERIFY(!control.rtf().contains("\\fi-"));
}

void RichTextTest::caretFormatAppliesToTyping() {
    RichTextControl control;
    control.setPlainText("plain ");
    control.setSelStart(6);
    SelectionFormat bold;
    bold.bold = true;
    control.setSelectionFormat(bold);
    QCOMPARE(control.selectionFormat().bold, true);
    QTest::keyClicks(&control, "bold");
    control.select(6, 4);
    QCOMPARE(control.selText(), "bold");
    QCOMPARE(control.selectionFormat().bold, true);
    control.select(0, 5);
    QCOMPARE(control.selectionFormat().bold, false);
}

void RichTextTest::find_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("found");
    // Searched text: "Hello HELLO\nhello ｈｅｌｌｏ"
    QTest::newRow("ignoring case") << "hello" << 0 << -1 << false << 0;
    QTest::newRow("matching case") << "hello" << 0 << -1 << true << 12;
    QTest::newRow("from a start") << "hello" << 1 << -1 << false << 6;
    QTest::newRow("hit must end by the end") << "hello" << 7 << 16 << false << -1;
    QTest::newRow("hit ending at the end") << "hello" << 7 << 17 << false << 12;
    QTest::newRow("across the paragraph end") << "LO\nhe" << 0 << -1 << true << 9;
    QTest::newRow("full-width letters") << "ＨＥＬＬＯ" << 0 << -1 << false << 18;
    QTest::newRow("missing") << "world" << 0 << -1 << false << -1;
    QTest::newRow("start past the end") << "hello" << 99 << -1 << false << -1;
    QTest::newRow("empty text") << "" << 0 << -1 << false << -1;
}

void RichTextTest::find() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(bool, matchCase);
    QFETCH(int, found);
    RichTextControl control;
    control.setPlainText(QString::fromUtf8("Hello HELLO\nhello ｈｅｌｌｏ"));
    control.select(2, 1);
    QCOMPARE(control.find(text, start, end, matchCase), found);
    if (found >= 0) {
        QCOMPARE(control.selStart(), found);
        QCOMPARE(control.selText().compare(text, Qt::CaseInsensitive), 0);
    } else {
        QCOMPARE(control.selStart(), 2); // a miss leaves the selection alone
        QCOMPARE(control.selLength(), 1);
    }
}

void RichTextTest::rightMarginWraps() {
    RichTextControl control;
    control.resize(800, 400);
    control.setPlainText(QString("word ").repeated(40));
    control.setRightMargin(1440); // one inch: 96 document pixels
    QCOMPARE(control.rightMargin(), 1440);
    QCOMPARE(control.lineWrapMode(), QTextEdit::FixedPixelWidth);
    QCOMPARE(control.lineWrapColumnOrWidth(), 96);
    const int narrowLines = control.lineFromPosition(control.textLength());
    QVERIFY(narrowLines > 5);
    control.setRightMargin(0);
    QCOMPARE(control.lineWrapMode(), QTextEdit::WidgetWidth);
    QVERIFY(control.lineFromPosition(control.textLength()) < narrowLines);
}

void RichTextTest::sizesAndWrappingThePageCanCarry_data() {
    QTest::addColumn<double>("size"); // points asked for with the size command
    QTest::addColumn<double>("shown");
    QTest::newRow("ordinary") << 72.0 << 72.0;
    QTest::newRow("largest the layout carries") << 200.0 << 200.0;
    QTest::newRow("largest a rich-edit control allows") << 1638.0 << 200.0;
}

// The size command gives text at most the size pages are laid out at, and a page whose word of
// thousands of characters made it wrap anywhere leaves the next page wrapping at words.
void RichTextTest::sizesAndWrappingThePageCanCarry() {
    QFETCH(double, size);
    QFETCH(double, shown);
    RichTextControl control;
    control.setPlainText("abcdef");
    control.select(0, 3);
    SelectionFormat set;
    set.fontSize = size;
    control.setSelectionFormat(set);
    QCOMPARE(control.selectionFormat().fontSize, std::optional<double>(shown));

    control.setRtf("{\\rtf1 " + QByteArray("x").repeated(3000) + "}");
    QCOMPARE(control.document()->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
    control.setRtf(RichEditPage);
    QCOMPARE(control.document()->defaultTextOption().wrapMode(),
             QTextOption::WrapAtWordBoundaryOrAnywhere);
}

// Long page, short page, long page again: the vertical bar is there exactly when the page
// needs it, and the text is as wide as the bar leaves it.
void RichTextTest::scrollBarFollowsThePageShown() {
    RichTextControl control;
    control.resize(300, 120);
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&control));
    const QByteArray longPage = "{\\rtf1 " + QByteArray("line\\par ").repeated(200) + "}";
    const QByteArray shortPage = "{\\rtf1 one line}";
    for (const auto& [page, barShown] :
         {std::pair{longPage, true}, std::pair{shortPage, false}, std::pair{longPage, true}}) {
        control.setRtf(page);
        QCoreApplication::processEvents();
        QCOMPARE(control.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(control.verticalScrollBar()->isVisible(), barShown);
        QCOMPARE(control.document()->textWidth(), qreal(control.viewport()->width()));
    }
}

void RichTextTest::backColor() {
    RichTextControl control;
    control.resize(200, 100);
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&control));
    const auto shown = [&] { return control.viewport()->grab().toImage().pixelColor(20, 20); };
    QCOMPARE(control.backColor(), SystemWindowColor);
    control.setBackColor(0x0000FF00u);
    QCOMPARE(control.backColor(), 0x0000FF00u);
    QCOMPARE(shown(), QColor(0, 255, 0));
    control.setBackColor(0x80000018u); // tooltip background, shown from the palette
    QCOMPARE(control.backColor(), 0x80000018u);
    QCOMPARE(shown(), control.palette().color(QPalette::ToolTipBase));

    // A system colour follows a new desktop palette; the value stays the system colour.
    control.setBackColor(SystemWindowColor);
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    QApplication::setPalette(palette);
    QTRY_COMPARE(shown(), QColor(1, 2, 3));
    QCOMPARE(control.backColor(), SystemWindowColor);
}

namespace {
QPalette pagePalette(bool dark) {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Base, dark ? QColor(30, 30, 30) : QColor(Qt::white));
    palette.setColor(QPalette::Text, dark ? QColor(240, 240, 240) : QColor(Qt::black));
    return palette;
}
} // namespace

void RichTextTest::textColorUnderPalettes_data() {
    QTest::addColumn<bool>("darkPalette");
    QTest::addColumn<quint32>("back");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("textAfterSwitch"); // under the other palette
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const QColor paletteText(240, 240, 240);
    const quint32 cream = 0x00E8F8FF;
    const quint32 navy = 0x00400000;
    QTest::newRow("dark palette, system background")
        << true << SystemWindowColor << paletteText << black;
    QTest::newRow("dark palette, light page") << true << cream << black << black;
    QTest::newRow("dark palette, dark page") << true << navy << paletteText << white;
    QTest::newRow("light palette, system background")
        << false << SystemWindowColor << black << paletteText;
    QTest::newRow("light palette, light page") << false << cream << black << black;
    QTest::newRow("light palette, dark page") << false << navy << white << paletteText;
}

// Text without a colour of its own is drawn readably on the page: a page in system colours
// follows the palette, a page with a background of its own keeps it and gets text that can
// be read on it. Text with a colour of its own keeps that colour.
void RichTextTest::textColorUnderPalettes() {
    QFETCH(bool, darkPalette);
    QFETCH(quint32, back);
    QFETCH(QColor, text);
    QFETCH(QColor, textAfterSwitch);
    const QPalette original = QApplication::palette();
    QApplication::setPalette(pagePalette(darkPalette));

    RichTextControl control;
    control.setRtf(RichEditPage);
    control.setBackColor(back);
    control.resize(300, 100);
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&control));
    QCOMPARE(control.palette().color(QPalette::Text), text);
    control.select(0, 1);
    QCOMPARE(control.selectionFormat().color, qColorToWindowsColor(text));
    control.select(int(control.plainText().indexOf(QLatin1String("red"))), 3);
    QCOMPARE(control.selectionFormat().color, 0x000000FFu);

    // The desktop switches palettes while the page is shown.
    QApplication::setPalette(pagePalette(!darkPalette));
    QTRY_COMPARE(control.palette().color(QPalette::Text), textAfterSwitch);
    QApplication::setPalette(original);
}

void RichTextTest::oneLevelUndo() {
    RichTextControl control;
    control.setRtf(RichEditPage);
    control.show();
    QVERIFY(!control.canUndoLastEdit());
    control.setSelStart(0);
    QTest::keyClicks(&control, "xyz");
    const QString edited = control.plainText();
    QVERIFY(edited.startsWith("xyz"));
    QVERIFY(control.canUndoLastEdit());
    control.undoLastEdit();
    QCOMPARE(control.plainText(), QString::fromUtf8("日本語 bold red\nsecond line"));
    control.undoLastEdit(); // undoing the undo puts the edit back
    QCOMPARE(control.plainText(), edited);
    control.undoLastEdit();
    QVERIFY(!control.plainText().startsWith("xyz"));
    control.setSelStart(0);
    QTest::keyClicks(&control, "q");
    control.undoLastEdit(); // a new edit after an undo is undone, not redone over
    QVERIFY(!control.plainText().startsWith("q"));
}

void RichTextTest::insertPicture() {
    QTemporaryDir dir;
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString png = dir.filePath("blue.png");
    QVERIFY(image.save(png));
    QFile notPicture(dir.filePath("note.png"));
    QVERIFY(notPicture.open(QIODevice::WriteOnly));
    notPicture.write("not a picture");
    notPicture.close();

    RichTextControl control;
    control.setPlainText("ab");
    control.setSelStart(1);
    QVERIFY(!control.insertPicture(dir.filePath("missing.png")));
    QVERIFY(!control.insertPicture(notPicture.fileName()));
    QCOMPARE(control.plainText(), "ab");
    QVERIFY(control.insertPicture(png));
    QCOMPARE(control.plainText(), QString("a") + QChar(QChar::ObjectReplacementCharacter) + "b");
    const QByteArray rtf = control.rtf();
    QVERIFY(rtf.contains("\\pict"));
    QVERIFY(rtf.contains("\\pngblip"));
    RichTextControl again;
    again.setRtf(rtf);
    QCOMPARE(again.plainText(), control.plainText());
}

void RichTextTest::lineNumbers() {
    RichTextControl control;
    control.resize(400, 300);
    control.setPlainText("one\ntwo\n\nfour");
    QCOMPARE(control.lineFromPosition(0), 0);
    QCOMPARE(control.lineFromPosition(3), 0);
    QCOMPARE(control.lineFromPosition(4), 1);
    QCOMPARE(control.lineFromPosition(8), 2);
    QCOMPARE(control.lineFromPosition(9), 3);
    QCOMPARE(control.lineFromPosition(999), 3);
}

void RichTextTest::printsPages() {
    QTemporaryDir dir;
    RichTextControl control;
    control.setPlainText(QString::fromUtf8("印刷する行\n").repeated(300));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    QVERIFY(control.print(printer));
    QFile pdf(dir.filePath("page.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    const auto pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                       bytes.count("/Type /Page ") + bytes.count("/Type /Page/") +
                       bytes.count("/Type /Page>");
    QVERIFY2(pages >= 3, QByteArray::number(pages));
}

void RichTextTest::clipboardOperations() {
    RichTextControl control;
    control.setPlainText("cut me");
    control.select(0, 4);
    control.cut();
    QCOMPARE(control.plainText(), "me");
    QCOMPARE(QApplication::clipboard()->text(), "cut ");
    control.setSelStart(2);
    control.paste();
    QCOMPARE(control.plainText(), "mecut ");
    control.select(0, 2);
    control.copy();
    QCOMPARE(QApplication::clipboard()->text(), "me");
}

void RichTextTest::eventsCanBeConsumed() {
    RichTextControl control;
    control.setPlainText("text");
    control.show();
    int downs = 0;
    int presses = 0;
    connect(&control, &RichTextControl::keyDown, &control, [&](QKeyEvent*) { ++downs; });
    connect(&control, &RichTextControl::keyPress, &control, [&](QKeyEvent*) {
        ++presses;
        control.consumeEvent();
    });
    control.setSelStart(4);
    QTest::keyClicks(&control, "ab");
    QCOMPARE(control.plainText(), "text"); // typed characters were discarded
    QCOMPARE(downs, 2);
    QCOMPARE(presses, 2);
    QTest::keyClick(&control, Qt::Key_Left); // no character: key down only, and it moves
    QCOMPARE(downs, 3);
    QCOMPARE(presses, 2);
    QCOMPARE(control.selStart(), 3);

    QList<Qt::MouseButton> mouse;
    connect(&control, &RichTextControl::mouseDown, &control,
            [&](QMouseEvent* e) { mouse.append(e->button()); });
    connect(&control, &RichTextControl::mouseUp, &control,
            [&](QMouseEvent* e) { mouse.append(e->button()); });
    QTest::mouseClick(control.viewport(), Qt::RightButton);
    QCOMPARE(mouse, (QList<Qt::MouseButton>{Qt::RightButton, Qt::RightButton}));
}

void RichTextTest::textDropped() {
    RichTextControl control;
    control.setPlainText("drop");
    control.resize(300, 200);
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&control));
    QSignalSpy drops(&control, &RichTextControl::textDropped);
    bool consume = true;
    connect(&control, &RichTextControl::textDropped, &control, [&] {
        if (consume)
            control.consumeEvent();
    });
    const auto dropText = [&](const QString& text) {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(control.viewport(), &enter);
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(control.viewport(), &drop);
    };
    dropText("dropped");
    QCOMPARE(drops.count(), 1);
    QCOMPARE(drops.at(0).at(0).toString(), "dropped");
    QCOMPARE(drops.at(0).at(1).toInt(), 0);
    QCOMPARE(control.plainText(), "drop"); // consumed: not inserted
    consume = false;
    dropText("new ");
    QCOMPARE(drops.count(), 2);
    QCOMPARE(control.plainText(), "new drop");
}

void RichTextTest::sellengthHosei_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("wanted");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("selected");
    const QString kanji = QString::fromUtf8("𠮷"); // two positions, one character
    QTest::newRow("already matching") << "abcdef" << 2 << 3 << 3 << 3 << "cde";
    QTest::newRow("too long") << "abcdef" << 1 << 4 << 2 << 2 << "bc";
    QTest::newRow("split pair widened") << "a" + kanji + "b" << 1 << 0 << 1 << 2 << kanji;
    QTest::newRow("three pairs") << kanji.repeated(3) + "x" << 0 << 1 << 3 << 6
                                 << kanji.repeated(3);
    QTest::newRow("shortfall beyond ten gives up") << "abc" << 0 << 0 << 20 << 3 << "abc";
}

void RichTextTest::sellengthHosei() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(int, wanted);
    QFETCH(int, selLength);
    QFETCH(QString, selected);
    RichTextControl control;
    control.setPlainText(text);
    control.select(start, length);
    fitSelectionToCharacterCount(control, wanted);
    QCOMPARE(control.selStart(), start);
    QCOMPARE(control.selLength(), selLength);
    QCOMPARE(control.selText(), selected);
}

QTEST_MAIN(RichTextTest)
#include "tst_richtext.moc"

// Both programs as a desktop user meets them: files dropped from a file manager onto the
// windows, and the desktop's recently-used list after opening and saving.
#include "support/makerfixture.h"
#include "support/scripteddialogs.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/desktoprecent.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QMimeData>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <QUrl>

using namespace quillo;
using namespace quillo::maker;
using Answer = quillo::Dialogs::Answer;

namespace {

// Drops the files on `widget` at `position` as a file manager does: the addresses, and the
// same as text.
void dropFiles(QWidget* widget, const QStringList& files, QPoint position = {5, 5}) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    data.setText(files.join(QLatin1Char('\n')));
    QDragEnterEvent enter(position, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(position), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    QVERIFY(drop.isAccepted());
}

QByteArray desktopRecentList() {
    QFile file(desktopRecentFilesPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray href(const QString& path) {
    return QUrl::fromLocalFile(path).toEncoded();
}

} // namespace

class TestDesktopUse : public QObject {
    Q_OBJECT
    MakerFixture f;

    QString helpFile(const QString& name) {
        const QString path = f.file(name);
        QFile::remove(path);
        if (!QFile::copy(QStringLiteral(QUILLO_TEST_DATA "/core/japanese.qzd"), path))
            return {};
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        f.setUp();
        QFile::remove(desktopRecentFilesPath());
    }
    void cleanup() { f.tearDown(); }

    // A help file dropped on the page of a changed document: the save question first, then
    // the file opens as File > Open opens it; the page never gets the path as text.
    void makerOpensDroppedHelpFile() {
        const QString first = helpFile(QStringLiteral("first.qzd"));
        const QString second = helpFile(QStringLiteral("second.qzd"));
        MakerMainWindow* w = f.start(first);
        QVERIFY(w);
        MakerFixture::type(w, QStringLiteral("変更"));
        QVERIFY(w->document().isModified());
        f.dialogs().answerNext(Answer::No);
        dropFiles(w->editor()->viewport(), {second});
        QCOMPARE(w->document().help().filePath, second);
        QVERIFY(!w->document().isModified());
        QVERIFY(!w->editor()->toPlainText().contains(QLatin1String("second.qzd")));
        const QList<test::ScriptedDialogs::Call> messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().buttons, Dialogs::Buttons::YesNoCancel);
        // Both files are on the desktop's recent list as the authoring program's.
        const QByteArray list = desktopRecentList();
        QVERIFY2(list.contains(href(first)) && list.contains(href(second)), list.constData());
        QVERIFY(list.contains("name=\"qzd32mk\""));
    }

    // A picture dropped on the page is embedded where it was dropped.
    void makerEmbedsDroppedPicture() {
        const QString first = helpFile(QStringLiteral("first.qzd"));
        MakerMainWindow* w = f.start(first);
        QVERIFY(w);
        w->editor()->setPlainText(QStringLiteral("前の行\n後の行"));
        const QString picture = f.file(QStringLiteral("dot.png"));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture));
        const QPoint start =
            w->editor()
                ->cursorRect(QTextCursor(w->editor()->document()->findBlockByNumber(1)))
                .center();
        dropFiles(w->editor()->viewport(), {picture}, start);
        const QByteArray rtf = w->document().help().page(w->document().currentPage()).rtf;
        QVERIFY2(rtf.contains("\\pict"), rtf.constData());
        // At the drop point: after the first line, before the second.
        QCOMPARE(w->editor()->toPlainText(), QStringLiteral("前の行\n") +
                                                 QChar::ObjectReplacementCharacter +
                                                 QStringLiteral("後の行"));
        QCOMPARE(f.dialogs().messages().size(), 0);
    }

    // Another kind of file is refused with a short message naming it.
    void makerRefusesOtherFiles() {
        const QString first = helpFile(QStringLiteral("first.qzd"));
        MakerMainWindow* w = f.start(first);
        QVERIFY(w);
        const QString text = f.file(QStringLiteral("notes.txt"));
        QFile notes(text);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a help file\n");
        notes.close();
        const QString before = w->editor()->toPlainText();
        f.dialogs().answerNext(Answer::Ok);
        dropFiles(w->editor()->viewport(), {text});
        const QList<test::ScriptedDialogs::Call> messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().text.startsWith(QLatin1String("notes.txt\n")),
                 qPrintable(messages.first().text));
        QCOMPARE(w->editor()->toPlainText(), before);
        QCOMPARE(w->document().help().filePath, first);
    }

    // Saving under a new name puts the new file on the desktop's list.
    void makerSaveJoinsDesktopList() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        MakerFixture::type(w, QStringLiteral("本文"));
        const QString saved = f.file(QStringLiteral("saved.qzd"));
        f.dialogs().chooseFileNext(saved);
        MakerFixture::trigger(w, "qzd32mk_file_save_rename");
        QVERIFY(QFile::exists(saved));
        QVERIFY(desktopRecentList().contains(href(saved)));
    }

    void makerLooks_data() {
        QTest::addColumn<int>("points");
        QTest::newRow("9 pt") << 9;
        QTest::newRow("12 pt") << 12;
        QTest::newRow("16 pt") << 16;
    }

    // Whatever the desktop's font, the default window shows every menu of the menu bar (no
    // overflow button) and the font box shows the Windows Japanese face names in full.
    void makerLooks() {
        QFETCH(int, points);
        const QFont desktopFont = QApplication::font();
        const auto restore = qScopeGuard([&desktopFont] { QApplication::setFont(desktopFont); });
        // A fixed-pitch Japanese face: its Latin letters are half as wide as its kana.
        QApplication::setFont(QFont(QStringLiteral("IPAGothic"), points));
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        auto* overflow =
            w->menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
        QVERIFY(overflow);
        QTRY_VERIFY2(!overflow->isVisible(),
                     qPrintable(QStringLiteral("window %1, menus %2")
                                    .arg(w->width())
                                    .arg(w->menuBar()->sizeHint().width())));

        auto* box = w->findChild<QComboBox*>(QStringLiteral("Combo1"));
        QVERIFY(box);
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.rect = QRect(QPoint(), box->minimumSizeHint());
        const int field =
            box->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
                .width();
        for (const QString& face : windowsJapaneseFontNames())
            QVERIFY2(box->fontMetrics().horizontalAdvance(face) <= field,
                     qPrintable(face + ' ' + QString::number(field)));
    }

    // The viewer opens a dropped help file as its open command does, and refuses others.
    void viewerOpensDroppedHelpFile() {
        const QString first = helpFile(QStringLiteral("first.qzd"));
        const QString second = helpFile(QStringLiteral("二番目.qzd"));
        test::ScriptedDialogs dialogs;
        viewer::ViewerWindow window(dialogs);
        window.startUp(first);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.windowTitle().contains(QLatin1String("first")));
        dropFiles(window.findChild<QWidget*>(QStringLiteral("Text1")), {second});
        QVERIFY2(window.windowTitle().contains(QStringLiteral("二番目")),
                 qPrintable(window.windowTitle()));
        QCOMPARE(dialogs.messages().size(), 0);
        QVERIFY(window.findChild<QLineEdit*>(QStringLiteral("Text1"))->text().isEmpty());
        const QByteArray list = desktopRecentList();
        QVERIFY(list.contains(href(first)) && list.contains(href(second)));
        QVERIFY(list.contains("name=\"qzd32\""));

        dialogs.answerNext(Answer::Ok);
        dropFiles(&window, {QStringLiteral(QUILLO_TEST_DATA "/core/make_core_data.py")});
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(window.windowTitle().contains(QStringLiteral("二番目")));
    }
};

QTEST_MAIN(TestDesktopUse)
#include "tst_desktopuse.moc"

#include "core/helpfile.h"
#include "support/scripteddialogs.h"
#include "support/viewerfiles.h"
#include "viewer/printbox.h"
#include "viewer/viewertexts.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/placement.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

using namespace quillo;
using namespace quillo::viewer;
using quillo::test::bytesOf;
using quillo::test::documentOf;
using quillo::test::ScriptedDialogs;
using quillo::test::settingsIn;

namespace {

template <typename T> T* child(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

QAction* action(QWidget* w, const char* name) {
    return child<QAction>(w, name);
}

// Ten pages; "Target" stands on pages 2, 4 (twice) and 5, written in various cases.
QStringList searchPages() {
    return {QStringLiteral("first page"),   QStringLiteral("second has TARGET here"),
            QStringLiteral("third"),        QStringLiteral("fourth Target one then target two"),
            QStringLiteral("fifth target"), QStringLiteral("six"),
            QStringLiteral("seven"),        QStringLiteral("eight"),
            QStringLiteral("nine"),         QStringLiteral("ten")};
}

} // namespace

class TestViewerWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menusCarryNamesCaptionsAndShortcuts_data();
    void menusCarryNamesCaptionsAndShortcuts();
    void quotedCommandLineOpensTheFile();
    void tooManySeparatorsIsRefused();
    void wrongFormatShowsMessageAndNeverWrites_data();
    void wrongFormatShowsMessageAndNeverWrites();
    void offScreenWindowFallsBackToDefaults();
    void openAndCloseLeavesFileUntouched_data();
    void openAndCloseLeavesFileUntouched();
    void movingAndClosingRewritesTheFile();
    void maximisedCloseKeepsSizeAndStoresState();
    void frontRefusedWhileMaximised();
    void removedOrReadOnlyFileIsNotWritten();
    void dividerStopsAtLimits();
    void listsShowPagesAndSortedKeywords();
    void nextAndPreviousPage();
    void printMenuPrintsThroughTheBox();
    void typingInPageIsRefused();
    void searchIgnoresCaseAndRunsToTheEnd();
    void searchFromCaretNeverLooksBack();
    void searchWithoutTextAsksForIt();
    void thirtyThirdCharacterIsCut();
    void droppedTextIsLimited_data();
    void droppedTextIsLimited();
    void openCommandReplacesDocument();
    void homePageReportsShellFailures_data();
    void homePageReportsShellFailures();
    void previewVariantIsConfigured();
    void escClosesFromEveryNamedControl_data();
    void escClosesFromEveryNamedControl();
    void focusOnAListKeepsThePage();
    void endMessageFollowsTheHitsShown_data();
    void endMessageFollowsTheHitsShown();
    void doubleClickSearchesTheEntry_data();
    void doubleClickSearchesTheEntry();

private:
    QString save(HelpDocument& doc, const QString& name);
    ViewerWindow* start(const QString& path);
    QString pageText() {
        return child<RichTextControl>(m_window.get(), "RichTextBox2")->plainText();
    }
    RichTextControl* page() { return child<RichTextControl>(m_window.get(), "RichTextBox2"); }
    QListWidget* list(const char* name) { return child<QListWidget>(m_window.get(), name); }
    QPushButton* searchButton() { return child<QPushButton>(m_window.get(), "Command1"); }
    QLineEdit* searchBox() { return child<QLineEdit>(m_window.get(), "Text1"); }
    QStringList lines(QListWidget* list);

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<ViewerWindow> m_window;
};

void TestViewerWindow::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void TestViewerWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dialogs.clear();
}

void TestViewerWindow::cleanup() {
    if (m_window)
        m_window->close();
    m_window.reset();
    QCOMPARE(m_dialogs.unexpectedCount(), 0);
    QVERIFY(m_dialogs.scriptDone());
}

QString TestViewerWindow::save(HelpDocument& doc, const QString& name) {
    const QString path = m_dir->filePath(name);
    if (!saveHelpFile(path, doc).ok())
        qWarning("could not write %s", qPrintable(path));
    return path;
}

ViewerWindow* TestViewerWindow::start(const QString& path) {
    m_window = std::make_unique<ViewerWindow>(m_dialogs);
    m_window->startUp(path);
    m_window->show();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("window not activated");
    return m_window.get();
}

QStringList TestViewerWindow::lines(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void TestViewerWindow::menusCarryNamesCaptionsAndShortcuts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* name, const QString& caption, QKeySequence key = {},
                  bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << key << enabled;
    };
    row("qzd32_open", QStringLiteral("開く(O)"), QKeySequence(Qt::CTRL | Qt::Key_O));
    row("qzd32_end", QStringLiteral("終了(X)"));
    row("qzd32_copy", QStringLiteral("ｺﾋﾟｰ(C)"));
    row("qzd32_all_select", QStringLiteral("すべての範囲を選択(A)"),
        QKeySequence(Qt::CTRL | Qt::Key_A));
    row("qzd32_next_page", QStringLiteral("次ﾍﾟｰｼﾞ(N)"), QKeySequence(Qt::CTRL | Qt::Key_N));
    row("qzd32_return_page", QStringLiteral("前ﾍﾟｰｼﾞ(R)"), QKeySequence(Qt::CTRL | Qt::Key_R));
    row("qzd32_print_this_page", QStringLiteral("表示ﾍﾟｰｼﾞ印刷(S)"),
        QKeySequence(Qt::CTRL | Qt::Key_P));
    row("qzd32_print_all", QStringLiteral("全ﾍﾟｰｼﾞ印刷(A)"));
    row("qzd32_how_to", QStringLiteral("使い方(R)"));
    row("qzd32_version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(A)"));
    row("qzd32mk_www_view", QStringLiteral("Mr.Vornｻｲﾄへ接続"));
    row("qzd32_front", QStringLiteral("手前に表示"));
}

void TestViewerWindow::menusCarryNamesCaptionsAndShortcuts() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    ViewerWindow window(m_dialogs);
    QCOMPARE(window.objectName(), QStringLiteral("qzd32_main"));
    auto* a = window.findChild<QAction*>(name);
    QVERIFY(a);
    QCOMPARE(a->text().remove(QLatin1Char('&')), caption);
    QCOMPARE(a->shortcut(), shortcut);
    QCOMPARE(a->isEnabled(), enabled);
    auto* array = window.findChild<QAction*>(QStringLiteral("qzd32_FileArray"));
    QVERIFY(array && !array->isVisible());
    for (const char* control : {"List1", "List2", "Text1", "Text2", "Command1", "Check1", "SSTab1",
                                "RichTextBox1", "RichTextBox2"})
        QVERIFY2(window.findChild<QWidget*>(QLatin1String(control)), control);
}

void TestViewerWindow::quotedCommandLineOpensTheFile() {
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    const QString path = save(*doc, QStringLiteral("my guide.qzd"));
    const QStringList args = QString(QLatin1Char('"') + path + QLatin1Char('"')).split(' ');
    start(commandLinePath(args));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo  my guide.qzd Page 1 / 3"));
    QCOMPARE(pageText(), QStringLiteral("one"));
    QCOMPARE(searchButton()->text(), CaptionFromStart);
    QVERIFY(child<QCheckBox>(m_window.get(), "Check1")->isChecked());
}

void TestViewerWindow::tooManySeparatorsIsRefused() {
    const QString path = QStringLiteral("/a/b/c/d/e/f/g/h/i/j/k/help.qzd");
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    start(path);
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_dialogs.messages()[0].title, QStringLiteral("qzd32 関連付け起動"));
    QCOMPARE(m_dialogs.messages()[0].text,
             path + QStringLiteral("のファイルタイトルが読込めません。"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo32"));
    QCOMPARE(list("List1")->count(), 0);
}

// Text, a FIFO without a writer and a device without end are all no help file: the
// message comes at once and the window shows.
void TestViewerWindow::wrongFormatShowsMessageAndNeverWrites_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("text") << QStringLiteral("text");
    QTest::newRow("FIFO") << QStringLiteral("fifo");
    QTest::newRow("/dev/zero") << QStringLiteral("device");
}

void TestViewerWindow::wrongFormatShowsMessageAndNeverWrites() {
    QFETCH(QString, kind);
    QString path = m_dir->filePath(QStringLiteral("other.qzd"));
    if (kind == QLatin1String("text")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a help file at all, just some text that is long enough");
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        path = QStringLiteral("/dev/zero");
    }
    const QByteArray before = kind == QLatin1String("text") ? bytesOf(path) : QByteArray();
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    start(path);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_dialogs.messages()[0].title, QStringLiteral("qzd32 開く"));
    QCOMPARE(m_dialogs.messages()[0].text,
             QStringLiteral("Quillo32のファイル形式と異なるため開くことができません。"));
    QCOMPARE(m_dialogs.messages()[0].icon, Dialogs::Icon::Warning);
    QVERIFY(m_window->writeBackPath().isEmpty());
    m_window->move(m_window->pos() + QPoint(30, 30));
    m_window->close();
    if (kind == QLatin1String("text"))
        QCOMPARE(bytesOf(path), before);
}

void TestViewerWindow::offScreenWindowFallsBackToDefaults() {
    auto doc = documentOf({QStringLiteral("one")});
    doc->displaySettings.windowTop = qint16(screenHeightTwips() - 3000);
    doc->displaySettings.windowHeight = 6000; // reaches below the bottom edge
    const QString path = save(*doc, QStringLiteral("low.qzd"));
    start(path);
    QCOMPARE(m_window->pos(),
             QPoint(twipsToPixels(200, Qt::Horizontal), twipsToPixels(200, Qt::Vertical)));
    QCOMPARE(m_window->width(), twipsToPixels(9000, Qt::Horizontal));
    QCOMPARE(m_window->height(), twipsToPixels(6480, Qt::Vertical)); // 6500 rounded down
    const DisplaySettings& s = m_window->document().displaySettings;
    QCOMPARE(s.windowTop, 200);
    QCOMPARE(s.windowLeft, 200);
    QCOMPARE(s.windowWidth, 9000);
}

void TestViewerWindow::openAndCloseLeavesFileUntouched_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("listWidth");
    QTest::addColumn<int>("windowState");
    QTest::addColumn<int>("topmost");
    QTest::newRow("as saved") << 5400 << 2000 << 0 << 0;
    // Not a whole number of height steps, and a list width shown as the default.
    QTest::newRow("rounded height, default list") << 6500 << 0 << 0 << 0;
    QTest::newRow("maximised") << 5400 << 2000 << 2 << 0;
    QTest::newRow("in front") << 5400 << 2000 << 0 << 1;
}

void TestViewerWindow::openAndCloseLeavesFileUntouched() {
    QFETCH(int, height);
    QFETCH(int, listWidth);
    QFETCH(int, windowState);
    QFETCH(int, topmost);
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two")});
    DisplaySettings& s = doc->displaySettings;
    s.windowHeight = qint16(height);
    s.listWidth = qint16(listWidth);
    s.windowState = qint16(windowState);
    s.topmost = qint16(topmost);
    const QString path = save(*doc, QStringLiteral("same.qzd"));
    const QByteArray before = bytesOf(path);
    start(path);
    QCOMPARE(m_window->isMaximized(), windowState == 2);
    QCOMPARE(action(m_window.get(), "qzd32_front")->isChecked(), topmost == 1);
    QTest::qWait(20);
    m_window->close();
    QCOMPARE(bytesOf(path), before);
}

void TestViewerWindow::movingAndClosingRewritesTheFile() {
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two")});
    const QString path = save(*doc, QStringLiteral("moved.qzd"));
    start(path);
    m_window->move(m_window->pos() + QPoint(10, 20));
    m_window->close();
    const DisplaySettings s = settingsIn(path);
    QCOMPARE(s.windowLeft, 1500 + pixelsToTwips(10, Qt::Horizontal));
    QCOMPARE(s.windowTop, 1500 + pixelsToTwips(20, Qt::Vertical));
    QCOMPARE(s.windowHeight, 5400);
    QCOMPARE(s.windowWidth, 7500);
    QVERIFY(bytesOf(path).startsWith("qzd32mk Ver2.01 "));
}

void TestViewerWindow::maximisedCloseKeepsSizeAndStoresState() {
    auto doc = documentOf({QStringLiteral("one")});
    const QString path = save(*doc, QStringLiteral("max.qzd"));
    start(path);
    m_window->setWindowState(Qt::WindowMaximized);
    QTRY_VERIFY(m_window->isMaximized());
    QTest::qWait(20);
    m_window->close();
    const DisplaySettings s = settingsIn(path);
    QCOMPARE(s.windowState, 2);
    QCOMPARE(s.windowHeight, 5400);
    QCOMPARE(s.windowWidth, 7500);
    QCOMPARE(s.windowTop, 1500);
}

void TestViewerWindow::frontRefusedWhileMaximised() {
    auto doc = documentOf({QStringLiteral("one")});
    start(save(*doc, QStringLiteral("front.qzd")));
    m_window->setWindowState(Qt::WindowMaximized);
    QTRY_VERIFY(m_window->isMaximized());
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    action(m_window.get(), "qzd32_front")->trigger();
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_dialogs.messages()[0].title, QStringLiteral("qzd32 表示ｵﾌﾟｼｮﾝ"));
    QCOMPARE(m_dialogs.messages()[0].text,
             QStringLiteral("最大表示の場合は「手前に表示」を設定できません。"));
    QVERIFY(!action(m_window.get(), "qzd32_front")->isChecked());
    QCOMPARE(m_window->document().displaySettings.topmost, 0);

    // In the normal state the tick toggles keep-in-front; maximising then is refused.
    m_window->setWindowState(Qt::WindowNoState);
    QTRY_VERIFY(!m_window->isMaximized());
    QCOMPARE(m_window->document().displaySettings.windowState, 0);
    action(m_window.get(), "qzd32_front")->trigger();
    QCOMPARE(m_window->document().displaySettings.topmost, 1);
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    m_window->setWindowState(Qt::WindowMaximized);
    QTRY_COMPARE(m_dialogs.messages().size(), 2);
    QCOMPARE(
        m_dialogs.messages()[1].text,
        QStringLiteral("オプションの「手前に表示」を設定している場合は、最大表示できません。"));
    QCOMPARE(m_dialogs.messages()[1].title, QStringLiteral("qzd32 ｳｨﾝﾄﾞｳｻｲｽﾞ"));
    QTRY_VERIFY(!m_window->isMaximized());
    QCOMPARE(m_window->document().displaySettings.windowState, 0);
}

void TestViewerWindow::removedOrReadOnlyFileIsNotWritten() {
    auto doc = documentOf({QStringLiteral("one")});
    const QString path = save(*doc, QStringLiteral("gone.qzd"));
    start(path);
    QVERIFY(QFile::remove(path));
    m_window->move(m_window->pos() + QPoint(10, 10));
    m_window->close();
    QVERIFY(!QFile::exists(path)); // not created again

    const QString locked = save(*doc, QStringLiteral("locked.qzd"));
    const QByteArray before = bytesOf(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadUser);
    start(locked);
    m_window->move(m_window->pos() + QPoint(10, 10));
    m_window->close();
    QCOMPARE(bytesOf(locked), before);
    QVERIFY(m_dialogs.messages().isEmpty());
}

void TestViewerWindow::dividerStopsAtLimits() {
    auto doc = documentOf({QStringLiteral("one")});
    const QString path = save(*doc, QStringLiteral("divider.qzd"));
    start(path);
    auto* tabs = child<QTabWidget>(m_window.get(), "SSTab1");
    QListWidget* contents = list("List1");
    const int listRight = contents->mapTo(tabs, QPoint(contents->width(), 0)).x();
    const int panelLeft = child<QWidget>(m_window.get(), "Text2")->x() - tabs->x();
    QVERIFY(panelLeft > listRight);
    const QPoint grip(listRight + (panelLeft - listRight) / 2, 5);
    auto send = [tabs](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, tabs->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(tabs, &e);
    };
    send(QEvent::MouseMove, grip, Qt::NoButton);
    QCOMPARE(tabs->cursor().shape(), Qt::SizeHorCursor);
    send(QEvent::MouseButtonPress, grip, Qt::LeftButton);
    // 50 pixels to the left is accepted; far enough to leave less than 300 twips is not.
    send(QEvent::MouseMove, grip - QPoint(50, 0), Qt::LeftButton);
    const int accepted = 2000 - pixelsToTwips(50, Qt::Horizontal);
    QCOMPARE(contents->width(), twipsToPixels(accepted, Qt::Horizontal));
    send(QEvent::MouseMove, grip - QPoint(contents->width() + 40, 0), Qt::LeftButton);
    QCOMPARE(contents->width(), twipsToPixels(accepted, Qt::Horizontal));
    QCOMPARE(list("List2")->width(), contents->width());
    // To the right, the page panel may not become narrower than 300 twips either.
    send(QEvent::MouseMove, grip + QPoint(m_window->width(), 0), Qt::LeftButton);
    QCOMPARE(contents->width(), twipsToPixels(accepted, Qt::Horizontal));
    send(QEvent::MouseButtonRelease, grip - QPoint(50, 0), Qt::NoButton);
    m_window->close();
    QCOMPARE(settingsIn(path).listWidth, accepted);
}

void TestViewerWindow::listsShowPagesAndSortedKeywords() {
    QStringList pages;
    for (int p = 1; p <= 12; ++p)
        pages << QStringLiteral("page %1").arg(p);
    auto doc = documentOf(pages);
    doc->page(1).title = QStringLiteral("はじめに");
    doc->page(12).title = QStringLiteral("Index");
    auto keyword = [&doc](int page, const QString& word) { doc->page(page).keywords.append(word); };
    keyword(12, QStringLiteral("Install"));
    keyword(3, QStringLiteral("install"));
    keyword(1, QStringLiteral("zebra"));
    keyword(2, QStringLiteral("Apple"));
    start(save(*doc, QStringLiteral("lists.qzd")));

    const QStringList contents = lines(list("List1"));
    QCOMPARE(contents.size(), 12);
    QCOMPARE(contents[0], QStringLiteral("p 1  はじめに"));
    QCOMPARE(contents[1], QStringLiteral("p 2  "));
    QCOMPARE(contents[11], QStringLiteral("p12  Index"));
    QCOMPARE(lines(list("List2")),
             QStringList({QStringLiteral("Apple"), QStringLiteral("install"),
                          QStringLiteral("Install"), QStringLiteral("zebra")}));

    child<QTabWidget>(m_window.get(), "SSTab1")->setCurrentIndex(1);
    list("List2")->setCurrentRow(2);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo  lists.qzd Page 12 / 12"));
    QCOMPARE(list("List1")->currentRow(), 11);
    list("List2")->setCurrentRow(1);
    QCOMPARE(pageText(), QStringLiteral("page 3"));
    // Choosing a keyword leaves the search settings as they were.
    QCOMPARE(searchButton()->text(), CaptionFromStart);

    // Choosing a contents entry shows its page and searches from the caret from then on.
    child<QTabWidget>(m_window.get(), "SSTab1")->setCurrentIndex(0);
    QListWidget* c = list("List1");
    QTest::mouseClick(c->viewport(), Qt::LeftButton, {}, c->visualItemRect(c->item(4)).center());
    QCOMPARE(m_window->currentPage(), 5);
    QVERIFY(!child<QCheckBox>(m_window.get(), "Check1")->isChecked());
    QCOMPARE(searchButton()->text(), CaptionFromCaret);

    // Double-clicking an entry without a title asks for a search text.
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::mouseDClick(c->viewport(), Qt::LeftButton, {}, c->visualItemRect(c->item(4)).center());
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_dialogs.messages()[0].text, QStringLiteral("検索する文字列を設定して下さい。"));
}

void TestViewerWindow::nextAndPreviousPage() {
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    start(save(*doc, QStringLiteral("nav.qzd")));
    QAction* next = action(m_window.get(), "qzd32_next_page");
    QAction* previous = action(m_window.get(), "qzd32_return_page");
    previous->trigger(); // on page 1: nothing
    QCOMPARE(m_window->currentPage(), 1);
    next->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo  nav.qzd Page 2 / 3"));
    QCOMPARE(list("List1")->currentRow(), 1);
    QVERIFY(list("List1")->hasFocus());
    QTest::keyClick(m_window.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(pageText(), QStringLiteral("three"));
    next->trigger(); // on the last page: nothing
    QCOMPARE(m_window->currentPage(), 3);
    previous->trigger();
    QCOMPARE(m_window->currentPage(), 2);

    action(m_window.get(), "qzd32_all_select")->trigger();
    QCOMPARE(page()->selStart(), 0);
    QCOMPARE(page()->selLength(), page()->textLength());
    QVERIFY(page()->hasFocus());
}

// The print items open the progress box over the window; each tick prints one page as a
// job of its own, and the page shown stays as it was.
void TestViewerWindow::printMenuPrintsThroughTheBox() {
    const QString jobs = m_dir->filePath(QStringLiteral("jobs"));
    qputenv("QUILLO_PRINT_DIR", jobs.toLocal8Bit());
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    start(save(*doc, QStringLiteral("print.qzd")));
    action(m_window.get(), "qzd32_next_page")->trigger();
    auto printBox = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("qzd32_msg"))
                return qobject_cast<PrintBox*>(w);
        return static_cast<PrintBox*>(nullptr);
    };

    action(m_window.get(), "qzd32_print_this_page")->trigger();
    QTRY_VERIFY(printBox());
    QCOMPARE(printBox()->windowTitle(), QStringLiteral("print.qzd  Page 2/ 3"));
    printBox()->tick();
    QTRY_VERIFY(!printBox());
    QCOMPARE(QDir(jobs).entryList(QDir::Files).size(), 1);

    action(m_window.get(), "qzd32_print_all")->trigger();
    QTRY_VERIFY(printBox());
    for (int i = 0; i < 4 && printBox(); ++i)
        printBox()->tick();
    QTRY_VERIFY(!printBox());
    QCOMPARE(QDir(jobs).entryList(QDir::Files).size(), 4);
    QCOMPARE(m_window->currentPage(), 2);
    QCOMPARE(pageText(), QStringLiteral("two"));
    qunsetenv("QUILLO_PRINT_DIR");
}

void TestViewerWindow::typingInPageIsRefused() {
    auto doc = documentOf({QStringLiteral("read only text")});
    start(save(*doc, QStringLiteral("ro.qzd")));
    page()->setFocus();
    page()->setSelStart(0);
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::keyClick(page(), Qt::Key_X);
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_dialogs.messages()[0].title, QStringLiteral("qzd32 ﾍﾙﾌﾟ内容"));
    QCOMPARE(m_dialogs.messages()[0].text, QStringLiteral("読取専用ですので編集はできません。"));
    QCOMPARE(pageText(), QStringLiteral("read only text"));
    // Arrow keys move the caret; copy passes without a message.
    QTest::keyClick(page(), Qt::Key_Right);
    QCOMPARE(page()->selStart(), 1);
    QTest::keyClick(page(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(m_dialogs.messages().size(), 1);
    // The right button shows the Edit menu at the mouse.
    auto* edit = m_window->findChild<QMenu*>(QStringLiteral("qzd32_edit"));
    QTest::mousePress(page()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QTRY_VERIFY(edit->isVisible());
    edit->hide();
    // Esc closes the window from the page.
    QTest::keyClick(page(), Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
}

void TestViewerWindow::searchIgnoresCaseAndRunsToTheEnd() {
    auto doc = documentOf(searchPages());
    start(save(*doc, QStringLiteral("search.qzd")));
    QTest::keyClicks(searchBox(), QStringLiteral("target"));
    QCOMPARE(searchButton()->text(), CaptionFromStart);

    struct Hit {
        int page;
        int start;
        QString text;
    };
    const QList<Hit> hits{{2, 11, QStringLiteral("TARGET")},
                          {4, 7, QStringLiteral("Target")},
                          {4, 23, QStringLiteral("target")},
                          {5, 6, QStringLiteral("target")}};
    for (const Hit& hit : hits) {
        QTest::mouseClick(searchButton(), Qt::LeftButton);
        QCOMPARE(m_window->currentPage(), hit.page);
        QCOMPARE(m_window->windowTitle(),
                 QStringLiteral("Quillo  search.qzd Page %1 / 10").arg(hit.page));
        QCOMPARE(page()->selStart(), hit.start);
        QCOMPARE(page()->selText(), hit.text);
        QCOMPARE(list("List1")->currentRow(), hit.page - 1);
        QVERIFY(!child<QCheckBox>(m_window.get(), "Check1")->isChecked());
    }
    QCOMPARE(searchButton()->text(), CaptionFindNext);

    // No further hit: the view returns to the last hit and the end is reported.
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::mouseClick(searchButton(), Qt::LeftButton);
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_dialogs.messages()[0].title, QStringLiteral("qzd32 検索"));
    QCOMPARE(m_dialogs.messages()[0].text, QStringLiteral("検索を終了しました。"));
    QCOMPARE(m_window->currentPage(), 5);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo  search.qzd Page 5 / 10"));
    QCOMPARE(page()->selStart(), 6);
    QCOMPARE(page()->selText(), QStringLiteral("target"));
    QVERIFY(child<QCheckBox>(m_window.get(), "Check1")->isChecked());
    QCOMPARE(searchButton()->text(), CaptionFromStart);

    // A text found nowhere leaves the view where it was.
    searchBox()->setText(QStringLiteral("absent"));
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::keyClick(searchBox(), Qt::Key_Return);
    QCOMPARE(m_dialogs.messages()[1].text, QStringLiteral("該当する文字列は有りません。"));
    QCOMPARE(m_window->currentPage(), 5);
    QCOMPARE(page()->selStart(), 6);
}

void TestViewerWindow::searchFromCaretNeverLooksBack() {
    auto doc = documentOf(searchPages());
    start(save(*doc, QStringLiteral("caret.qzd")));
    QListWidget* c = list("List1");
    QTest::mouseClick(c->viewport(), Qt::LeftButton, {}, c->visualItemRect(c->item(3)).center());
    QCOMPARE(m_window->currentPage(), 4);
    // The caret goes between the two hits of page 4 by a click in the text.
    page()->setSelStart(15);
    QTest::mouseRelease(page()->viewport(), Qt::LeftButton, {}, page()->cursorRect().center());
    page()->setSelStart(15);
    QCOMPARE(searchButton()->text(), CaptionFromCaret);
    searchBox()->setText(QStringLiteral("TARGET"));
    QTest::mouseClick(searchButton(), Qt::LeftButton);
    QCOMPARE(m_window->currentPage(), 4);
    QCOMPARE(page()->selStart(), 23);
    QTest::mouseClick(searchButton(), Qt::LeftButton);
    QCOMPARE(m_window->currentPage(), 5);
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::mouseClick(searchButton(), Qt::LeftButton);
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_window->currentPage(), 5); // never pages 1 to 3
}

void TestViewerWindow::searchWithoutTextAsksForIt() {
    auto doc = documentOf(searchPages());
    start(save(*doc, QStringLiteral("empty.qzd")));
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::mouseClick(searchButton(), Qt::LeftButton);
    QCOMPARE(m_dialogs.messages()[0].text, QStringLiteral("検索する文字列を設定して下さい。"));
    QVERIFY(searchBox()->hasFocus());
    QCOMPARE(m_window->currentPage(), 1);
}

void TestViewerWindow::thirtyThirdCharacterIsCut() {
    auto doc = documentOf({QStringLiteral("one")});
    start(save(*doc, QStringLiteral("limit.qzd")));
    const QString full(32, QLatin1Char('a'));
    QTest::keyClicks(searchBox(), full);
    QVERIFY(m_dialogs.messages().isEmpty());
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::keyClick(searchBox(), Qt::Key_B);
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_dialogs.messages()[0].title, QStringLiteral("qzd32 検索"));
    QCOMPARE(m_dialogs.messages()[0].text, QStringLiteral("検索文字列は、最大32文字です。"));
    QCOMPARE(searchBox()->text(), full);
}

void TestViewerWindow::droppedTextIsLimited_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("selStart"); // the selection the box had before the drop
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<int>("answer"); // -1: no question
    QTest::addColumn<QString>("after");
    const QString forty = QStringLiteral("0123456789012345678901234567890123456789");
    const QString thirty(30, QLatin1Char('x'));
    QTest::newRow("40 into empty, No")
        << QString() << 0 << 0 << forty << int(Dialogs::Answer::No) << QString();
    QTest::newRow("40 into empty, Yes")
        << QString() << 0 << 0 << forty << int(Dialogs::Answer::Yes) << forty.left(32);
    QTest::newRow("fits, line break removed")
        << QStringLiteral("ab") << 2 << 0 << QStringLiteral("word\r\n") << -1
        << QStringLiteral("abword");
    QTest::newRow("30 + 3, Yes") << thirty << 30 << 0 << QStringLiteral("abc")
                                 << int(Dialogs::Answer::Yes) << thirty + QStringLiteral("ab");
    // The selection is replaced, so it counts as room.
    QTest::newRow("replaces the selection")
        << QStringLiteral("abcdef") << 2 << 2 << QStringLiteral("XYZ") << -1
        << QStringLiteral("abXYZef");
    QTest::newRow("full box, 2 selected, Yes")
        << thirty + QStringLiteral("yy") << 30 << 2 << QStringLiteral("abc")
        << int(Dialogs::Answer::Yes) << thirty + QStringLiteral("ab");
}

void TestViewerWindow::droppedTextIsLimited() {
    QFETCH(QString, before);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, dropped);
    QFETCH(int, answer);
    QFETCH(QString, after);
    auto doc = documentOf({QStringLiteral("one")});
    start(save(*doc, QStringLiteral("drop.qzd")));
    searchBox()->setText(before);
    searchBox()->setFocus();
    searchBox()->setSelection(selStart, selLength);
    QTest::keyRelease(searchBox(), Qt::Key_Shift); // the box remembers its selection
    searchBox()->deselect();                       // as the focus leaving for the drag source would
    if (answer >= 0)
        m_dialogs.answerNext(Dialogs::Answer(answer));
    QMimeData mime;
    mime.setText(dropped);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(searchBox(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(searchBox(), &drop);
    QCOMPARE(searchBox()->text(), after);
    if (answer >= 0) {
        const int room = 32 - int(before.size()) + selLength;
        QCOMPARE(m_dialogs.messages().size(), 1);
        QCOMPARE(m_dialogs.messages()[0].title, QStringLiteral("qzd32 検索（最大 32文字）"));
        QCOMPARE(
            m_dialogs.messages()[0].text,
            QStringLiteral("選択テキストが長すぎます。先頭文字列 %1文字を挿入します。").arg(room));
        QCOMPARE(m_dialogs.messages()[0].buttons, Dialogs::Buttons::YesNo);
    }
}

void TestViewerWindow::openCommandReplacesDocument() {
    auto first = documentOf({QStringLiteral("one"), QStringLiteral("two")});
    auto second =
        documentOf({QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")});
    const QString firstPath = save(*first, QStringLiteral("first.qzd"));
    const QString secondPath = save(*second, QStringLiteral("second.qzd"));
    start(firstPath);
    action(m_window.get(), "qzd32_next_page")->trigger();

    // Cancelling does nothing; a file that fails to read keeps the document shown.
    m_dialogs.chooseFileNext(QString());
    action(m_window.get(), "qzd32_open")->trigger();
    QCOMPARE(m_dialogs.calls().last().text, m_dir->path() + QLatin1Char('/'));
    QCOMPARE(m_dialogs.calls().last().filter, QStringLiteral("Quilloﾌｧｲﾙ (*.qzd)"));
    const QString broken = m_dir->filePath(QStringLiteral("broken.qzd"));
    QFile f(broken);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("garbage");
    f.close();
    m_dialogs.chooseFileNext(broken);
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    action(m_window.get(), "qzd32_open")->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo  first.qzd Page 2 / 2"));
    QCOMPARE(m_window->writeBackPath(), firstPath);

    m_dialogs.chooseFileNext(secondPath);
    action(m_window.get(), "qzd32_open")->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo  second.qzd Page 1 / 3"));
    QCOMPARE(list("List1")->count(), 3);
    QCOMPARE(pageText(), QStringLiteral("alpha"));
    QCOMPARE(searchButton()->text(), CaptionFromStart);
}

void TestViewerWindow::homePageReportsShellFailures_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::newRow("opened") << int(Dialogs::ShellOpenOk) << QString();
    QTest::newRow("no memory") << 8 << QStringLiteral("システムメモリが不足しています。");
    QTest::newRow("not found") << 2
                               << QStringLiteral("ブラウザが見つかりません。\nブラウザをインスト"
                                                 "ールしてから起動して下さい。");
    QTest::newRow("cannot start") << 14 << QStringLiteral("ブラウザが起動できません。");
    QTest::newRow("other") << 5 << QStringLiteral("ERR =  5");
}

void TestViewerWindow::homePageReportsShellFailures() {
    QFETCH(int, result);
    QFETCH(QString, message);
    ViewerWindow window(m_dialogs);
    m_dialogs.setShellOpenResult(result);
    m_dialogs.answerNext(Dialogs::Answer::Yes);
    if (!message.isEmpty())
        m_dialogs.answerNext(Dialogs::Answer::Ok);
    window.findChild<QAction*>(QStringLiteral("qzd32mk_www_view"))->trigger();
    const auto messages = m_dialogs.messages();
    QCOMPARE(messages[0].title, QStringLiteral("qzd32 Mr.Vornｻｲﾄ"));
    QCOMPARE(messages[0].buttons, Dialogs::Buttons::YesNo);
    QVERIFY(messages[0].text.startsWith(
        QStringLiteral("ブラウザを使用して「Mr.Vorn情報サイト」へ接続します。\n")));
    QCOMPARE(messages.size(), message.isEmpty() ? 1 : 2);
    if (!message.isEmpty())
        QCOMPARE(messages[1].text, message);
    QCOMPARE(m_dialogs.calls()[1].text, QString::fromLatin1(HomePageUrl));

    // Answering No opens nothing.
    m_dialogs.clear();
    m_dialogs.answerNext(Dialogs::Answer::No);
    window.findChild<QAction*>(QStringLiteral("qzd32mk_www_view"))->trigger();
    QCOMPARE(m_dialogs.calls().size(), 1);
}

void TestViewerWindow::previewVariantIsConfigured() {
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    doc->displaySettings.windowTop = qint16(screenHeightTwips() - 2000);
    doc->displaySettings.windowHeight = 6000;
    ViewerWindow::Options options;
    options.variant = Variant::Preview;
    options.document = doc.get();
    options.startPage = 2;
    options.searchText = QStringLiteral("two");
    ViewerWindow preview(m_dialogs, options);
    QSignalSpy closed(&preview, &ViewerWindow::previewClosed);
    preview.openPreview();
    QCOMPARE(preview.objectName(), QStringLiteral("qzd32mk_prev"));
    QCOMPARE(preview.windowTitle(), QStringLiteral("Quillo32Maker_Preview   Page 2 / 3"));
    QVERIFY(!preview.findChild<QAction*>(QStringLiteral("pre_open"))->isEnabled());
    QVERIFY(preview.findChild<QAction*>(QStringLiteral("pre_front")));
    QVERIFY(!preview.findChild<QAction*>(QStringLiteral("qzd32_front")));
    QCOMPARE(preview.findChild<QAction*>(QStringLiteral("pre_copy"))->text().remove('&'),
             QStringLiteral("コピー(C)"));
    QCOMPARE(preview.findChild<QAction*>(QStringLiteral("pre_print_all"))->text().remove('&'),
             QStringLiteral("全ページ印刷(A)"));
    // Placed below the screen's bottom edge: shrunk, not reset, so that the window with the
    // frame the desktop puts around it ends at the screen's bottom.
    QCOMPARE(doc->displaySettings.windowHeight, 2000 - frameMarginsOf(preview).vertical());
    QCOMPARE(doc->displaySettings.windowTop, screenHeightTwips() - 2000);

    m_dialogs.answerNext(Dialogs::Answer::Ok);
    preview.findChild<QAction*>(QStringLiteral("pre_how_to"))->trigger();
    QVERIFY(m_dialogs.messages()[0].text.contains(
        QStringLiteral("ﾌﾟﾚﾋﾞｭｰではﾌｧｲﾙ操作は使用不可としています。")));

    preview.show();
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    QCOMPARE(preview.findChild<QLineEdit*>(QStringLiteral("Text1"))->selectedText(),
             QStringLiteral("two"));
    preview.close();
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed[0][0].toBool(), false);
    QCOMPARE(closed[0][1].toString(), QStringLiteral("two"));
}

void TestViewerWindow::escClosesFromEveryNamedControl_data() {
    QTest::addColumn<QString>("control"); // empty: the window itself
    QTest::addColumn<int>("tab");
    for (const char* name : {"", "Text1", "Command1", "List1", "SSTab1", "RichTextBox2"})
        QTest::newRow(*name ? name : "window") << QString::fromLatin1(name) << 0;
    QTest::newRow("List2") << QStringLiteral("List2") << 1;
}

void TestViewerWindow::escClosesFromEveryNamedControl() {
    QFETCH(QString, control);
    QFETCH(int, tab);
    auto doc = documentOf({QStringLiteral("one")});
    start(save(*doc, QStringLiteral("esc.qzd")));
    auto* tabs = child<QTabWidget>(m_window.get(), "SSTab1");
    tabs->setCurrentIndex(tab);
    QWidget* target = m_window.get();
    if (control == QLatin1String("SSTab1"))
        target = tabs->tabBar();
    else if (!control.isEmpty())
        target = m_window->findChild<QWidget*>(control);
    QVERIFY(target);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
}

// A list that gets the keyboard focus while none of its entries is chosen must not show a
// page of its own accord: next page on the keyword tab stays on the next page.
void TestViewerWindow::focusOnAListKeepsThePage() {
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    doc->page(1).keywords.append(QStringLiteral("alpha"));
    doc->page(3).keywords.append(QStringLiteral("beta"));
    start(save(*doc, QStringLiteral("focus.qzd")));
    child<QTabWidget>(m_window.get(), "SSTab1")->setCurrentIndex(1);
    action(m_window.get(), "qzd32_next_page")->trigger();
    QVERIFY(list("List2")->hasFocus());
    QCOMPARE(m_window->currentPage(), 2);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo  focus.qzd Page 2 / 3"));
    // Choosing a keyword by key still shows its page.
    QTest::keyClick(list("List2"), Qt::Key_Down);
    QCOMPARE(list("List2")->selectedItems().size(), 1);
    const int chosen = list("List2")->currentRow() == 0 ? 1 : 3;
    QCOMPARE(m_window->currentPage(), chosen);
}

void TestViewerWindow::endMessageFollowsTheHitsShown_data() {
    QTest::addColumn<int>("shownPage"); // the page chosen before ticking "from the start"
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("hits");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("endPage"); // the page the view returns to
    const QString finished = QStringLiteral("検索を終了しました。");
    QTest::newRow("one hit, page 1 shown") << 1 << QStringLiteral("second") << 1 << finished << 2;
    QTest::newRow("one hit, page 3 shown") << 3 << QStringLiteral("second") << 1 << finished << 2;
    QTest::newRow("one hit on a later page") << 1 << QStringLiteral("fourth") << 1 << finished << 4;
    QTest::newRow("none") << 3 << QStringLiteral("absent") << 0
                          << QStringLiteral("該当する文字列は有りません。") << 3;
}

void TestViewerWindow::endMessageFollowsTheHitsShown() {
    QFETCH(int, shownPage);
    QFETCH(QString, needle);
    QFETCH(int, hits);
    QFETCH(QString, message);
    QFETCH(int, endPage);
    auto doc = documentOf(searchPages());
    start(save(*doc, QStringLiteral("end.qzd")));
    QListWidget* c = list("List1");
    QTest::mouseClick(c->viewport(), Qt::LeftButton, {},
                      c->visualItemRect(c->item(shownPage - 1)).center());
    auto* fromStart = child<QCheckBox>(m_window.get(), "Check1");
    fromStart->setChecked(true);
    searchBox()->setText(needle);
    QCOMPARE(searchButton()->text(), CaptionFromStart);
    for (int i = 0; i < hits; ++i) {
        QTest::mouseClick(searchButton(), Qt::LeftButton);
        QCOMPARE(page()->selText().toLower(), needle.toLower());
        QVERIFY(!fromStart->isChecked());
    }
    m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::mouseClick(searchButton(), Qt::LeftButton);
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_dialogs.messages()[0].text, message);
    QCOMPARE(m_dialogs.messages()[0].title, QStringLiteral("qzd32 検索"));
    QVERIFY(fromStart->isChecked());
    QCOMPARE(searchButton()->text(), CaptionFromStart);
    QCOMPARE(m_window->currentPage(), endPage);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo  end.qzd Page %1 / 10").arg(endPage));
}

void TestViewerWindow::doubleClickSearchesTheEntry_data() {
    QTest::addColumn<QString>("listName");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("searched");
    QTest::addColumn<int>("hitPage");
    // The contents entry of page 2 is titled "fifth": its title is searched for.
    QTest::newRow("contents") << QStringLiteral("List1") << 1 << QStringLiteral("fifth") << 5;
    QTest::newRow("keyword") << QStringLiteral("List2") << 0 << QStringLiteral("seven") << 7;
}

void TestViewerWindow::doubleClickSearchesTheEntry() {
    QFETCH(QString, listName);
    QFETCH(int, row);
    QFETCH(QString, searched);
    QFETCH(int, hitPage);
    auto doc = documentOf(searchPages());
    doc->page(2).title = QStringLiteral("fifth");
    doc->page(3).keywords.append(QStringLiteral("seven"));
    start(save(*doc, QStringLiteral("dclick.qzd")));
    auto* l = m_window->findChild<QListWidget*>(listName);
    child<QTabWidget>(m_window.get(), "SSTab1")->setCurrentIndex(l == list("List1") ? 0 : 1);
    const QPoint at = l->visualItemRect(l->item(row)).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(searchBox()->text(), searched);
    QCOMPARE(m_window->currentPage(), hitPage);
    QCOMPARE(page()->selText(), searched);
    QCOMPARE(searchButton()->text(), CaptionFindNext);
    QVERIFY(list("List2")->selectedItems().isEmpty()); // a search from page 1 clears it
}

QTEST_MAIN(TestViewerWindow)
#include "tst_viewerwindow.moc"

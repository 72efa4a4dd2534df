#include "support/hostilepages.h"
#include "support/scripteddialogs.h"
#include "support/viewerfiles.h"
#include "viewer/viewerwindow.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace quillo;
using namespace quillo::viewer;
using namespace quillo::test;

// The viewer driven as a user drives it: where it puts its window for a file opened, what
// closing writes back into the file, and what keys do.
class TestViewerUse : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs.clear();
    }
    void cleanup() {
        m_window.reset();
        QCOMPARE(m_dialogs.unexpectedCount(), 0);
        QVERIFY(m_dialogs.scriptDone());
    }

    void openWhileMaximisedKeepsTheOtherFile_data();
    void openWhileMaximisedKeepsTheOtherFile();
    void brokenGeometryShowsDefaultsWithoutWriting_data();
    void brokenGeometryShowsDefaultsWithoutWriting();
    void selectAllFromTheSearchBoxSelectsThePage();
    void enterPressesTheFocusedSearchButton_data();
    void enterPressesTheFocusedSearchButton();
    void keysWithoutCharacterPassThePage_data();
    void keysWithoutCharacterPassThePage();
    void homeChoosesTheFirstEntryAfterNextPage_data();
    void homeChoosesTheFirstEntryAfterNextPage();
    void closeAnswersWhileAHugePageLoads_data();
    void closeAnswersWhileAHugePageLoads();
    void hostilePagesShowAndClose_data();
    void hostilePagesShowAndClose();

private:
    QString save(HelpDocument& doc, const QString& name) {
        const QString path = m_dir->filePath(name);
        if (!saveHelpFile(path, doc).ok())
            qWarning("could not write %s", qPrintable(path));
        return path;
    }
    void start(const QString& path) {
        m_window = std::make_unique<ViewerWindow>(m_dialogs);
        m_window->startUp(path);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void openThroughTheMenu(const QString& path) {
        m_dialogs.chooseFileNext(path);
        m_window->findChild<QAction*>(QStringLiteral("qzd32_open"))->trigger();
    }
    // Where the window is: its position (with the frame) and its size.
    QRect placement() const { return QRect(m_window->pos(), m_window->size()); }
    static QRect pixelsOf(const WindowRect& r) {
        return QRect(twipsToPixels(r.left, Qt::Horizontal), twipsToPixels(r.top, Qt::Vertical),
                     twipsToPixels(r.width, Qt::Horizontal),
                     twipsToPixels(roundedDownHeight(r.height), Qt::Vertical));
    }

    template <typename T> T* child(const char* name) const {
        return m_window->findChild<T*>(QLatin1String(name));
    }
    RichTextControl* page() const { return child<RichTextControl>("RichTextBox2"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<ViewerWindow> m_window;
};

void TestViewerUse::openWhileMaximisedKeepsTheOtherFile_data() {
    QTest::addColumn<bool>("maximised"); // the window's state when Open is chosen
    QTest::addColumn<int>("savedState"); // the window state saved in the file opened
    QTest::newRow("maximised, saved normal") << true << 0;
    QTest::newRow("maximised, saved maximised") << true << 2;
    QTest::newRow("normal, saved maximised") << false << 2;
}

// Opening b.qzd (from a maximised window or not) shows b at its own place, in its own state,
// and closing without touching the window leaves b's file as it was.
void TestViewerUse::openWhileMaximisedKeepsTheOtherFile() {
    QFETCH(bool, maximised);
    QFETCH(int, savedState);
    auto a = documentOf({QStringLiteral("a one")});
    const QString aPath = save(*a, QStringLiteral("a.qzd"));
    auto b = documentOf({QStringLiteral("b one"), QStringLiteral("b two")});
    DisplaySettings& s = b->displaySettings;
    storeWindowRect(s, {900, 1200, 4500, 6000});
    s.listWidth = 1700;
    s.windowState = qint16(savedState);
    const QString bPath = save(*b, QStringLiteral("b.qzd"));
    const QByteArray bBefore = bytesOf(bPath);

    start(aPath);
    if (maximised) {
        m_window->setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(m_window->isMaximized());
    }
    QTest::qWait(50);
    openThroughTheMenu(bPath);
    QTRY_COMPARE(m_window->windowTitle(), QStringLiteral("Quillo  b.qzd Page 1 / 2"));
    QTest::qWait(100); // whatever the desktop still tells about the old state arrives
    QCOMPARE(m_window->isMaximized(), savedState == 2);
    if (savedState == 0)
        QCOMPARE(placement(), pixelsOf({900, 1200, 4500, 6000}));
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(bytesOf(bPath), bBefore);
    QCOMPARE(settingsIn(aPath), a->displaySettings); // not written back either
}

void TestViewerUse::brokenGeometryShowsDefaultsWithoutWriting_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("width");
    QTest::newRow("negative height") << -500 << 7500;
    QTest::newRow("tiny height") << 30 << 7500;
    QTest::newRow("negative width") << 5400 << -20;
    QTest::newRow("tiny width") << 5400 << 100;
}

void TestViewerUse::brokenGeometryShowsDefaultsWithoutWriting() {
    QFETCH(int, height);
    QFETCH(int, width);
    auto doc = documentOf({QStringLiteral("one")});
    const QString path = save(*doc, QStringLiteral("broken.qzd"));
    // Written by another program: our writer never stores such a size.
    QByteArray before = bytesOf(path);
    auto hex16 = [](int value) {
        return QByteArray::number(quint16(value), 16).toUpper().rightJustified(4, '0');
    };
    before.replace(32, 4, hex16(height));
    before.replace(36, 4, hex16(width));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();
    start(path);
    QTest::qWait(50);
    QCOMPARE(placement(), pixelsOf({200, 200, 6500, 9000}));
    m_window->close();
    QCOMPARE(bytesOf(path), before);
}

// Ctrl+A is the menu's select-all wherever the focus is, the search box included.
void TestViewerUse::selectAllFromTheSearchBoxSelectsThePage() {
    auto doc = documentOf({QStringLiteral("the whole page")});
    start(save(*doc, QStringLiteral("all.qzd")));
    auto* box = child<QLineEdit>("Text1");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("page"));
    box->setCursorPosition(2);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(page()->selStart(), 0);
    QCOMPARE(page()->selLength(), page()->textLength());
    QVERIFY(page()->hasFocus());
    QVERIFY(box->selectedText().isEmpty());
}

void TestViewerUse::enterPressesTheFocusedSearchButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestViewerUse::enterPressesTheFocusedSearchButton() {
    QFETCH(int, key);
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two words")});
    start(save(*doc, QStringLiteral("enter.qzd")));
    child<QLineEdit>("Text1")->setText(QStringLiteral("words"));
    auto* button = child<QPushButton>("Command1");
    button->setFocus();
    QTest::keyClick(button, Qt::Key(key));
    QCOMPARE(m_window->currentPage(), 2);
    QCOMPARE(page()->selText(), QStringLiteral("words"));
}

void TestViewerUse::keysWithoutCharacterPassThePage_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text"); // what the X server sends with the key
    QTest::addColumn<bool>("refused");
    QTest::newRow("Delete") << int(Qt::Key_Delete) << QStringLiteral("\x7f") << false;
    QTest::newRow("Home") << int(Qt::Key_Home) << QString() << false;
    QTest::newRow("typed x") << int(Qt::Key_X) << QStringLiteral("x") << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << QStringLiteral("\b") << true;
}

// The read-only message answers typed characters only.
void TestViewerUse::keysWithoutCharacterPassThePage() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, refused);
    auto doc = documentOf({QStringLiteral("read only")});
    start(save(*doc, QStringLiteral("keys.qzd")));
    page()->setFocus();
    page()->setSelStart(3);
    if (refused)
        m_dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::sendKeyEvent(QTest::Click, page(), Qt::Key(key), text, Qt::NoModifier);
    QCOMPARE(m_dialogs.messages().size(), refused ? 1 : 0);
    QCOMPARE(page()->plainText(), QStringLiteral("read only"));
}

void TestViewerUse::homeChoosesTheFirstEntryAfterNextPage_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("page"); // the page shown after the key
    QTest::newRow("keywords, Home") << 1 << int(Qt::Key_Home) << 3;
    QTest::newRow("keywords, End") << 1 << int(Qt::Key_End) << 1;
    QTest::newRow("contents, Home") << 0 << int(Qt::Key_Home) << 1;
}

// After next page the list of the tab shown has the focus; Home and End choose an entry.
void TestViewerUse::homeChoosesTheFirstEntryAfterNextPage() {
    QFETCH(int, tab);
    QFETCH(int, key);
    QFETCH(int, page);
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    doc->page(3).keywords << QStringLiteral("alpha");
    doc->page(1).keywords << QStringLiteral("beta");
    start(save(*doc, QStringLiteral("home.qzd")));
    child<QTabWidget>("SSTab1")->setCurrentIndex(tab);
    QTest::keyClick(m_window.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(m_window->currentPage(), 2);
    QListWidget* list = child<QListWidget>(tab == 0 ? "List1" : "List2");
    QVERIFY(list->hasFocus());
    QTest::keyClick(list, Qt::Key(key));
    QCOMPARE(m_window->currentPage(), page);
    QCOMPARE(list->selectedItems().size(), 1);
}

void TestViewerUse::closeAnswersWhileAHugePageLoads_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("blocks"); // of the whole page
    QByteArray paragraphs = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 0; i < 200000; ++i)
        paragraphs += "a\\par\n";
    QTest::newRow("200000 paragraphs") << paragraphs + "}" << 200000;
    QTest::newRow("40000 table rows of 3 cells") << tablePage(40000, 3) << 120000;
    QTest::newRow("2000 table rows of 63 cells") << tablePage(2000, 63) << 126000;
}

// A huge page is read once the window is on screen, and a close request made while it comes in
// closes the window without waiting for the rest of the page (a long table too: Qt lays a
// table out whole, so it comes in parts).
void TestViewerUse::closeAnswersWhileAHugePageLoads() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, blocks);
    auto doc = documentOf({QStringLiteral("unused"), QStringLiteral("second")});
    doc->page(1).rtf = rtf;
    m_window = std::make_unique<ViewerWindow>(m_dialogs);
    m_window->startUp(save(*doc, QStringLiteral("huge.qzd")));
    QCOMPARE(page()->document()->blockCount(), 1); // nothing read before the window shows
    m_window->show();
    // Queued behind the start of the load, so it arrives among the events the load serves.
    bool askedDuringLoad = false;
    QTimer::singleShot(0, m_window.get(), [this, &askedDuringLoad] {
        askedDuringLoad = page()->isLoading();
        m_window->close();
    });
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isVisible(), 20000);
    QVERIFY(askedDuringLoad);
    QVERIFY(!page()->isLoading());
    QVERIFY2(page()->document()->blockCount() < blocks,
             qPrintable(QString::number(page()->document()->blockCount())));
}

namespace {

class PaintSeen : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        painted |= event->type() == QEvent::Paint;
        return false;
    }
    bool painted = false;
};

} // namespace

void TestViewerUse::hostilePagesShowAndClose_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("10000 characters at the largest size") << largestCharactersPage(10000);
    QTest::newRow("5000 paragraphs with the largest spacing") << spacedParagraphsPage(5000);
    QTest::newRow("80000 paragraphs with the largest spacing") << spacedParagraphsPage(80000);
    QTest::newRow("100000 formatting runs") << formattingRunsPage(100000);
    QTest::newRow("100 forged 4000x4000 pictures") << forgedPicturesPage(100);
    QTest::newRow("40000 table rows of 3 cells") << tablePage(40000, 3);
    QTest::newRow("2000 table rows of 63 cells") << tablePage(2000, 63);
}

// Pages small on disk that froze the window or kept it busy for minutes: each is painted, read
// whole and laid out within a generous time, shorter than the height Qt's layout can reach
// (8,388,607 pixels), and the close box then closes the window.
void TestViewerUse::hostilePagesShowAndClose() {
    QFETCH(QByteArray, rtf);
    auto doc = documentOf({QStringLiteral("unused")});
    doc->page(1).rtf = rtf;
    m_window = std::make_unique<ViewerWindow>(m_dialogs);
    PaintSeen paint;
    page()->viewport()->installEventFilter(&paint);
    m_window->startUp(save(*doc, QStringLiteral("hostile.qzd")));
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(paint.painted, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!page()->isLoading() && page()->document()->characterCount() > 1,
                             60000);
    const qreal height = page()->document()->documentLayout()->documentSize().height();
    QVERIFY2(height > 0 && height < 8388607, qPrintable(QString::number(height)));
    m_window->close();
    QVERIFY(!m_window->isVisible());
}

QTEST_MAIN(TestViewerUse)
#include "tst_vieweruse.moc"

#include "rtf/pagelinks.h"
#include "support/scripteddialogs.h"
#include "support/viewerfiles.h"
#include "viewer/pagehistory.h"
#include "viewer/pagezoom.h"
#include "viewer/viewerwindow.h"
#include "winsvc/linkpresenter.h"
#include "winsvc/richtextcontrol.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <memory>

using namespace quillo;
using namespace quillo::viewer;
using namespace quillo::test;

namespace {

// A page whose text is `before`, then `linkText` linked to `target`, then " end".
QByteArray linkPageRtf(const QString& before, const QString& linkText, const QString& target) {
    return "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs20 " +
           before.toLatin1() + "{\\field{\\*\\fldinst{HYPERLINK \"" + target.toLatin1() +
           "\"}}{\\fldrslt{" + linkText.toLatin1() + "}}} end\\par\r\n}\r\n";
}

} // namespace

// A reader follows links, goes back and forward, and zooms, in the viewer window.
class TestViewerLinks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_dialogs.clear();
    }
    void cleanup() {
        m_window.reset();
        QCOMPARE(m_dialogs.unexpectedCount(), 0);
        QVERIFY(m_dialogs.scriptDone());
    }

    void historyKeepsTheLastHundredPages_data();
    void historyKeepsTheLastHundredPages();
    void zoomStepsStayWithinTheLimits();
    void followBackAndForward();
    void webAddressesGoToTheBrowserOnly_data();
    void webAddressesGoToTheBrowserOnly();
    void linkToAMissingPageIsANote();
    void zoomScalesTheShownPageOnly();

private:
    QString saveLinked() {
        auto doc = documentOf({QString(), QStringLiteral("second"), QStringLiteral("third")});
        doc->page(1).rtf =
            linkPageRtf(QStringLiteral("see "), QStringLiteral("third page"), QStringLiteral("#3"));
        doc->page(3).title = QStringLiteral("Third");
        const QString path = m_dir->filePath(QStringLiteral("links.qzd"));
        if (!saveHelpFile(path, *doc).ok())
            qWarning("cannot write");
        return path;
    }
    void start(const QString& path) {
        m_window = std::make_unique<ViewerWindow>(m_dialogs);
        m_window->startUp(path);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    RichTextControl* page() const {
        return m_window->findChild<RichTextControl*>(QStringLiteral("RichTextBox2"));
    }
    QAction* action(const char* name) const {
        return m_window->findChild<QAction*>(QLatin1String(name));
    }
    // The middle of the character at `position` of the shown page, in viewport pixels.
    QPoint pointOf(int position) const {
        QTextCursor cursor(page()->document());
        cursor.setPosition(position);
        return page()->cursorRect(cursor).center() + QPoint(3, 0);
    }
    void clickLinkAt(int position) {
        QTest::mouseClick(page()->viewport(), Qt::LeftButton, {}, pointOf(position));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<ViewerWindow> m_window;
};

void TestViewerLinks::historyKeepsTheLastHundredPages_data() {
    QTest::addColumn<QList<int>>("visits");
    QTest::addColumn<int>("backSteps");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("oldestReachable");
    QList<int> many;
    for (int i = 1; i <= 150; ++i)
        many << (i % 7) + 1 + (i % 2) * 10; // no page twice in a row
    QTest::newRow("a few") << QList<int>{1, 3, 2} << 2 << 3 << 1;
    QTest::newRow("repeats are one entry") << QList<int>{1, 1, 3, 3} << 1 << 2 << 1;
    QTest::newRow("150 visits") << many << 200 << 100 << many[50];
}

void TestViewerLinks::historyKeepsTheLastHundredPages() {
    QFETCH(QList<int>, visits);
    QFETCH(int, backSteps);
    QFETCH(int, size);
    QFETCH(int, oldestReachable);
    PageHistory history;
    history.reset(visits.first());
    for (int page : visits.mid(1))
        history.visit(page);
    QCOMPARE(history.size(), size);
    int reached = visits.last();
    for (int i = 0; i < backSteps && history.canGoBack(); ++i)
        reached = history.back();
    QCOMPARE(reached, oldestReachable);
    QVERIFY(!history.canGoBack());
    QCOMPARE(history.back(), 0);
    // A new page after going back drops the pages ahead.
    QVERIFY(history.canGoForward() || size == 1);
    history.visit(99);
    QVERIFY(!history.canGoForward());
    QCOMPARE(history.back(), oldestReachable);
}

void TestViewerLinks::zoomStepsStayWithinTheLimits() {
    int percent = ZoomNormal;
    for (int i = 0; i < 20; ++i)
        percent = zoomedIn(percent);
    QCOMPARE(percent, 400);
    for (int i = 0; i < 20; ++i)
        percent = zoomedOut(percent);
    QCOMPARE(percent, 50);
    QCOMPARE(zoomedIn(100), 110);
    QCOMPARE(zoomedOut(100), 90);
    QCOMPARE(zoomedOut(105), 100); // a scale between steps goes to the next step
}

void TestViewerLinks::followBackAndForward() {
    start(saveLinked());
    QVERIFY(!action("qzd32_go_back")->isEnabled());
    QVERIFY(!action("qzd32_go_forward")->isEnabled());
    // The link is marked, the pointer is a hand over it, and the tool tip is its page line.
    QTRY_COMPARE(page()->extraSelections().size(), 1);
    QTest::mouseMove(page()->viewport(), pointOf(6));
    QTRY_COMPARE(page()->viewport()->cursor().shape(), Qt::PointingHandCursor);
    auto* links = page()->findChild<LinkPresenter*>();
    QVERIFY(links);
    QCOMPARE(links->toolTipText(), QStringLiteral("p 3  Third"));

    clickLinkAt(6);
    QTRY_COMPARE(m_window->currentPage(), 3);
    QVERIFY(m_window->windowTitle().endsWith(QStringLiteral(" Page 3 / 3")));
    QCOMPARE(m_window->findChild<QListWidget*>(QStringLiteral("List1"))->currentRow(), 2);
    QCOMPARE(page()->plainText(), QStringLiteral("third"));
    QVERIFY(action("qzd32_go_back")->isEnabled());
    QVERIFY(!action("qzd32_go_forward")->isEnabled());

    // Back and forward by the menu, the keys and the mouse's side buttons.
    action("qzd32_go_back")->trigger();
    QCOMPARE(m_window->currentPage(), 1);
    QVERIFY(!action("qzd32_go_back")->isEnabled());
    QVERIFY(action("qzd32_go_forward")->isEnabled());
    QTest::keyClick(page(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(m_window->currentPage(), 3);
    QTest::keyClick(page(), Qt::Key_Backspace);
    QCOMPARE(m_window->currentPage(), 1);
    QTest::mouseClick(page()->viewport(), Qt::ForwardButton, {}, QPoint(5, 5));
    QCOMPARE(m_window->currentPage(), 3);
    QTest::mouseClick(page()->viewport(), Qt::BackButton, {}, QPoint(5, 5));
    QCOMPARE(m_window->currentPage(), 1);

    // Next page is a page change too; it drops the pages ahead.
    action("qzd32_next_page")->trigger();
    QCOMPARE(m_window->currentPage(), 2);
    QVERIFY(!action("qzd32_go_forward")->isEnabled());
    QTest::keyClick(page(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(m_window->currentPage(), 1);
    // Back and forward are in the page's pop-up menu.
    const QList<QAction*> popup =
        m_window->findChild<QMenu*>(QStringLiteral("qzd32_edit"))->actions();
    QVERIFY(popup.contains(action("qzd32_go_back")));
    QVERIFY(popup.contains(action("qzd32_go_forward")));
    action("qzd32_go_forward")->trigger();
    QCOMPARE(m_window->currentPage(), 2);
    QVERIFY(m_dialogs.calls().isEmpty());
}

void TestViewerLinks::webAddressesGoToTheBrowserOnly_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("opened");
    QTest::newRow("https") << QStringLiteral("https://example.org/a?b=1") << true;
    QTest::newRow("mailto") << QStringLiteral("mailto:help@example.org") << true;
    QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << false;
    QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << false;
    QTest::newRow("program") << QStringLiteral("/usr/bin/xterm") << false;
}

void TestViewerLinks::webAddressesGoToTheBrowserOnly() {
    QFETCH(QString, target);
    QFETCH(bool, opened);
    auto doc = documentOf({QString()});
    doc->page(1).rtf = linkPageRtf(QStringLiteral("go "), QStringLiteral("there"), target);
    const QString path = m_dir->filePath(QStringLiteral("web.qzd"));
    QVERIFY(saveHelpFile(path, *doc).ok());
    start(path);
    clickLinkAt(4);
    QTRY_COMPARE(m_dialogs.calls().size(), 1);
    const ScriptedDialogs::Call call = m_dialogs.calls().first();
    QCOMPARE(call.kind, opened ? ScriptedDialogs::Kind::ShellOpen : ScriptedDialogs::Kind::Beep);
    if (opened)
        QCOMPARE(call.text, target);
    QCOMPARE(m_window->currentPage(), 1);
}

void TestViewerLinks::linkToAMissingPageIsANote() {
    auto doc = documentOf({QString(), QStringLiteral("two")});
    doc->page(1).rtf = linkPageRtf(QStringLiteral("go "), QStringLiteral("nowhere"), "#9");
    const QString path = m_dir->filePath(QStringLiteral("missing.qzd"));
    QVERIFY(saveHelpFile(path, *doc).ok());
    start(path);
    clickLinkAt(4);
    QTRY_COMPARE(m_window->statusNote(), QStringLiteral("ﾘﾝｸ先のﾍﾟｰｼﾞが有りません。"));
    QCOMPARE(m_window->currentPage(), 1);
    QVERIFY(m_dialogs.messages().isEmpty());
}

void TestViewerLinks::zoomScalesTheShownPageOnly() {
    const QString path = saveLinked();
    const QByteArray before = bytesOf(path);
    start(path);
    const auto sizeOfFirst = [this] {
        return page()->document()->begin().begin().fragment().charFormat().fontPointSize();
    };
    const double normal = sizeOfFirst();
    QVERIFY(normal > 0);
    QTest::keyClick(page(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(sizeOfFirst(), normal * 1.1);
    QWheelEvent wheel(QPointF(5, 5), page()->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page()->viewport(), &wheel);
    QCOMPARE(sizeOfFirst(), normal * 1.25);
    // The zoom stays from page to page; the text and its links stay as they are.
    clickLinkAt(6);
    QTRY_COMPARE(m_window->currentPage(), 3);
    QCOMPARE(sizeOfFirst(), normal * 1.25);
    action("qzd32_go_back")->trigger();
    QCOMPARE(rtf::linksOf(*page()->document()).size(), 1);
    QTest::keyClick(page(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(sizeOfFirst(), normal);
    QTest::keyClick(page(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(sizeOfFirst(), normal * 0.9);
    // Closing writes nothing: zoom is no setting of the file.
    m_window->close();
    QCOMPARE(bytesOf(path), before);
}

QTEST_MAIN(TestViewerLinks)
#include "tst_viewerlinks.moc"

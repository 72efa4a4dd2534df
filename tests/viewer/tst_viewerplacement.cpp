#include "support/scripteddialogs.h"
#include "support/viewerfiles.h"
#include "viewer/viewerwindow.h"
#include "winsvc/twips.h"

#include <QAction>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quillo;
using namespace quillo::viewer;
using namespace quillo::test;

// Where the viewer puts its window for a file, and what closing writes back into it, when
// files are opened as a user opens them.
class TestViewerPlacement : public QObject {
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

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<ViewerWindow> m_window;
};

void TestViewerPlacement::openWhileMaximisedKeepsTheOtherFile_data() {
    QTest::addColumn<bool>("maximised"); // the window's state when Open is chosen
    QTest::addColumn<int>("savedState"); // the window state saved in the file opened
    QTest::newRow("maximised, saved normal") << true << 0;
    QTest::newRow("maximised, saved maximised") << true << 2;
    QTest::newRow("normal, saved maximised") << false << 2;
}

// Opening b.qzd (from a maximised window or not) shows b at its own place, in its own state,
// and closing without touching the window leaves b's file as it was.
void TestViewerPlacement::openWhileMaximisedKeepsTheOtherFile() {
    QFETCH(bool, maximised);
    QFETCH(int, savedState);
    auto a = documentOf({QStringLiteral("a one")});
    const QString aPath = save(*a, QStringLiteral("a.qzd"));
    auto b = documentOf({QStringLiteral("b one"), QStringLiteral("b two")});
    DisplaySettings& s = b->displaySettings;
    s.windowTop = 900;
    s.windowLeft = 1200;
    s.windowHeight = 4500;
    s.windowWidth = 6000;
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

void TestViewerPlacement::brokenGeometryShowsDefaultsWithoutWriting_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("width");
    QTest::newRow("negative height") << -500 << 7500;
    QTest::newRow("tiny height") << 30 << 7500;
    QTest::newRow("negative width") << 5400 << -20;
    QTest::newRow("tiny width") << 5400 << 100;
}

void TestViewerPlacement::brokenGeometryShowsDefaultsWithoutWriting() {
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

QTEST_MAIN(TestViewerPlacement)
#include "tst_viewerplacement.moc"

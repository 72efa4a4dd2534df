#include "maker/common/settingsfile.h"
#include "maker/common/shelltexts.h"
#include "support/makerfixture.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

using namespace quillo;
using namespace quillo::maker;

Q_DECLARE_METATYPE(quillo::TwipsRect)

namespace {

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray settingsWithMain(const TwipsRect& main) {
    MakerSettings s;
    s.main = main;
    return serializeSettings(s, false);
}

} // namespace

// Where the main window stands on the screen and what qzd32mk.ini says of it at exit, with
// the frame the desktop puts around the window (the test platform frames each window with
// 2 pixels, 30 twips, on every side, on an 800 × 800 pixel screen).
class TestMainPlacement : public QObject {
    Q_OBJECT

    MakerFixture f;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void placedAndWritten_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<TwipsRect>("written");
        // After the warning about a damaged file the window stands at the defaults, and
        // the defaults are what is written, not the position of its client area.
        QTest::newRow("damaged file") << QByteArray("junk") << TwipsRect{200, 3035, 7545, 7200};
        QTest::newRow("frame fits")
            << settingsWithMain({1000, 4700, 7545, 7200}) << TwipsRect{1000, 4700, 7545, 7200};
        QTest::newRow("frame past the right edge")
            << settingsWithMain({1000, 4800, 7545, 7200}) << TwipsRect{1000, 4740, 7545, 7200};
        QTest::newRow("frame past the bottom")
            << settingsWithMain({4400, 200, 7545, 7200}) << TwipsRect{4395, 200, 7545, 7200};
    }
    void placedAndWritten() {
        QFETCH(QByteArray, ini);
        QFETCH(TwipsRect, written);
        writeAll(f.ini(), ini);
        const bool damaged = ini == "junk";
        if (damaged)
            f.dialogs().answerNext(Dialogs::Answer::Ok);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        if (damaged)
            QCOMPARE(f.dialogs().messages().value(0).text, settingsReadWarningText());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_VERIFY(w->frameGeometry() != w->geometry());
        QTRY_VERIFY(screen.contains(w->frameGeometry()));
        QVERIFY(w->close());
        MakerSettings read;
        QVERIFY(readSettingsFile(f.ini(), read).ok());
        QCOMPARE(read.main, written);
    }
};

QTEST_MAIN(TestMainPlacement)
#include "tst_mainplacement.moc"

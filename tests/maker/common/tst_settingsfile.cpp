#include "core/fileerror.h"
#include "maker/common/settingsfile.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quillo;
using namespace quillo::maker;

Q_DECLARE_METATYPE(quillo::TwipsRect)
Q_DECLARE_METATYPE(quillo::FrameMargins)

namespace {

// The file as the program writes it with every value set.
MakerSettings fullSettings() {
    MakerSettings s;
    s.editorBackColor = 0x00C0FFEE;
    s.main = {300, 3100, 8000, 7500};
    s.search = {1400, 2400};
    s.colourDialog = {1300, 2300};
    s.colours.count = 10;
    for (int i = 0; i < 10; ++i)
        s.colours.saved[i] = 0x00010203 * (i + 1);
    s.colours.lastTab = 1;
    s.colours.target = 1;
    s.colours.selected = 9;
    s.image = {-100, 0};
    s.contentsWindow = {210, 220, 3800, 2900};
    s.keywordWindow = {4010, 220, 3700, 2900};
    s.htmlIndent = true;
    return s;
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void defaultsAsWritten() {
        const QByteArray text = serializeSettings(MakerSettings{}, false);
        QCOMPARE(
            text,
            QByteArray("<Main>\r\n-2147483643\r\nFalse\r\n 200\r\n 3035\r\n 7545\r\n 7200\r\n\r\n"
                       "<qzd32mkSearch>\r\n 1500\r\n 2500\r\n\r\n"
                       "<qzd32mkColor>\r\n 1500\r\n 2500\r\n 0\r\n 0\r\n 0\r\n 0\r\n\r\n"
                       "<qzd32mkBMP>\r\n 1500\r\n 2500\r\n\r\n"
                       "<qzd32mkIndex>\r\n 200\r\n 200\r\n 3780\r\n 2835\r\n\r\n"
                       "<qzd32mkKey>\r\n 3980\r\n 200\r\n 3780\r\n 2835\r\n\r\n"));
    }

    void roundTripWithTenColours() {
        const MakerSettings s = fullSettings();
        MakerSettings back;
        QVERIFY(parseSettings(serializeSettings(s, true), back).ok());
        QCOMPARE(back, s);
        QCOMPARE(back.colours.saved[9], qint32(0x00010203 * 10));
    }

    void readFailures_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("colourCount"); // saved colours kept from before the fault
        const QByteArray good = serializeSettings(fullSettings(), true);
        QTest::newRow("letters in a number") << QByteArray(good).replace(" 3100", " 31x0") << 0;
        QTest::newRow("too few lines") << good.left(good.indexOf("<qzd32mkBMP>")) << 10;
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("16-bit overflow") << QByteArray(good).replace(" 3800", " 40000") << 10;
        QTest::newRow("eleven colours")
            << QByteArray(good).replace("\r\n 10\r\n", "\r\n 11\r\n") << 0;
        QTest::newRow("negative colour count")
            << QByteArray(good).replace("\r\n 10\r\n", "\r\n-1\r\n") << 0;
    }
    void readFailures() {
        QFETCH(QByteArray, text);
        QFETCH(int, colourCount);
        MakerSettings s;
        const SettingsReadResult r = parseSettings(text, s);
        QCOMPARE(r.status, SettingsReadStatus::Failed);
        MakerSettings expected;
        expected.colours = s.colours;
        QCOMPARE(s, expected); // everything else is back at the defaults
        QCOMPARE(int(s.colours.count), colourCount);
    }

    void indentOption() {
        MakerSettings s;
        QByteArray text = serializeSettings(fullSettings(), true);
        QVERIFY(parseSettings(text, s).ok());
        QCOMPARE(s.htmlIndent, std::optional<bool>(true));
        QVERIFY(parseSettings(text.replace("True", "yes"), s).ok());
        QCOMPARE(s.htmlIndent, std::optional<bool>(false));
    }

    void filesOnDisk() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qzd32mk.ini"));
        MakerSettings s;
        QCOMPARE(readSettingsFile(path, s).status, SettingsReadStatus::NotFound);
        QCOMPARE(writeSettingsFile(path, fullSettings(), true).errorNumber, 0);
        QVERIFY(readSettingsFile(path, s).ok());
        QCOMPARE(s, fullSettings());
        QCOMPARE(writeSettingsFile(dir.filePath(QStringLiteral("gone/qzd32mk.ini")), s, true)
                     .errorNumber,
                 FileError::PathNotFound);
        QVERIFY(writeAll(path, "junk"));
        QCOMPARE(readSettingsFile(path, s).status, SettingsReadStatus::Failed);
    }

    // The window's frame (here 1 pixel at the sides, 20 above and 5 below, in twips) is
    // what must stay on a 20000 x 12000 screen; the settings keep its corner and the client
    // area's size.
    void keepOnScreen_data() {
        QTest::addColumn<FrameMargins>("frame");
        QTest::addColumn<TwipsRect>("in");
        QTest::addColumn<TwipsRect>("out");
        const FrameMargins none;
        const FrameMargins frame{15, 300, 15, 75};
        QTest::newRow("inside") << none << TwipsRect{200, 3035, 7545, 7200}
                                << TwipsRect{200, 3035, 7545, 7200};
        QTest::newRow("below and right")
            << none << TwipsRect{9000, 15000, 7000, 7000} << TwipsRect{5000, 13000, 7000, 7000};
        QTest::newRow("above and left")
            << none << TwipsRect{-300, -20, 7000, 7000} << TwipsRect{0, 0, 7000, 7000};
        QTest::newRow("taller than the screen")
            << none << TwipsRect{100, 100, 14000, 7000} << TwipsRect{0, 100, 14000, 7000};
        QTest::newRow("framed inside")
            << frame << TwipsRect{200, 3035, 7545, 7200} << TwipsRect{200, 3035, 7545, 7200};
        QTest::newRow("framed, touching the corner")
            << frame << TwipsRect{4625, 12770, 7000, 7200} << TwipsRect{4625, 12770, 7000, 7200};
        QTest::newRow("client fits, frame past the right edge")
            << frame << TwipsRect{200, 12790, 7000, 7200} << TwipsRect{200, 12770, 7000, 7200};
        QTest::newRow("client fits, frame below the screen")
            << frame << TwipsRect{4700, 200, 7000, 7200} << TwipsRect{4625, 200, 7000, 7200};
        QTest::newRow("framed, above and left")
            << frame << TwipsRect{-300, -20, 7000, 7000} << TwipsRect{0, 0, 7000, 7000};
        QTest::newRow("taller than the screen with its frame")
            << frame << TwipsRect{100, 100, 11800, 7000} << TwipsRect{0, 100, 11800, 7000};
    }
    void keepOnScreen() {
        QFETCH(FrameMargins, frame);
        QFETCH(TwipsRect, in);
        QFETCH(TwipsRect, out);
        quillo::maker::keepOnScreen(in, 20000, 12000, frame);
        QCOMPARE(in, out);
    }

    void warningTexts() {
        QCOMPARE(settingsWriteWarningText(QStringLiteral("/p/qzd32mk.ini"), 76),
                 QStringLiteral("/p/qzd32mk.ini パス名が無効か、パスが見つかりません。"));
        QCOMPARE(settingsWriteWarningText(QStringLiteral("/p/qzd32mk.ini"), 70),
                 QStringLiteral("/p/qzd32mk.iniERR =  70"));
    }
};

QTEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"

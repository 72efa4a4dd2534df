#include "core/cp932.h"

#include <QStandardPaths>
#include <QTest>

using namespace quillo;

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("Help 1") << QByteArray("Help 1");
        QTest::newRow("kanji") << QStringLiteral("操作") << QByteArray("\x91\x80\x8d\xec");
        QTest::newRow("half-width katakana") << QStringLiteral("ｷｰ") << QByteArray("\xb7\xb0");
        // The Windows mapping, not the JIS one: wave dash and minus are the full-width forms.
        QTest::newRow("wave dash") << QStringLiteral("\uFF5E") << QByteArray("\x81\x60");
        QTest::newRow("full-width minus") << QStringLiteral("\uFF0D") << QByteArray("\x81\x7c");
        QTest::newRow("NEC circled one") << QStringLiteral("①") << QByteArray("\x87\x40");
        // Windows writes IBM extension kanji in the FA-FC rows (not the NEC-selected ED-EE rows).
        QTest::newRow("IBM extension") << QStringLiteral("\u7E8A") << QByteArray("\xfa\x5c");
        QTest::newRow("trail byte 5C") << QStringLiteral("表") << QByteArray("\x95\x5c");
    }
    void roundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const cp932::Encoded enc = cp932::encode(text);
        QVERIFY(enc.ok());
        QCOMPARE(enc.bytes, bytes);
        QCOMPARE(cp932::decode(bytes), text);
        QCOMPARE(cp932::charCount(bytes), text.size());
    }

    void unencodableCharacterIsReported() {
        const cp932::Encoded enc = cp932::encode(QStringLiteral("ab\u00E9c"));
        QVERIFY(!enc.ok());
        QCOMPARE(enc.badIndex, 2);
        QVERIFY(!cp932::canEncode(QStringLiteral("\U0001F600")));
        QVERIFY(!cp932::canEncode(QStringLiteral("\uFFFD")));
        QVERIFY(!cp932::encodeChar(0x00E9));
        QCOMPARE(*cp932::encodeChar(U'あ'), QByteArray("\x82\xa0"));
    }

    void invalidBytesDecodeToReplacement() {
        // A lead byte with a trail byte outside the trail range, and a lone lead byte at the end.
        QCOMPARE(cp932::decode(QByteArray("a\x81\x20z")), QStringLiteral("a\uFFFD z"));
        QCOMPARE(cp932::decode(QByteArray("ab\x82")), QStringLiteral("ab\uFFFD"));
    }

    void byteLengthOfChars_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("chars");
        QTest::addColumn<int>("expected"); // -1: not enough bytes
        const QByteArray mixed("a\x82\xa0\xb1z");
        QTest::newRow("all") << mixed << 0 << 4 << 5;
        QTest::newRow("double-byte counts once") << mixed << 1 << 1 << 2;
        QTest::newRow("half-width katakana is single") << mixed << 3 << 2 << 2;
        QTest::newRow("too many") << mixed << 0 << 5 << -1;
        QTest::newRow("trail byte missing") << QByteArray("a\x82") << 0 << 2 << -1;
        QTest::newRow("zero") << mixed << 5 << 0 << 0;
    }
    void byteLengthOfChars() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, from);
        QFETCH(int, chars);
        QFETCH(int, expected);
        const auto len = cp932::byteLengthOfChars(bytes, from, chars);
        QCOMPARE(len ? int(*len) : -1, expected);
    }
};

QTEST_MAIN(TestCp932)
#include "tst_cp932.moc"

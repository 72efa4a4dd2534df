#include "core/cp932.h"

#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

#include <cstring>
#include <iconv.h>
#include <iterator>
#include <vector>

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
    // Decoding gives what iconv gives when it reads the bytes itself, putting one U+FFFD for
    // each byte it refuses and reading on from the next: every pair of bytes from a byte of
    // 0x80 or more, and byte strings mixing ASCII, lead bytes and trail bytes at random.
    void decodingAgreesWithIconv() {
        const auto check = [](const QByteArray& bytes) {
            const QString expected = iconvDecoded(bytes);
            if (cp932::decode(bytes) != expected)
                QFAIL(qPrintable(
                    QStringLiteral("bytes %1").arg(QString::fromLatin1(bytes.toHex(' ')))));
        };
        for (int lead = 0x80; lead < 0x100; ++lead)
            for (int trail = 0; trail < 0x100; ++trail)
                check(QByteArray{char(lead), char(trail)});
        // Bytes drawn from a few classes, so that lead bytes meet fitting and unfitting trail
        // bytes, one another, and the end of the text.
        static constexpr unsigned char Pool[] = {'a',  '\\', '~',  0x20, 0x40, 0x7F, 0x80,
                                                 0x81, 0x82, 0x9F, 0xA0, 0xA1, 0xDF, 0xE0,
                                                 0xEA, 0xED, 0xFA, 0xFC, 0xFD, 0xFF};
        QRandomGenerator random(932);
        for (int n = 0; n < 5000; ++n) {
            QByteArray bytes;
            for (int i = 0, size = random.bounded(1, 9); i < size; ++i)
                bytes += char(Pool[random.bounded(int(std::size(Pool)))]);
            check(bytes);
        }
    }

private:
    // iconv reading the bytes on its own: one U+FFFD for a byte it refuses, then on.
    static QString iconvDecoded(const QByteArray& bytes) {
        const iconv_t cd = iconv_open("UTF-16LE", "CP932");
        std::vector<char16_t> out(size_t(bytes.size()) + 1);
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = size_t(bytes.size());
        char* outp = reinterpret_cast<char*>(out.data());
        size_t outLeft = out.size() * 2;
        while (inLeft > 0 && iconv(cd, &in, &inLeft, &outp, &outLeft) == size_t(-1)) {
            const char16_t replacement = 0xFFFD;
            memcpy(outp, &replacement, 2);
            outp += 2;
            outLeft -= 2;
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        iconv_close(cd);
        return QString::fromUtf16(out.data(), (outp - reinterpret_cast<char*>(out.data())) / 2);
    }
};

QTEST_MAIN(TestCp932)
#include "tst_cp932.moc"

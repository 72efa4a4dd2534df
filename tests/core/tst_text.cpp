#include "core/helpdocument.h"
#include "core/text.h"

#include <QStandardPaths>
#include <QTest>

using namespace quillo;

class TestText : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void numberText() {
        QCOMPARE(quillo::numberText(64), QStringLiteral(" 64"));
        QCOMPARE(quillo::numberText(0), QStringLiteral(" 0"));
        QCOMPARE(quillo::numberText(-1), QStringLiteral("-1"));
        QCOMPARE(quillo::numberText(-32768), QStringLiteral("-32768"));
    }

    void listEntryRoundTrip_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("one digit")
            << 1 << QStringLiteral("はじめに") << QStringLiteral("p 1  はじめに");
        QTest::newRow("two digits")
            << 12 << QStringLiteral("Index") << QStringLiteral("p12  Index");
        QTest::newRow("page 100") << 100 << QStringLiteral("End") << QStringLiteral("p100  End");
        QTest::newRow("empty title") << 7 << QString() << QStringLiteral("p 7  ");
        QTest::newRow("text with blanks")
            << 3 << QStringLiteral("  a b ") << QStringLiteral("p 3    a b ");
    }
    void listEntryRoundTrip() {
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(QString, line);
        QCOMPARE(listEntry(page, text), line);
        const auto parsed = parseListEntry(line);
        QVERIFY(parsed);
        QCOMPARE(parsed->page, page);
        QCOMPARE(parsed->text, text);
    }

    void notAListEntry_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("empty") << QString();
        QTest::newRow("no p") << QStringLiteral("x 1  a");
        QTest::newRow("no digits") << QStringLiteral("p    a");
        QTest::newRow("one blank after page") << QStringLiteral("p 1 a");
        QTest::newRow("four digits") << QStringLiteral("p1000  a");
        QTest::newRow("full-width digit") << QStringLiteral("p１  a");
    }
    void notAListEntry() {
        QFETCH(QString, line);
        QVERIFY(!parseListEntry(line));
    }

    void pathParts() {
        QCOMPARE(fileTitleOf(QStringLiteral("/home/u/guide.qzd")), QStringLiteral("guide.qzd"));
        QCOMPARE(fileDirectoryOf(QStringLiteral("/home/u/guide.qzd")), QStringLiteral("/home/u/"));
        QCOMPARE(fileTitleOf(QStringLiteral("C:\\help\\a.qzd")), QStringLiteral("a.qzd"));
        QCOMPARE(fileTitleOf(QStringLiteral("a.qzd")), QStringLiteral("a.qzd"));
        QCOMPARE(fileDirectoryOf(QStringLiteral("a.qzd")), QString());
    }

    void writeDefaults() {
        DisplaySettings s;
        s.windowTop = 0;
        s.windowLeft = -5;
        s.windowHeight = 999;
        s.windowWidth = 500;
        s.listWidth = 299;
        s.applyWriteDefaults();
        QCOMPARE(s.windowTop, qint16(200));
        QCOMPARE(s.windowLeft, qint16(200));
        QCOMPARE(s.windowHeight, qint16(6500));
        QCOMPARE(s.windowWidth, qint16(9000));
        QCOMPARE(s.listWidth, qint16(2000));
        DisplaySettings edge;
        edge.windowTop = 1;
        edge.windowLeft = 1;
        edge.windowHeight = 1000;
        edge.windowWidth = 1000;
        edge.listWidth = 300;
        DisplaySettings kept = edge;
        kept.applyWriteDefaults();
        QCOMPARE(kept, edge);
    }
};

QTEST_MAIN(TestText)
#include "tst_text.moc"

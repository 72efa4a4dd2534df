#include "maker/format/formatlogic.h"

#include <QStandardPaths>
#include <QTest>

using namespace quillo;
using namespace quillo::maker;

class TestFormatLogic : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Editor width 9000: the left marker may go from 170 to 8820, and never closer than 200
    // to the right marker; the right marker from 30 to 8700, never closer than 200 to the
    // left marker. The limits are tested in turn; the last that applies wins.
    void markerLimits_data() {
        QTest::addColumn<bool>("left");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("otherMarker");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("limited");
        QTest::newRow("left free") << true << 500 << 8000 << 500 << false;
        QTest::newRow("left at home") << true << 170 << 8000 << 170 << false;
        QTest::newRow("left below home") << true << 169 << 8000 << 170 << true;
        QTest::newRow("left past the editor") << true << 8900 << 9500 << 8820 << true;
        QTest::newRow("left into right's margin") << true << 7850 << 8000 << 7800 << true;
        QTest::newRow("left past both") << true << 8900 << 8770 << 8570 << true;
        QTest::newRow("left at right's margin") << true << 7800 << 8000 << 7800 << false;
        QTest::newRow("right free") << false << 6000 << 170 << 6000 << false;
        QTest::newRow("right below half width") << false << 10 << -1000 << 30 << true;
        QTest::newRow("right past the editor") << false << 8750 << 170 << 8700 << true;
        QTest::newRow("right into left's margin") << false << 400 << 300 << 500 << true;
        QTest::newRow("right below both") << false << 10 << 170 << 370 << true;
        QTest::newRow("right at left's margin") << false << 500 << 300 << 500 << false;
    }
    void markerLimits() {
        QFETCH(bool, left);
        QFETCH(int, position);
        QFETCH(int, otherMarker);
        QFETCH(int, expected);
        QFETCH(bool, limited);
        const MarkerLimit limit = left ? limitLeftMarker(position, 9000, otherMarker)
                                       : limitRightMarker(position, 9000, otherMarker);
        QCOMPARE(limit.left, expected);
        QCOMPARE(limit.limited, limited);
    }

    // A marker placed for an indent gives that indent back when released where it stands.
    void indentsSurviveAMarkerRoundTrip() {
        for (int indent : {0, 15, 720, 2000}) {
            const int left = leftMarkerForIndent(indent);
            QCOMPARE(leftIndentForGuide(left + MarkerWidth / 2, 200), indent);
            const int right = rightMarkerForIndent(9000, indent);
            QCOMPARE(rightIndentForGuide(right + MarkerWidth / 2, 200, 9000), indent);
        }
    }

    void rulerLabels_data() {
        QTest::addColumn<int>("markerLeft");
        QTest::addColumn<QString>("text");
        QTest::newRow("home") << 170 << QStringLiteral("L=     0");
        QTest::newRow("1000") << 1070 << QStringLiteral("L=  1001"); // 900 * 1.112 = 1000.8
        QTest::newRow("left of editor") << 100 << QStringLiteral("L=   -78");
        QTest::newRow("rounded") << 195 << QStringLiteral("L=    28"); // 25 * 1.112 = 27.8
    }
    void rulerLabels() {
        QFETCH(int, markerLeft);
        QFETCH(QString, text);
        QCOMPARE(rulerLabelText(QStringLiteral("L="), rulerPosition(markerLeft, 200)), text);
    }

    void typedSizes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size"); // -1: not a number
        QTest::newRow("plain") << QStringLiteral("12") << 12;
        QTest::newRow("blanks") << QStringLiteral(" 9 ") << 9;
        QTest::newRow("half to even") << QStringLiteral("12.5") << 12;
        QTest::newRow("negative") << QStringLiteral("-3") << -3;
        QTest::newRow("word") << QStringLiteral("abc") << -1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("beyond 16 bits") << QStringLiteral("40000") << -1;
    }
    void typedSizes() {
        QFETCH(QString, text);
        QFETCH(int, size);
        const std::optional<int> parsed = typedFontSize(text);
        QCOMPARE(parsed.value_or(-1), size);
    }
};

QTEST_MAIN(TestFormatLogic)
#include "tst_formatlogic.moc"

#include "maker/media/colourlogic.h"

#include <QTest>

using namespace quillo::maker;

namespace {

ColourSettings savedOf(std::initializer_list<quint32> values, int selected = 0) {
    ColourSettings c;
    for (quint32 v : values)
        c.saved[c.count++] = qint32(v);
    c.selected = qint16(selected);
    return c;
}

QList<quint32> listOf(const ColourSettings& c) {
    QList<quint32> list;
    for (int i = 0; i < c.count; ++i)
        list << quint32(c.saved[i]);
    return list;
}

} // namespace

class TestColourLogic : public QObject {
    Q_OBJECT
private slots:
    void palette() {
        const auto& colours = paletteColours();
        QCOMPARE(colours[1], 0x800000u); // red 0, green 0, blue 128
        QCOMPARE(colours[7], 0xC0C0C0u);
        QCOMPARE(colours[12], 0x0000FFu); // red 255
        QCOMPARE(colours[14], 0x00FFFFu); // red 255, green 255
    }

    void swatchAt_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::newRow("first corner") << 0 << 0 << 16 << 0;
        QTest::newRow("first far edge") << 200 << 200 << 16 << 0;
        QTest::newRow("gap after first") << 201 << 100 << 16 << -1;
        QTest::newRow("second") << 250 << 0 << 16 << 1;
        QTest::newRow("last") << 3950 << 100 << 16 << 15;
        QTest::newRow("past last") << 4000 << 100 << 16 << -1;
        QTest::newRow("below") << 100 << 201 << 16 << -1;
        QTest::newRow("beyond saved count") << 760 << 10 << 3 << -1;
        QTest::newRow("last saved") << 510 << 10 << 3 << 2;
    }
    void swatchAt() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, count);
        QFETCH(int, index);
        QCOMPARE(quillo::maker::swatchAt(x, y, count), index);
    }

    void addingSaved() {
        ColourSettings c;
        for (quint32 v = 1; v <= 10; ++v)
            QVERIFY(addSavedColour(c, v));
        QCOMPARE(c.count, 10);
        QVERIFY(!addSavedColour(c, 5)); // already saved
        QCOMPARE(listOf(c), (QList<quint32>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QVERIFY(addSavedColour(c, 11)); // the oldest goes
        QCOMPARE(listOf(c), (QList<quint32>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    }

    void removingSaved_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("remove");
        QTest::addColumn<QList<quint32>>("left");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("last while selected") << 2 << 2 << QList<quint32>{10, 20} << 1;
        QTest::newRow("first") << 2 << 0 << QList<quint32>{20, 30} << 1;
        QTest::newRow("middle, selection before") << 0 << 1 << QList<quint32>{10, 30} << 0;
        QTest::newRow("outside the list") << 1 << 5 << QList<quint32>{10, 20, 30} << 1;
    }
    void removingSaved() {
        QFETCH(int, selected);
        QFETCH(int, remove);
        QFETCH(QList<quint32>, left);
        QFETCH(int, selectedAfter);
        ColourSettings c = savedOf({10, 20, 30}, selected);
        removeSavedColour(c, remove);
        QCOMPARE(listOf(c), left);
        QCOMPARE(int(c.selected), selectedAfter);
    }

    void removingTheOnlyOne() {
        ColourSettings c = savedOf({10}, 0);
        removeSavedColour(c, 0);
        QCOMPARE(c.count, 0);
        QCOMPARE(c.selected, 0);
    }

    void scrollBars_data() {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::newRow("blue-green-red order") << 0x00336699u << 0x99 << 0x66 << 0x33;
        QTest::newRow("black") << 0u << 0 << 0 << 0;
        QTest::newRow("window background") << 0x80000005u << 255 << 255 << 255;
        QTest::newRow("button face") << 0x8000000Fu << 255 << 255 << 255;
    }
    void scrollBars() {
        QFETCH(quint32, value);
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        const Rgb rgb = scrollBarValues(value);
        QCOMPARE(rgb, (Rgb{red, green, blue}));
        if (value < 0x80000000u)
            QCOMPARE(mixedColour(rgb), value);
    }

    void captions() {
        QCOMPARE(colourWindowCaption(0, 0), QStringLiteral("文字カラー"));
        QCOMPARE(colourWindowCaption(0, 1), QStringLiteral("背景カラー"));
        QCOMPARE(colourWindowCaption(1, 0), QStringLiteral("文字カラー詳細"));
        QCOMPARE(colourWindowCaption(1, 1), QStringLiteral("背景カラー詳細"));
    }
};

QTEST_MAIN(TestColourLogic)
#include "tst_colourlogic.moc"

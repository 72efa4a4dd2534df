#include "maker/entries/uniformlines.h"

#include <QListWidget>
#include <QScrollBar>
#include <QtTest>

#include <memory>

using namespace quillo::maker;

namespace {

// A list as the companion windows make it: the uniform-size delegate, uniform sizes where
// every line is one line.
std::unique_ptr<QListWidget> uniformList(const QStringList& lines) {
    auto list = std::make_unique<QListWidget>();
    new UniformLineDelegate(list.get());
    list->setUniformItemSizes(allOneLine(lines));
    list->addItems(lines);
    return list;
}

// A list as Qt makes it, which sizes every line on its own.
std::unique_ptr<QListWidget> plainList(const QStringList& lines) {
    auto list = std::make_unique<QListWidget>();
    list->addItems(lines);
    return list;
}

void showAt(QListWidget& list, QSize size) {
    list.resize(size);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.doItemsLayout();
}

QString longLine(const QString& word, int times) {
    QString line;
    for (int i = 0; i < times; ++i)
        line += word;
    return line;
}

qreal sumOfLetters(const QString& text, const QFontMetricsF& metrics) {
    qreal sum = 0;
    for (const QChar c : text)
        sum += metrics.horizontalAdvance(c);
    return sum;
}

// `count` lines of kerned capitals, then a line of letters that are not kerned whose letters'
// sum comes just short of theirs.
QStringList kernedLines(int count) {
    const QFontMetricsF metrics(QListWidget().font());
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("p%1  ").arg(i % 100, 2) + longLine(QStringLiteral("AVAW"), 8);
    const qreal kerned = sumOfLetters(lines.front(), metrics);
    QString plain = QStringLiteral("p99  ");
    while (sumOfLetters(plain + QLatin1Char('x'), metrics) < kerned)
        plain += QLatin1Char('x');
    lines << plain;
    return lines;
}

} // namespace

class TestUniformLines : public QObject {
    Q_OBJECT
private slots:
    void allOneLine_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("oneLine");
        QTest::newRow("none") << QStringList{} << true;
        QTest::newRow("plain") << QStringList{"p 1  はじめに", "p 2  ", "p 3  Printer"} << true;
        QTest::newRow("line feed") << QStringList{"p 1  a", "p 2  two\nlines"} << false;
        QTest::newRow("carriage return") << QStringList{"p 1  a\r"} << false;
        QTest::newRow("tab") << QStringList{"p 1  a\tb"} << false;
        QTest::newRow("line separator") << QStringList{QString("p 1  a") + QChar(0x2028)} << false;
    }
    void allOneLine() {
        QFETCH(QStringList, lines);
        QFETCH(bool, oneLine);
        QCOMPARE(quillo::maker::allOneLine(lines), oneLine);
    }

    // The list scrolls as far right as one that measures each line, wherever its widest line
    // is, and no line is cut: each is at least as tall as Qt would make it.
    void linesSizedAsTheWidestAndTallest_data() {
        QTest::addColumn<QStringList>("lines");
        QStringList middle;
        for (int i = 1; i <= 300; ++i)
            middle << QStringLiteral("p%1  キーワード%1").arg(i, 2);
        middle[137] += longLine(QStringLiteral("長い"), 20);
        QTest::newRow("widest in the middle") << middle;

        // Lines of one length in characters: which is widest only their glyphs decide.
        QStringList alike;
        for (int i = 0; i < 200; ++i)
            alike << QStringLiteral("p 1  ") + longLine(QStringLiteral("iiii"), 5);
        alike[5] = QStringLiteral("p 1  ") + longLine(QStringLiteral("WMWM"), 5);
        alike[150] = QStringLiteral("p 1  ") + longLine(QStringLiteral("WMWW"), 5);
        QTest::newRow("same length, different glyphs") << alike;

        // Kerned pairs make the sum of the letters' widths wider than the line drawn: the line
        // of letters that are not kerned is the widest though its letters' sum is not.
        QTest::newRow("kerning") << kernedLines(20);
        QTest::newRow("scripts of other fonts")
            << QStringList{"p 1  Latin only", "p 2  ひらがな", "p 3  カタカナ",  "p 4  漢字",
                           "p 5  ﾊﾝｶｸ",       "p 6  Ελληνικά", "p 7  Кириллица", "p 8  ①②③"};
        QTest::newRow("one line") << QStringList{"p 1  "};
    }
    void linesSizedAsTheWidestAndTallest() {
        QFETCH(QStringList, lines);
        const auto uniform = uniformList(lines);
        const auto plain = plainList(lines);
        QVERIFY(uniform->uniformItemSizes());
        const QSize size(160, 200);
        showAt(*uniform, size);
        showAt(*plain, size);

        int tallest = 0;
        for (int row = 0; row < lines.size(); ++row)
            tallest = qMax(tallest, plain->visualItemRect(plain->item(row)).height());
        QCOMPARE(uniform->horizontalScrollBar()->maximum(),
                 plain->horizontalScrollBar()->maximum());
        for (int row = 0; row < lines.size(); ++row)
            QCOMPARE(uniform->visualItemRect(uniform->item(row)).height(), tallest);
    }

    // More lines that could be the widest than are measured: none is cut.
    void manyKernedLinesAreNotCut() {
        const QStringList lines = kernedLines(200);
        const auto uniform = uniformList(lines);
        const auto plain = plainList(lines);
        showAt(*uniform, QSize(160, 200));
        showAt(*plain, QSize(160, 200));
        QVERIFY(plain->horizontalScrollBar()->maximum() > 0);
        QVERIFY(uniform->horizontalScrollBar()->maximum() >=
                plain->horizontalScrollBar()->maximum());
    }

    // A line of two lines keeps its height: the list sizes each line on its own again.
    void aLineOfTwoLinesIsTallerThanTheOthers() {
        const QStringList lines{"p 1  one", "p 2  two\nlines", "p 3  three"};
        const auto uniform = uniformList(lines);
        QVERIFY(!uniform->uniformItemSizes());
        showAt(*uniform, QSize(160, 200));
        const int one = uniform->visualItemRect(uniform->item(0)).height();
        QVERIFY(uniform->visualItemRect(uniform->item(1)).height() > one);
        QCOMPARE(uniform->visualItemRect(uniform->item(2)).height(), one);
    }

    // Lines added or changed later are measured again.
    void changedLinesAreMeasuredAgain() {
        const auto list = uniformList({"p 1  a", "p 2  b"});
        showAt(*list, QSize(160, 200));
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
        list->item(0)->setText(QStringLiteral("p 1  ") + longLine(QStringLiteral("wide "), 20));
        list->doItemsLayout();
        const int afterChange = list->horizontalScrollBar()->maximum();
        QVERIFY(afterChange > 0);
        list->addItem(QStringLiteral("p 3  ") + longLine(QStringLiteral("wider "), 30));
        list->doItemsLayout();
        QVERIFY(list->horizontalScrollBar()->maximum() > afterChange);
        list->clear();
        list->addItems({"p 1  a"});
        list->doItemsLayout();
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(TestUniformLines)
#include "tst_uniformlines.moc"

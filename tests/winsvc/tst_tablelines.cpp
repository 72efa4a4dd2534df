#include "rtf/rtfreader.h"
#include "rtf/tablebuilder.h"
#include "support/drawnpages.h"
#include "support/hostilepages.h"
#include "winsvc/pagelayout.h"

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <cmath>
#include <memory>

using namespace quillo;

namespace {

constexpr int PageWidth = 500;

// The page as the programs show it, read in slices as they read it.
std::unique_ptr<QTextDocument> shownPage(const QByteArray& rtf) {
    auto doc = std::make_unique<QTextDocument>();
    usePageLayout(*doc);
    doc->setTextWidth(PageWidth);
    rtf::readRtf(
        rtf, *doc, [] { return true; }, std::chrono::milliseconds(1));
    return doc;
}

// The same page laid out and drawn by Qt alone, with Qt's collapsed one-pixel table borders.
std::unique_ptr<QTextDocument> withQtBorders(const QTextDocument& shown) {
    std::unique_ptr<QTextDocument> doc(shown.clone());
    rtf::useQtTableBorders(*doc);
    doc->setTextWidth(PageWidth);
    return doc;
}

} // namespace

class TestTableLines : public QObject {
    Q_OBJECT
private slots:
    void linesAsQtDrawsThem_data();
    void linesAsQtDrawsThem();
    void bandsOfALongTable();
};

void TestTableLines::linesAsQtDrawsThem_data() {
    QTest::addColumn<QByteArray>("rtf");
    const QByteArray head =
        "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset128 "
        "\\'82\\'6c\\'82\\'72 \\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}"
        "{\\colortbl;\\red200\\green220\\blue255;}\\pard\\f0\\fs18 before\\par ";
    QTest::newRow("widths and a wide gap")
        << head + "\\trowd\\trgaph108\\cellx1500\\cellx3210\\cellx4000\\pard\\intbl a\\cell "
                  "bb\\cell wrapping words that go on and on\\cell\\row\\pard after\\par}";
    QTest::newRow("no gap, fractional pixels")
        << head + "\\trowd\\trgaph0\\cellx601\\cellx1333\\pard\\intbl x\\cell y\\cell\\row"
                  "\\trowd\\trgaph0\\cellx601\\cellx1333\\pard\\intbl \\cell z\\cell\\row}";
    QTest::newRow("paragraphs, large text and Japanese in cells")
        << head + "\\trowd\\trgaph60\\cellx2000\\cellx5000\\pard\\intbl one\\par two\\par "
                  "three\\cell {\\fs48 big}\\cell\\row\\trowd\\trgaph60\\cellx2000\\cellx5000"
                  "\\pard\\intbl \\'82\\'a0\\'82\\'a2\\'82\\'a4\\cell \\'93\\'fa\\'96\\'7b"
                  "\\'8c\\'ea\\'82\\'cc\\'95\\'b6\\'8f\\'cd\\cell\\row\\pard after\\par}";
    QTest::newRow("shaded cells")
        << head + "\\trowd\\trgaph108\\clcbpat1\\cellx1500\\cellx3000\\pard\\intbl "
                  "shaded\\cell plain\\cell\\row\\pard after\\par}";
    QTest::newRow("rows of different lengths")
        << head + "\\trowd\\trgaph108\\cellx1500\\pard\\intbl one\\cell\\row"
                  "\\trowd\\trgaph108\\cellx1500\\cellx3000\\cellx4500\\pard\\intbl a\\cell "
                  "b\\cell c\\cell\\row\\pard after\\par}";
    QTest::newRow("two tables") << head + "\\trowd\\cellx1500\\pard\\intbl a\\cell\\row\\pard "
                                          "between\\par\\trowd\\cellx3000\\pard\\intbl b\\cell"
                                          "\\row}";
    QTest::newRow("a long table in parts") << test::tablePage(1100, 3);
}

// Every table's lines are where Qt draws its collapsed one-pixel borders, and every cell and
// its text where Qt places them: the whole page is the same picture, pixel for pixel.
void TestTableLines::linesAsQtDrawsThem() {
    QFETCH(QByteArray, rtf);
    const auto shown = shownPage(rtf);
    const auto reference = withQtBorders(*shown);
    QCOMPARE(shown->size(), reference->size());
    const QRectF page(QPointF(0, 0), shown->size());
    const QImage image = test::drawnBand(*shown, page);
    QCOMPARE(image, test::drawnBand(*reference, page));
    // The lines are there: the picture is not a page without them.
    std::unique_ptr<QTextDocument> noLines(shown->clone());
    noLines->setTextWidth(PageWidth);
    QVERIFY(image != test::drawnBand(*noLines, page));
}

// A window draws only the band it shows (scrolled by whole pixels): the lines of the rows in the
// band, wherever it falls (across a part's seam, on a line, at the table's start and end), are the
// ones of the whole.
void TestTableLines::bandsOfALongTable() {
    const auto shown = shownPage(test::tablePage(1100, 3));
    const auto reference = withQtBorders(*shown);
    const qreal height = shown->size().height();
    QVERIFY(height > 20'000);
    const QTextBlock seam = test::firstTableSeam(*shown);
    QVERIFY(seam.isValid());
    const qreal seamY = shown->documentLayout()->blockBoundingRect(seam).top();
    for (const QRectF band :
         {QRectF(0, seamY - 30, PageWidth, 60), QRectF(0, seamY - 1, PageWidth, 2),
          QRectF(0, 0, PageWidth, 300), QRectF(0, 17, PageWidth, 1), QRectF(0, 1001, PageWidth, 57),
          QRectF(0, std::floor(height / 2), PageWidth, 400),
          QRectF(0, height - 350, PageWidth, 350)}) {
        QCOMPARE(test::drawnBand(*shown, band), test::drawnBand(*reference, band));
    }
}

QTEST_MAIN(TestTableLines)
#include "tst_tablelines.moc"

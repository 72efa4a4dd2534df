#include "tst_rtf.h"

#include "rtf/htmlwriter.h"
#include "rtf/picture.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "rtf/tablebuilder.h"
#include "support/drawnpages.h"
#include "support/hostilepages.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>

using namespace quillo::rtf;
using namespace rtftest;

namespace {

QTextTable* firstTable(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (QTextTable* table = QTextCursor(b).currentTable())
            return table;
    return nullptr;
}

std::vector<const QTextTable*> tablesOf(const QTextDocument& doc) {
    std::vector<const QTextTable*> tables;
    for (const QTextFrame* frame : doc.rootFrame()->childFrames())
        if (const auto* table = qobject_cast<const QTextTable*>(frame))
            tables.push_back(table);
    return tables;
}

QString cellText(const QTextTable& table, int row, int column) {
    const QTextTableCell cell = table.cellAt(row, column);
    QTextCursor text = cell.firstCursorPosition();
    text.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return text.selectedText();
}

} // namespace

// Sizes the layout cannot carry (a page of them froze the programs) are shown at the largest
// it can; sizes a writer uses are shown and written back as they are.
void TestRtf::extremeSizesAreLimited_data() {
    QTest::addColumn<QByteArray>("format"); // control words of the paragraph
    QTest::addColumn<qreal>("points");      // the text's size as laid out
    QTest::addColumn<qreal>("before");      // space before the paragraph, pixels
    QTest::addColumn<qreal>("after");
    QTest::addColumn<QByteArrayList>("written"); // in the RTF written back
    QTest::newRow("ordinary") << QByteArray("\\fs24\\sb120\\sa240") << 12.0 << 8.0 << 16.0
                              << QByteArrayList{"\\fs24", "\\sb120", "\\sa240"};
    QTest::newRow("poster") << QByteArray("\\fs400\\sb1440\\sa720") << 200.0 << 96.0 << 48.0
                            << QByteArrayList{"\\fs400", "\\sb1440", "\\sa720"};
    QTest::newRow("largest RTF allows")
        << QByteArray("\\fs3276\\sb31680\\sa31680") << 200.0 << 96.0 << 96.0
        << QByteArrayList{"\\fs400", "\\sb1440", "\\sa1440"};
}

void TestRtf::extremeSizesAreLimited() {
    QFETCH(QByteArray, format);
    QFETCH(qreal, points);
    QFETCH(qreal, before);
    QFETCH(qreal, after);
    QFETCH(QByteArrayList, written);
    QTextDocument doc;
    readRtf("{\\rtf1\\pard" + format + " text\\par}", doc);
    const QTextBlock block = doc.firstBlock();
    QCOMPARE(block.begin().fragment().charFormat().fontPointSize(), points);
    QCOMPARE(block.blockFormat().topMargin(), before);
    QCOMPARE(block.blockFormat().bottomMargin(), after);
    const QByteArray rtf = writeRtf(doc);
    for (const QByteArray& word : written)
        QVERIFY2(rtf.contains(word + ' ') || rtf.contains(word + '\\'), rtf.constData());
}

// A word of thousands of characters (here of one-letter runs) makes the page wrap anywhere,
// which Qt lays out in time growing with the page; text of words keeps wrapping at them.
void TestRtf::longWordsWrapAnywhere_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("anywhere");
    QTest::newRow("100000 runs in one word") << quillo::test::formattingRunsPage(100000) << true;
    QTest::newRow("words of a long paragraph")
        << QByteArray("{\\rtf1 " + QByteArray("word \\b bold\\b0  ").repeated(3000) + "}") << false;
    QTest::newRow("Japanese without blanks") << quillo::test::largestCharactersPage(5000) << false;
}

void TestRtf::longWordsWrapAnywhere() {
    QFETCH(QByteArray, rtf);
    QFETCH(bool, anywhere);
    QTextDocument doc;
    doc.setTextWidth(600);
    QElapsedTimer timer;
    timer.start();
    readRtf(rtf, doc);
    QVERIFY(doc.size().height() > 0);
    QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(doc.defaultTextOption().wrapMode() == QTextOption::WrapAnywhere, anywhere);
}

void TestRtf::longTablesKeepEveryCell_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cells");
    QTest::newRow("40000 rows of 3 cells") << 40000 << 3;
    QTest::newRow("2000 rows of 63 cells") << 2000 << 63;
    QTest::newRow("one row") << 1 << 1;
}

// Long tables are read in time growing with their cells (40,000 rows took 36 s when every
// cell was looked up by its row and column), and every cell holds its own text.
void TestRtf::longTablesKeepEveryCell() {
    QFETCH(int, rows);
    QFETCH(int, cells);
    QTextDocument doc;
    doc.setTextWidth(600);
    QElapsedTimer timer;
    timer.start();
    readRtf(quillo::test::tablePage(rows, cells), doc);
    QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
    const QTextTable* table = firstTable(doc);
    QVERIFY(table);
    QCOMPARE(table->rows(), rows);
    QCOMPARE(table->columns(), cells);
    for (int r : {0, rows / 2, rows - 1})
        for (int c : {0, cells / 2, cells - 1})
            QCOMPARE(cellText(*table, r, c), QStringLiteral("%1.%2").arg(r).arg(c));
    QCOMPARE(doc.lastBlock().text(), QStringLiteral("after"));
}

void TestRtf::forgedPicturesAreBoxes_data() {
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QSize>("decoded"); // 0 x 0: not decoded
    // A bitmap core header announcing 4000 x 4000 x 24 bits, and four bytes of pixels.
    QTest::newRow("bitmap of 16 bytes")
        << QByteArray("{\\pict\\dibitmap0\\picw4000\\pich4000 0c000000a00fa00f01001800ff00ff00}")
        << QSize(0, 0);
    // The same header for 2 x 2 pixels, with its two rows of eight bytes.
    QTest::newRow("whole 2x2 bitmap")
        << QByteArray("{\\pict\\dibitmap0\\picw2\\pich2 0c000000020002000100180000ff00ff0000"
                      "000000ff00ff00000000}")
        << QSize(2, 2);
    // A PNG's header cut off after its size: the image announces far more than the bytes hold.
    QTest::newRow("PNG header of 4000x4000")
        << QByteArray("{\\pict\\pngblip ") + pngBytes(4000, 4000, Qt::red).left(33).toHex() + "}"
        << QSize(0, 0);
    QTest::newRow("one-colour PNG of 2000x2000")
        << QByteArray("{\\pict\\pngblip ") + pngBytes(2000, 2000, Qt::blue).toHex() + "}"
        << QSize(2000, 2000);
}

// Picture data far smaller than the size it announces is not decoded into an image that large:
// the page shows a box, and the HTML export writes a small picture file for it.
void TestRtf::forgedPicturesAreBoxes() {
    QFETCH(QByteArray, picture);
    QFETCH(QSize, decoded);
    QTextDocument doc;
    readRtf("{\\rtf1 " + picture + "}", doc);
    const QTextImageFormat format = doc.begin().begin().fragment().charFormat().toImageFormat();
    QVERIFY(format.isValid());
    const Picture p = pictureOf(doc, format);
    QCOMPARE(decodePicture(p).size(), decoded);
    const HtmlPage html = rtfToHtml("{\\rtf1 " + picture + "}", {});
    QCOMPARE(html.pictures.size(), size_t(1));
    if (decoded.isEmpty())
        QVERIFY2(html.pictures.front().bytes.size() < 4096,
                 qPrintable(QString::number(html.pictures.front().bytes.size())));
}

// A page of many pictures announcing the largest size stays short enough to be laid out: the
// pictures past two million pixels of height are shown smaller.
void TestRtf::tallPicturesKeepThePageShort() {
    const QByteArray box = "{\\pict\\wmetafile8\\picw4000\\pich4000\\picwgoal60000\\pichgoal60000 "
                           "010009000003}";
    QTextDocument doc;
    readRtf("{\\rtf1 " + box.repeated(3000) + "}", doc);
    qreal height = 0;
    int pictures = 0;
    qreal first = 0;
    for (auto it = doc.begin().begin(); !it.atEnd(); ++it) {
        const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
        if (!image.isValid())
            continue;
        if (pictures == 0)
            first = image.height();
        pictures += it.fragment().length();
        height += image.height() * it.fragment().length();
    }
    QCOMPARE(pictures, 3000);
    QCOMPARE(first, 4000.0);
    QVERIFY2(height <= 2000000 + 3000, qPrintable(QString::number(height)));
}

void TestRtf::tooTallPagesAreCut_data() {
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<bool>("cut");
    QTest::newRow("5000 spaced paragraphs") << 5000 << false;
    QTest::newRow("80000 spaced paragraphs") << 80000 << true;
}

// Qt's layout spins for good past 8,388,607 pixels down a page: a page surely taller (here
// paragraphs spaced an inch apart) is cut where it gets near, and shorter pages are whole.
void TestRtf::tooTallPagesAreCut() {
    QFETCH(int, paragraphs);
    QFETCH(bool, cut);
    QTextDocument doc;
    doc.setTextWidth(600);
    readRtf(quillo::test::spacedParagraphsPage(paragraphs), doc);
    QCOMPARE(doc.blockCount() < paragraphs, cut);
    QVERIFY(doc.blockCount() > 4000);
    QCOMPARE(doc.firstBlock().text(), QStringLiteral("a"));
    const qreal height = doc.size().height();
    QVERIFY2(height < 8388607, qPrintable(QString::number(height)));
}

// The shading of the cells of a long table goes on after the table is read, in time growing
// with its cells, and every shaded cell shows its colour.
void TestRtf::shadedCellsOfLongTables() {
    QByteArray page = "{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue255;}";
    for (int r = 0; r < 20000; ++r)
        page += "\\trowd\\cellx1000\\clcbpat1\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\r\n";
    page += "\\pard after\\par}";
    QTextDocument doc;
    QElapsedTimer timer;
    timer.start();
    readRtf(page, doc);
    QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
    const QTextTable* table = firstTable(doc);
    QVERIFY(table);
    QCOMPARE(table->rows(), 20000);
    for (int r : {0, 19999}) {
        QVERIFY(!table->cellAt(r, 0).format().hasProperty(QTextFormat::BackgroundBrush));
        QCOMPARE(table->cellAt(r, 1).format().background().color(), QColor(0, 0, 255));
    }
}

void TestRtf::longTablesShowInParts_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("parts");
    QTest::addColumn<int>("seams");
    QTest::newRow("10000 rows of 3 cells") << quillo::test::tablePage(10000, 3) << 10 << 9;
    QTest::newRow("400 rows of 63 cells") << quillo::test::tablePage(400, 63) << 9 << 8;
    QTest::newRow("1000 rows of 3 cells: one part") << quillo::test::tablePage(1000, 3) << 1 << 0;
    QTest::newRow("1001 rows of 3 cells") << quillo::test::tablePage(1001, 3) << 2 << 1;
    // Rows of two cells and rows of one shaded cell in turn, with their own gap; the text
    // follows the last row directly.
    QByteArray mixed = "{\\rtf1\\ansi{\\colortbl;\\red0\\green128\\blue0;}";
    for (int r = 0; r < 4000; ++r)
        mixed += r % 2 ? "\\trowd\\trgaph50\\clcbpat1\\cellx1500\\pard\\intbl g\\cell\\row "
                       : "\\trowd\\cellx1000\\cellx3000\\pard\\intbl a\\cell\\b b\\b0\\cell\\row ";
    QTest::newRow("rows of differing cells") << mixed + "tail\\par}" << 3 << 2;
    // Two long tables that an empty paragraph parts stay two tables with that paragraph.
    QByteArray two = "{\\rtf1\\ansi ";
    for (int t = 0; t < 2; ++t) {
        for (int r = 0; r < 3500; ++r)
            two += "\\trowd\\cellx2000\\pard\\intbl x\\cell\\row ";
        two += "\\pard\\par ";
    }
    QTest::newRow("two tables an empty paragraph parts") << two + "}" << 4 << 2;
}

// A long table read in slices comes as consecutive tables of bounded cells, the slice ending
// after each, with every cell's text in its place: its plain text is what plainText() computes,
// and it writes back to the same RTF as the page read whole into one table.
void TestRtf::longTablesShowInParts() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, parts);
    QFETCH(int, seams);
    // As wide as a window: columns wider than RTF's edges can place are as wide as the layout
    // gives them.
    QTextDocument doc;
    doc.setTextWidth(600);
    int slices = 0;
    readRtf(
        rtf, doc, [&slices] { return ++slices > 0; }, std::chrono::milliseconds(100));
    const std::vector<const QTextTable*> tables = tablesOf(doc);
    QCOMPARE(int(tables.size()), parts);
    int seamBlocks = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        seamBlocks += isTableSeam(b);
    QCOMPARE(seamBlocks, seams);
    QVERIFY2(slices >= seams, qPrintable(QString::number(slices)));
    for (const QTextTable* table : tables)
        QVERIFY2(table->rows() * table->columns() < kCellsPerShownTable + table->columns() * 2,
                 qPrintable(QStringLiteral("%1x%2").arg(table->rows()).arg(table->columns())));
    QCOMPARE(plainText(rtf), doc.toPlainText());
    QTextDocument whole;
    whole.setTextWidth(600);
    readRtf(rtf, whole);
    QCOMPARE(writeRtf(doc), writeRtf(whole));
    // Text for people and other programs has the table whole, as written.
    QCOMPARE(plainText(rtf, LongTables::Whole), whole.toPlainText());
}

// Where a long table goes on in a part of its own, the page looks as the table read whole does:
// the same height, and the rows about the seam drawn with single lines between them.
void TestRtf::partsOfALongTableLookLikeOne() {
    const QByteArray rtf = quillo::test::tablePage(1100, 3);
    QTextDocument parts;
    parts.setTextWidth(400);
    readRtf(
        rtf, parts, [] { return true; }, std::chrono::milliseconds(100));
    QTextDocument whole;
    whole.setTextWidth(400);
    readRtf(rtf, whole);
    QCOMPARE(tablesOf(parts).size(), size_t(2));
    QCOMPARE(parts.size(), whole.size());
    const QTextBlock seam = quillo::test::firstTableSeam(parts);
    QVERIFY(seam.isValid());
    const QRectF band(0, parts.documentLayout()->blockBoundingRect(seam).top() - 60, 400, 120);
    // Drawn with Qt's own borders where the programs' page layout draws the lines.
    useQtTableBorders(parts);
    useQtTableBorders(whole);
    QCOMPARE(quillo::test::drawnBand(parts, band), quillo::test::drawnBand(whole, band));
}

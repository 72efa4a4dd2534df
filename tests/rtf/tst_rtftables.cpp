#include "tst_rtf.h"

#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "rtf/styles.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace quillo::rtf;
using namespace rtftest;

namespace {

// The first table of the page as "rows x columns: cell|cell/cell|cell", cells' paragraphs
// joined by "+"; "none" without a table.
QString tableShape(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextTable* table = QTextCursor(b).currentTable();
        if (!table)
            continue;
        QStringList rows;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor text = cell.firstCursorPosition();
                text.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                cells << text.selectedText().replace(QChar::ParagraphSeparator, u'+');
            }
            rows << cells.join(u'|');
        }
        return QStringLiteral("%1x%2: %3")
            .arg(table->rows())
            .arg(table->columns())
            .arg(rows.join(u'/'));
    }
    return QStringLiteral("none");
}

QList<qreal> fixedWidths(const QTextDocument& doc) {
    QList<qreal> widths;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (const QTextTable* table = QTextCursor(b).currentTable()) {
            for (const QTextLength& l : table->format().columnWidthConstraints())
                widths << (l.type() == QTextLength::FixedLength ? l.rawValue() : -1);
            break;
        }
    return widths;
}

} // namespace

void TestRtf::tables_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QList<qreal>>("widths"); // pixels, 15 twips each
    QTest::newRow("rich-edit rows")
        << QByteArray("{\\rtf1 before\\par\\trowd\\trgaph108\\cellx1500\\cellx3000\\cellx4500"
                      "\\pard\\intbl a\\cell b\\par b2\\cell c\\cell\\row\\intbl d\\cell\\cell "
                      "f\\cell\\row\\pard after\\par}")
        << QStringLiteral("2x3: a|b+b2|c/d||f") << QList<qreal>{100, 100, 100};
    // Word 2007 and LibreOffice repeat the row's definition after its cells.
    QTest::newRow("definition after the cells")
        << QByteArray("{\\rtf1\\pard\\intbl a\\cell b\\cell\\pard\\intbl{\\trowd\\trleft-108"
                      "\\cellx1392\\cellx2892\\row}\\pard end\\par}")
        << QStringLiteral("1x2: a|b") << QList<qreal>{100, 100};
    QTest::newRow("a longer row widens the table")
        << QByteArray("{\\rtf1\\trowd\\cellx600\\pard\\intbl a\\cell\\row"
                      "\\trowd\\cellx600\\cellx1200\\intbl b\\cell c\\cell\\row\\pard\\par}")
        << QStringLiteral("2x2: a|/b|c") << QList<qreal>{40, 40};
    QTest::newRow("merged cells read as plain cells")
        << QByteArray("{\\rtf1\\trowd\\clmgf\\cellx600\\clmrg\\cellx1200\\clvmgf\\cellx1800"
                      "\\pard\\intbl a\\cell\\cell b\\cell\\row\\trowd\\cellx600\\cellx1200"
                      "\\clvmrg\\cellx1800\\intbl c\\cell d\\cell\\cell\\row\\pard\\par}")
        << QStringLiteral("2x3: a||b/c|d|") << QList<qreal>{40, 40, 40};
    // A nested table (Word's \itap2 ... \nestcell) reads as paragraphs of its outer cell.
    QTest::newRow("nested table")
        << QByteArray("{\\rtf1\\trowd\\cellx3000\\cellx6000\\pard\\intbl\\itap2 x\\nestcell"
                      "{\\nonesttables\\par}y\\nestcell{\\nonesttables\\par}{\\*\\nesttableprops"
                      "\\trowd\\cellx1000\\cellx2000\\nestrow}{\\nonesttables\\par}\\pard\\intbl"
                      "\\itap1 outer\\cell z\\cell\\row\\pard\\par}")
        << QStringLiteral("1x2: x+y+outer|z") << QList<qreal>{200, 200};
    QTest::newRow("page ends inside a row")
        << QByteArray("{\\rtf1\\trowd\\cellx600\\cellx1200\\pard\\intbl a\\cell b")
        << QStringLiteral("1x2: a|b") << QList<qreal>{-1, -1};
    // A row mark after text has ended the table belongs to no table (found by fuzzing: the
    // plain text counted an empty row in the next table).
    QTest::newRow("row mark after the table ended")
        << QByteArray("{\\rtf1\\trowd\\cellx600\\pard\\intbl a\\cell\\pard x\\row"
                      "\\trowd\\cellx600\\intbl b\\cell\\row\\pard\\par}")
        << QStringLiteral("1x1: a") << QList<qreal>{-1};
    QByteArray wide = "{\\rtf1\\trowd\\pard\\intbl ";
    for (int i = 0; i < 100; ++i)
        wide += QByteArray::number(i % 10) + "\\cell ";
    // Past the 62nd cell mark of a row, the rest of the row is the text of its last cell.
    QStringList cells;
    for (int i = 0; i < 62; ++i)
        cells << QString::number(i % 10);
    QStringList rest;
    for (int i = 62; i < 100; ++i)
        rest << QString::number(i % 10);
    QTest::newRow("at most 63 cells a row")
        << (wide + "\\row}") << QStringLiteral("1x63: ") + cells.join(u'|') + u'|' + rest.join(u'+')
        << QList<qreal>(63, -1);
}

// Tables of other writers read as QTextTables of the same shape and text, the text as the
// document shows it is what plainText() computes, and the page writes back to the same table.
void TestRtf::tables() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, shape);
    QFETCH(QList<qreal>, widths);
    QTextDocument doc;
    readRtf(rtf, doc);
    QCOMPARE(tableShape(doc), shape);
    QCOMPARE(fixedWidths(doc), widths);
    QCOMPARE(plainText(rtf), doc.toPlainText());
    const QByteArray written = writeRtf(doc);
    QTextDocument back;
    readRtf(written, back);
    QCOMPARE(tableShape(back), shape);
    QCOMPARE(snapshot(back), snapshot(doc));
    QCOMPARE(writeRtf(back), written);
}

// A table as a browser's HTML gives it (no widths, a merged cell, bold text in a cell) is
// written as \trowd rows and reads back with its shape, its text and its formatting; its HTML
// export is a <table> of the same rows.
void TestRtf::pastedTableRoundTrip() {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("IPAPGothic"), 9));
    doc.setHtml(
        QStringLiteral("<p>top</p><table border=0><tr><td>a</td><td><b>bold</b></td><td>c</td></tr>"
                       "<tr><td colspan=2>wide</td><td>f</td></tr></table><p>end</p>"));
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.contains("\\trowd"));
    QCOMPARE(rtf.count("\\row"), 2);
    QTextDocument back;
    back.setDefaultFont(doc.defaultFont());
    readRtf(rtf, back);
    QCOMPARE(tableShape(back), QStringLiteral("2x3: a|bold|c/wide||f"));
    QVERIFY(formatAt(back, QStringLiteral("bold")).fontWeight() >= QFont::Bold);
    QVERIFY(formatAt(back, QStringLiteral("a")).fontWeight() < QFont::Bold);
    // The merged cell's second place is an empty cell of its own.
    QCOMPARE(back.toPlainText(), QStringLiteral("top\na\nbold\nc\nwide\n\nf\n\nend"));
    // Widths left to the content were measured, so each column has a width of its own.
    for (qreal w : fixedWidths(back))
        QVERIFY(w > 0);
    QCOMPARE(writeRtf(back), writeRtf(back)); // stable
    const QString html = writeHtml(back, {}).html;
    QCOMPARE(html.count(QStringLiteral("<table")), 1);
    QCOMPARE(html.count(QStringLiteral("<tr>")), 2);
    QCOMPARE(html.count(QStringLiteral("<td>")), 6);
    QCOMPARE(stripTags(rtfToHtml(rtf, {}).html.section(QStringLiteral("<body>"), 1)),
             stripTags(html.section(QStringLiteral("<body>"), 1)));
}

void TestRtf::headingSizes_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("halfPoints");
    QTest::addColumn<bool>("bold");
    // The default font is 9 pt; Qt shows headings and <big> scaled from it.
    QTest::newRow("h1") << QStringLiteral("<h1>X</h1>") << 36 << true;
    QTest::newRow("h2") << QStringLiteral("<h2>X</h2>") << 27 << true;
    QTest::newRow("h3") << QStringLiteral("<h3>X</h3>") << 22 << true;
    QTest::newRow("big") << QStringLiteral("<p><big>X</big></p>") << 22 << false;
    QTest::newRow("pixel size") << QStringLiteral("<p><span style=\"font-size:24px\">X</span></p>")
                                << 36 << false;
    QTest::newRow("point size") << QStringLiteral("<p><span style=\"font-size:11pt\">X</span></p>")
                                << 22 << false;
}

// A size the editor shows relative to the default font is written as the size shown.
void TestRtf::headingSizes() {
    QFETCH(QString, html);
    QFETCH(int, halfPoints);
    QFETCH(bool, bold);
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("IPAPGothic"), 9));
    doc.setHtml(html);
    const QByteArray rtf = writeRtf(doc);
    QVERIFY2(rtf.contains("\\fs" + QByteArray::number(halfPoints) + (bold ? "\\b " : " X")),
             rtf.constData());
    QTextDocument back;
    back.setDefaultFont(doc.defaultFont());
    readRtf(rtf, back);
    const QTextCharFormat shown = formatAt(back, QStringLiteral("X"));
    QCOMPARE(shown.font().pointSizeF(), halfPoints / 2.0);
    QCOMPARE(shown.fontWeight() >= QFont::Bold, bold);
}

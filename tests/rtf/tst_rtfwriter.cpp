#include "tst_rtf.h"

#include "rtf/htmlwriter.h"
#include "rtf/picture.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "rtf/styles.h"
#include "rtf/units.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

using namespace quillo::rtf;
using namespace rtftest;

void TestRtf::roundTrip_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : fixtures())
        QTest::newRow(qPrintable(name)) << name;
}

// read(write(doc)) keeps text and formatting; write is a fixed point after one round.
void TestRtf::roundTrip() {
    QFETCH(QString, name);
    QTextDocument doc;
    readRtf(readData(name), doc);
    const QByteArray once = writeRtf(doc);
    for (char c : once)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80 && c != 0,
                 "the writer's output is 7-bit text");
    QTextDocument again;
    readRtf(once, again);
    QCOMPARE(snapshot(again), snapshot(doc));
    QCOMPARE(writeRtf(again), once);
    QCOMPARE(plainText(once), doc.toPlainText());
}

void TestRtf::writerOutput() {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("A{b}\\ あ"));
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("赤"), red);
    c.insertBlock();
    c.insertText(QStringLiteral("€～😀"), QTextCharFormat());
    const QByteArray rtf = writeRtf(doc);
    // The style of a rich-edit control: header, Japanese font table, colour table, paragraphs.
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg932\\deff0"));
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 "
                         "\\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}"));
    QVERIFY(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;}"));
    QVERIFY(rtf.contains("\\viewkind4\\uc1\\pard\\f0\\fs18 A\\{b\\}\\\\ \\uc2\\u12354\\'82\\'a0"));
    QVERIFY(rtf.contains("\\b\\cf1\\u-29340\\'90\\'d4\\par\r\n\\b0\\cf0\\uc1\\u8364?"));
    QVERIFY(rtf.contains("\\uc1\\u8364?\\uc2\\u-162\\'81\\'60\\uc1\\u-10179?\\u-8704?\\par"));
    QVERIFY(rtf.endsWith("}\r\n"));
    QTextDocument back;
    readRtf(rtf, back);
    QCOMPARE(back.toPlainText(), doc.toPlainText());
}

// A family chosen with the platform's foundry suffix is written by its plain name only;
// both spellings of the one family share one font table entry.
void TestRtf::foundryNotWritten() {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Nimbus Sans [urw]"), 9));
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("a"));
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Nimbus Sans")});
    c.insertText(QStringLiteral("b"), plain);
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(!rtf.contains('['));
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Nimbus Sans;}}"));
}

// A page made in the editor (Qt's own lists and indents, inserted pictures, every character
// style) survives writing and reading.
void TestRtf::editedDocumentRoundTrip() {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("MS UI Gothic"), 10));
    QTextCursor c(&doc);
    QTextBlockFormat indented;
    indented.setLeftMargin(30);
    indented.setRightMargin(12);
    indented.setTextIndent(-10);
    indented.setAlignment(Qt::AlignJustify);
    indented.setTopMargin(4);
    c.setBlockFormat(indented);
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    f.setFontPointSize(15.5);
    f.setFontItalic(true);
    f.setFontUnderline(true);
    f.setFontStrikeOut(true);
    f.setBackground(QColor(1, 2, 3));
    c.insertText(QStringLiteral("styled テキスト"), f);
    QTextCharFormat sup;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QStringLiteral("2"), sup);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/?a=\"b\"&c={d}"));
    c.insertText(QStringLiteral("link"), link);
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    c.insertList(QTextListFormat::ListDisc);
    c.insertText(QStringLiteral("bullet 1"));
    c.insertBlock();
    c.insertText(QStringLiteral("bullet 2"));
    QVERIFY(insertPicture(c, pngBytes(3, 2, Qt::blue)));
    c.insertBlock(QTextBlockFormat());
    c.insertList(QTextListFormat::ListUpperRoman);
    c.insertText(QStringLiteral("roman"));
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("after\ttab") + QChar(QChar::LineSeparator) +
                 QStringLiteral("line"));

    const QByteArray once = writeRtf(doc);
    QTextDocument back;
    readRtf(once, back);
    QCOMPARE(back.toPlainText(), doc.toPlainText());
    QCOMPARE(snapshot(back), snapshot(doc));
    QVERIFY(once.contains(
        "{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}"));
    QCOMPARE(writeRtf(back), once);
    QVERIFY(blockWith(back, QStringLiteral("bullet 1")).textList());
    QCOMPARE(blockWith(back, QStringLiteral("bullet 1")).textList(),
             blockWith(back, QStringLiteral("bullet 2")).textList());
    QCOMPARE(blockWith(back, QStringLiteral("roman")).textList()->format().style(),
             QTextListFormat::ListUpperRoman);
}

void TestRtf::html_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QStringList>("markup");
    QTest::newRow("richedit") << QStringLiteral("richedit20_japanese.rtf") << 0
                              << QStringList{
                                     QStringLiteral("<ul style=\"padding-left:13.3333px\">"),
                                     QStringLiteral("<li>"),
                                     QStringLiteral("color:#ff0000"),
                                     QStringLiteral("<b>"),
                                     QStringLiteral("text-align:center"),
                                     QStringLiteral("font-family:'ＭＳ Ｐゴシック'")};
    QTest::newRow("libreoffice") << QStringLiteral("libreoffice.rtf") << 0
                                 << QStringList{QStringLiteral("<ol type=\"a\" start=\"1\""),
                                                QStringLiteral("background-color:#ffff00"),
                                                QStringLiteral("margin-top:16px")};
    // Genuine LibreOffice 7.4 output: Japanese bold only as \ab and the face as \af after \dbch.
    QTest::newRow("libreoffice 7.4 export")
        << QStringLiteral("libreoffice74_export.rtf") << 1
        << QStringList{
               QStringLiteral("font-family:'MS Gothic',sans-serif;font-size:12pt\"><b>太字</b>"),
               QStringLiteral("<ol type=\"1\" start=\"1\"")};
    QTest::newRow("wordpad")
        << QStringLiteral("wordpad.rtf") << 3
        << QStringList{QStringLiteral("<img src=\"pics/image2.png\" width=\"5\" height=\"4\""),
                       QStringLiteral("<u>"), QStringLiteral("<s>")};
    QTest::newRow("word") << QStringLiteral("word2003.rtf") << 1
                          << QStringList{QStringLiteral("<a href=\"http://example.com/a\">"),
                                         QStringLiteral("<ol type=\"1\" start=\"3\""),
                                         QStringLiteral("<table class=\"page\">\n<tr><td>"),
                                         QStringLiteral("</td></tr>\n</table>")};
}

// Both HTML paths (from a document, straight from RTF) give the same page text and the markup the
// export needs; pictures are written as files beside the page.
void TestRtf::html() {
    QFETCH(QString, name);
    QFETCH(int, pictures);
    QFETCH(QStringList, markup);
    const QByteArray rtf = readData(name);
    const HtmlPage page = rtfToHtml(rtf, {QStringLiteral("pics/"), QStringLiteral("T<1>")});
    QTextDocument doc;
    readRtf(rtf, doc);
    const HtmlPage fromDoc = writeHtml(doc, {QStringLiteral("pics/"), {}});
    const QString& direct = page.html;
    QVERIFY(direct.startsWith(QStringLiteral("<!DOCTYPE html>")));
    QVERIFY(direct.contains(QStringLiteral("<title>T&lt;1&gt;</title>")));
    QCOMPARE(stripTags(direct.section(QStringLiteral("<body>"), 1)),
             stripTags(fromDoc.html.section(QStringLiteral("<body>"), 1)));
    for (const QString& m : markup)
        QVERIFY2(direct.contains(m), qPrintable(m));
    QCOMPARE(int(page.pictures.size()), pictures);
    QCOMPARE(int(fromDoc.pictures.size()), pictures);
    // Every picture is an image file the page links to.
    for (const HtmlPicture& picture : page.pictures) {
        QVERIFY2(direct.contains(QStringLiteral("<img src=\"pics/") + picture.name + u'"'),
                 qPrintable(picture.name));
        QVERIFY2(!QImage::fromData(picture.bytes).isNull(), qPrintable(picture.name));
    }
}

// Lists made in the editor become <ul>/<ol>; numbering restarts with a new list, nested levels
// nest, and a picture becomes a file with a relative link.
void TestRtf::htmlFromEditedDocument() {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("a < b & \"c\""));
    c.insertBlock();
    QTextListFormat numbered;
    numbered.setStyle(QTextListFormat::ListDecimal);
    c.insertList(numbered);
    c.insertText(QStringLiteral("one"));
    c.insertBlock();
    c.insertText(QStringLiteral("two"));
    c.insertBlock();
    QTextListFormat inner;
    inner.setStyle(QTextListFormat::ListDisc);
    inner.setIndent(2);
    c.insertList(inner);
    c.insertText(QStringLiteral("inner"));
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("plain"));
    c.insertBlock();
    c.insertList(numbered);
    c.insertText(QStringLiteral("restart"));
    QVERIFY(insertPicture(c, pngBytes(2, 2, Qt::red)));
    const HtmlPage page = writeHtml(doc, {QStringLiteral("p_files/"), QStringLiteral("x")});
    const QString& html = page.html;
    QVERIFY(html.contains(QStringLiteral("a &lt; b &amp; &quot;c&quot;")));
    QCOMPARE(html.count(QStringLiteral("<ol type=\"1\" start=\"1\"")), 2);
    QCOMPARE(html.count(QStringLiteral("<ul")), 1);
    // The inner list sits inside the item before it, indented, and closes with it.
    QVERIFY(html.contains(QStringLiteral("<br><ul style=\"padding-left:40px\">")));
    QVERIFY(html.contains(QStringLiteral("</ul></li>\n</ol>")));
    QVERIFY(
        html.contains(QStringLiteral("<img src=\"p_files/image1.png\" width=\"2\" height=\"2\"")));
    QCOMPARE(page.pictures.size(), size_t(1));
    QCOMPARE(page.pictures[0].name, QStringLiteral("image1.png"));
    QCOMPARE(QImage::fromData(page.pictures[0].bytes).pixelColor(0, 0), QColor(255, 0, 0));
}

// A real word processor reads our RTF to the same text.
void TestRtf::libreOfficeReadsOurRtf() {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed; install libreoffice-writer-nogui to run "
              "this check");
    QTextDocument doc;
    readRtf(readData(QStringLiteral("richedit20_japanese.rtf")), doc);
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    c.insertText(QStringLiteral("€～😀 {braces} \\ end"));
    const QString in = tmp_.filePath(QStringLiteral("lo/page.rtf"));
    QDir().mkpath(tmp_.filePath(QStringLiteral("lo")));
    QFile f(in);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(writeRtf(doc));
    f.close();
    QProcess p;
    p.setWorkingDirectory(tmp_.filePath(QStringLiteral("lo")));
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") +
                          tmp_.filePath(QStringLiteral("lo-profile")),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                      tmp_.filePath(QStringLiteral("lo")), in});
    QVERIFY(p.waitForFinished(180000));
    QFile out(tmp_.filePath(QStringLiteral("lo/page.txt")));
    QVERIFY2(out.open(QIODevice::ReadOnly), p.readAllStandardError().constData());
    QString text = QString::fromUtf8(out.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // LibreOffice writes list items as "    • item"; line ends may be CRLF.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.remove(QRegularExpression(QStringLiteral("^ *• "), QRegularExpression::MultilineOption));
    QCOMPARE(text.trimmed(), doc.toPlainText());
}

// Runs of many styles, each coming back after others, each keep their own markup.
void TestRtf::htmlRunsOfManyStyles() {
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 120; ++i)
        rtf += QStringLiteral("\\fs%1%2 t%3\\b0\\par ")
                   .arg(10 + 2 * (i % 40))
                   .arg(i % 3 == 0 ? QStringLiteral("\\b") : QString())
                   .arg(i)
                   .toLatin1();
    rtf += "}";
    const QString html = rtfToHtml(rtf, HtmlOptions{}).html;
    for (int i = 0; i < 120; ++i) {
        const QString run = QStringLiteral("font-size:%1pt\">%2t%3%4</span>")
                                .arg(5 + i % 40)
                                .arg(i % 3 == 0 ? QStringLiteral("<b>") : QString())
                                .arg(i)
                                .arg(i % 3 == 0 ? QStringLiteral("</b>") : QString());
        QVERIFY2(html.contains(run), qPrintable(run));
    }
}

#include "tst_rtf.h"

#include "rtf/htmlwriter.h"
#include "rtf/picture.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "rtf/styles.h"
#include "rtf/units.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <QtEndian>

using namespace quillo::rtf;
using namespace rtftest;

namespace rtftest {

QString dataPath(const QString& name) {
    return QStringLiteral(QUILLO_TEST_DATA "/rtf/") + name;
}

QByteArray readData(const QString& name) {
    QFile f(dataPath(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return f.readAll();
}

QStringList fixtures() {
    return QDir(dataPath(QString())).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
}

// Everything a reader of the page sees, paragraph by paragraph: text runs with their style,
// pictures with their kind and size, the paragraph's style and which list it belongs to.
QStringList snapshot(const QTextDocument& doc) {
    QStringList lines;
    QHash<const QTextList*, int> lists;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextList* list = b.textList();
        const QTextListFormat lf = list ? list->format() : QTextListFormat();
        ParaStyle p = paraStyleOf(b.blockFormat(), list ? &lf : nullptr, doc.indentWidth());
        if (list)
            p.listSequence =
                lists.contains(list) ? lists[list] : (lists[list] = int(lists.size()) + 1);
        QString line;
        if (const QTextTable* table = QTextCursor(b).currentTable()) {
            const QTextTableCell cell = table->cellAt(b.position());
            line = QStringLiteral("T%1x%2 @%3,%4 ")
                       .arg(table->rows())
                       .arg(table->columns())
                       .arg(cell.row())
                       .arg(cell.column());
        }
        line += QStringLiteral("P a%1 l%2 r%3 f%4 b%5 s%6 list%7/%8/%9/%10 |")
                    .arg(int(p.align))
                    .arg(p.left)
                    .arg(p.right)
                    .arg(p.first)
                    .arg(p.before)
                    .arg(p.after)
                    .arg(int(p.list))
                    .arg(p.listSequence)
                    .arg(p.listStart)
                    .arg(p.listLevel);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const TextStyle s = textStyleOf(f.charFormat(), doc.defaultFont());
            line +=
                QStringLiteral(" [%1 %2 b%3i%4u%5s%6 c%7 h%8 a%9]")
                    .arg(s.family)
                    .arg(s.halfPoints)
                    .arg(s.bold)
                    .arg(s.italic)
                    .arg(s.underline)
                    .arg(s.strike)
                    .arg(s.hasColor ? QString::number(s.color & 0xFFFFFF, 16) : QStringLiteral("-"))
                    .arg(s.hasBackground ? QString::number(s.background & 0xFFFFFF, 16)
                                         : QStringLiteral("-"))
                    .arg(s.anchor);
            line += QStringLiteral("v%1").arg(int(s.position));
            if (f.charFormat().isImageFormat()) {
                const QTextImageFormat img = f.charFormat().toImageFormat();
                const Picture pic = pictureOf(doc, img);
                line += QStringLiteral("<img %1 %2x%3 %4 bytes>")
                            .arg(int(pic.kind))
                            .arg(pic.goalW)
                            .arg(pic.goalH)
                            .arg(pic.data.size());
            } else {
                line += f.text();
            }
        }
        lines << line;
    }
    return lines;
}

QTextCharFormat formatAt(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text);
    if (found.isNull())
        return QTextCharFormat();
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

QTextBlock blockWith(const QTextDocument& doc, const QString& text) {
    return doc.find(text).block();
}

QString stripTags(QString html) {
    html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return html.simplified();
}
} // namespace rtftest

void TestRtf::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(tmp_.isValid());
    QVERIFY(fixtures().size() >= 5);
}

void TestRtf::fixtureText_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : fixtures())
        QTest::newRow(qPrintable(name)) << name;
}

// Every page reads to the text the programs that wrote it show, and the plain text computed
// without a document is exactly what the editor shows.
void TestRtf::fixtureText() {
    QFETCH(QString, name);
    const QByteArray rtf = readData(name);
    QTextDocument doc;
    readRtf(rtf, doc);
    const QString plain = plainText(rtf);
    QCOMPARE(doc.toPlainText(), plain);
    // Every fixture comes with the text it must read to.
    const QString expectedName = name.chopped(4) + QStringLiteral(".txt");
    QVERIFY2(QFile::exists(dataPath(expectedName)), qPrintable(expectedName + " is missing"));
    QCOMPARE(plain, QString::fromUtf8(readData(expectedName)));
}

void TestRtf::richEditPage() {
    QTextDocument doc;
    readRtf(readData(QStringLiteral("richedit20_japanese.rtf")), doc);
    QCOMPARE(doc.blockCount(), 6);

    const QTextCharFormat first = formatAt(doc, QStringLiteral("これは"));
    QCOMPARE(first.fontFamilies().toStringList(), QStringList{QStringLiteral("MS UI Gothic")});
    QCOMPARE(first.fontPointSize(), 9.0);
    QVERIFY(!first.hasProperty(QTextFormat::ForegroundBrush));

    const QTextCharFormat important = formatAt(doc, QStringLiteral("重要"));
    QCOMPARE(important.foreground().color(), QColor(255, 0, 0));
    QCOMPARE(important.fontWeight(), int(QFont::Bold));
    const QTextCharFormat gothic = formatAt(doc, QStringLiteral("表示と予定"));
    QCOMPARE(gothic.fontFamilies().toStringList(), QStringList{QStringLiteral("ＭＳ Ｐゴシック")});
    QCOMPARE(gothic.fontWeight(), int(QFont::Normal));

    // Bullets: one QTextList with a disc, the bullet text of {\pntext} not repeated.
    const QTextBlock item1 = blockWith(doc, QStringLiteral("項目１"));
    const QTextBlock item2 = blockWith(doc, QStringLiteral("項目２"));
    QVERIFY(item1.textList());
    QCOMPARE(item1.textList(), item2.textList());
    QCOMPARE(item1.textList()->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(item1.text(), QStringLiteral("項目１"));
    QCOMPARE(item1.blockFormat().leftMargin(), twipsToPixels(200));

    const QTextBlock indented = blockWith(doc, QStringLiteral("indented"));
    QVERIFY(!indented.textList());
    QCOMPARE(indented.blockFormat().leftMargin(), 48.0);
    QCOMPARE(formatAt(doc, QStringLiteral("indented")).foreground().color(), QColor(0, 0, 255));

    const QTextBlock centre = blockWith(doc, QStringLiteral("centre"));
    QCOMPARE(centre.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(formatAt(doc, QStringLiteral("centre")).fontPointSize(), 14.0);
}

void TestRtf::wordAndLibreOfficeLists() {
    QTextDocument word;
    readRtf(readData(QStringLiteral("word2003.rtf")), word);
    auto list = [](const QTextDocument& d, const char* text) {
        return blockWith(d, QString::fromUtf8(text)).textList();
    };
    QVERIFY(list(word, "first"));
    QCOMPARE(list(word, "first"), list(word, "second"));
    QCOMPARE(list(word, "first")->format().style(), QTextListFormat::ListDisc);
    QVERIFY(list(word, "one"));
    QCOMPARE(list(word, "one")->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(list(word, "one"), list(word, "two"));
    QVERIFY(!list(word, "between"));
    QCOMPARE(list(word, "three"), list(word, "one")); // the same \ls numbers on
    QVERIFY(list(word, "again"));
    QVERIFY(list(word, "again") != list(word, "one")); // a new override restarts
    QCOMPARE(blockWith(word, QStringLiteral("first")).blockFormat().leftMargin(),
             twipsToPixels(420));
    const QTextCharFormat link = formatAt(word, QStringLiteral("the site"));
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), QStringLiteral("http://example.com/a"));
    QVERIFY(link.fontUnderline());
    QCOMPARE(formatAt(word, QStringLiteral("日本語")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("ＭＳ 明朝")});

    QTextDocument lo;
    readRtf(readData(QStringLiteral("libreoffice.rtf")), lo);
    QVERIFY(list(lo, "Bullet one"));
    QCOMPARE(list(lo, "Bullet one"), list(lo, "Bullet two"));
    QCOMPARE(list(lo, "Alpha one")->format().style(), QTextListFormat::ListLowerAlpha);
    QCOMPARE(list(lo, "Alpha one"), list(lo, "Alpha two"));
    QVERIFY(list(lo, "Restarted") && list(lo, "Restarted") != list(lo, "Alpha one"));
    QCOMPARE(formatAt(lo, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(formatAt(lo, QStringLiteral("red")).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(lo, QStringLiteral("yellow")).background().color(), QColor(255, 255, 0));
    QCOMPARE(formatAt(lo, QStringLiteral("日本語")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("IPAPGothic")});
    QCOMPARE(formatAt(lo, QStringLiteral("Plain")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("Liberation Sans")});
    const QTextBlock centred = blockWith(lo, QStringLiteral("Centred"));
    QCOMPARE(centred.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(centred.blockFormat().topMargin(), 16.0);
    QCOMPARE(formatAt(lo, QStringLiteral("Centred")).fontPointSize(), 16.0);
    QVERIFY(formatAt(lo, QStringLiteral("Centred")).fontItalic());
}

void TestRtf::pictures() {
    auto imageAt = [](const QTextDocument& doc, int nth) {
        int seen = 0;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat() && seen++ == nth)
                    return it.fragment().charFormat().toImageFormat();
        return QTextImageFormat();
    };
    auto resource = [](const QTextDocument& doc, const QTextImageFormat& f) {
        return doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    };

    // A rich-edit metafile shows the bitmap it carries, at its goal size.
    QTextDocument wmf;
    readRtf(readData(QStringLiteral("richedit10_wmf.rtf")), wmf);
    const QTextImageFormat meta = imageAt(wmf, 0);
    QVERIFY(meta.isValid());
    QCOMPARE(meta.width(), 4.0);
    QCOMPARE(meta.height(), 3.0);
    const QImage bitmap = resource(wmf, meta);
    QCOMPARE(bitmap.size(), QSize(4, 3));
    QCOMPARE(bitmap.pixelColor(1, 1), QColor(0, 128, 255));
    QCOMPARE(PictureKind(meta.intProperty(PictureKindProperty)), PictureKind::Wmf);
    const QByteArray written = writeRtf(wmf);
    QVERIFY(written.contains("\\wmetafile8"));
    // The metafile goes back byte for byte.
    const QByteArray original = meta.property(PictureData).toByteArray();
    QVERIFY(original.size() > 40);
    QVERIFY(QString::fromLatin1(written)
                .remove(QStringLiteral("\r\n"))
                .contains(QString::fromLatin1(original.toHex())));

    // WordPad: an empty metafile becomes a box, PNG keeps its bytes, an OLE object shows its
    // result picture and keeps the object.
    QTextDocument pad;
    readRtf(readData(QStringLiteral("wordpad.rtf")), pad);
    const QTextImageFormat png = imageAt(pad, 1);
    QCOMPARE(resource(pad, png).size(), QSize(5, 4));
    QCOMPARE(resource(pad, png).pixelColor(2, 2), QColor(255, 0, 0));
    QCOMPARE(png.width(), 5.0);
    const QTextImageFormat object = imageAt(pad, 2);
    QCOMPARE(object.width(), 40.0);
    QVERIFY(object.property(PictureObjectRtf).toByteArray().startsWith("{\\object\\objemb"));
    const QByteArray padRtf = writeRtf(pad);
    QVERIFY(padRtf.contains("{\\*\\objclass Paint.Picture}"));
    QVERIFY(padRtf.contains("\\pngblip"));
    QVERIFY(padRtf.contains("\\picwgoal75"));

    // An enhanced metafile shows the bitmap of its StretchDIBits record.
    {
        const QByteArray dibBytes =
            QByteArray::fromHex("2800000001000000010000000100180000000000040000000000000000000000"
                                "00000000000000000000ff00");
        QByteArray record(80, '\0');
        auto put32 = [](QByteArray& b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); };
        put32(record, 0, 81); // EMR_STRETCHDIBITS
        put32(record, 48, 80);
        put32(record, 52, 40);
        put32(record, 56, 120);
        put32(record, 60, 4);
        record += dibBytes;
        put32(record, 4, quint32(record.size()));
        QByteArray emf(8, '\0');
        put32(emf, 0, 1); // EMR_HEADER, just its type and size
        put32(emf, 4, 8);
        emf += record;
        QTextDocument e;
        readRtf("{\\rtf1{\\pict\\emfblip\\picwgoal150\\pichgoal150 " + emf.toHex() + "}}", e);
        const QTextImageFormat f = imageAt(e, 0);
        QCOMPARE(resource(e, f).pixelColor(0, 0), QColor(255, 0, 0));
        QCOMPARE(f.width(), 10.0);
        QVERIFY(writeRtf(e).contains("\\emfblip"));
    }

    // A \dibitmap needs the BMP file header in front of it.
    const QByteArray dib = QByteArray::fromHex(
        "28000000020000000100000001001800000000000800000000000000000000000000000000000000"
        "0000ff00ff000000");
    QTextDocument d;
    readRtf("{\\rtf1{\\pict\\dibitmap0\\picw2\\pich1 " + dib.toHex() + "}}", d);
    const QImage fromDib = resource(d, imageAt(d, 0));
    QCOMPARE(fromDib.size(), QSize(2, 1));
    QCOMPARE(fromDib.pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(fromDib.pixelColor(1, 0), QColor(0, 255, 0));

    // Inserting a file: PNG bytes are kept, other formats are stored as PNG.
    QTextDocument ins;
    QTextCursor c(&ins);
    QVERIFY(insertPicture(c, pngBytes(7, 3, Qt::green)));
    QVERIFY(!insertPicture(c, QByteArray("not a picture")));
    QCOMPARE(ins.toPlainText(), QString(QChar::ObjectReplacementCharacter));
    QVERIFY(writeRtf(ins).contains("\\pngblip\\picw7\\pich3\\picwgoal105\\pichgoal45"));
}

void TestRtf::manyPicturesStaySmall_data() {
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("shownWidth");
    // Metafiles without a bitmap announcing 4000 x 4000 pixels: boxes, never images that large.
    QTest::newRow("undecodable 4000x4000")
        << QByteArray("{\\pict\\wmetafile8\\picw4000\\pich4000\\picwgoal60000\\pichgoal60000 "
                      "010009000003}")
        << 100 << 4000;
    // Real pictures of 16 MB each: the page decodes some and shows the rest as boxes.
    QTest::newRow("decodable 2000x2000")
        << QByteArray("{\\pict\\pngblip ") + pngBytes(2000, 2000, Qt::green).toHex() + "}" << 20
        << 2000;
}

// A small page of many huge pictures must not exhaust the memory: what its images take together
// stays under 100 MB, and every picture keeps the size it is shown at.
void TestRtf::manyPicturesStaySmall() {
    QFETCH(QByteArray, picture);
    QFETCH(int, count);
    QFETCH(int, shownWidth);
    QTextDocument doc;
    readRtf("{\\rtf1 " + picture.repeated(count) + "}", doc);
    qint64 imageBytes = 0;
    int pictures = 0;
    for (auto it = doc.begin().begin(); !it.atEnd(); ++it) {
        const QTextFormat format = it.fragment().charFormat();
        if (!format.isImageFormat())
            continue;
        const QTextImageFormat image = format.toImageFormat();
        pictures += it.fragment().length();
        QCOMPARE(image.width(), qreal(shownWidth));
        imageBytes += doc.resource(QTextDocument::ImageResource, QUrl(image.name()))
                          .value<QImage>()
                          .sizeInBytes() *
                      it.fragment().length();
    }
    QCOMPARE(pictures, count);
    QVERIFY2(imageBytes < 100 * 1024 * 1024, qPrintable(QString::number(imageBytes)));
}

// A paragraph of 10,000 alternating bold and normal runs loads and lays out in well under the
// time a layout after every run took (over 10 s).
// Pages of many runs in one paragraph or of many paragraphs are read and laid out in time
// that grows with the page (10,000 runs took 11 s when each run re-laid out its paragraph).
void TestRtf::largePagesLoadQuickly_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("characters");
    QByteArray runs = "{\\rtf1 ";
    for (int i = 0; i < 5000; ++i)
        runs += "\\b x\\b0 y";
    QTest::newRow("10000 runs") << runs + "}" << 1 << 10001;
    QByteArray paragraphs = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs18 ";
    for (int i = 0; i < 100000; ++i)
        paragraphs += "a\\par\n";
    QTest::newRow("100000 paragraphs") << paragraphs + "}" << 100000 << 200000;
}

void TestRtf::largePagesLoadQuickly() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, blocks);
    QFETCH(int, characters);
    QTextDocument doc;
    doc.setTextWidth(600);
    doc.documentLayout();
    QElapsedTimer timer;
    timer.start();
    readRtf(rtf, doc);
    QVERIFY(doc.size().height() > 0);
    QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(doc.blockCount(), blocks);
    QCOMPARE(doc.characterCount(), characters);
}

void TestRtf::slicedLoadPausesBetweenParagraphs_data() {
    QTest::addColumn<int>("stopAt"); // the pause that answers false; 0: none does
    QTest::addColumn<QString>("text");
    const QString whole = QStringLiteral("one\ntwo\na\nx\nb\nc\nd\nthree\nfour\nfive");
    QTest::newRow("every pause goes on") << 0 << whole;
    QTest::newRow("stopped at the second pause") << 2 << QStringLiteral("one\ntwo");
    QTest::newRow("stopped after the table")
        << 3 << QStringLiteral("one\ntwo\na\nx\nb\nc\nd\nthree");
}

// A page read in slices (a pause at every paragraph here) comes out as the page read in one
// go; each pause sees it laid out as far as it came and never inside the table, and a pause
// that answers false leaves the rest out.
void TestRtf::slicedLoadPausesBetweenParagraphs() {
    QFETCH(int, stopAt);
    QFETCH(QString, text);
    const QByteArray page = "{\\rtf1\\ansi one\\par two\\par "
                            "\\trowd\\cellx1000\\cellx2000 \\intbl a\\par x\\cell b\\cell\\row "
                            "\\trowd\\cellx1000\\cellx2000 \\intbl c\\cell d\\cell\\row "
                            "\\pard three\\par four\\par five}";
    QTextDocument sliced;
    sliced.setTextWidth(400);
    QList<qreal> heights;
    int pauses = 0;
    bool inTable = false;
    readRtf(
        page, sliced,
        [&] {
            QTextCursor end(&sliced);
            end.movePosition(QTextCursor::End);
            inTable |= end.currentTable() != nullptr;
            heights << sliced.documentLayout()->documentSize().height();
            return ++pauses != stopAt;
        },
        std::chrono::milliseconds(0));
    QCOMPARE(sliced.toPlainText(), text);
    QVERIFY(!inTable);
    QVERIFY(pauses >= (stopAt ? stopAt : 4));
    for (qsizetype i = 1; i < heights.size(); ++i)
        QVERIFY2(heights[i] > heights[i - 1], "a pause saw the page not laid out");
    if (stopAt == 0) {
        QTextDocument whole;
        readRtf(page, whole);
        QCOMPARE(writeRtf(sliced), writeRtf(whole));
    }
}

// Each paragraph gets its own format, also where paragraphs alike follow one another and
// where a paragraph follows a list item or an empty paragraph.
void TestRtf::paragraphFormats_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("paragraphs"); // alignment and left indent of each
    QTest::newRow("paragraphs alike") << QByteArray("{\\rtf1 \\qc\\li720 a\\par b\\par c\\par}")
                                      << QStringList{"a2 l720", "a2 l720", "a2 l720"};
    QTest::newRow("back and forth")
        << QByteArray("{\\rtf1 \\qc a\\par\\pard b\\par\\qc c\\par\\pard d}")
        << QStringList{"a2 l0", "a0 l0", "a2 l0", "a0 l0"};
    QTest::newRow("empty paragraphs between")
        << QByteArray("{\\rtf1 \\qr a\\par\\par\\par\\pard b}")
        << QStringList{"a1 l0", "a1 l0", "a1 l0", "a0 l0"};
    QTest::newRow("after a list item")
        << QByteArray("{\\rtf1 \\li720 a\\par{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb"
                      "\\'b7}}\\fi-360\\li720 b\\par\\pard\\li720 c\\par d\\par}")
        << QStringList{"a0 l720", "a0 l720 list", "a0 l720", "a0 l720"};
}

void TestRtf::paragraphFormats() {
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, paragraphs);
    QTextDocument doc;
    readRtf(rtf, doc);
    QStringList got;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextList* list = b.textList();
        const QTextListFormat lf = list ? list->format() : QTextListFormat();
        const ParaStyle p = paraStyleOf(b.blockFormat(), list ? &lf : nullptr, doc.indentWidth());
        got << QStringLiteral("a%1 l%2%3")
                   .arg(int(p.align))
                   .arg(p.left)
                   .arg(list ? QStringLiteral(" list") : QString());
    }
    QCOMPARE(got, paragraphs);
}

void TestRtf::decoding_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    const QByteArray jp = "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 MS "
                          "Gothic;}{\\f1\\fcharset0 Arial;}}\\f0 ";
    QTest::newRow("lead and trail in two escapes")
        << jp + "\\'82\\'a0\\'82\\'a2}" << QStringLiteral("あい");
    QTest::newRow("trail byte 0x5C as \\\\")
        << jp + "\\'95\\\\\\'8e\\'a6}" << QStringLiteral("表示");
    QTest::newRow("trail byte 0x7B and 0x7D escaped")
        << jp + "\\'83\\{\\'83\\}}" << QStringLiteral("ボマ");
    QTest::newRow("raw trail bytes { and }") << jp + "\\'83{\\'83}}" << QStringLiteral("ボマ");
    QTest::newRow("raw trail byte backslash")
        << jp + "\\'95\\\\'8e\\'a6}" << QStringLiteral("表示");
    QTest::newRow("raw ASCII trail byte") << jp + "\\'83A\\'83C}" << QStringLiteral("アイ");
    QTest::newRow("lead byte cut by a control word")
        << jp + "\\'82\\par x}" << QStringLiteral("\uFFFD\nx");
    // An explicit \\cpg wins over \\fcharset, except the \\cpg1252 some writers put on every font.
    QTest::newRow("cpg65001 wins over fcharset")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset128\\cpg65001 X;}}\\f0 "
                      "\\'e4\\'b8\\'ad\\'e5\\'9c\\'8b}")
        << QStringLiteral("中國");
    QTest::newRow("cpg932 wins over fcharset0")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg932 X;}}\\f0 \\'82\\'a0}")
        << QStringLiteral("あ");
    QTest::newRow("cpg1252 beside fcharset128")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset128\\cpg1252 X;}}\\f0 "
                      "\\'82\\'a0}")
        << QStringLiteral("あ");
    QTest::newRow("UTF-8 raw, four bytes, font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\cpg65001 \\'e4\\'b8\\'ad;}}\\f0 ") +
               QStringLiteral("é中😀").toUtf8() + "}"
        << QStringLiteral("é中😀");
    QTest::newRow("UTF-8 cut and broken")
        << QByteArray(
               "{\\rtf1{\\fonttbl{\\f0\\cpg65001 X;}}\\f0 \\'e4\\'b8\\par x\\'e4 y\\'c0\\'80\\'ff}")
        << QStringLiteral("\uFFFD\nx\uFFFD y\uFFFD\uFFFD");
    QTest::newRow("cpg without fcharset")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\cpg932 X;}}\\f0 \\'82\\'a0}")
        << QStringLiteral("あ");
    QTest::newRow("ansicpg fallback")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa}") << QStringLiteral("日");
    QTest::newRow("cp1252") << jp + "\\f1 caf\\'e9 \\'80}" << QStringLiteral("café €");
    QTest::newRow("GBK")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 \\'d6\\'d0\\'ce\\'c4}")
        << QStringLiteral("中文");
    QTest::newRow("Big5")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset136 MingLiU;}}\\f0 \\'a4\\'a4\\'a4\\'e5}")
        << QStringLiteral("中文");
    QTest::newRow("CP949") << QByteArray(
                                  "{\\rtf1{\\fonttbl{\\f0\\fcharset129 Gulim;}}\\f0 \\'c7\\'d1}")
                           << QStringLiteral("한");
    QTest::newRow("Cyrillic") << QByteArray(
                                     "{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 \\'cf\\'f0}")
                              << QStringLiteral("Пр");
    QTest::newRow("u with fallback")
        << jp + "\\uc2\\u26085\\'93\\'fa\\u26412\\'96\\'7b}" << QStringLiteral("日本");
    QTest::newRow("u skip ended by group")
        << QByteArray("{\\rtf1\\uc3 {\\u26085}abc}") << QStringLiteral("日abc");
    QTest::newRow("u negative and surrogates")
        << QByteArray("{\\rtf1\\u-3913?\\u-10179?\\u-8704?}") << QStringLiteral("\uF0B7😀");
    QTest::newRow("bin with braces in skipped group")
        << QByteArray("{\\rtf1{\\*\\unknown \\bin4 }{{\\}x{\\par}y}") << QStringLiteral("x\ny");
    QTest::newRow("bin in picture")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip\\bin3 }}}}b}") << QStringLiteral("a\uFFFCb");
    QTest::newRow("pntext kept when pn not understood")
        << QByteArray("{\\rtf1{\\pntext 1.\\tab}item\\par}") << QStringLiteral("1.\titem");
    QTest::newRow("listtext dropped when ls understood")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23}\\listid5}}{\\*"
                      "\\listoverridetable{\\listoverride\\listid5\\ls1}}"
                      "{\\listtext \\'b7\\tab}\\pard\\ls1 item\\par}")
        << QStringLiteral("item");
    QTest::newRow("special characters")
        << QByteArray("{\\rtf1 a\\tab b\\line c\\~d\\emdash\\bullet\\lquote x\\rquote\\-y\\_z}")
        << QStringLiteral("a\tb\nc d—•‘x’y‑z");
    QTest::newRow("final par adds no paragraph")
        << QByteArray("{\\rtf1 a\\par b\\par}") << QStringLiteral("a\nb");
    QTest::newRow("empty paragraphs kept")
        << QByteArray("{\\rtf1 a\\par\\par\\par b}") << QStringLiteral("a\n\n\nb");
    QTest::newRow("control symbol line break")
        << QByteArray("{\\rtf1 a\\\nb}") << QStringLiteral("a\nb");
    QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v b}c\\v d\\v0 e}")
                                 << QStringLiteral("ace");
    // \* marks a destination to pass over only where it opens a group; in the middle of a group
    // (as a word processor's export writes it) only the control word after it is passed over.
    QTest::newRow("star in the middle of a group")
        << QByteArray("{\\rtf1{\\loch\\f2 The quick \\*\\cs7 brown \\*\\bkmkstart fox}}")
        << QStringLiteral("The quick brown fox");
    QTest::newRow("star opening a group")
        << QByteArray("{\\rtf1 a{\\*\\cs7 b}{\r\n\\*\\bkmkstart c}d}") << QStringLiteral("ad");
    QTest::newRow("header footer info skipped")
        << QByteArray("{\\rtf1{\\info{\\title T}}{\\header H}{\\footer F}{\\*\\generator G;}body}")
        << QStringLiteral("body");
    // A table's cells are paragraphs of their own; the page keeps an empty paragraph before a
    // table that starts it. \cell without \intbl (no table) still separates its text by a tab.
    QTest::newRow("table cells")
        << QByteArray(
               "{\\rtf1\\trowd\\cellx100\\cellx200\\intbl a\\cell b\\cell\\row\\pard c\\par}")
        << QStringLiteral("\na\nb\nc");
    QTest::newRow("cell marks outside a table")
        << QByteArray("{\\rtf1 a\\cell b\\cell\\row c\\par}") << QStringLiteral("a\tb\nc");
    QTest::newRow("upr uses the unicode copy")
        << QByteArray("{\\rtf1{\\upr{x ansi}{\\*\\ud{x \\u26085 ?}}}}") << QStringLiteral("x 日");
}

void TestRtf::decoding() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument doc;
    readRtf(rtf, doc);
    QCOMPARE(doc.toPlainText(), plainText(rtf));
    QCOMPARE(plainText(rtf), text);
}

void TestRtf::malformed_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("not rtf") << QByteArray("hello") << QStringLiteral("hello");
    QTest::newRow("missing final brace")
        << QByteArray("{\\rtf1 abc\\par def") << QStringLiteral("abc\ndef");
    QTest::newRow("too many closing braces")
        << QByteArray("{\\rtf1 a}}}} b}") << QStringLiteral("a b");
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 a\\'8") << QStringLiteral("a");
    QTest::newRow("truncated control") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
    QTest::newRow("invalid hex") << QByteArray("{\\rtf1 a\\'zzb\\'4gc}")
                                 << QStringLiteral("azzbgc");
    QTest::newRow("lead byte at end")
        << QByteArray("{\\rtf1\\ansicpg932 a\\'82") << QStringLiteral("a\uFFFD");
    QTest::newRow("huge numbers")
        << QByteArray(
               "{\\rtf1\\fs99999999999999\\li-99999999999999\\uc99999999 a\\u99999999999 bcd}")
        << QStringLiteral("a");
    QTest::newRow("negative numbers")
        << QByteArray("{\\rtf1\\fs-5\\uc-3\\picw-1 a\\bin-5 b}") << QStringLiteral("ab");
    QTest::newRow("bin past the end")
        << QByteArray("{\\rtf1 a\\bin999999 xyz") << QStringLiteral("a");
    QTest::newRow("NUL after final brace")
        << QByteArray("{\\rtf1 a}\0\0", 11) << QStringLiteral("a");
    QTest::newRow("NUL inside text") << QByteArray("{\\rtf1 a\0b}", 11) << QStringLiteral("ab");
    QTest::newRow("colour index out of range")
        << QByteArray("{\\rtf1{\\colortbl;}\\cf99\\highlight-1 a}") << QStringLiteral("a");
    QTest::newRow("picture without data")
        << QByteArray("{\\rtf1{\\pict\\pngblip\\picwgoal-5\\pichgoal99999999}}")
        << QStringLiteral("\uFFFC");
    QTest::newRow("odd picture hex")
        << QByteArray("{\\rtf1{\\pict\\emfblip abc}}") << QStringLiteral("\uFFFC");
    QTest::newRow("broken metafile")
        << QByteArray("{\\rtf1{\\pict\\wmetafile8 0100090000ffffffff0f430000}}")
        << QStringLiteral("\uFFFC");
    QTest::newRow("unclosed object")
        << QByteArray("{\\rtf1 x{\\object{\\result{\\pict\\pngblip 00") << QStringLiteral("x");
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + " after}";
    QTest::newRow("100000 nested groups") << deep << QStringLiteral("deep after");
    QByteArray open = "{\\rtf1 ";
    open += QByteArray(100000, '{') + "x";
    QTest::newRow("100000 open groups") << open << QStringLiteral("x");
    QByteArray stars = "{\\rtf1 ";
    for (int i = 0; i < 20000; ++i)
        stars += "{\\*";
    QTest::newRow("unfinished ignorable groups") << stars << QString();
    QTest::newRow("many malformed escapes")
        << QByteArray("{\\rtf1 ") + QByteArray(100000, '\\').replace("\\\\", "\\'") + "z}"
        << QString();
    QDir crashers(dataPath(QStringLiteral("malformed")));
    for (const QString& name : crashers.entryList(QDir::Files, QDir::Name)) {
        QFile f(crashers.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(QStringLiteral("malformed/") + name)) << f.readAll() << QString();
    }
}

// Malformed input never crashes or hangs, keeps what could be read, and the two readers agree.
void TestRtf::malformed() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, prefix);
    QTextDocument doc;
    readRtf(rtf, doc);
    const QString plain = plainText(rtf);
    QCOMPARE(doc.toPlainText(), plain);
    QVERIFY2(plain.startsWith(prefix), qPrintable(plain.left(80)));
    QVERIFY(rtfToHtml(rtf, HtmlOptions{}).html.endsWith(QStringLiteral("</html>\n")));
    // Whatever was read writes back as a page that reads the same.
    const QByteArray written = writeRtf(doc);
    QCOMPARE(plainText(written), plain);
}

void TestRtf::problems_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("problem");
    QTest::newRow("fine") << QByteArray("{\\rtf1 a{\\b b}}\r\n\0") << QString();
    QTest::newRow("empty page") << QByteArray() << QString();
    QTest::newRow("not rtf") << QByteArray("hello") << QStringLiteral("does not start with {\\rtf");
    QTest::newRow("unclosed") << QByteArray("{\\rtf1 {a") << QStringLiteral("2 unclosed group(s)");
    QTest::newRow("text after end")
        << QByteArray("{\\rtf1 a} b") << QStringLiteral("text after the final brace at byte 10");
    QTest::newRow("bin past end") << QByteArray("{\\rtf1 \\bin99 ab}")
                                  << QStringLiteral("\\bin data runs past the end");
}

void TestRtf::problems() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, problem);
    QCOMPARE(rtfProblem(rtf), problem);
}

QTEST_MAIN(TestRtf)

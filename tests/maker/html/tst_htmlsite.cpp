#include "core/helpdocument.h"
#include "maker/html/htmlsite.h"
#include "maker/html/pageconversion.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quillo;
using namespace quillo::maker::html;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString expected(const QString& variant, const QString& name) {
    return QStringLiteral(QUILLO_TEST_DATA "/html/") + variant + QLatin1Char('/') + name;
}

// The document of tests/data/html/make_html_data.py.
std::unique_ptr<HelpDocument> siteDocument() {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(12);
    for (int p = 1; p <= 12; ++p) {
        doc->page(p).rtf = QByteArray("{\\rtf1\\ansi page ") + QByteArray::number(p) + "\\par}";
        if (p != 2 && p != 5)
            doc->page(p).title = QStringLiteral("第%1章").arg(p);
    }
    doc->page(1).keywords = {QStringLiteral("apple"), QString()};
    doc->page(3).keywords = {QStringLiteral("索引")};
    doc->page(4).keywords = {QStringLiteral("Banana")};
    doc->page(6).keywords = {QStringLiteral("APRICOT")};
    doc->page(7).keywords = {QStringLiteral("abcdefghijklmnopqrstuvwxyz012345")};
    doc->page(12).keywords = {QStringLiteral("索引")};
    doc->displaySettings.listWidth = 2005;
    return doc;
}

} // namespace

class TestHtmlSite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void navigationPagesByteForByte_data() {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<quint32>("colour");
        QTest::newRow("system colour") << QStringLiteral("plain") << 0x80000005u;
        QTest::newRow("light blue") << QStringLiteral("blue") << 0x00FFC0C0u;
    }
    void navigationPagesByteForByte() {
        QFETCH(QString, variant);
        QFETCH(quint32, colour);
        QTemporaryDir dir;
        auto doc = siteDocument();
        const SiteFiles site = siteFilesFor(dir.path(), QStringLiteral("a.b.qzd"));
        QCOMPARE(site.base, QStringLiteral("a"));
        QCOMPARE(site.folder, dir.path() + QStringLiteral("/a_html"));
        QVERIFY(QDir().mkpath(site.folder));
        QVERIFY(writeNavigationPages(*doc, site, colour).ok());
        for (const char* name : {"a_index.htm", "a_conts.htm", "a_keys.htm"}) {
            const QString file = QString::fromLatin1(name);
            QCOMPARE(contents(site.folder + QLatin1Char('/') + file),
                     contents(expected(variant, file)));
        }
    }

    void names_data() {
        QTest::addColumn<QString>("fileTitle");
        QTest::addColumn<QString>("base");
        QTest::newRow("extension") << QStringLiteral("manual.qzd") << QStringLiteral("manual");
        QTest::newRow("first dot") << QStringLiteral("a.b.qzd") << QStringLiteral("a");
        QTest::newRow("no dot") << QStringLiteral("README") << QStringLiteral("README");
        QTest::newRow("japanese") << QStringLiteral("手引き.qzd") << QStringLiteral("手引き");
    }
    void names() {
        QFETCH(QString, fileTitle);
        QFETCH(QString, base);
        const SiteFiles site = siteFilesFor(QStringLiteral("/prog"), fileTitle);
        QCOMPARE(site.folder, QStringLiteral("/prog/") + base + QStringLiteral("_html"));
        QCOMPARE(site.pageFile(12), base + QStringLiteral("_12.htm"));
    }

    void colours_data() {
        QTest::addColumn<quint32>("windows");
        QTest::addColumn<QString>("text");
        QTest::newRow("light blue") << 0x00FFC0C0u << QStringLiteral("C0C0FF");
        QTest::newRow("red") << 0x000000FFu << QStringLiteral("FF0000");
        QTest::newRow("dark teal") << 0x00808000u << QStringLiteral("008080");
        QTest::newRow("black") << 0x00000000u << QStringLiteral("000000");
        QTest::newRow("window") << 0x80000005u << QString();
        QTest::newRow("button face") << 0x8000000Fu << QString();
    }
    void colours() {
        QFETCH(quint32, windows);
        QFETCH(QString, text);
        QCOMPARE(pageColourText(windows).value_or(QString()), text);
    }

    // The left frame is the list width in twips / 10, truncated toward zero.
    void frameWidth_data() {
        QTest::addColumn<int>("listWidth");
        QTest::addColumn<QString>("line");
        QTest::newRow("2000") << 2000 << QStringLiteral("<frameset cols=\" 200,*\">");
        QTest::newRow("9") << 9 << QStringLiteral("<frameset cols=\" 0,*\">");
        QTest::newRow("negative") << -15 << QStringLiteral("<frameset cols=\"-1,*\">");
    }
    void frameWidth() {
        QFETCH(int, listWidth);
        QFETCH(QString, line);
        const QStringList lines = startPageText(QStringLiteral("m"), listWidth, std::nullopt)
                                      .split(QStringLiteral("\r\n"));
        QCOMPARE(lines.value(5), line);
    }

    // Page 100 keeps its three digits, and no number of keyword occurrences is too many.
    void fullDocument() {
        auto doc = std::make_unique<HelpDocument>();
        doc->pages.resize(100);
        for (int p = 1; p <= 100; ++p) {
            doc->page(p).title = QStringLiteral("T%1").arg(p);
            for (int k = 0; k < 64; ++k)
                doc->page(p).keywords << QStringLiteral("k%1_%2").arg(p).arg(k);
        }
        const QString conts = contentsPageText(*doc, QStringLiteral("m"), std::nullopt);
        QVERIFY(conts.contains(QStringLiteral(">p100  T100</a><BR>\r\n")));
        QVERIFY(conts.contains(QStringLiteral(">p 9  T9</a><BR>\r\n")));
        const QString keys = keywordPageText(*doc, QStringLiteral("m"), std::nullopt);
        QCOMPARE(keys.count(QStringLiteral("</a><BR>")), 6400);
        QVERIFY(keys.contains(
            QStringLiteral("<a href=\"m_100.htm\" Target = \"qzd_right\">k100_63</a>")));
    }

    // A base name with a character without a Shift_JIS code still gives the whole site: the
    // page titles hold "?" (named for the caller), the links the character's UTF-8 as %XX.
    void unencodableCharacterInTheBaseName() {
        QTemporaryDir dir;
        auto doc = siteDocument();
        const SiteFiles site{dir.path(), QStringLiteral("x\U0001F600")};
        QString substituted;
        QVERIFY(writeNavigationPages(*doc, site, 0x80000005u, &substituted).ok());
        QCOMPARE(substituted, QStringLiteral("\U0001F600"));
        const QByteArray start = contents(site.path(site.startPage()));
        QVERIFY2(start.contains("<title>x?_index</title>"), start.constData());
        QVERIFY2(start.contains("<frame src=\"x%F0%9F%98%80_conts.htm\""), start.constData());
        QVERIFY(
            contents(site.path(site.keywordPage())).contains("<A NAME=\"x%F0%9F%98%80key_top\">"));
    }

    // A folder standing where a page should be: the write fails naming that page, and the
    // pages before it are complete.
    void failedWriteNamesTheFile() {
        QTemporaryDir dir;
        auto doc = siteDocument();
        const SiteFiles site{dir.path(), QStringLiteral("m")};
        QVERIFY(QDir().mkpath(site.path(site.contentsPage())));
        const SiteError error = writeNavigationPages(*doc, site, 0x80000005u);
        QCOMPARE(error.path, site.path(site.contentsPage()));
        QVERIFY(!error.reason().isEmpty());
        QVERIFY(error.line().startsWith(site.path(site.contentsPage()) +
                                        QStringLiteral(": cannot write (")));
        QVERIFY(contents(site.path(site.startPage())).endsWith("</html>\r\n"));
    }

    // Each page goes through its .rtf beside the result, which is removed after it; a result
    // that cannot be written stops the run there, naming that page.
    void pageConversion() {
        QTemporaryDir dir;
        auto doc = siteDocument();
        const SiteFiles site{dir.path(), QStringLiteral("m")};
        QFile old(site.path(site.pageFile(2)));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old page");
        old.close();
        ConversionRun run = convertPages(*doc, site, 1, 3);
        QVERIFY(run.ok());
        QCOMPARE(run.converted, 3);
        for (int p = 1; p <= 3; ++p) {
            const QByteArray page = contents(site.path(site.pageFile(p)));
            QVERIFY(page.contains("page " + QByteArray::number(p)));
            QVERIFY(page.contains("<meta charset=\"utf-8\">"));
            QVERIFY(!QFile::exists(site.path(site.rtfFile(p))));
        }
        QVERIFY(contents(site.path(site.pageFile(1))).contains("<title>第1章</title>"));
        QVERIFY(!QFile::exists(site.path(site.pageFile(4))));

        QVERIFY(QDir().mkpath(site.path(site.pageFile(6))));
        run = convertPages(*doc, site, 5, 7);
        QVERIFY(!run.ok());
        QCOMPARE(run.converted, 1);
        QCOMPARE(run.resultPath, site.path(site.pageFile(6)));
        QCOMPARE(run.error.path, site.path(site.pageFile(6)));
        QVERIFY(!QFile::exists(site.path(site.pageFile(7))));
    }

    // Exporting a page again leaves only the pictures it shows now: those an earlier export
    // wrote and the page lost are removed, and a file of the user's own stays.
    void stalePicturesAreRemoved() {
        QTemporaryDir dir;
        auto doc = siteDocument();
        const SiteFiles site{dir.path(), QStringLiteral("m")};
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        image.save(&png, "PNG");
        const QByteArray picture = "{\\pict\\pngblip\\picw4\\pich4 " + png.data().toHex() + "}";
        doc->page(1).rtf = "{\\rtf1\\ansi " + picture + picture + picture + "\\par}";
        QVERIFY(convertPages(*doc, site, 1, 1).ok());
        const QDir pictures(dir.filePath(QStringLiteral("m_1_files")));
        QCOMPARE(pictures.entryList(QDir::Files).size(), 3);
        QFile own(pictures.filePath(QStringLiteral("notes.txt")));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.close();

        doc->page(1).rtf = "{\\rtf1\\ansi " + picture + "\\par}";
        QVERIFY(convertPages(*doc, site, 1, 1).ok());
        QCOMPARE(pictures.entryList(QDir::Files).size(), 2); // one picture and notes.txt

        QVERIFY(QFile::remove(own.fileName()));
        doc->page(1).rtf = "{\\rtf1\\ansi no pictures\\par}";
        QVERIFY(convertPages(*doc, site, 1, 1).ok());
        QVERIFY(!pictures.exists());
    }
};

QTEST_MAIN(TestHtmlSite)
#include "tst_htmlsite.moc"

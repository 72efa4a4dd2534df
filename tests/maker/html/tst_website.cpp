#include "core/keywords.h"
#include "maker/html/website.h"
#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"
#include "support/viewerfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quillo;
using namespace quillo::maker::html;

namespace {

QByteArray linkPage(const QByteArray& target) {
    return "{\\rtf1\\ansi before {\\field{\\*\\fldinst HYPERLINK \"" + target +
           "\"}{\\fldrslt the link}} after\\par}";
}

// Three pages with titles and keywords that need escaping, a link to page 3 on page 1 and a
// picture on page 2.
std::unique_ptr<HelpDocument> sampleDocument() {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(3);
    doc->page(1).rtf = linkPage("#3");
    doc->page(1).title = QStringLiteral("A&B <i>\"題\"</i>");
    doc->page(1).keywords = {QStringLiteral("zeta"), QStringLiteral("<script>x</script>")};
    QFile picture(QStringLiteral(QUILLO_TEST_DATA "/rtf/wordpad.rtf"));
    if (picture.open(QIODevice::ReadOnly))
        doc->page(2).rtf = picture.readAll();
    doc->page(2).keywords = {QStringLiteral("Alpha"), QStringLiteral("あいう"),
                             QStringLiteral("alpha ")};
    doc->page(3).rtf = "{\\rtf1\\ansi Third PAGE text\\par}";
    doc->page(3).title = QStringLiteral("三");
    doc->page(3).keywords = {QStringLiteral("Zeta"), QStringLiteral("beta")};
    return doc;
}

} // namespace

class TestWebSite : public QObject {
    Q_OBJECT

private slots:
    void pageLinks_data() {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("link"); // the link's start tag, or empty: text only
        QTest::newRow("page 3") << QByteArray("#3") << QStringLiteral("<a href=\"page3.html\">");
        QTest::newRow("page 1") << QByteArray("#1") << QStringLiteral("<a href=\"index.html\">");
        QTest::newRow("last page")
            << QByteArray("#100") << QStringLiteral("<a href=\"page100.html\">");
        QTest::newRow("no page 0") << QByteArray("#0") << QString();
        QTest::newRow("beyond the pages") << QByteArray("#101") << QString();
        QTest::newRow("not a number") << QByteArray("#3x") << QString();
        QTest::newRow("https") << QByteArray("https://example.com/a?b=1&c=2")
                               << QStringLiteral("<a href=\"https://example.com/a?b=1&amp;c=2\">");
        QTest::newRow("HTTP") << QByteArray("HTTP://EXAMPLE.COM/")
                              << QStringLiteral("<a href=\"HTTP://EXAMPLE.COM/\">");
        QTest::newRow("mailto") << QByteArray("mailto:help@example.com")
                                << QStringLiteral("<a href=\"mailto:help@example.com\">");
        QTest::newRow("ftp") << QByteArray("ftp://example.com/f.zip")
                             << QStringLiteral("<a href=\"ftp://example.com/f.zip\">");
        QTest::newRow("javascript") << QByteArray("javascript:alert(1)") << QString();
        QTest::newRow("blank before javascript") << QByteArray(" javascript:alert(1)") << QString();
        QTest::newRow("data") << QByteArray("data:text/html,<script>alert(1)</script>")
                              << QString();
        QTest::newRow("file") << QByteArray("file:///etc/passwd") << QString();
        QTest::newRow("relative file") << QByteArray("other.htm") << QString();
        QTest::newRow("markup in the address")
            << QByteArray("https://x/?a=<b>")
            << QStringLiteral("<a href=\"https://x/?a=&lt;b&gt;\">");
    }
    void pageLinks() {
        QFETCH(QByteArray, target);
        QFETCH(QString, link);
        const QString body = webPageBody(rtf::rtfToHtml(linkPage(target), {}).html, MaxPages);
        QVERIFY2(body.contains(QStringLiteral("the link")), qPrintable(body));
        QVERIFY2(body.contains(QStringLiteral("after")), qPrintable(body));
        QCOMPARE(body.count(QStringLiteral("<a ")), link.isEmpty() ? 0 : 1);
        QCOMPARE(body.count(QStringLiteral("</a>")), link.isEmpty() ? 0 : 1);
        if (!link.isEmpty())
            QVERIFY2(body.contains(link), qPrintable(body));
        QVERIFY(!body.contains(QStringLiteral("<body")));
        QVERIFY(!body.contains(QStringLiteral("<title")));
    }

    // Every text the document gives is text on every page: titles, keywords, the site's name.
    void textsEscaped() {
        const auto doc = sampleDocument();
        const WebSiteFrame frame = webSiteFrame(*doc, QStringLiteral("<b>site</b>"), 0x00FFFFFF);
        const QString page = webPageText(frame, 1, *doc->page(1).title, QString());
        for (const char* raw : {"<i>", "<script>", "<b>"})
            QVERIFY2(!page.contains(QLatin1String(raw)), raw);
        QVERIFY(page.contains(QStringLiteral("<title>A&amp;B &lt;i&gt;&quot;題&quot;&lt;/i&gt; - "
                                             "&lt;b&gt;site&lt;/b&gt;</title>")));
        QVERIFY(page.contains(QStringLiteral("aria-label=\"A&amp;B &lt;i&gt;")));
        QVERIFY(page.contains(QStringLiteral("<main id=\"page\" class=\"sheet\" tabindex=\"-1\" "
                                             "aria-label=\"A&amp;B &lt;i&gt;&quot;題&quot;&lt;/"
                                             "i&gt;\" style=\"background-color:#FFFFFF\">")));
    }

    // The keyword panel lists the keywords in the viewer's order, each linked to its page, and
    // the contents mark the page shown and no other.
    void listsOfEveryPage() {
        const auto doc = sampleDocument();
        const WebSiteFrame frame = webSiteFrame(*doc, QStringLiteral("s"), 0x80000005u);
        QVERIFY(!frame.colour);
        QByteArray script = keywordScript(*doc);
        const QByteArray prefix = "window.quilloKeywords = ";
        QVERIFY(script.startsWith(prefix));
        QVERIFY(script.endsWith(";\n"));
        script = script.mid(prefix.size(), script.size() - prefix.size() - 2);
        QStringList shown;
        for (const QJsonValue& entry : QJsonDocument::fromJson(script).array())
            shown << entry[1].toString() + QLatin1Char(' ') + entry[0].toString();
        QStringList expected;
        for (const KeywordEntry& entry : sortedKeywordEntries(*doc))
            expected << webPageFile(entry.page) + QLatin1Char(' ') + entry.keyword.trimmed();
        QCOMPARE(shown, expected);
        QCOMPARE(shown.size(), 7);

        for (int p = 1; p <= 3; ++p) {
            const QString page = webPageText(frame, p, QStringLiteral("t"), QString());
            QCOMPARE(page.count(QStringLiteral("aria-current")), 1);
            QVERIFY(page.contains(QStringLiteral("<a href=\"%1\" aria-current=\"page\">p %2  ")
                                      .arg(webPageFile(p))
                                      .arg(p)));
            QVERIFY(!page.contains(QStringLiteral("style=\"background-color")));
        }
    }

    void searchData() {
        const auto doc = sampleDocument();
        QByteArray script = searchDataScript(*doc);
        const QByteArray prefix = "window.quilloSearchData = ";
        QVERIFY(script.startsWith(prefix));
        QVERIFY(script.endsWith(";\n"));
        script = script.mid(prefix.size(), script.size() - prefix.size() - 2);
        QJsonParseError error;
        const QJsonArray pages = QJsonDocument::fromJson(script, &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(pages.size(), 3);
        for (int p = 1; p <= 3; ++p) {
            const QJsonObject page = pages[p - 1].toObject();
            QCOMPARE(page[QStringLiteral("file")].toString(), webPageFile(p));
            QCOMPARE(page[QStringLiteral("text")].toString(), rtf::plainText(doc->page(p).rtf));
        }
        QCOMPARE(pages[2].toObject()[QStringLiteral("line")].toString(), QStringLiteral("p 3  三"));
        QCOMPARE(pages[1].toObject()[QStringLiteral("line")].toString(), QStringLiteral("p 2  "));
    }

    void writesTheSite() {
        const auto doc = sampleDocument();
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("new/site"));
        QVERIFY(writeWebSite(*doc, folder, QStringLiteral("guide"), 0x00C0FFFF).ok());
        QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, QStringList({"index.html", "keywords.js", "page2.html", "page3.html",
                                     "search-data.js", "site.css", "site.js"}));
        const QString page2 =
            QString::fromUtf8(test::bytesOf(folder + QStringLiteral("/page2.html")));
        const QStringList pictures =
            QDir(folder + QStringLiteral("/page2_files")).entryList(QDir::Files);
        QVERIFY(!pictures.isEmpty());
        for (const QString& picture : pictures)
            QVERIFY2(page2.contains(QStringLiteral("src=\"page2_files/") + picture + u'"'),
                     qPrintable(picture));
        QVERIFY(!QDir(folder + QStringLiteral("/index_files")).exists());
        const QString index =
            QString::fromUtf8(test::bytesOf(folder + QStringLiteral("/index.html")));
        QVERIFY(index.contains(QStringLiteral("<a href=\"page3.html\">")));
        QVERIFY(index.contains(QStringLiteral("style=\"background-color:#FFFFC0\"")));
        // The site's own script and style, together well under 30 KB.
        const qsizetype own = test::bytesOf(folder + QStringLiteral("/site.js")).size() +
                              test::bytesOf(folder + QStringLiteral("/site.css")).size();
        QVERIFY(own > 1000);
        QVERIFY2(own < 30 * 1024, QByteArray::number(own).constData());
    }

    // A document without pages (a file the reader still opens) gets a start page to show.
    void noPages() {
        HelpDocument doc;
        QTemporaryDir dir;
        QVERIFY(writeWebSite(doc, dir.path(), QStringLiteral("empty"), 0x80000005u).ok());
        const QString index = QString::fromUtf8(test::bytesOf(dir.filePath("index.html")));
        QVERIFY(index.contains(QStringLiteral("<title>empty - empty</title>")));
        QVERIFY(index.contains(QStringLiteral("<ol class=\"list\">\n</ol>")));
        QCOMPARE(test::bytesOf(dir.filePath("search-data.js")),
                 QByteArray("window.quilloSearchData = [];\n"));
    }

    // Made again for a shorter document: the pages beyond its last and their pictures go,
    // files of others stay, and a link planted at a page's name is replaced, not written
    // through.
    void madeAgain() {
        QTemporaryDir dir;
        const auto doc = sampleDocument();
        QVERIFY(writeWebSite(*doc, dir.path(), QStringLiteral("g"), 0).ok());
        QVERIFY(QDir(dir.filePath("page2_files")).exists());
        for (const char* name : {"notes.html", "page1.html", "page03.html"}) {
            QFile other(dir.filePath(name));
            QVERIFY(other.open(QIODevice::WriteOnly));
        }
        QFile outside(dir.filePath("outside.txt"));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.write("keep");
        outside.close();
        QVERIFY(QFile::remove(dir.filePath("index.html")));
        QVERIFY(QFile::link(outside.fileName(), dir.filePath("index.html")));

        doc->pages.resize(1);
        QVERIFY(writeWebSite(*doc, dir.path(), QStringLiteral("g"), 0).ok());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({"index.html", "keywords.js", "notes.html", "outside.txt",
                              "search-data.js", "site.css", "site.js"}));
        QCOMPARE(test::bytesOf(outside.fileName()), QByteArray("keep"));
        QVERIFY(!QFileInfo(dir.filePath("index.html")).isSymLink());
        QVERIFY(test::bytesOf(dir.filePath("index.html")).contains("the link"));
    }
};

QTEST_MAIN(TestWebSite)
#include "tst_website.moc"

// A site is published on the web: what its writer puts in titles, keywords and links must stay
// text, no file outside the output folder may change through anything planted inside it, and
// every link must reach its file whatever the help file is called.
#include "core/cp932.h"
#include "core/helpdocument.h"
#include "maker/html/htmlsite.h"
#include "maker/html/pageconversion.h"
#include "rtf/htmlwriter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace quillo;
using namespace quillo::maker::html;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray pictureRtf() {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return "{\\pict\\pngblip\\picw4\\pich4 " + png.data().toHex() + "}";
}

// Two pages: the first with a picture, a title and a keyword; the second plain.
std::unique_ptr<HelpDocument> twoPages() {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(2);
    doc->page(1).rtf = "{\\rtf1\\ansi first " + pictureRtf() + "\\par}";
    doc->page(1).title = QStringLiteral("一");
    doc->page(1).keywords = {QStringLiteral("key")};
    doc->page(2).rtf = "{\\rtf1\\ansi second\\par}";
    return doc;
}

// Every entry below `root` with its kind, mode and bytes, links not followed: two equal sums
// mean nothing there changed.
QByteArray treeSum(const QString& root) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QStringList names;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next();
    names.sort();
    for (const QString& name : names) {
        struct stat st {};
        if (::lstat(QFile::encodeName(name).constData(), &st) != 0)
            continue;
        hash.addData(name.toUtf8());
        hash.addData(QByteArray::number(st.st_mode));
        if (S_ISREG(st.st_mode))
            hash.addData(contents(name));
    }
    return hash.result();
}

mode_t entryMode(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

// The link targets (href, src, action) of an HTML text, character references undone.
QStringList linkTargets(const QString& html) {
    static const QRegularExpression attribute(
        QStringLiteral("(?:href|src|action)\\s*=\\s*\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);
    QStringList targets;
    for (const QRegularExpressionMatch& m : attribute.globalMatch(html))
        targets << m.captured(1)
                       .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                       .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                       .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                       .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return targets;
}

} // namespace

class TestSiteSafety : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The four characters of markup in a title or keyword are written as text; everything
    // else of the line stays as it was.
    void markupInTitlesAndKeywords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("less than") << QStringLiteral("a<b") << QStringLiteral("a&lt;b");
        QTest::newRow("tags") << QStringLiteral("<i>x</i>")
                              << QStringLiteral("&lt;i&gt;x&lt;/i&gt;");
        QTest::newRow("script") << QStringLiteral("<img src=x onerror=alert(1)>")
                                << QStringLiteral("&lt;img src=x onerror=alert(1)&gt;");
        QTest::newRow("ampersand and quotes")
            << QStringLiteral("R&D \"new\"") << QStringLiteral("R&amp;D &quot;new&quot;");
        QTest::newRow("a reference stays text")
            << QStringLiteral("&amp;") << QStringLiteral("&amp;amp;");
        QTest::newRow("plain") << QStringLiteral("概要 'x'") << QStringLiteral("概要 'x'");
    }
    void markupInTitlesAndKeywords() {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QTemporaryDir dir;
        auto doc = twoPages();
        doc->page(2).title = text;
        doc->page(2).keywords = {text};
        const SiteFiles site{dir.path(), QStringLiteral("m")};
        QVERIFY(writeNavigationPages(*doc, site, 0x80000005u).ok());
        QVERIFY(convertPages(*doc, site, 2, 2).ok());
        const QByteArray conts = contents(site.path(site.contentsPage()));
        QVERIFY2(conts.contains(cp932::encode(QStringLiteral("<a href=\"m_2.htm\" Target = "
                                                             "\"qzd_right\">p 2  ") +
                                              written + QStringLiteral("</a><BR>\r\n"))
                                    .bytes),
                 conts.constData());
        const QByteArray keys = contents(site.path(site.keywordPage()));
        QVERIFY2(keys.contains(
                     cp932::encode(QStringLiteral("<a href=\"m_2.htm\" Target = \"qzd_right\">") +
                                   written + QStringLiteral("</a><BR>\r\n"))
                         .bytes),
                 keys.constData());
        QVERIFY(QString::fromUtf8(contents(site.path(site.pageFile(2))))
                    .contains(QStringLiteral("<title>") + written + QStringLiteral("</title>")));
    }

    // Keywords lose their trailing blanks on the keyword page; other blanks stay.
    void keywordBlanks_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("listed");
        QTest::newRow("trailing") << QStringLiteral("abc   ") << QStringLiteral("abc");
        QTest::newRow("inside") << QStringLiteral("a b") << QStringLiteral("a b");
        QTest::newRow("leading") << QStringLiteral(" ab") << QStringLiteral(" ab");
        QTest::newRow("ideographic space stays")
            << QStringLiteral("索引\u3000") << QStringLiteral("索引\u3000");
    }
    void keywordBlanks() {
        QFETCH(QString, keyword);
        QFETCH(QString, listed);
        auto doc = twoPages();
        doc->page(1).keywords = {keyword};
        const QString keys = keywordPageText(*doc, QStringLiteral("m"), std::nullopt);
        QVERIFY2(keys.contains(QStringLiteral("\"qzd_right\">") + listed +
                               QStringLiteral("</a><BR>\r\n")),
                 qPrintable(keys));
    }

    // Something planted where the export writes never leads a write, an emptying or a removal
    // outside the output folder: the scratch tree beside it stays as it was, and the export
    // is whole.
    void plantedEntries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("target");
        const QString secret = QStringLiteral("outside/secret.txt");
        QTest::newRow("start page")
            << QStringLiteral("m_index.htm") << QStringLiteral("link") << secret;
        QTest::newRow("contents page")
            << QStringLiteral("m_conts.htm") << QStringLiteral("link") << secret;
        QTest::newRow("keyword page")
            << QStringLiteral("m_keys.htm") << QStringLiteral("link") << secret;
        QTest::newRow("page file") << QStringLiteral("m_1.htm") << QStringLiteral("link") << secret;
        QTest::newRow("page file, broken link")
            << QStringLiteral("m_2.htm") << QStringLiteral("link")
            << QStringLiteral("outside/made.htm");
        QTest::newRow("temporary rtf")
            << QStringLiteral("m_1.rtf") << QStringLiteral("link") << secret;
        QTest::newRow("picture folder") << QStringLiteral("m_1_files") << QStringLiteral("link")
                                        << QStringLiteral("outside/pictures");
        QTest::newRow("picture folder of a page without")
            << QStringLiteral("m_2_files") << QStringLiteral("link")
            << QStringLiteral("outside/pictures");
        QTest::newRow("picture file")
            << QStringLiteral("m_1_files/image1.png") << QStringLiteral("link")
            << QStringLiteral("outside/pictures/image1.png");
        QTest::newRow("hard link at a page")
            << QStringLiteral("m_1.htm") << QStringLiteral("hard") << secret;
        QTest::newRow("pipe at a page")
            << QStringLiteral("m_2.htm") << QStringLiteral("fifo") << QString();
    }
    void plantedEntries() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, target);
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("outside/pictures"))));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("site/m_1_files"))));
        writeBytes(root.filePath(QStringLiteral("outside/secret.txt")), "keep me");
        // Names of the writer's own pattern, which a stale-picture sweep would remove.
        writeBytes(root.filePath(QStringLiteral("outside/pictures/image1.png")), "mine");
        writeBytes(root.filePath(QStringLiteral("outside/pictures/image7.png")), "mine");
        const QString planted = root.filePath(QStringLiteral("site/") + name);
        if (name.endsWith(QLatin1String("_files")))
            QVERIFY(QDir().rmdir(planted) || !QFileInfo::exists(planted));
        const QByteArray plantedName = QFile::encodeName(planted);
        const QByteArray targetName = QFile::encodeName(root.filePath(target));
        if (kind == QLatin1String("link"))
            QCOMPARE(::symlink(targetName.constData(), plantedName.constData()), 0);
        else if (kind == QLatin1String("hard"))
            QCOMPARE(::link(targetName.constData(), plantedName.constData()), 0);
        else
            QCOMPARE(::mkfifo(plantedName.constData(), 0644), 0);
        const QByteArray before = treeSum(root.filePath(QStringLiteral("outside")));

        auto doc = twoPages();
        const SiteFiles site{root.filePath(QStringLiteral("site")), QStringLiteral("m")};
        QVERIFY(writeNavigationPages(*doc, site, 0x80000005u).ok());
        const ConversionRun run = convertPages(*doc, site, 1, 2);
        QVERIFY2(run.ok(), qPrintable(run.error.line()));

        QCOMPARE(treeSum(root.filePath(QStringLiteral("outside"))), before);
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("outside/made.htm"))));
        // What the export writes stands there now as its own regular file or folder.
        for (const char* written : {"m_index.htm", "m_conts.htm", "m_keys.htm", "m_1.htm",
                                    "m_2.htm", "m_1_files/image1.png"})
            QVERIFY2(S_ISREG(entryMode(site.path(QLatin1String(written)))), written);
        QVERIFY(S_ISDIR(entryMode(site.path(QStringLiteral("m_1_files")))));
        QVERIFY(!QImage(site.path(QStringLiteral("m_1_files/image1.png"))).isNull());
        QVERIFY(!QFileInfo::exists(site.path(QStringLiteral("m_1.rtf"))));
        QVERIFY(contents(site.path(site.pageFile(2))).contains("second"));
    }

    // The output folder may itself be a link the user named: the site goes where it points.
    void outputFolderThroughALink() {
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("real"))));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("real")),
                            root.filePath(QStringLiteral("named"))));
        auto doc = twoPages();
        const SiteFiles site{root.filePath(QStringLiteral("named")), QStringLiteral("m")};
        QVERIFY(writeNavigationPages(*doc, site, 0x80000005u).ok());
        QVERIFY(convertPages(*doc, site, 1, 2).ok());
        QVERIFY(contents(root.filePath(QStringLiteral("real/m_2.htm"))).contains("second"));
        QVERIFY(!QImage(root.filePath(QStringLiteral("real/m_1_files/image1.png"))).isNull());
    }

    // The site's files never carry execute bits, also where an earlier file had them.
    void noExecuteBits() {
        QTemporaryDir dir;
        const SiteFiles site{dir.path(), QStringLiteral("m")};
        for (const QString& name : {site.startPage(), site.pageFile(1)}) {
            writeBytes(site.path(name), "old");
            QVERIFY(QFile::setPermissions(site.path(name), QFile::Permissions(0x7755)));
        }
        auto doc = twoPages();
        QVERIFY(writeNavigationPages(*doc, site, 0x80000005u).ok());
        QVERIFY(convertPages(*doc, site, 1, 2).ok());
        for (const QString& name :
             {site.startPage(), site.contentsPage(), site.keywordPage(), site.pageFile(1),
              site.pageFile(2), QStringLiteral("m_1_files/image1.png")})
            QVERIFY2((entryMode(site.path(name)) & 0111) == 0, qPrintable(name));
    }

    // Every link of the site reaches an existing file, whatever characters the help file's
    // name holds; the files keep those names.
    void linksResolve_data() {
        QTest::addColumn<QString>("base");
        for (const char* base : {"C#入門", "x?y", "c:d", "say \"hi\"", " lead", "100%", "a&b",
                                 "two  blanks", "手引き", "back\\slash", "a%41b", "mix#?%&: 日本"})
            QTest::newRow(base) << QString::fromUtf8(base);
    }
    void linksResolve() {
        QFETCH(QString, base);
        QTemporaryDir dir;
        auto doc = twoPages();
        const SiteFiles site{dir.path(), base};
        QVERIFY(writeNavigationPages(*doc, site, 0x80000005u).ok());
        QVERIFY(convertPages(*doc, site, 1, 2).ok());
        QVERIFY(QFile::exists(dir.filePath(base + QStringLiteral("_1.htm"))));
        const QUrl folder = QUrl::fromLocalFile(dir.path() + QLatin1Char('/'));
        int checked = 0;
        for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("*.htm")})) {
            const QByteArray bytes = contents(dir.filePath(name));
            const bool navigation = !bytes.contains("<meta charset=\"utf-8\">");
            const QString html = navigation ? cp932::decode(bytes) : QString::fromUtf8(bytes);
            for (const QString& target : linkTargets(html)) {
                ++checked;
                const QUrl url = folder.resolved(QUrl(target));
                QVERIFY2(url.isLocalFile(), qPrintable(name + QStringLiteral(": ") + target));
                QVERIFY2(QFile::exists(url.toLocalFile()),
                         qPrintable(name + QStringLiteral(": ") + target));
                if (target.startsWith(QLatin1Char('#'))) // the keyword page's back-to-top
                    QVERIFY2(html.contains(QStringLiteral("<A NAME=\"") +
                                           rtf::htmlEscaped(target.mid(1)) + QStringLiteral("\">")),
                             qPrintable(target));
            }
        }
        // Start page 2, contents 3, keywords 3, the picture of page 1.
        QCOMPARE(checked, 9);
    }

    // A title holding a byte that is no character (read as U+FFFD) is written as "?", named
    // for the caller, and the whole site is made.
    void undecodableTitle() {
        QTemporaryDir dir;
        auto doc = twoPages();
        doc->page(2).title = QStringLiteral("前\uFFFD後");
        doc->page(2).keywords = {QStringLiteral("鍵\uFFFD")};
        const SiteFiles site{dir.path(), QStringLiteral("m")};
        QString substituted;
        QVERIFY(writeNavigationPages(*doc, site, 0x80000005u, &substituted).ok());
        QCOMPARE(substituted, QStringLiteral("\uFFFD"));
        QVERIFY(convertPages(*doc, site, 1, 2).ok());
        QVERIFY(contents(site.path(site.contentsPage()))
                    .contains(cp932::encode(QStringLiteral(">p 2  前?後</a><BR>")).bytes));
        QVERIFY(contents(site.path(site.keywordPage()))
                    .contains(cp932::encode(QStringLiteral(">鍵?</a><BR>")).bytes));
        QVERIFY(contents(site.path(site.pageFile(2))).contains("second"));
    }

    // Only addresses a published page may link to keep their link; the text stays either way.
    void linkSchemes_data() {
        QTest::addColumn<QString>("href");
        QTest::addColumn<bool>("kept");
        QTest::newRow("http") << QStringLiteral("http://example.com/a?b=1#c") << true;
        QTest::newRow("https, capitals") << QStringLiteral("HTTPS://example.com/") << true;
        QTest::newRow("mailto") << QStringLiteral("mailto:help@example.com") << true;
        QTest::newRow("ftp") << QStringLiteral("ftp://example.com/file") << true;
        QTest::newRow("relative page") << QStringLiteral("manual_3.htm") << true;
        QTest::newRow("relative with colon later") << QStringLiteral("dir/a:b.htm") << true;
        QTest::newRow("anchor") << QStringLiteral("#top") << true;
        QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << false;
        QTest::newRow("javascript, blanks and case")
            << QStringLiteral("  JavaScript:alert(1)") << false;
        QTest::newRow("javascript, tab inside") << QStringLiteral("java\tscript:alert(1)") << false;
        QTest::newRow("javascript, control first")
            << QStringLiteral("\x01javascript:alert(1)") << false;
        QTest::newRow("data") << QStringLiteral("data:text/html,<script>alert(1)</script>")
                              << false;
        QTest::newRow("vbscript") << QStringLiteral("vbscript:msgbox(1)") << false;
        QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << false;
    }
    void linkSchemes() {
        QFETCH(QString, href);
        QFETCH(bool, kept);
        QCOMPARE(rtf::isPublishableLink(href), kept);
        QString field = href;
        field.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        const QByteArray rtf = "{\\rtf1\\ansi before {\\field{\\*\\fldinst HYPERLINK \"" +
                               field.toLatin1() + "\"}{\\fldrslt link text}} after\\par}";
        const QString html = rtf::rtfToHtml(rtf, {}).html;
        QVERIFY2(html.contains(QStringLiteral("link text")), qPrintable(html));
        QCOMPARE(html.contains(QStringLiteral("<a ")), kept);
    }
};

QTEST_MAIN(TestSiteSafety)
#include "tst_sitesafety.moc"

#include "core/helpfile.h"
#include "core/keywords.h"
#include "maker/html/htmlsite.h"
#include "maker/html/pageconversion.h"
#include "rtf/htmlwriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace quillo;
using namespace quillo::maker::html;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The lines the harness reported ("name=value"), from the document Chromium dumped.
QStringList reportedLines(const QByteArray& dom) {
    const qsizetype start = dom.indexOf("<pre id=\"log\">");
    const qsizetype end = dom.indexOf("</pre>", start);
    if (start < 0 || end < 0)
        return {};
    const qsizetype from = start + qsizetype(qstrlen("<pre id=\"log\">"));
    // The dump writes the log's text as markup: its references are undone.
    return QString::fromUtf8(dom.mid(from, end - from))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&nbsp;"), QStringLiteral("\u00A0"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"))
        .split(QLatin1Char('\n'));
}

QString reported(const QStringList& lines, const QString& name) {
    for (const QString& line : lines)
        if (line.startsWith(name + QLatin1Char('=')))
            return line.mid(name.size() + 1);
    return {};
}

} // namespace

// The exported sample in a real browser: Debian's Chromium, headless. The harness page loads
// the start page into a frame, reads what the frames show, clicks the last contents link and
// the keyword button, and writes what it saw into the page that Chromium dumps.
class TestBrowserSite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The sample as it is, and under a name full of characters that URLs reserve with titles
    // and keywords that are markup: the browser shows them as text and follows every link.
    void sampleInChromium_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("sample") << QStringLiteral("sample") << QString() << QString();
        QTest::newRow("hostile") << QStringLiteral(" C#入門 ?50%&x:\"y\"")
                                 << QStringLiteral("<img src=x onerror=alert(1)>&amp;")
                                 << QStringLiteral("<b>太字</b>");
    }
    void sampleInChromium() {
        QFETCH(QString, base);
        QFETCH(QString, title);
        QFETCH(QString, keyword);
        const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        // The test command installs it: a skipped check would check nothing on a new machine.
        QVERIFY2(!chromium.isEmpty(),
                 "chromium is not installed (scripts/run-tests.sh installs it)");
        QTemporaryDir dir;
        auto doc = std::make_unique<HelpDocument>();
        QVERIFY(readHelpFile(QStringLiteral(QUILLO_SOURCE_DIR "/samples/sample.qzd"), *doc,
                             Reader::Maker)
                    .ok());
        // A last page with pictures.
        HelpPage pictures;
        pictures.rtf = contents(QStringLiteral(QUILLO_TEST_DATA "/rtf/wordpad.rtf"));
        pictures.title = QStringLiteral("画像のページ");
        doc->pages.append(pictures);
        const int last = doc->pageCount();
        if (!title.isEmpty()) {
            doc->page(1).title = title;
            doc->page(1).keywords.prepend(keyword);
        }

        const SiteFiles site{dir.path(), base};
        QVERIFY(writeNavigationPages(*doc, site, 0x00FFC0C0u).ok());
        QVERIFY(convertPages(*doc, site, 1, last).ok());
        QByteArray harness = contents(QStringLiteral(QUILLO_TEST_DATA "/html/browser_harness.htm"));
        QVERIFY(!harness.isEmpty());
        harness.replace("\"START\"", "\"" + rtf::urlPathEncoded(site.startPage()).toUtf8() + "\"");
        harness.replace("_LAST.htm", "_" + QByteArray::number(last) + ".htm");
        QFile out(site.path(QStringLiteral("harness.htm")));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(harness);
        out.close();

        QProcess browser;
        browser.start(chromium,
                      {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                       QStringLiteral("--disable-gpu"), QStringLiteral("--no-first-run"),
                       QStringLiteral("--disable-background-networking"),
                       QStringLiteral("--disable-component-update"),
                       QStringLiteral("--disable-sync"),
                       QStringLiteral("--user-data-dir=") + dir.filePath(QStringLiteral("profile")),
                       // The harness reads the frames of file:// pages.
                       QStringLiteral("--allow-file-access-from-files"),
                       QStringLiteral("--disable-web-security"),
                       QStringLiteral("--virtual-time-budget=20000"), QStringLiteral("--dump-dom"),
                       QUrl::fromLocalFile(out.fileName()).toString()});
        QVERIFY2(browser.waitForFinished(120000), "chromium did not finish");
        const QStringList lines = reportedLines(browser.readAllStandardOutput());
        QVERIFY2(lines.contains(QStringLiteral("END")), qPrintable(lines.join('\n')));
        for (const QString& line : lines)
            QVERIFY2(!line.startsWith(QStringLiteral("FAIL")), qPrintable(line));

        // The contents in the left frame, decoded from Shift_JIS; page 1 on the right.
        const QString contentsText = reported(lines, QStringLiteral("contents"));
        QVERIFY2(contentsText.contains(QStringLiteral("目次")), qPrintable(contentsText));
        QVERIFY2(contentsText.contains(QStringLiteral("p 1 ") + *doc->page(1).title),
                 qPrintable(contentsText));
        QVERIFY2(contentsText.contains(QStringLiteral("画像のページ")), qPrintable(contentsText));
        // Titles are text: nothing of them became an element of the page.
        QCOMPARE(reported(lines, QStringLiteral("contentsImages")), QStringLiteral("0"));
        if (!title.isEmpty())
            QVERIFY2(contentsText.contains(QStringLiteral("p 1 ") + title),
                     qPrintable(contentsText));
        const QString firstPage = reported(lines, QStringLiteral("page1"));
        QVERIFY2(firstPage.contains(QStringLiteral("サンプルヘルプ")), qPrintable(firstPage));
        // The last contents link opened its page, whose pictures all show.
        const QString pictureCount = reported(lines, QStringLiteral("pictures"));
        QVERIFY2(!pictureCount.startsWith(QStringLiteral("0 ")), qPrintable(pictureCount));
        const QString count = pictureCount.section(QLatin1Char(' '), 0, 0);
        QCOMPARE(pictureCount, count + QStringLiteral(" shown=") + count);
        // The keyword button switched the left frame to the keywords.
        const QString keywords = reported(lines, QStringLiteral("keywords"));
        QVERIFY2(keywords.startsWith(QStringLiteral("キーワード")), qPrintable(keywords));
        QVERIFY2(keywords.contains(sortedKeywordEntries(*doc).first().keyword),
                 qPrintable(keywords));
        if (!keyword.isEmpty())
            QVERIFY2(keywords.contains(keyword), qPrintable(keywords));
    }
};

QTEST_MAIN(TestBrowserSite)
#include "tst_browsersite.moc"

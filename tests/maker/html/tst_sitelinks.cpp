#include "core/helpdocument.h"
#include "maker/html/htmlsite.h"
#include "maker/html/pageconversion.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillo;
using namespace quillo::maker::html;

namespace {

QByteArray fieldLink(const QByteArray& text, const QByteArray& target) {
    return "{\\field{\\*\\fldinst{HYPERLINK \"" + target + "\"}}{\\fldrslt{" + text + "}}}";
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// Links of the pages in the exported site.
class TestSiteLinks : public QObject {
    Q_OBJECT
private slots:
    void pageAndWebLinks_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QByteArray>("pageHref");
        QTest::newRow("plain base") << QStringLiteral("guide") << QByteArray("guide_3.htm");
        // The file name as a URL: a "#" in it would cut the link short.
        QTest::newRow("base with # and blank")
            << QStringLiteral("C# help") << QByteArray("C%23%20help_3.htm");
    }
    void pageAndWebLinks() {
        QFETCH(QString, base);
        QFETCH(QByteArray, pageHref);
        QTemporaryDir dir;
        HelpDocument doc;
        doc.pages.resize(3);
        doc.page(1).rtf =
            "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0 " + fieldLink("third", "#3") + " " +
            fieldLink("web", "https://example.org/a?b=1&c=2") + " " + fieldLink("gone", "#9") +
            " " + fieldLink("bad", "javascript:alert(1)") + "\\par}";
        for (int p = 2; p <= 3; ++p)
            doc.page(p).rtf = "{\\rtf1\\ansi page\\par}";
        const SiteFiles site{dir.path(), base};
        QVERIFY(convertPages(doc, site, 1, 3).ok());
        const QByteArray page = contents(site.path(site.pageFile(1)));
        // A page link goes to the page's file in the same frame.
        QVERIFY2(page.contains("<a href=\"" + pageHref + "\">"), page);
        QVERIFY(QFile::exists(site.path(site.pageFile(3))));
        // A web link opens a tab of its own that cannot reach back.
        QVERIFY2(page.contains("<a href=\"https://example.org/a?b=1&amp;c=2\" target=\"_blank\" "
                               "rel=\"noopener\">"),
                 page);
        // A link to a page the help does not have, and a script, keep their text only.
        QVERIFY(page.contains("gone"));
        QVERIFY(!page.contains("#9"));
        QVERIFY(page.contains("bad"));
        QVERIFY(!page.contains("javascript"));
        QCOMPARE(page.count("<a "), 2);
    }
};

QTEST_MAIN(TestSiteLinks)
#include "tst_sitelinks.moc"

#include "rtf/pagelinks.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace quillo::rtf;

namespace {

const QByteArray TwoLinks = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0 a "
                            "{\\field{\\*\\fldinst{HYPERLINK \"#2\"}}{\\fldrslt{two}}} b "
                            "{\\field{\\*\\fldinst{HYPERLINK \"#5\"}}{\\fldrslt{five}}}\\par}";

QStringList targets(QByteArrayView rtf) {
    QStringList list;
    for (const PageLink& link : linksOf(rtf))
        list << link.text + QLatin1Char('=') + link.target;
    return list;
}

} // namespace

class TestPageLinks : public QObject {
    Q_OBJECT
private slots:
    void targetsNameAPageOrAnAddress_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("web");
        QTest::newRow("page 3") << "#3" << 3 << false;
        QTest::newRow("page 100") << "#100" << 100 << false;
        QTest::newRow("page 0") << "#0" << 0 << false;
        QTest::newRow("sign") << "#+3" << 0 << false;
        QTest::newRow("title anchor") << "#Install" << 0 << false;
        QTest::newRow("bare hash") << "#" << 0 << false;
        QTest::newRow("http") << "http://example.org" << 0 << true;
        QTest::newRow("HTTPS upper case") << "HTTPS://example.org/a" << 0 << true;
        QTest::newRow("mailto") << "mailto:a@example.org" << 0 << true;
        QTest::newRow("scheme alone") << "https://" << 0 << false;
        QTest::newRow("blank inside") << "https://a b" << 0 << false;
        QTest::newRow("file") << "file:///etc/passwd" << 0 << false;
        QTest::newRow("javascript") << "javascript:alert(1)" << 0 << false;
    }
    void targetsNameAPageOrAnAddress() {
        QFETCH(QString, target);
        QFETCH(int, page);
        QFETCH(bool, web);
        QCOMPARE(linkedPage(target), page);
        QCOMPARE(isWebAddress(target), web);
    }

    void renumberingRewritesOnlyPagesWithChangedLinks() {
        QCOMPARE(targets(TwoLinks), (QStringList{"two=#2", "five=#5"}));
        const auto shiftFromThree = [](int page) { return page >= 3 ? page + 1 : page; };
        const QByteArray shifted = renumberPageLinks(TwoLinks, shiftFromThree);
        QCOMPARE(targets(shifted), (QStringList{"two=#2", "five=#6"}));
        // No link changes: the very same bytes.
        const auto shiftFromSeven = [](int page) { return page >= 7 ? page + 1 : page; };
        QCOMPARE(renumberPageLinks(TwoLinks, shiftFromSeven).constData(), TwoLinks.constData());
        const QByteArray plain = "{\\rtf1\\ansi no links\\par}";
        const QByteArray web =
            "{\\rtf1\\ansi {\\field{\\*\\fldinst{HYPERLINK \"https://a.example/\"}}"
            "{\\fldrslt{web}}}\\par}";
        QCOMPARE(renumberPageLinks(web, shiftFromThree).constData(), web.constData());
        QCOMPARE(renumberPageLinks(plain, shiftFromThree).constData(), plain.constData());
        // Page 2 gone: its link is plain text, the text itself stays.
        const QByteArray gone =
            renumberPageLinks(TwoLinks, [](int page) { return page == 2 ? 0 : page - 1; });
        QCOMPARE(targets(gone), QStringList{"five=#4"});
        QCOMPARE(plainText(gone), QStringLiteral("a two b five"));
    }

    void setLinkKeepsTheFormatAndMergesRuns() {
        QTextDocument doc;
        readRtf("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0 plain {\\b bold} tail\\par}", doc);
        QTextCursor cursor(&doc);
        cursor.setPosition(2);
        cursor.setPosition(10, QTextCursor::KeepAnchor); // "ain bold"
        setLink(cursor, pageLinkTarget(7));
        const QList<PageLink> links = linksOf(doc);
        QCOMPARE(links.size(), 1);
        QCOMPARE(links[0].text, QStringLiteral("ain bold"));
        QCOMPARE(links[0].position, 2);
        cursor.setPosition(8);
        QVERIFY(cursor.charFormat().fontWeight() == QFont::Bold);
        // Through the writer and back the link is the same.
        QCOMPARE(targets(writeRtf(doc)), QStringList{"ain bold=#7"});
        cursor.setPosition(0);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        setLink(cursor, QString());
        QCOMPARE(linksOf(doc).first().text, QStringLiteral(" bold"));
    }
};

QTEST_MAIN(TestPageLinks)
#include "tst_pagelinks.moc"

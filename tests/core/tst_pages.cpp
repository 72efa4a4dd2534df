#include "core/pages.h"

#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace quillo;

namespace {

// Pages 1..n, each with text "tN", title "TN" on odd pages and keywords "kN-1".."kN-N".
std::unique_ptr<HelpDocument> numbered(int n) {
    auto doc = std::make_unique<HelpDocument>();
    doc->pageCount = qint16(n);
    for (int p = 1; p <= n; ++p) {
        doc->pageText[p] = "t" + QByteArray::number(p);
        if (p % 2) {
            doc->titleCount[p] = 1;
            doc->title[p] = QStringLiteral("T%1").arg(p);
        }
        doc->keywordCount[p] = qint16(std::min(p, int(MaxKeywordsPerPage)));
        for (int k = 1; k <= doc->keywordCount[p]; ++k)
            doc->keywords[p][k] = QStringLiteral("k%1-%2").arg(p).arg(k);
    }
    return doc;
}

QStringList texts(const HelpDocument& doc) {
    QStringList out;
    for (int p = 1; p <= doc.pageCount; ++p)
        out << QString::fromLatin1(doc.pageText[p]);
    return out;
}

} // namespace

class TestPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void insertInTheMiddle() {
        auto doc = numbered(5);
        QVERIFY(insertEmptyPage(*doc, 3));
        QCOMPARE(doc->pageCount, qint16(6));
        QCOMPARE(texts(*doc), (QStringList{"t1", "t2", "", "t3", "t4", "t5"}));
        QCOMPARE(doc->titleCount[3], qint16(0));
        QCOMPARE(doc->keywordCount[3], qint16(0));
        QCOMPARE(doc->title[4], QStringLiteral("T3")); // the old page 3 moved with its entries
        QCOMPARE(doc->keywords[4][3], QStringLiteral("k3-3"));
        QCOMPARE(doc->keywords[6][5], QStringLiteral("k5-5"));
    }

    void insertedPageIsEmptyWhateverItsSlotHeld() {
        auto doc = numbered(2);
        doc->pageText[3] = "stale text of a page deleted earlier";
        doc->title[3] = QStringLiteral("stale");
        QVERIFY(insertEmptyPage(*doc, 3)); // appending
        QVERIFY(doc->pageText[3].isEmpty());
        QVERIFY(doc->title[3].isEmpty());
    }

    void limits() {
        auto full = numbered(MaxPages);
        QVERIFY(!insertEmptyPage(*full, 1));
        QCOMPARE(full->pageCount, qint16(MaxPages));
        QCOMPARE(full->pageText[1], QByteArray("t1"));
        auto doc = numbered(3);
        QVERIFY(!insertEmptyPage(*doc, 0));
        QVERIFY(!insertEmptyPage(*doc, 5));
        QVERIFY(insertEmptyPage(*doc, 4));
    }

    void removeAndPutBack() {
        auto doc = numbered(5);
        const PageContent removed = removePage(*doc, 2);
        QCOMPARE(doc->pageCount, qint16(4));
        QCOMPARE(texts(*doc), (QStringList{"t1", "t3", "t4", "t5"}));
        QCOMPARE(removed.text, QByteArray("t2"));
        QCOMPARE(removed.keywordCount, qint16(2));
        QCOMPARE(removed.keywords[2], QStringLiteral("k2-2"));
        QCOMPARE(doc->keywordCount[5], qint16(0)); // the old last slot is cleared
        QVERIFY(doc->pageText[5].isEmpty());

        QVERIFY(insertEmptyPage(*doc, 2));
        setPageContent(*doc, 2, removed);
        const auto original = numbered(5);
        for (int p = 1; p <= 5; ++p) {
            const PageContent a = pageContent(*doc, p), b = pageContent(*original, p);
            QCOMPARE(a.text, b.text);
            QCOMPARE(a.title, b.title);
            QCOMPARE(a.keywords, b.keywords);
        }
    }

    void removingTheOnlyPageLeavesOneEmptyPage() {
        auto doc = numbered(1);
        const PageContent removed = removePage(*doc, 1);
        QCOMPARE(removed.text, QByteArray("t1"));
        QCOMPARE(doc->pageCount, qint16(1));
        QVERIFY(doc->pageText[1].isEmpty());
        QCOMPARE(doc->titleCount[1], qint16(0));
        QCOMPARE(doc->keywordCount[1], qint16(0));
    }
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"

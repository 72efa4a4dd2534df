#include "core/pages.h"

#include <QStandardPaths>
#include <QTest>

using namespace quillo;

namespace {

// Pages 1..n, each with text "tN", title "TN" on odd pages and keywords "kN-1".."kN-N".
HelpDocument numbered(int n) {
    HelpDocument doc;
    for (int p = 1; p <= n; ++p) {
        HelpPage& page = doc.pages.emplace_back();
        page.rtf = "t" + QByteArray::number(p);
        if (p % 2)
            page.title = QStringLiteral("T%1").arg(p);
        for (int k = 1; k <= std::min(p, 64); ++k)
            page.keywords << QStringLiteral("k%1-%2").arg(p).arg(k);
    }
    return doc;
}

QStringList texts(const HelpDocument& doc) {
    QStringList out;
    for (const HelpPage& page : doc.pages)
        out << QString::fromLatin1(page.rtf);
    return out;
}

} // namespace

class TestPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void insertInTheMiddle() {
        HelpDocument doc = numbered(5);
        QVERIFY(insertEmptyPage(doc, 3));
        QCOMPARE(doc.pageCount(), 6);
        QCOMPARE(texts(doc), (QStringList{"t1", "t2", "", "t3", "t4", "t5"}));
        QVERIFY(doc.page(3).isEmpty());
        QCOMPARE(doc.page(4).title, QStringLiteral("T3")); // the old page 3 moved with its entries
        QCOMPARE(doc.page(4).keywords.value(2), QStringLiteral("k3-3"));
        QCOMPARE(doc.page(6).keywords.value(4), QStringLiteral("k5-5"));
    }

    void limits() {
        HelpDocument full = numbered(100);
        QVERIFY(!insertEmptyPage(full, 1));
        QCOMPARE(full.pageCount(), 100);
        QCOMPARE(full.page(1).rtf, QByteArray("t1"));
        HelpDocument almost = numbered(99);
        QVERIFY(insertEmptyPage(almost, 100));
        HelpDocument doc = numbered(3);
        QVERIFY(!insertEmptyPage(doc, 0));
        QVERIFY(!insertEmptyPage(doc, 5));
        QVERIFY(insertEmptyPage(doc, 4));
    }

    void removeAndPutBack() {
        HelpDocument doc = numbered(5);
        const HelpPage removed = removePage(doc, 2);
        QCOMPARE(doc.pageCount(), 4);
        QCOMPARE(texts(doc), (QStringList{"t1", "t3", "t4", "t5"}));
        QCOMPARE(removed.rtf, QByteArray("t2"));
        QCOMPARE(removed.keywords, (QStringList{"k2-1", "k2-2"}));

        QVERIFY(insertEmptyPage(doc, 2));
        doc.page(2) = removed;
        QVERIFY(doc.pages == numbered(5).pages);
        QVERIFY(removePage(doc, 6).isEmpty()); // no such page: nothing changes
        QCOMPARE(doc.pageCount(), 5);
    }

    void removingTheOnlyPageLeavesOneEmptyPage() {
        HelpDocument doc = numbered(1);
        const HelpPage removed = removePage(doc, 1);
        QCOMPARE(removed.rtf, QByteArray("t1"));
        QCOMPARE(doc.pageCount(), 1);
        QVERIFY(doc.page(1).isEmpty());
    }

    // The list lines and the line of a page's first entry in each list.
    void listLines() {
        HelpDocument doc = numbered(3);
        doc.page(2).keywords.clear(); // shows one placeholder line
        doc.page(2).title.reset();
        QCOMPARE(contentsLines(doc), (QStringList{"p 1  T1", "p 2  ", "p 3  T3"}));
        QCOMPARE(keywordLinesByPage(doc),
                 (QStringList{"p 1  k1-1", "p 2  ", "p 3  k3-1", "p 3  k3-2", "p 3  k3-3"}));
        QCOMPARE(listLineOfPage(doc, 1, true), 0);
        QCOMPARE(listLineOfPage(doc, 3, true), 2);
        QCOMPARE(listLineOfPage(doc, 3, false), 2);
        doc.page(1).keywords << QStringLiteral("more") << QStringLiteral("most");
        QCOMPARE(listLineOfPage(doc, 3, true), 4);
    }
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"

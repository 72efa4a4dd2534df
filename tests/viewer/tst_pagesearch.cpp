#include "support/viewerfiles.h"
#include "viewer/pagesearch.h"
#include "viewer/pagetextcache.h"
#include "winsvc/richtextcontrol.h"

#include <QStandardPaths>
#include <QTest>

using namespace quillo;
using namespace quillo::viewer;

namespace {

// A document of plain pages shown in a page control, as a window would show them, and the
// search over it; `page` is shown first.
class FakePages : public PageSearch::Pages {
public:
    FakePages(const QStringList& texts, int page) {
        doc.pages.resize(texts.size());
        for (int p = 1; p <= texts.size(); ++p)
            doc.page(p).rtf = test::plainPageRtf(texts[p - 1]);
        search.setDocument(&doc);
        showPage(page);
    }

    int currentPage() const override { return m_current; }
    void showPage(int page) override {
        m_current = page;
        control.setRtf(doc.page(page).rtf);
        search.pageShown(page);
    }
    void chooseFirstPage() override { showPage(1); }
    void reportEnd(bool found) override { ends << found; }

    HelpDocument doc;
    RichTextControl control;
    PageSearch search{*this, control};
    QList<bool> ends;

private:
    int m_current = 1;
};

// "Target" stands on pages 2, 4 (twice) and 5 in various cases; page 6 is the last.
const QStringList Pages{
    QStringLiteral("first page"),   QStringLiteral("second has TARGET here"),
    QStringLiteral("third"),        QStringLiteral("fourth Target one then target two"),
    QStringLiteral("fifth target"), QStringLiteral("six")};

// What one run left: "hit p:s", "finished p:s" or "none p:s" (the page and selection start
// shown afterwards), then the button's state.
QString outcomeText(PageSearch::Outcome outcome, const FakePages& pages, PageSearch::State state) {
    const char* kind = outcome == PageSearch::Outcome::Hit        ? "hit"
                       : outcome == PageSearch::Outcome::Finished ? "finished"
                                                                  : "none";
    const char* states[] = {"FromStart", "FromCaret", "Searching", "FindNext"};
    return QStringLiteral("%1 %2:%3 %4")
        .arg(QLatin1String(kind))
        .arg(pages.currentPage())
        .arg(pages.control.selStart())
        .arg(QLatin1String(states[int(state)]));
}

} // namespace

class TestPageSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void runs_data() {
        QTest::addColumn<bool>("fromStart");
        QTest::addColumn<int>("page");  // the page shown before the first run
        QTest::addColumn<int>("caret"); // and the caret on it
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QStringList>("runs");
        QTest::newRow("from the start, across pages, then from the start again")
            << true << 3 << 2 << QStringLiteral("target")
            << QStringList{"hit 2:11 FromCaret", "hit 4:7 FindNext",       "hit 4:23 FindNext",
                           "hit 5:6 FindNext",   "finished 5:6 FromStart", "hit 2:11 FromCaret"};
        QTest::newRow("from the caret never looks back")
            << false << 4 << 15 << QStringLiteral("TARGET")
            << QStringList{"hit 4:23 FindNext", "hit 5:6 FindNext", "finished 5:6 FromStart"};
        QTest::newRow("nothing after the caret: back where it began")
            << false << 5 << 8 << QStringLiteral("target") << QStringList{"none 5:8 FromStart"};
        QTest::newRow("nowhere") << true << 3 << 2 << QStringLiteral("absent")
                                 << QStringList{"none 3:2 FromStart"};
        QTest::newRow("hit on the last page")
            << true << 1 << 0 << QStringLiteral("six")
            << QStringList{"hit 6:0 FromCaret", "finished 6:0 FromStart"};
        QTest::newRow("hit at the caret itself")
            << false << 2 << 11 << QStringLiteral("target")
            << QStringList{"hit 2:11 FindNext", "hit 4:7 FindNext"};
    }
    void runs() {
        QFETCH(bool, fromStart);
        QFETCH(int, page);
        QFETCH(int, caret);
        QFETCH(QString, needle);
        QFETCH(QStringList, runs);
        FakePages pages(Pages, page);
        PageSearch& search = pages.search;
        search.setFromStart(fromStart);
        search.reset();
        pages.control.setSelStart(caret);
        QStringList seen;
        for (int i = 0; i < runs.size(); ++i) {
            const PageSearch::Outcome outcome = search.run(needle);
            seen << outcomeText(outcome, pages, search.state());
            if (outcome == PageSearch::Outcome::Hit)
                QCOMPARE(pages.control.selText().toLower(), needle.toLower());
        }
        QCOMPARE(seen, runs);
        // Every run that ran out said so once, telling whether a hit had been shown.
        QCOMPARE(pages.ends.size(), runs.filter(QStringLiteral("finished")).size() +
                                        runs.filter(QStringLiteral("none")).size());
    }

    // The tick and the state move together; any change of the tick resets the state.
    void tickResetsTheState() {
        FakePages pages(Pages, 4);
        PageSearch& search = pages.search;
        QList<bool> ticks;
        connect(&search, &PageSearch::fromStartChanged, this, [&](bool on) { ticks << on; });
        search.setFromStart(true);
        QCOMPARE(search.state(), PageSearch::State::FromStart);
        QCOMPARE(search.searchPage(), 1);
        search.setFromStart(false);
        QCOMPARE(search.state(), PageSearch::State::FromCaret);
        QCOMPARE(search.searchPage(), 4);
        search.setFromStart(false); // no change: nothing happens
        QCOMPARE(ticks, QList<bool>({true, false}));
        QCOMPARE(searchCaption(PageSearch::State::FromStart), QStringLiteral("最初から検索"));
        QCOMPARE(searchCaption(PageSearch::State::FromCaret), QStringLiteral("以降の検索"));
        QCOMPARE(searchCaption(PageSearch::State::Searching), QStringLiteral("検索中 !!"));
        QCOMPARE(searchCaption(PageSearch::State::FindNext), QStringLiteral("次を検索"));
    }

    // A reset after a hit forgets it: the end is then reported as no match.
    void resetForgetsTheHits() {
        FakePages pages(Pages, 5);
        PageSearch& search = pages.search;
        search.reset();
        QCOMPARE(search.run(QStringLiteral("fifth")), PageSearch::Outcome::Hit);
        QVERIFY(search.found());
        search.reset();
        QVERIFY(!search.found());
        QCOMPARE(search.run(QStringLiteral("fifth")), PageSearch::Outcome::NoMatch);
        QCOMPARE(pages.ends, QList<bool>({false}));
    }
    // The texts a thread makes ahead of need are those of the document set last: texts of a
    // document replaced while they were being made, or of a preparation stopped half-way,
    // never stand for the pages of the next one.
    void textsMadeAheadBelongToTheirDocument() {
        constexpr int Count = 40;
        QStringList first;
        QStringList second;
        for (int p = 1; p <= Count; ++p) {
            first << QStringLiteral("first %1").arg(p);
            second << QStringLiteral("second %1").arg(p);
        }
        const auto a = test::documentOf(first);
        const auto b = test::documentOf(second);
        PageTextCache cache;
        cache.reset(a.get());
        cache.prepare();
        QCOMPARE(cache.text(Count), QStringLiteral("first 40")); // asked while being made
        cache.reset(b.get());
        cache.prepare();
        for (int p = 1; p <= Count; ++p)
            QTRY_VERIFY(cache.isMade(p));
        for (int p = 1; p <= Count; ++p)
            QCOMPARE(cache.text(p), second[p - 1]);
        QVERIFY(cache.pageHolds(7, QStringLiteral("SECOND 7")));

        cache.reset(a.get());
        cache.prepare();
        cache.stopPreparing();
        for (int p = 1; p <= Count; ++p)
            QCOMPARE(cache.text(p), first[p - 1]);

        cache.reset(nullptr);
        cache.prepare();
        QVERIFY(!cache.isMade(1));
        QCOMPARE(cache.text(1), QString());
    }
};

QTEST_MAIN(TestPageSearch)
#include "tst_pagesearch.moc"

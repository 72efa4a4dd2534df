// Search and replace over the largest document (100 pages of 60 KB): a downward search from
// page 1 that finds nothing, and a replace-all of a word that each page holds 50 times.
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "maker/search/searchlogic.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace quillo;
using namespace quillo::maker;

namespace {

FindOutcome missSearch(const HelpDocument& doc, PageTexts& texts) {
    FindRequest request;
    request.needle = QStringLiteral("no page holds this");
    return findAcrossPages(request, doc.pageCount(),
                           [&](int page) { return texts.text(page, doc.page(page).rtf); });
}

// Texts made ahead, as the search window makes them in idle time once it is opened (or as an
// earlier run left them): what the user waits for on the first find.
void BM_MissSearch(benchmark::State& state) {
    const auto doc = bench::maximumDocument();
    PageTexts texts;
    missSearch(*doc, texts);
    for (auto _ : state) {
        if (missSearch(*doc, texts).kind != FindOutcome::NotFound)
            state.SkipWithError("the search found something");
    }
}
BENCHMARK(BM_MissSearch)->Unit(benchmark::kMillisecond);

// A search started before any page's text was made: every page's text is made on the way.
void BM_MissSearchCold(benchmark::State& state) {
    const auto doc = bench::maximumDocument();
    for (auto _ : state) {
        PageTexts texts;
        if (missSearch(*doc, texts).kind != FindOutcome::NotFound)
            state.SkipWithError("the search found something");
    }
}
BENCHMARK(BM_MissSearchCold)->Unit(benchmark::kMillisecond);

// One turn of the window's idle-time preparation: the text of one 60 KB page.
void BM_PrepareOnePage(benchmark::State& state) {
    const auto doc = bench::maximumDocument();
    for (auto _ : state) {
        PageTexts texts;
        benchmark::DoNotOptimize(texts.text(1, doc->page(1).rtf).size());
    }
}
BENCHMARK(BM_PrepareOnePage)->Unit(benchmark::kMillisecond);

// The largest document with the first 50 lines of each page reading "zeta" for "help".
std::unique_ptr<HelpDocument> documentWithFiftyPerPage() {
    auto doc = bench::maximumDocument();
    for (HelpPage& page : doc->pages) {
        qsizetype at = 0;
        for (int n = 0; n < 50; ++n) {
            at = page.rtf.indexOf("help text line", at);
            page.rtf.replace(at, 4, "zeta");
        }
    }
    return doc;
}

// Replace-all over every page; `prepared`: the page texts were made before, as the open
// search window has them.
void replaceAll(benchmark::State& state, bool prepared) {
    const auto original = documentWithFiftyPerPage();
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<HelpDocument>(*original);
        PageTexts texts;
        if (prepared)
            for (int page = 1; page <= doc->pageCount(); ++page)
                texts.text(page, doc->page(page).rtf);
        state.ResumeTiming();
        const int count = replaceAllInPages(
            *doc, 0, texts, QStringLiteral("zeta"), QStringLiteral("beta"), Qt::CaseInsensitive,
            [&doc](int page, const QByteArray& rtf) { doc->page(page).rtf = rtf; });
        if (count != 50 * MaxPages)
            state.SkipWithError("not every word was replaced");
    }
}

void BM_ReplaceAll(benchmark::State& state) {
    replaceAll(state, false);
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond);

void BM_ReplaceAllPrepared(benchmark::State& state) {
    replaceAll(state, true);
}
BENCHMARK(BM_ReplaceAllPrepared)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return quillo::bench::runBenchmarks<QGuiApplication>(argc, argv);
}

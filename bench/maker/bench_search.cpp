// Search and replace over the largest document (100 pages of 60 KB): a downward search from
// page 1 that finds nothing, and a replace-all of a word that each page holds 50 times.
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

// Texts made by an earlier run, as in a second search of the same document.
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

// The first search after the document was opened: every page's text is made on the way.
void BM_MissSearchCold(benchmark::State& state) {
    const auto doc = bench::maximumDocument();
    for (auto _ : state) {
        PageTexts texts;
        if (missSearch(*doc, texts).kind != FindOutcome::NotFound)
            state.SkipWithError("the search found something");
    }
}
BENCHMARK(BM_MissSearchCold)->Unit(benchmark::kMillisecond);

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

void BM_ReplaceAll(benchmark::State& state) {
    const auto original = documentWithFiftyPerPage();
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<HelpDocument>(*original);
        PageTexts texts;
        state.ResumeTiming();
        const int count = replaceAllInPages(
            *doc, 0, texts, QStringLiteral("zeta"), QStringLiteral("beta"), Qt::CaseInsensitive,
            [&doc](int page, const QByteArray& rtf) { doc->page(page).rtf = rtf; });
        if (count != 50 * MaxPages)
            state.SkipWithError("not every word was replaced");
    }
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Search and replace over the largest document (100 pages of 60 KB): a downward search from
// page 1 that finds nothing, and a replace-all of a word that each page holds 50 times.
#include "common/answeringdialogs.h"
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "core/helpfile.h"
#include "maker/search/searchlogic.h"
#include "maker/shell/mainwindow.h"
#include "winsvc/richtextcontrol.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

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

// Where the document is saved: memory unless QUILLO_BENCH_DIR names a folder on a disk, where
// the save also waits for the disk.
QString folder() {
    const QString chosen = qEnvironmentVariable("QUILLO_BENCH_DIR");
    return chosen.isEmpty() ? bench::benchFolder() : chosen;
}

// The writer's road: the largest document open in the authoring program, すべて置換 in the
// search window, then 上書き保存(S).
struct OpenDocument {
    QTemporaryDir dir{folder() + QStringLiteral("/quillo-search-XXXXXX")};
    bench::AnsweringDialogs dialogs;
    std::unique_ptr<MakerMainWindow> window;
    QWidget* search = nullptr;
    bool help = true; // the pages hold "help" (else "hqlp")

    OpenDocument() {
        qputenv("QUILLO_HOME", dir.path().toLocal8Bit());
        const QString path = dir.filePath(QStringLiteral("largest.qzd"));
        if (!saveHelpFile(path, *bench::maximumDocument()).ok())
            qFatal("cannot write the document");
        MakerEnvironment env;
        env.programFolder = dir.path();
        env.lockFolder = dir.filePath(QStringLiteral("locks"));
        env.screenFonts = QStringList{QStringLiteral("IPAPGothic")};
        window = std::make_unique<MakerMainWindow>(dialogs, env);
        if (!window->startUp(path))
            qFatal("cannot open the document");
        // Shown, so that the editor lays its page out and paints as the writer sees it.
        window->show();
        QCoreApplication::processEvents();
        trigger("qzd32mk_chikan_shori");
        search = window->findChild<QWidget*>(QStringLiteral("qzd32mk_srch"));
    }
    void trigger(const char* name) {
        window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    // Replaces the word of every line (542 a page), and back again the next time.
    void replaceAll() {
        search->findChild<QLineEdit*>(QStringLiteral("Text1"))
            ->setText(help ? QStringLiteral("help") : QStringLiteral("hqlp"));
        search->findChild<QLineEdit*>(QStringLiteral("Text2"))
            ->setText(help ? QStringLiteral("hqlp") : QStringLiteral("help"));
        search->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
        help = !help;
    }
};

// The save that follows a replace-all over all 100 pages (54200 matches).
void BM_SaveAfterReplaceAll(benchmark::State& state) {
    OpenDocument open;
    for (auto _ : state) {
        state.PauseTiming();
        open.replaceAll();
        // What the replace-all left for the event loop (repaints, page texts) is done first.
        QCoreApplication::processEvents();
        state.ResumeTiming();
        open.trigger("qzd32mk_file_save");
    }
}
BENCHMARK(BM_SaveAfterReplaceAll)->Unit(benchmark::kMillisecond);

// The save after one word typed into the shown page, to compare with.
void BM_SaveAfterOneEdit(benchmark::State& state) {
    OpenDocument open;
    for (auto _ : state) {
        state.PauseTiming();
        open.window->editor()->insertPlainText(QStringLiteral("x"));
        state.ResumeTiming();
        open.trigger("qzd32mk_file_save");
    }
}
BENCHMARK(BM_SaveAfterOneEdit)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return quillo::bench::runBenchmarks<QApplication>(argc, argv);
}

// Search and replace over the largest document (100 pages of 60 KB): a downward search from
// page 1 that finds nothing, a replace-all of a word that each page holds 50 times, and the
// save that follows a replace-all in the authoring program's window, timed until the program
// is idle again (measure_save_after_replace_all.sh does the same in the program itself).
#include "common/answeringdialogs.h"
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "core/helpfile.h"
#include "maker/search/searchlogic.h"
#include "maker/shell/mainwindow.h"
#include "winsvc/richtextcontrol.h"

#include <QAbstractEventDispatcher>
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

// Until the event loop has nothing left to do: repaints, deferred layout, and the search
// window's page texts, which it makes one page per turn of the loop.
void runUntilIdle() {
    QCoreApplication::sendPostedEvents();
    while (QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents))
        QCoreApplication::sendPostedEvents();
}

// The writer's road: the largest document open in the authoring program with page 1 (which
// holds the word on every line) shown, the search window open in its replace mode.
struct OpenDocument {
    QTemporaryDir dir{folder() + QStringLiteral("/quillo-search-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("largest.qzd"));
    bench::AnsweringDialogs dialogs;
    std::unique_ptr<MakerMainWindow> window;
    QWidget* search = nullptr;
    bool forward = true; // the next replace-all goes from the word to its replacement

    OpenDocument() {
        qputenv("QUILLO_HOME", dir.path().toLocal8Bit());
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
        trigger("qzd32mk_chikan_shori");
        search = window->findChild<QWidget*>(QStringLiteral("qzd32mk_srch"));
        runUntilIdle();
    }
    void trigger(const char* name) {
        window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    // すべて置換 of `word` (on every line of every page, 542 a page) by `replacement`, and
    // back again the next time; the box that tells the count is answered.
    void replaceAll(const QString& word, const QString& replacement) {
        search->findChild<QLineEdit*>(QStringLiteral("Text1"))
            ->setText(forward ? word : replacement);
        search->findChild<QLineEdit*>(QStringLiteral("Text2"))
            ->setText(forward ? replacement : word);
        search->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
        forward = !forward;
    }
    bool saved() { return !window->document().isModified(); }
};

// What each benchmark times is a function of its own, so that a profiler can be told to
// count only it (valgrind --tool=callgrind --toggle-collect='*measuredSave*').
[[gnu::noinline]] void measuredSave(OpenDocument& open) {
    open.trigger("qzd32mk_file_save");
    runUntilIdle();
}

// What the writer does between the replace-all and 上書き保存(S).
enum class Between {
    // Waits until the program is idle.
    Idle,
    // Saves at once. The count box is answered here without an event loop of its own, so the
    // page texts the search window makes again in idle time (made while the box is open in
    // the program) are waited for by the save: the most the writer could wait.
    Nothing,
    // Turns to the next (changed) page, and back the next time.
    PageTurn,
    // As Idle, with a replacement that makes every page longer.
    LongerWords,
};

// The save that follows a replace-all over all 100 pages (54200 matches, page 1 shown and
// changed in the editor), timed from the save command until the program is idle again.
void saveAfterReplaceAll(benchmark::State& state, Between between) {
    OpenDocument open;
    const QString word = QStringLiteral("help");
    const QString replacement = between == Between::LongerWords ? QStringLiteral("help and support")
                                                                : QStringLiteral("hqlp");
    bool turned = false;
    for (auto _ : state) {
        state.PauseTiming();
        open.replaceAll(word, replacement);
        if (between != Between::Nothing)
            runUntilIdle();
        if (between == Between::PageTurn) {
            open.trigger(turned ? "qzd32mk_Return_Page" : "qzd32mk_Next_Page");
            turned = !turned;
            runUntilIdle();
        }
        state.ResumeTiming();
        measuredSave(open);
        if (!open.saved())
            state.SkipWithError("the document was not saved");
    }
}

void BM_SaveAfterReplaceAll(benchmark::State& state) {
    saveAfterReplaceAll(state, Between::Idle);
}
BENCHMARK(BM_SaveAfterReplaceAll)->Unit(benchmark::kMillisecond);

void BM_SaveAtOnceAfterReplaceAll(benchmark::State& state) {
    saveAfterReplaceAll(state, Between::Nothing);
}
BENCHMARK(BM_SaveAtOnceAfterReplaceAll)->Unit(benchmark::kMillisecond);

void BM_SaveAfterReplaceAllAndPageTurn(benchmark::State& state) {
    saveAfterReplaceAll(state, Between::PageTurn);
}
BENCHMARK(BM_SaveAfterReplaceAllAndPageTurn)->Unit(benchmark::kMillisecond);

void BM_SaveAfterLongerReplaceAll(benchmark::State& state) {
    saveAfterReplaceAll(state, Between::LongerWords);
}
BENCHMARK(BM_SaveAfterLongerReplaceAll)->Unit(benchmark::kMillisecond);

// A second save right after the one that followed the replace-all, nothing changed between.
void BM_SecondSaveAfterReplaceAll(benchmark::State& state) {
    OpenDocument open;
    for (auto _ : state) {
        state.PauseTiming();
        open.replaceAll(QStringLiteral("help"), QStringLiteral("hqlp"));
        runUntilIdle();
        measuredSave(open);
        state.ResumeTiming();
        measuredSave(open);
        if (!open.saved())
            state.SkipWithError("the document was not saved");
    }
}
BENCHMARK(BM_SecondSaveAfterReplaceAll)->Unit(benchmark::kMillisecond);

// The save after one letter typed into the shown page, to compare with.
void BM_SaveAfterOneEdit(benchmark::State& state) {
    OpenDocument open;
    for (auto _ : state) {
        state.PauseTiming();
        open.window->editor()->insertPlainText(QStringLiteral("x"));
        runUntilIdle();
        state.ResumeTiming();
        measuredSave(open);
        if (!open.saved())
            state.SkipWithError("the document was not saved");
    }
}
BENCHMARK(BM_SaveAfterOneEdit)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // --write-largest FILE: writes the document the benchmarks open, for
    // measure_save_after_replace_all.sh to open in the authoring program itself.
    if (argc == 3 && qstrcmp(argv[1], "--write-largest") == 0)
        return saveHelpFile(QString::fromLocal8Bit(argv[2]), *bench::maximumDocument()).ok() ? 0
                                                                                             : 1;
    return quillo::bench::runBenchmarks<QApplication>(argc, argv);
}

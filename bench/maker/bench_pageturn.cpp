// The authoring program's everyday actions with the largest document (100 pages of 60 KB),
// through its own main window: the start with the file until page 1 is shown, a page turn
// with the toolbar's next-page button, and a letter typed followed by an overwrite save.
// Each prints the median of its repetitions.
#include "common/answeringdialogs.h"
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "core/helpfile.h"
#include "maker/shell/mainwindow.h"
#include "winsvc/richtextcontrol.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <memory>

using namespace quillo;
using namespace quillo::maker;

namespace {

// The largest document written to memory-backed storage, with settings kept beside it, and
// the desktop's list of recent files too: each run starts from the same list, and the
// user's own list does not collect the benchmark's files.
struct LargestFile {
    QTemporaryDir dir{bench::benchFolder() + QStringLiteral("/quillo-pageturn-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("largest.qzd"));
    LargestFile() {
        qputenv("QUILLO_HOME", dir.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        if (!saveHelpFile(path, *bench::maximumDocument()).ok())
            qFatal("cannot write the document");
    }
    MakerEnvironment environment() const {
        MakerEnvironment env;
        env.programFolder = dir.path();
        env.lockFolder = dir.filePath(QStringLiteral("locks"));
        env.screenFonts = QStringList{QStringLiteral("IPAPGothic")};
        return env;
    }
};

// Until the event loop has nothing left to do (layout, paint, deferred refreshes).
void runUntilIdle() {
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

void trigger(QWidget& window, const char* name) {
    auto* action = window.findChild<QAction*>(QString::fromLatin1(name));
    if (!action)
        qFatal("no action %s", name);
    action->trigger();
}

// What each benchmark times is a function of its own, so that a profiler can be told to
// count only it (valgrind --tool=callgrind --toggle-collect='*measured*').

// The main window made, the file opened and the window shown with page 1 painted.
[[gnu::noinline]] std::unique_ptr<MakerMainWindow> measuredStart(const LargestFile& file,
                                                                 Dialogs& dialogs) {
    auto window = std::make_unique<MakerMainWindow>(dialogs, file.environment());
    if (!window->startUp(file.path))
        return nullptr;
    window->show();
    runUntilIdle();
    return window;
}

void BM_StartWithLargestDocument(benchmark::State& state) {
    LargestFile file;
    bench::AnsweringDialogs dialogs;
    for (auto _ : state) {
        auto window = measuredStart(file, dialogs);
        if (!window)
            state.SkipWithError("the document did not open");
        state.PauseTiming();
        window.reset(); // the next start finds no lock left behind
        runUntilIdle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartWithLargestDocument)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

struct OpenWindow {
    LargestFile file;
    bench::AnsweringDialogs dialogs;
    std::unique_ptr<MakerMainWindow> window;
    OpenWindow() {
        window = std::make_unique<MakerMainWindow>(dialogs, file.environment());
        if (!window->startUp(file.path))
            qFatal("cannot open the document");
        window->show();
        runUntilIdle();
    }
};

[[gnu::noinline]] void measuredClick(QAbstractButton* button) {
    button->click();
    runUntilIdle();
}

// 次ページへ on the toolbar from an unchanged page; after the last page the first is shown
// again (not timed).
void BM_NextPage(benchmark::State& state) {
    OpenWindow open;
    auto* next = open.window->findChild<QToolButton*>(QStringLiteral("qzd32mk_nextP"));
    if (!next)
        qFatal("no next-page button");
    for (auto _ : state) {
        measuredClick(next);
        state.PauseTiming();
        if (open.window->document().currentPage() == MaxPages)
            open.window->document().showPage(1);
        runUntilIdle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NextPage)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

[[gnu::noinline]] void measuredTypeAndSave(MakerMainWindow& window) {
    window.editor()->insertPlainText(QStringLiteral("x"));
    trigger(window, "qzd32mk_file_save");
    runUntilIdle();
}

// One letter typed into page 1, then 上書き保存(S) rewrites the file.
void BM_TypeAndSave(benchmark::State& state) {
    OpenWindow open;
    for (auto _ : state) {
        measuredTypeAndSave(*open.window);
        if (open.window->document().isModified())
            state.SkipWithError("the save left the document changed");
    }
}
BENCHMARK(BM_TypeAndSave)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks<QApplication>(argc, argv);
}

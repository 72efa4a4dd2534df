// The viewer window with the largest document: loading and showing page 1, and a search
// for a text that no page holds (the window's own button, the end message answered).
#include "common/answeringdialogs.h"
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "core/helpfile.h"
#include "viewer/viewerwindow.h"
#include "winsvc/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quillo;

namespace {

struct MaximumFile {
    QTemporaryDir dir{bench::benchFolder() + QStringLiteral("/quillo-bench-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("max.qzd"));
    MaximumFile() {
        auto doc = bench::maximumDocument();
        saveHelpFile(path, *doc);
    }
};

void BM_OpenAndShowFirstPage(benchmark::State& state) {
    MaximumFile file;
    bench::AnsweringDialogs dialogs;
    for (auto _ : state) {
        viewer::ViewerWindow window(dialogs);
        window.startUp(file.path);
        window.show();
        QApplication::processEvents();
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
// The viewer's start to its first window on a 100-page help; prints the median of its runs.
BENCHMARK(BM_OpenAndShowFirstPage)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// `warm`: the page texts were made while the first page was read, as in normal use.
void missSearch(benchmark::State& state, bool warm) {
    MaximumFile file;
    bench::AnsweringDialogs dialogs;
    viewer::ViewerWindow window(dialogs);
    window.startUp(file.path);
    window.show();
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* button = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    box->setText(QStringLiteral("zqxj"));
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            window.startUp(file.path); // a fresh document: no page text made yet
            box->setText(QStringLiteral("zqxj"));
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            QApplication::processEvents(); // lets the window finish its page texts
            state.ResumeTiming();
        }
        button->click();
    }
    if (dialogs.messages != int(state.iterations()))
        state.SkipWithError("the search did not end with its message");
}

void BM_MissSearchAllPages(benchmark::State& state) {
    missSearch(state, true);
}
BENCHMARK(BM_MissSearchAllPages)->Unit(benchmark::kMillisecond);

void BM_MissSearchAllPagesCold(benchmark::State& state) {
    missSearch(state, false);
}
BENCHMARK(BM_MissSearchAllPagesCold)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks<QApplication>(argc, argv);
}

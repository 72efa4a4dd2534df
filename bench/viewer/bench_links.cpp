// Following a link in the viewer with the largest document, against a click in the contents
// list: both show another 60 KB page, and a link must cost no more than the click.
#include "common/answeringdialogs.h"
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "core/helpfile.h"
#include "viewer/viewerwindow.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quillo;

namespace {

constexpr int PageA = 50;
constexpr int PageB = 51;

// Puts a link to `target` at the end of a page's RTF.
void addLink(QByteArray& rtf, int target) {
    const qsizetype end = rtf.lastIndexOf('}');
    rtf.insert(end, "{\\field{\\*\\fldinst{HYPERLINK \"#" + QByteArray::number(target) +
                        "\"}}{\\fldrslt{see page " + QByteArray::number(target) + "}}}\\par ");
}

// The largest document, pages 50 and 51 linking to each other, open in a shown window.
struct LinkedWindow {
    QTemporaryDir dir{bench::benchFolder() + QStringLiteral("/quillo-bench-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("max.qzd"));
    bench::AnsweringDialogs dialogs;
    std::unique_ptr<viewer::ViewerWindow> window;
    LinkedWindow() {
        auto doc = bench::maximumDocument();
        addLink(doc->page(PageA).rtf, PageB);
        addLink(doc->page(PageB).rtf, PageA);
        saveHelpFile(path, *doc);
        window = std::make_unique<viewer::ViewerWindow>(dialogs);
        window->startUp(path);
        window->show();
        QApplication::processEvents();
    }
};

void BM_ContentsClickShowsPage(benchmark::State& state) {
    LinkedWindow w;
    auto* contents = w.window->findChild<QListWidget*>(QStringLiteral("List1"));
    int target = PageA;
    for (auto _ : state) {
        contents->setCurrentRow(target - 1);
        QApplication::processEvents(); // the page is painted with its links marked
        target = target == PageA ? PageB : PageA;
    }
    if (w.window->currentPage() != (target == PageA ? PageB : PageA))
        state.SkipWithError("the click did not show the page");
}
BENCHMARK(BM_ContentsClickShowsPage)->Unit(benchmark::kMillisecond);

void BM_LinkShowsPage(benchmark::State& state) {
    LinkedWindow w;
    w.window->followLink(QStringLiteral("#%1").arg(PageA));
    QApplication::processEvents();
    int target = PageB;
    for (auto _ : state) {
        w.window->followLink(QStringLiteral("#%1").arg(target));
        QApplication::processEvents();
        target = target == PageA ? PageB : PageA;
    }
    if (w.window->currentPage() != (target == PageA ? PageB : PageA))
        state.SkipWithError("the link did not show the page");
}
BENCHMARK(BM_LinkShowsPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks<QApplication>(argc, argv);
}

// Pages that are small but costly: how long the viewer's window takes to paint them and to have
// them read and laid out whole, how long the HTML conversion of forged pictures takes, and how
// long a long table takes to read into a laid-out document and into a page editor, and to paint.
//
// Counters of the window benchmarks: `painted_s`, the time from the start of the viewer until
// the page text was first painted; `unanswered_s`, the longest time the window's events waited
// (at most); the benchmark's own time is until the page is complete.
#include "common/answeringdialogs.h"
#include "common/benchmain.h"
#include "core/helpfile.h"
#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"
#include "rtf/tablebuilder.h"
#include "support/hostilepages.h"
#include "support/pictures.h"
#include "viewer/viewerwindow.h"
#include "winsvc/pagelayout.h"
#include "winsvc/richtextcontrol.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace quillo;

namespace {

struct PageFile {
    QTemporaryDir dir{bench::benchFolder() + QStringLiteral("/quillo-bench-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("hostile.qzd"));
    explicit PageFile(const QByteArray& rtf) {
        HelpDocument doc;
        doc.pages.resize(1);
        doc.page(1).rtf = rtf;
        saveHelpFile(path, doc);
    }
};

// Notes when the page is first painted: the page may be read, and painted between its slices,
// inside a single call of the event loop.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            paintedS = clock_.nsecsElapsed() / 1e9;
        }
        return false;
    }
    bool painted = false;
    double paintedS = 0;

private:
    const QElapsedTimer& clock_;
};

// Gives up on a page that is not complete after this long (it would freeze the program).
constexpr qint64 kGiveUpMs = 120000;

void showPage(benchmark::State& state, QByteArray (*make)(int)) {
    PageFile file(make(int(state.range(0))));
    bench::AnsweringDialogs dialogs;
    double painted = 0;
    double longest = 0;
    for (auto _ : state) {
        viewer::ViewerWindow window(dialogs);
        auto* page = window.findChild<RichTextControl*>(QStringLiteral("RichTextBox2"));
        QElapsedTimer clock;
        FirstPaint paint(clock);
        page->viewport()->installEventFilter(&paint);
        // The longest the window goes without serving a timer due every 10 ms.
        QTimer ticker;
        qint64 lastTick = 0;
        qint64 longestMs = 0;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestMs = std::max(longestMs, clock.elapsed() - lastTick);
            lastTick = clock.elapsed();
        });
        ticker.start(10);
        clock.start();
        window.startUp(file.path);
        window.show();
        while ((page->isLoading() || page->document()->characterCount() <= 1) &&
               clock.elapsed() < kGiveUpMs)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        page->document()->documentLayout()->documentSize(); // the rest of the layout
        painted += paint.painted ? paint.paintedS : clock.nsecsElapsed() / 1e9;
        longest = std::max(longest, longestMs / 1e3);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        if (clock.elapsed() >= kGiveUpMs)
            state.SkipWithError("the page did not come in");
    }
    state.counters["painted_s"] = benchmark::Counter(painted, benchmark::Counter::kAvgIterations);
    state.counters["unanswered_s"] = longest;
}

void BM_ShowLargestCharacters(benchmark::State& state) {
    showPage(state, test::largestCharactersPage);
}
BENCHMARK(BM_ShowLargestCharacters)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ShowSpacedParagraphs(benchmark::State& state) {
    showPage(state, test::spacedParagraphsPage);
}
BENCHMARK(BM_ShowSpacedParagraphs)->Arg(5000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ShowFormattingRuns(benchmark::State& state) {
    showPage(state, test::formattingRunsPage);
}
BENCHMARK(BM_ShowFormattingRuns)
    ->Arg(30000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ShowForgedPictures(benchmark::State& state) {
    showPage(state, test::forgedPicturesPage);
}
BENCHMARK(BM_ShowForgedPictures)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);

// One paragraph of `pictures` pictures shown 600 x 200 pixels, each after a few words: every
// picture moves on to the next line, past the words it follows.
QByteArray wordsAndPicturesPage(int pictures) {
    const QByteArray picture = "{\\pict\\pngblip\\picw1\\pich1\\picwgoal9000\\pichgoal3000 " +
                               test::pngBytes(1, 1, Qt::red).toHex() + "}";
    QByteArray page = test::hostileHead;
    for (int i = 0; i < pictures; ++i)
        page += "a few words " + picture;
    return page + "\\par\r\n}";
}

void BM_ShowWordsAndPictures(benchmark::State& state) {
    showPage(state, wordsAndPicturesPage);
}
BENCHMARK(BM_ShowWordsAndPictures)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ShowTableRows(benchmark::State& state) {
    showPage(state, [](int rows) { return test::tablePage(rows, 3); });
}
BENCHMARK(BM_ShowTableRows)->Arg(40000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ShowWideTableRows(benchmark::State& state) {
    showPage(state, [](int rows) { return test::tablePage(rows, 63); });
}
BENCHMARK(BM_ShowWideTableRows)
    ->Arg(200)
    ->Arg(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A long table shown in a page editor as the authoring program has it (its load serves no events):
// read and laid out whole at the width of a window.
void editorShowsTable(benchmark::State& state, int cells) {
    const QByteArray page = test::tablePage(int(state.range(0)), cells);
    RichTextControl editor;
    editor.resize(800, 600);
    editor.show();
    for (auto _ : state) {
        editor.setRtf(page);
        benchmark::DoNotOptimize(editor.document()->documentLayout()->documentSize());
        state.PauseTiming();
        editor.setRtf(QByteArray());
        state.ResumeTiming();
    }
}

void BM_EditorShowsTableRows3Cells(benchmark::State& state) {
    editorShowsTable(state, 3);
}
BENCHMARK(BM_EditorShowsTableRows3Cells)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_EditorShowsTableRows63Cells(benchmark::State& state) {
    editorShowsTable(state, 63);
}
BENCHMARK(BM_EditorShowsTableRows63Cells)->Arg(2000)->Unit(benchmark::kMillisecond);

// The HTML conversion of a page of forged pictures, with the picture files it makes.
void BM_ExportForgedPictures(benchmark::State& state) {
    const QByteArray page = test::forgedPicturesPage(int(state.range(0)));
    for (auto _ : state) {
        const rtf::HtmlPage html = rtf::rtfToHtml(page, {QStringLiteral("p_files/"), {}});
        benchmark::DoNotOptimize(html.pictures.size());
    }
}
BENCHMARK(BM_ExportForgedPictures)->Arg(100)->Unit(benchmark::kMillisecond);

// A table read into a document as wide as a page, and laid out there when `layout` is set.
void readTable(benchmark::State& state, int cells, bool layout) {
    const QByteArray page = test::tablePage(int(state.range(0)), cells);
    for (auto _ : state) {
        QTextDocument doc;
        doc.setTextWidth(600);
        rtf::readRtf(page, doc);
        if (layout)
            benchmark::DoNotOptimize(doc.size());
    }
    state.SetComplexityN(state.range(0));
}

void BM_ReadTableRows3Cells(benchmark::State& state) {
    readTable(state, 3, false);
}
BENCHMARK(BM_ReadTableRows3Cells)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_ReadTableRows63Cells(benchmark::State& state) {
    readTable(state, 63, false);
}
BENCHMARK(BM_ReadTableRows63Cells)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_ReadAndLayOutTableRows3Cells(benchmark::State& state) {
    readTable(state, 3, true);
}
BENCHMARK(BM_ReadAndLayOutTableRows3Cells)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_ReadAndLayOutTableRows63Cells(benchmark::State& state) {
    readTable(state, 63, true);
}
BENCHMARK(BM_ReadAndLayOutTableRows63Cells)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// One window's worth (800 x 600 pixels) of a 40,000-row table painted from its middle, with the
// lines the page layout draws (0) and with Qt's own collapsed borders (1).
void BM_PaintTableScreen(benchmark::State& state) {
    QTextDocument shown;
    usePageLayout(shown);
    shown.setTextWidth(800);
    rtf::readRtf(
        test::tablePage(40000, 3), shown, [] { return true; }, std::chrono::milliseconds(100));
    std::unique_ptr<QTextDocument> qtBorders(shown.clone());
    rtf::useQtTableBorders(*qtBorders);
    qtBorders->setTextWidth(800);
    QTextDocument& doc = state.range(0) == 0 ? shown : *qtBorders;
    const QRectF screen(0, std::floor(doc.size().height() / 2), 800, 600);
    QImage image(screen.size().toSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(-screen.topLeft());
        doc.drawContents(&painter, screen);
    }
}
BENCHMARK(BM_PaintTableScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks<QApplication>(argc, argv);
}

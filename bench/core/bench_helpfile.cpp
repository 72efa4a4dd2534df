// Reading and writing the largest document the format allows: 100 pages, 64 keywords of
// 32 characters on each, 32-character titles, about 60 KB of RTF per page.
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "core/helpfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace quillo;
using quillo::bench::benchFolder;
using quillo::bench::maximumDocument;

namespace {

void BM_SerializeMaximum(benchmark::State& state) {
    auto doc = maximumDocument();
    QByteArray out;
    for (auto _ : state) {
        serializeHelpDocument(*doc, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * out.size());
}
BENCHMARK(BM_SerializeMaximum)->Unit(benchmark::kMillisecond);

void BM_SaveMaximum(benchmark::State& state) {
    auto doc = maximumDocument();
    QTemporaryDir dir(benchFolder() + QStringLiteral("/quillo-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("max.qzd"));
    for (auto _ : state)
        if (!saveHelpFile(path, *doc).ok())
            state.SkipWithError("save failed");
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_SaveMaximum)->Unit(benchmark::kMillisecond);

void BM_ParseMaximum(benchmark::State& state) {
    auto doc = maximumDocument();
    QByteArray bytes;
    serializeHelpDocument(*doc, bytes);
    auto target = std::make_unique<HelpDocument>();
    for (auto _ : state)
        if (!parseHelpFile(bytes, *target, Reader::Viewer).ok())
            state.SkipWithError("parse failed");
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseMaximum)->Unit(benchmark::kMillisecond);

void BM_ReadMaximum(benchmark::State& state) {
    auto doc = maximumDocument();
    QTemporaryDir dir(benchFolder() + QStringLiteral("/quillo-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("max.qzd"));
    saveHelpFile(path, *doc);
    auto target = std::make_unique<HelpDocument>();
    for (auto _ : state)
        if (!readHelpFile(path, *target, Reader::Viewer).ok())
            state.SkipWithError("read failed");
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ReadMaximum)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

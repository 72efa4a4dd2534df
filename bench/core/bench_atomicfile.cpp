// Writing many small files into one folder, as an exported site writes its pictures: the
// cost of each write must not grow with the number of files already in the folder.
#include "common/benchmain.h"
#include "core/atomicfile.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quillo;
using quillo::bench::benchFolder;

namespace {

void BM_WriteFilesIntoOneFolder(benchmark::State& state) {
    const int files = int(state.range(0));
    const QByteArray picture(200, 'p');
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir(benchFolder() + QStringLiteral("/quillo-bench-XXXXXX"));
        state.ResumeTiming();
        for (int i = 0; i < files; ++i)
            if (!writeFileAtomically(dir.filePath(QStringLiteral("img%1.png").arg(i)), picture,
                                     Durability::Deferred)
                     .ok())
                state.SkipWithError("write failed");
        state.PauseTiming();
        dir.remove();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * files);
}
BENCHMARK(BM_WriteFilesIntoOneFolder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return quillo::bench::runBenchmarks<QCoreApplication>(argc, argv, [] {});
}

// Reading and writing the largest document the format allows: 100 pages, 64 keywords of
// 32 characters on each, 32-character titles, 60 KB of RTF per page.
#include "core/helpfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace quillo;

namespace {

std::unique_ptr<HelpDocument> maximumDocument() {
    auto doc = std::make_unique<HelpDocument>();
    doc->pageCount = MaxPages;
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 "
                     "\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}\r\n"
                     "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 ";
    while (rtf.size() < 60 * 1024 - 8)
        rtf += "\\'83\\'77\\'83\\'8b\\'83\\'76 help text line\\par\r\n";
    rtf.truncate(60 * 1024 - 1);
    rtf += '}';
    for (int p = 1; p <= MaxPages; ++p) {
        doc->titleCount[p] = 1;
        doc->title[p] = QString(MaxEntryLength, QChar(0x76EE)); // 目
        doc->keywordCount[p] = MaxKeywordsPerPage;
        for (int k = 1; k <= MaxKeywordsPerPage; ++k)
            doc->keywords[p][k] = QStringLiteral("キーワード%1の%2").arg(p).arg(k).leftJustified(
                MaxEntryLength, QChar(0x8A9E));
        doc->pageText[p] = rtf;
    }
    return doc;
}

// Files go to memory-backed /dev/shm when it exists, so the disk does not set the pace.
QString benchFolder() {
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

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

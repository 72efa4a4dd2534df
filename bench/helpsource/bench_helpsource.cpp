// A help file as a folder of text: unpacking and packing the largest document the format
// allows (100 pages of about 60 KB of RTF), and packing 100 Markdown pages of about 10 KB.
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "core/helpfile.h"
#include "helpsource/helpsource.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quillo;
using quillo::bench::benchFolder;
using quillo::bench::maximumDocument;

namespace {

const QString Tag = QString::fromLatin1(FormatTag);

void BM_UnpackMaximum(benchmark::State& state) {
    auto doc = maximumDocument();
    QTemporaryDir dir(benchFolder() + QStringLiteral("/quillo-bench-XXXXXX"));
    const QString folder = dir.filePath(QStringLiteral("help"));
    for (auto _ : state)
        if (!helpsource::unpackHelpDocument(*doc, Tag, folder, {true, false}).isEmpty())
            state.SkipWithError("unpack failed");
}
BENCHMARK(BM_UnpackMaximum)->Unit(benchmark::kMillisecond);

void BM_PackMaximum(benchmark::State& state) {
    auto doc = maximumDocument();
    QTemporaryDir dir(benchFolder() + QStringLiteral("/quillo-bench-XXXXXX"));
    const QString folder = dir.filePath(QStringLiteral("help"));
    helpsource::unpackHelpDocument(*doc, Tag, folder, {});
    const QString out = dir.filePath(QStringLiteral("max.qzd"));
    for (auto _ : state)
        if (!helpsource::packHelpFolder(folder, out).isEmpty())
            state.SkipWithError("pack failed");
    state.SetBytesProcessed(state.iterations() * QFileInfo(out).size());
}
BENCHMARK(BM_PackMaximum)->Unit(benchmark::kMillisecond);

// About 10 KB of Markdown: headings, paragraphs with emphasis and code, a list, a table, a
// code block and links to other pages.
QByteArray markdownPage(int page) {
    QByteArray text = "# ページ " + QByteArray::number(page) + "\n\n";
    for (int section = 1; text.size() < 10 * 1024; ++section) {
        text += "## 節 " + QByteArray::number(section) + "\n\n";
        text += "この節では *設定* と **保存** の方法を説明します。`qzdtool pack` で"
                "ヘルプファイルを作り、[次のページ](#" +
                QByteArray::number(page % 100 + 1) + ") に進みます。\n\n";
        text += "- 項目 one\n- 項目 two\n- 項目 three\n\n";
        text += "| 名前 | 値 | 説明 |\n|---|---|---|\n| 幅 | 9000 | 画面の幅 |\n"
                "| 高さ | 6500 | 画面の高さ |\n\n";
        text += "```\nqzdtool unpack help.qzd src/\n```\n\n";
    }
    return text;
}

void BM_PackMarkdown100(benchmark::State& state) {
    QTemporaryDir dir(benchFolder() + QStringLiteral("/quillo-bench-XXXXXX"));
    const QString folder = dir.filePath(QStringLiteral("help"));
    QDir().mkpath(folder + QStringLiteral("/pages"));
    QByteArray manifest;
    qint64 sourceBytes = 0;
    for (int p = 1; p <= 100; ++p) {
        const QString name = helpsource::pageFileName(p, "md");
        manifest += "[[page]]\nfile = \"" + name.toUtf8() + "\"\ntitle = \"ページ " +
                    QByteArray::number(p) + "\"\n\n";
        QFile page(QDir(folder).filePath(name));
        const QByteArray text = markdownPage(p);
        sourceBytes += text.size();
        if (!page.open(QIODevice::WriteOnly) || page.write(text) != text.size())
            state.SkipWithError("cannot write the pages");
    }
    QFile toml(QDir(folder).filePath(QStringLiteral("help.toml")));
    if (!toml.open(QIODevice::WriteOnly) || toml.write(manifest) != manifest.size())
        state.SkipWithError("cannot write the manifest");
    toml.close();
    const QString out = dir.filePath(QStringLiteral("markdown.qzd"));
    for (auto _ : state) {
        const QStringList problems = helpsource::packHelpFolder(folder, out);
        if (!problems.isEmpty())
            state.SkipWithError(qPrintable(problems.first()));
    }
    state.SetBytesProcessed(state.iterations() * sourceBytes);
}
BENCHMARK(BM_PackMarkdown100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return quillo::bench::runBenchmarks<QGuiApplication>(argc, argv);
}

// Speed of the RTF engine on the generated corpus: plain-text extraction, QTextDocument build,
// RTF writing and RTF to HTML, in bytes of RTF per second.
#include "corpus.h"

#include "common/benchmain.h"

#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

const QList<QByteArray>& corpus() {
    static const QList<QByteArray> pages = quillo::bench::corpusPages();
    return pages;
}

const QByteArray& large() {
    static const QByteArray page = quillo::bench::largePage();
    return page;
}

qsizetype corpusBytes() {
    qsizetype n = 0;
    for (const QByteArray& p : corpus())
        n += p.size();
    return n;
}

// The corpus page closest to 25 KB without a picture: the typical page.
const QByteArray& typicalPage() {
    static const QByteArray page = [] {
        QByteArray best;
        for (int i = 0; i < corpus().size(); ++i)
            if ((i + 1) % 5 != 0 &&
                (best.isEmpty() || qAbs(corpus()[i].size() - 25600) < qAbs(best.size() - 25600)))
                best = corpus()[i];
        return best;
    }();
    return page;
}

void BM_PlainText_Corpus(benchmark::State& state) {
    for (auto _ : state)
        for (const QByteArray& p : corpus())
            benchmark::DoNotOptimize(quillo::rtf::plainText(p));
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(BM_PlainText_Corpus)->Unit(benchmark::kMillisecond);

void BM_PlainText_Large(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(quillo::rtf::plainText(large()));
    state.SetBytesProcessed(state.iterations() * large().size());
}
BENCHMARK(BM_PlainText_Large)->Unit(benchmark::kMillisecond);

void BM_BuildDocument_Typical(benchmark::State& state) {
    const QByteArray& page = typicalPage();
    state.SetLabel(std::to_string(page.size()) + " bytes");
    QTextDocument doc;
    for (auto _ : state)
        quillo::rtf::readRtf(page, doc);
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_BuildDocument_Typical)->Unit(benchmark::kMillisecond);

void BM_BuildDocument_Corpus(benchmark::State& state) {
    QTextDocument doc;
    for (auto _ : state)
        for (const QByteArray& p : corpus())
            quillo::rtf::readRtf(p, doc);
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(BM_BuildDocument_Corpus)->Unit(benchmark::kMillisecond);

void BM_BuildDocument_Large(benchmark::State& state) {
    QTextDocument doc;
    for (auto _ : state)
        quillo::rtf::readRtf(large(), doc);
    state.SetBytesProcessed(state.iterations() * large().size());
}
BENCHMARK(BM_BuildDocument_Large)->Unit(benchmark::kMillisecond);

// One paragraph of alternating bold and normal runs ("\\b x\\b0 y" repeated), loaded into a
// document that is laid out as an editor's is: the time must grow with the number of runs,
// not with its square.
void BM_BuildDocument_BoldRuns(benchmark::State& state) {
    QByteArray page = "{\\rtf1 ";
    for (int i = 0; i < state.range(0) / 2; ++i)
        page += "\\b x\\b0 y";
    page += "}";
    QTextDocument doc;
    doc.setTextWidth(600);
    doc.documentLayout();
    for (auto _ : state) {
        quillo::rtf::readRtf(page, doc);
        benchmark::DoNotOptimize(doc.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildDocument_BoldRuns)
    ->Arg(2500)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A page of one-letter paragraphs (1,000,000 make 6 MB): read into a document laid out as an
// editor's is, and converted to HTML. Both must grow with the paragraphs, not faster.
QByteArray paragraphsPage(int paragraphs) {
    QByteArray page = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs18 ";
    for (int i = 0; i < paragraphs; ++i)
        page += "a\\par\n";
    return page + "}";
}

void BM_BuildDocument_Paragraphs(benchmark::State& state) {
    const QByteArray page = paragraphsPage(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument doc;
        doc.setTextWidth(600);
        doc.documentLayout();
        quillo::rtf::readRtf(page, doc);
        benchmark::DoNotOptimize(doc.size());
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_BuildDocument_Paragraphs)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(300000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_RtfToHtml_Paragraphs(benchmark::State& state) {
    const QByteArray page = paragraphsPage(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(quillo::rtf::rtfToHtml(page, {}).html.size());
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_RtfToHtml_Paragraphs)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_WriteRtf_Corpus(benchmark::State& state) {
    std::vector<std::unique_ptr<QTextDocument>> docs;
    for (const QByteArray& p : corpus()) {
        docs.push_back(std::make_unique<QTextDocument>());
        quillo::rtf::readRtf(p, *docs.back());
    }
    qsizetype written = 0;
    for (auto _ : state)
        for (const auto& doc : docs)
            written += quillo::rtf::writeRtf(*doc).size();
    state.SetBytesProcessed(written);
}
BENCHMARK(BM_WriteRtf_Corpus)->Unit(benchmark::kMillisecond);

// The page's picture files, written plainly: the time of the conversion and of the bytes on
// disk, not of a particular way to replace files.
void writePictures(const quillo::rtf::HtmlPage& page, const QString& folder) {
    benchmark::DoNotOptimize(page.html.size());
    if (page.pictures.empty())
        return;
    QDir().mkpath(folder);
    for (const quillo::rtf::HtmlPicture& picture : page.pictures) {
        QFile file(QDir(folder).filePath(picture.name));
        if (file.open(QIODevice::WriteOnly))
            file.write(picture.bytes);
    }
}

// The whole corpus to HTML pages with their picture files, as the HTML export does it.
void BM_RtfToHtml_Corpus(benchmark::State& state) {
    QTemporaryDir dir;
    for (auto _ : state) {
        int n = 0;
        for (const QByteArray& p : corpus()) {
            const QString name = QStringLiteral("page%1").arg(++n);
            const quillo::rtf::HtmlOptions options{name + QStringLiteral("_files/"), name};
            writePictures(quillo::rtf::rtfToHtml(p, options),
                          dir.filePath(name + QStringLiteral("_files")));
        }
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(BM_RtfToHtml_Corpus)->Unit(benchmark::kMillisecond);

void BM_HtmlFromDocument_Corpus(benchmark::State& state) {
    QTemporaryDir dir;
    QTextDocument doc;
    for (auto _ : state) {
        int n = 0;
        for (const QByteArray& p : corpus()) {
            quillo::rtf::readRtf(p, doc);
            const QString name = QStringLiteral("page%1").arg(++n);
            writePictures(quillo::rtf::writeHtml(doc, {name + QStringLiteral("_files/"), name}),
                          dir.filePath(name + QStringLiteral("_files")));
        }
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(BM_HtmlFromDocument_Corpus)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return quillo::bench::runBenchmarks<QGuiApplication>(argc, argv, [] {
        std::printf("corpus: %lld pages, %lld bytes; large page %lld bytes; typical page %lld "
                    "bytes\n",
                    static_cast<long long>(corpus().size()), static_cast<long long>(corpusBytes()),
                    static_cast<long long>(large().size()),
                    static_cast<long long>(typicalPage().size()));
    });
}

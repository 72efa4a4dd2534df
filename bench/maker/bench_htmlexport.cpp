// The HTML export of the largest document (100 pages of 60 KB, each with a picture, 64
// keywords per page) into a fresh folder: navigation pages and every page; the web help of the
// same document (every page with its panel, the search data). Beside them, in the same run,
// LibreOffice converting the same 100 RTF pages in one batch
// (soffice --headless --convert-to html), when soffice is installed.
#include "common/benchmain.h"
#include "common/maximumdocument.h"
#include "maker/html/htmlsite.h"
#include "maker/html/pageconversion.h"
#include "maker/html/website.h"
#include "rtf/corpus.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace quillo;

// The maximum document with one picture from the corpus on every page.
const HelpDocument& document() {
    static const std::unique_ptr<HelpDocument> doc = [] {
        std::unique_ptr<HelpDocument> d = bench::maximumDocument();
        const QByteArray withPicture = bench::corpusPages().at(4); // every fifth page has one
        const qsizetype from = withPicture.indexOf("{\\pict");
        const qsizetype to = withPicture.indexOf('}', from);
        const QByteArray picture = withPicture.mid(from, to - from + 1) + "\\par\r\n";
        for (HelpPage& page : d->pages)
            page.rtf.insert(page.rtf.lastIndexOf('}'), picture);
        return d;
    }();
    return *doc;
}

void BM_ExportHtml_MaximumDocument(benchmark::State& state) {
    const HelpDocument& doc = document();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const maker::html::SiteFiles site{dir.path(), QStringLiteral("maximum")};
        state.ResumeTiming();
        if (!maker::html::writeNavigationPages(doc, site, 0x00FFC0C0u).ok() ||
            !maker::html::convertPages(doc, site, 1, doc.pageCount()).ok())
            state.SkipWithError("export failed");
        state.PauseTiming();
        dir.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExportHtml_MaximumDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportWeb_MaximumDocument(benchmark::State& state) {
    const HelpDocument& doc = document();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        state.ResumeTiming();
        if (!maker::html::writeWebSite(doc, dir.path(), QStringLiteral("maximum"), 0x00FFC0C0u)
                 .ok())
            state.SkipWithError("export failed");
        state.PauseTiming();
        dir.remove();
        state.ResumeTiming();
    }
    // The site's own script and stylesheet, shipped in the program.
    state.counters["site_js_css_bytes"] =
        double(maker::html::webSiteAsset(QStringLiteral("site.js")).size() +
               maker::html::webSiteAsset(QStringLiteral("site.css")).size());
}
BENCHMARK(BM_ExportWeb_MaximumDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibreOffice_ConvertPages(benchmark::State& state) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        state.SkipWithError("soffice is not installed");
        return;
    }
    const HelpDocument& doc = document();
    QTemporaryDir dir;
    QStringList args = {QStringLiteral("--headless"),
                        QStringLiteral("--norestore"),
                        QStringLiteral("-env:UserInstallation=file://") +
                            dir.filePath(QStringLiteral("profile")),
                        QStringLiteral("--convert-to"),
                        QStringLiteral("html"),
                        QStringLiteral("--outdir"),
                        dir.filePath(QStringLiteral("out"))};
    for (int p = 1; p <= doc.pageCount(); ++p) {
        const QString path = dir.filePath(QStringLiteral("page_%1.rtf").arg(p));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(doc.page(p).rtf) != doc.page(p).rtf.size()) {
            state.SkipWithError("cannot write the pages");
            return;
        }
        args << path;
    }
    for (auto _ : state) {
        QProcess office;
        office.start(soffice, args);
        if (!office.waitForFinished(-1) || office.exitCode() != 0)
            state.SkipWithError("soffice failed");
    }
}
BENCHMARK(BM_LibreOffice_ConvertPages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    // --web-site=DIR: writes the web help of the measured document into DIR and ends, for the
    // search measure in the browser (bench/maker/web).
    const QByteArray option = "--web-site=";
    if (argc == 2 && QByteArray(argv[1]).startsWith(option)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        const QString folder = QString::fromLocal8Bit(QByteArray(argv[1]).mid(option.size()));
        return quillo::maker::html::writeWebSite(document(), folder, QStringLiteral("maximum"),
                                                 0x00FFC0C0u)
                       .ok()
                   ? 0
                   : 1;
    }
    return quillo::bench::runBenchmarks<QGuiApplication>(argc, argv);
}

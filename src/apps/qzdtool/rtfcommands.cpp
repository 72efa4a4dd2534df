#include "rtfcommands.h"

#include "core/helpdocument.h"
#include "core/systemfile.h"
#include "maker/html/htmlsite.h"
#include "maker/html/pageconversion.h"
#include "maker/html/website.h"
#include "rtf/rtfreader.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

using namespace quillo;

namespace {

bool readFile(const QString& path, QByteArray& data, QTextStream& err) {
    const FileResult read = readWholeFile(path, data);
    if (!read.ok())
        err << path << ": cannot open (" << read.message << ")\n";
    return read.ok();
}

// text FILE.qzd [PAGE]: the plain text of one page or of all, pages separated by a form feed.
int pageText(const QStringList& args, QTextStream& out, QTextStream& err,
             const HelpFileLoader& load) {
    auto doc = std::make_unique<HelpDocument>();
    if (!load(args[1], *doc))
        return 1;
    int first = 1;
    int last = doc->pageCount();
    if (args.size() == 3) {
        bool ok = false;
        const int page = args[2].toInt(&ok);
        if (!ok || page < 1 || page > doc->pageCount()) {
            err << args[1] << ": no page " << args[2] << " (the file has " << doc->pageCount()
                << ")\n";
            return 1;
        }
        first = last = page;
    }
    for (int p = first; p <= last; ++p) {
        if (p > first)
            out << '\f';
        out << rtf::plainText(doc->page(p).rtf, rtf::LongTables::Whole);
    }
    out << '\n';
    return 0;
}

// rtf2html FILE.rtf OUT.htm: pictures go into OUT's name + "_files" beside it.
int rtfToHtmlFile(const QString& in, const QString& outPath, QTextStream& err) {
    const maker::html::SiteError error =
        maker::html::convertRtfFile(in, outPath, QFileInfo(in).completeBaseName());
    if (error.ok())
        return 0;
    err << error.line() << '\n';
    return 1;
}

// The pages a file has, for a usage message: "pages 1 to 9", "page 1", "no pages".
QString pagesThatExist(int pageCount) {
    if (pageCount == 0)
        return QStringLiteral("no pages");
    if (pageCount == 1)
        return QStringLiteral("page 1");
    return QStringLiteral("pages 1 to %1").arg(pageCount);
}

// export-html FILE.qzd OUTDIR [--page N]: the navigation pages and every page, or page N
// only, written into OUTDIR (made when missing) as the authoring program writes them. A page
// number that is not one of the file's pages is a usage error (exit 2).
int exportHtml(const QStringList& args, QTextStream& err, const HelpFileLoader& load) {
    auto doc = std::make_unique<HelpDocument>();
    if (!load(args[1], *doc))
        return 1;
    int first = 1;
    int last = doc->pageCount();
    if (args.size() == 5) {
        bool ok = false;
        const int page = args[4].toInt(&ok);
        if (!ok || !doc->hasPage(page)) {
            err << "qzdtool: export-html --page " << args[4] << ": " << args[1] << " has "
                << pagesThatExist(doc->pageCount()) << '\n';
            return 2;
        }
        first = last = page;
    }
    maker::html::SiteFiles site;
    site.folder = QDir(args[2]).absolutePath();
    site.base = maker::html::siteBaseName(fileTitleOf(args[1]));
    if (!QDir().mkpath(site.folder)) {
        err << site.folder << ": cannot create the folder\n";
        return 1;
    }
    QString substituted;
    maker::html::SiteError error = maker::html::writeNavigationPages(
        *doc, site, quint32(doc->displaySettings.backColor), &substituted);
    if (error.ok() && !substituted.isEmpty())
        err << site.folder
            << ": characters without a Shift_JIS code written as \"?\": " << substituted << '\n';
    if (error.ok())
        error = maker::html::convertPages(*doc, site, first, last).error;
    if (error.ok())
        return 0;
    err << error.line() << '\n';
    return 1;
}

// export-web FILE.qzd OUTDIR: the web help (one page per help page, with contents, keywords
// and search) written into OUTDIR (made when missing).
int exportWeb(const QStringList& args, QTextStream& err, const HelpFileLoader& load) {
    auto doc = std::make_unique<HelpDocument>();
    if (!load(args[1], *doc))
        return 1;
    const QString folder = QDir(args[2]).absolutePath();
    if (!QDir().mkpath(folder)) {
        err << folder << ": cannot create the folder\n";
        return 1;
    }
    const maker::html::SiteError error =
        maker::html::writeWebSite(*doc, folder, maker::html::siteBaseName(fileTitleOf(args[1])),
                                  quint32(doc->displaySettings.backColor));
    if (error.ok())
        return 0;
    err << error.line() << '\n';
    return 1;
}

} // namespace

int runRtfCommand(const QStringList& args, QTextStream& out, QTextStream& err,
                  const HelpFileLoader& load) {
    const QString command = args.value(0);
    if (command == QLatin1String("text") && (args.size() == 2 || args.size() == 3))
        return pageText(args, out, err, load);
    if (command == QLatin1String("rtf2text") && args.size() == 2) {
        QByteArray data;
        if (!readFile(args[1], data, err))
            return 1;
        out << rtf::plainText(data, rtf::LongTables::Whole) << '\n';
        return 0;
    }
    if (command == QLatin1String("rtf2html") && args.size() == 3)
        return rtfToHtmlFile(args[1], args[2], err);
    if (command == QLatin1String("export-html") &&
        (args.size() == 3 || (args.size() == 5 && args[3] == QLatin1String("--page"))))
        return exportHtml(args, err, load);
    if (command == QLatin1String("export-web") && args.size() == 3)
        return exportWeb(args, err, load);
    return -1;
}

QStringList pageRtfProblems(const HelpDocument& doc) {
    QStringList problems;
    for (int p = 1; p <= doc.pageCount(); ++p) {
        const QString problem = rtf::rtfProblem(doc.page(p).rtf);
        if (!problem.isEmpty())
            problems << QStringLiteral("page %1: %2").arg(p).arg(problem);
    }
    return problems;
}

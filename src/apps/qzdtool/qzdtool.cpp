#include "qzdtool.h"

#include "linkcommands.h"
#include "rtfcommands.h"
#include "sourcecommands.h"

#include "core/fileerror.h"
#include "core/helpfile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>
#include <map>
#include <memory>

using namespace quillo;

namespace {

const char* const Usage =
    "Usage: qzdtool COMMAND ARGS...\n"
    "Reads and writes Quillo32 help files (.qzd).\n"
    "\n"
    "Commands:\n"
    "  info FILE.qzd          print the file's settings, titles and keywords as JSON\n"
    "  check FILE.qzd         exit 0 when the file and every page's RTF can be read, else print\n"
    "                         why and exit 1\n"
    "  resave IN.qzd OUT.qzd  read IN and write it to OUT with the program's writer\n"
    "  text FILE.qzd [PAGE]   print the plain text of one page or of all (pages separated by a\n"
    "                         form feed)\n"
    "  rtf2text FILE.rtf      print the plain text of an RTF file\n"
    "  rtf2html FILE.rtf OUT.htm\n"
    "                         convert an RTF file to an HTML page (pictures in OUT_files/)\n"
    "  export-html FILE.qzd OUTDIR [--page N]\n"
    "                         write the file's HTML site into OUTDIR (made when missing): the\n"
    "                         start, contents and keyword pages and every page, or page N only\n"
    "  export-web FILE.qzd OUTDIR\n"
    "                         write the file's web help into OUTDIR (made when missing):\n"
    "                         index.html and one page per help page, with contents, keywords\n"
    "                         and full-text search, for a browser or a web host\n"
    "  unpack FILE.qzd DIR [--force] [--markdown]\n"
    "                         write the file as a help source folder: DIR/help.toml (settings,\n"
    "                         titles, keywords) and DIR/pages/NNN.rtf; a non-empty DIR only\n"
    "                         with --force, which replaces the manifest and pages/NNN.* and\n"
    "                         keeps other files; --markdown adds a read-only NNN.md rendering\n"
    "                         of each page for reviews\n"
    "  pack DIR OUT.qzd       build a help file from a help source folder; pages may be .rtf,\n"
    "                         .md, .html/.htm or .txt; every problem is listed and nothing is\n"
    "                         written when there is one\n"
    "  links FILE.qzd         list every link of the pages, one a line: page, text and target\n"
    "                         (\"#N\" for page N) separated by tabs; exit 1 when a page link\n"
    "                         names a page the file does not have\n"
    "  --help                 show this text\n"
    "  --version              show the version\n"
    "\n"
    "Exit codes: 0 done, 1 the file could not be read or written, 2 usage error.\n";

QString readFailure(const QString& path, const ReadResult& r) {
    switch (r.status) {
    case ReadStatus::OpenFailed:
        return QStringLiteral("%1: cannot open (%2)").arg(path, r.reason);
    case ReadStatus::WrongFormat:
        return QStringLiteral("%1: not a Quillo32 help file").arg(path);
    default:
        return QStringLiteral("%1: %2").arg(path, r.reason);
    }
}

// Reads a file or reports why not; true when the document can be used.
bool load(const QString& path, HelpDocument& doc, QTextStream& err) {
    const ReadResult r = readHelpFile(path, doc, Reader::Maker);
    if (!r.ok()) {
        err << readFailure(path, r) << '\n';
        return false;
    }
    doc.filePath = path;
    return true;
}

// The tag the file itself carries; the document holds only what the writer needs.
QString formatTagOf(const QString& path) {
    HelpFileHeader header;
    readHelpFileHeader(path, header, Reader::Maker);
    return header.formatTag;
}

QJsonObject infoJson(const HelpDocument& doc, const QString& formatTag) {
    const DisplaySettings& s = doc.displaySettings;
    QJsonArray pages;
    for (const HelpPage& p : doc.pages) {
        QJsonObject page;
        page[QStringLiteral("title")] = p.title ? QJsonValue(*p.title) : QJsonValue();
        page[QStringLiteral("keywords")] = QJsonArray::fromStringList(p.keywords);
        page[QStringLiteral("rtfLength")] = double(p.rtf.size());
        pages.append(page);
    }
    QJsonObject o;
    o[QStringLiteral("formatTag")] = formatTag;
    o[QStringLiteral("backColor")] = double(s.backColor);
    o[QStringLiteral("windowTop")] = s.windowTop;
    o[QStringLiteral("windowLeft")] = s.windowLeft;
    o[QStringLiteral("windowHeight")] = s.windowHeight;
    o[QStringLiteral("windowWidth")] = s.windowWidth;
    o[QStringLiteral("listWidth")] = s.listWidth;
    o[QStringLiteral("topmost")] = s.topmost;
    o[QStringLiteral("windowState")] = s.windowState;
    o[QStringLiteral("pageCount")] = doc.pageCount();
    o[QStringLiteral("pages")] = pages;
    return o;
}

} // namespace

int runQzdtool(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.isEmpty()) {
        err << Usage;
        return 2;
    }
    const QString command = args.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << Usage;
        return 0;
    }
    if (command == QLatin1String("--version") && args.size() == 1) {
        out << "qzdtool " QUILLO_VERSION "\n";
        return 0;
    }
    auto doc = std::make_unique<HelpDocument>();
    if (command == QLatin1String("info") && args.size() == 2) {
        if (!load(args[1], *doc, err))
            return 1;
        out << QJsonDocument(infoJson(*doc, formatTagOf(args[1]))).toJson(QJsonDocument::Indented);
        return 0;
    }
    if (command == QLatin1String("check") && args.size() == 2) {
        if (!load(args[1], *doc, err))
            return 1;
        const QStringList problems = pageRtfProblems(*doc);
        for (const QString& problem : problems)
            err << args[1] << ": " << problem << '\n';
        return problems.isEmpty() ? 0 : 1;
    }
    if (command == QLatin1String("resave") && args.size() == 3) {
        if (!load(args[1], *doc, err))
            return 1;
        const WriteResult w = saveHelpFile(args[2], *doc);
        if (!w.ok()) {
            if (refusedByFolder(w.file, args[2]))
                err << args[2] << ": cannot write into the folder "
                    << QFileInfo(args[2]).absolutePath() << " (" << w.reason() << ")\n";
            else
                err << args[2] << ": cannot write (" << w.reason() << ")\n";
            return 1;
        }
        return 0;
    }
    const int rtfResult =
        runRtfCommand(args, out, err,
                      [&err](const QString& path, HelpDocument& d) { return load(path, d, err); });
    if (rtfResult >= 0)
        return rtfResult;
    if (const int linkResult = runLinkCommand(
            args, out, err,
            [&err](const QString& path, HelpDocument& d) { return load(path, d, err); });
        linkResult >= 0)
        return linkResult;
    if (const int sourceResult = runSourceCommand(
            args, err, [&err](const QString& path, HelpDocument& d) { return load(path, d, err); },
            formatTagOf);
        sourceResult >= 0)
        return sourceResult;
    err << "qzdtool: unknown command or wrong arguments: " << args.join(QLatin1Char(' ')) << "\n\n"
        << Usage;
    return 2;
}

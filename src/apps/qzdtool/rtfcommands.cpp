#include "rtfcommands.h"

#include "core/atomicfile.h"
#include "core/helpdocument.h"
#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

using namespace quillo;

namespace {

bool readFile(const QString& path, QByteArray& data, QTextStream& err) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        err << path << ": cannot open (" << f.errorString() << ")\n";
        return false;
    }
    data = f.readAll();
    return true;
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
        out << rtf::plainText(doc->page(p).rtf);
    }
    out << '\n';
    return 0;
}

// Writes one file whole or not at all; a failure is reported as one line naming the file.
bool writeFile(const QString& path, QByteArrayView bytes, QTextStream& err) {
    const FileResult error = writeFileAtomically(path, bytes);
    if (error.ok())
        return true;
    err << path << ": cannot write (" << error.message << ")\n";
    return false;
}

// rtf2html FILE.rtf OUT.htm: pictures go into OUT's name + "_files" beside it, before the page
// that links to them.
int rtfToHtmlFile(const QString& in, const QString& outPath, QTextStream& err) {
    QByteArray rtfData;
    if (!readFile(in, rtfData, err))
        return 1;
    const QFileInfo target(outPath);
    const QString folder = target.completeBaseName() + QStringLiteral("_files");
    rtf::HtmlOptions options;
    options.imageLinkPrefix = folder + QLatin1Char('/');
    options.title = QFileInfo(in).completeBaseName();
    const rtf::HtmlPage page = rtf::rtfToHtml(rtfData, options);
    if (!page.pictures.empty()) {
        const QDir pictureDir(target.dir().filePath(folder));
        // A folder that cannot be made shows as the first picture that cannot be written.
        QDir().mkpath(pictureDir.path());
        for (const rtf::HtmlPicture& picture : page.pictures)
            if (!writeFile(pictureDir.filePath(picture.name), picture.bytes, err))
                return 1;
    }
    return writeFile(outPath, page.html.toUtf8(), err) ? 0 : 1;
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
        out << rtf::plainText(data) << '\n';
        return 0;
    }
    if (command == QLatin1String("rtf2html") && args.size() == 3)
        return rtfToHtmlFile(args[1], args[2], err);
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

#include "rtfcommands.h"

#include "core/helpdocument.h"
#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

// rtf2html FILE.rtf OUT.htm: pictures go into OUT's name + "_files" beside it.
int rtfToHtmlFile(const QString& in, const QString& outPath, QTextStream& err) {
    QByteArray rtfData;
    if (!readFile(in, rtfData, err))
        return 1;
    const QFileInfo target(outPath);
    const QString folder = target.completeBaseName() + QStringLiteral("_files");
    rtf::HtmlOptions options;
    options.imageDir = target.dir().filePath(folder);
    options.imageLinkPrefix = folder + QLatin1Char('/');
    options.title = QFileInfo(in).completeBaseName();
    const QString html = rtf::rtfToHtml(rtfData, options);
    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0 || !file.commit()) {
        err << outPath << ": cannot write (" << file.errorString() << ")\n";
        return 1;
    }
    return 0;
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

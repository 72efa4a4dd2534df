#include "helpsource/helpsource.h"

#include "core/atomicfile.h"
#include "core/cp932.h"
#include "core/filelock.h"
#include "core/helpfile.h"
#include "core/systemfile.h"
#include "helpsource/manifest.h"
#include "helpsource/pagesource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <fcntl.h>

namespace quillo::helpsource {
namespace {

const QString PagesFolder = QStringLiteral("pages");

QString manifestLine(int line, const QString& what) {
    return QStringLiteral("%1:%2: %3").arg(QLatin1String(ManifestName)).arg(line).arg(what);
}

// The files of the page pattern in the folder's pages/, by their name relative to the folder.
QStringList pageFilesIn(const QString& folder) {
    QStringList files;
    const QDir pages(QDir(folder).filePath(PagesFolder));
    for (const QString& name : pages.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (isPageFileName(name))
            files << PagesFolder + QLatin1Char('/') + name;
    return files;
}

QString writeFile(const QString& folder, const QString& name, QByteArrayView bytes) {
    const FileResult written =
        writeFileAtomically(QDir(folder).filePath(name), bytes, Durability::Deferred);
    return written.ok() ? QString()
                        : QStringLiteral("%1: cannot write (%2)").arg(name, written.message);
}

// The page's text as UTF-8; a problem when it is not.
std::optional<QString> utf8Text(const QByteArray& bytes, const QString& file,
                                QStringList& problems) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        problems << QStringLiteral("%1: not UTF-8 text").arg(file);
        return std::nullopt;
    }
    return text;
}

// The page's RTF from its file, by the file's extension.
QByteArray pageRtf(const ManifestPage& page, const QString& folder, const PageTargets& targets,
                   QStringList& problems) {
    const QString path = QDir(folder).filePath(page.file);
    const QString suffix = QFileInfo(page.file).suffix().toLower();
    static const QStringList known{QStringLiteral("rtf"), QStringLiteral("md"),
                                   QStringLiteral("html"), QStringLiteral("htm"),
                                   QStringLiteral("txt")};
    if (!known.contains(suffix)) {
        problems << manifestLine(
            page.line,
            QStringLiteral("%1: pages are .rtf, .md, .html, .htm or .txt files").arg(page.file));
        return {};
    }
    QByteArray bytes;
    const FileResult read = readWholeFile(path, bytes);
    if (!read.ok()) {
        problems << manifestLine(
            page.line, QStringLiteral("%1 cannot be read (%2)").arg(page.file, read.message));
        return {};
    }
    if (suffix == QLatin1String("rtf"))
        return bytes;
    const auto text = utf8Text(bytes, page.file, problems);
    if (!text)
        return {};
    QStringList found;
    const QString pageFolder = QFileInfo(path).path();
    QByteArray rtf;
    if (suffix == QLatin1String("md"))
        rtf = markdownToRtf(*text, pageFolder, targets, found);
    else if (suffix == QLatin1String("txt"))
        rtf = plainTextToRtf(*text);
    else
        rtf = htmlToRtf(*text, pageFolder, targets, found);
    for (const QString& problem : found)
        problems << page.file + QStringLiteral(": ") + problem;
    return rtf;
}

} // namespace

bool isPageFileName(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{3}\\.[^/]+$"));
    return pattern.match(fileName).hasMatch();
}

QString pageFileName(int page, const char* extension) {
    return QStringLiteral("%1/%2.%3")
        .arg(PagesFolder)
        .arg(page, 3, 10, QLatin1Char('0'))
        .arg(QLatin1String(extension));
}

QStringList unpackHelpDocument(const HelpDocument& doc, const QString& formatTag,
                               const QString& folder, const UnpackOptions& options) {
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return {QStringLiteral("%1: not a folder").arg(folder)};
    const QDir dir(folder);
    if (info.exists() &&
        !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System) &&
        !options.force)
        return {QStringLiteral("%1: the folder is not empty (--force replaces its manifest and "
                               "pages, keeping other files)")
                    .arg(folder)};
    if (!dir.mkpath(PagesFolder))
        return {QStringLiteral("%1: cannot make the folder %2").arg(folder, PagesFolder)};
    // Page files of an earlier unpack go, also those of pages the document no longer has (the
    // read-only renderings too, which a replacing write would refuse).
    for (const QString& old : pageFilesIn(folder))
        if (!QFile::remove(dir.filePath(old)))
            return {QStringLiteral("%1: cannot remove the old page file").arg(old)};

    Manifest manifest;
    manifest.formatTag = formatTag.isEmpty() ? QString::fromLatin1(FormatTag) : formatTag;
    manifest.display = doc.displaySettings;
    for (int p = 1; p <= doc.pageCount(); ++p) {
        const HelpPage& page = doc.page(p);
        ManifestPage entry;
        entry.file = pageFileName(p, "rtf");
        entry.title = page.title;
        entry.keywords = page.keywords;
        if (const QString error = writeFile(folder, entry.file, page.rtf); !error.isEmpty())
            return {error};
        if (options.markdownViews) {
            entry.view = pageFileName(p, "md");
            const QString view =
                QStringLiteral("<!-- A rendering of %1 for reading; qzdtool pack does not read "
                               "this file. -->\n\n")
                    .arg(entry.file) +
                rtfToMarkdown(page.rtf);
            if (const QString error = writeFile(folder, entry.view, view.toUtf8());
                !error.isEmpty())
                return {error};
            QFile::setPermissions(dir.filePath(entry.view),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        }
        manifest.pages << entry;
    }
    if (const QString error =
            writeFile(folder, QString::fromLatin1(ManifestName), writeManifest(manifest));
        !error.isEmpty())
        return {error};
    syncFileSystemOf(dir.filePath(QString::fromLatin1(ManifestName)));
    return {};
}

PackResult buildHelpFile(const QString& folder) {
    PackResult result;
    QByteArray text;
    const QString manifestPath = QDir(folder).filePath(QString::fromLatin1(ManifestName));
    const FileResult read = readWholeFile(manifestPath, text);
    if (!read.ok()) {
        result.problems << QStringLiteral("%1: cannot open (%2)").arg(manifestPath, read.message);
        return result;
    }
    Manifest manifest;
    if (!readManifest(text, manifest, result.problems))
        return result;

    PageTargets targets;
    targets.pageCount = int(manifest.pages.size());
    for (int p = 1; p <= manifest.pages.size(); ++p)
        if (const auto& title = manifest.pages[p - 1].title; title && !title->isEmpty())
            targets.pageOfTitle.insert(*title, targets.pageOfTitle.value(*title, p));

    QSet<QString> listed;
    auto doc = std::make_unique<HelpDocument>();
    doc->displaySettings = manifest.display;
    for (const ManifestPage& page : manifest.pages) {
        listed << QDir::cleanPath(page.file) << QDir::cleanPath(page.view);
        HelpPage built;
        if (!page.file.isEmpty())
            built.rtf = pageRtf(page, folder, targets, result.problems);
        built.title = page.title;
        built.keywords = page.keywords;
        doc->pages << built;
    }
    // A page file the manifest does not name is most likely a page someone forgot to list.
    for (const QString& file : pageFilesIn(folder))
        if (!listed.contains(file))
            result.problems
                << QStringLiteral("%1: not listed in %2").arg(file, QLatin1String(ManifestName));
    if (!result.ok())
        return result;

    const WriteResult written = serializeHelpDocument(*doc, result.bytes);
    if (!written.ok()) {
        result.bytes.clear();
        result.problems << written.reason();
        return result;
    }
    // The writer names its own version; a file of another version keeps the tag it had.
    result.bytes.replace(0, FormatTagLength, cp932::encode(manifest.formatTag).bytes);
    return result;
}

QStringList packHelpFolder(const QString& folder, const QString& out) {
    const PackResult built = buildHelpFile(folder);
    if (!built.ok())
        return built.problems;
    // A viewer writing its window settings back waits until the file is replaced.
    const LockedFile lock(out, O_RDONLY);
    const FileResult written = writeFileAtomically(out, built.bytes);
    if (!written.ok())
        return {QStringLiteral("%1: cannot write (%2)").arg(out, written.message)};
    return {};
}

} // namespace quillo::helpsource

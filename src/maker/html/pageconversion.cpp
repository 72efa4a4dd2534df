#include "pageconversion.h"

#include "core/atomicfile.h"
#include "core/fileerror.h"
#include "core/systemfile.h"
#include "rtf/htmlwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include <cerrno>

namespace quillo::maker::html {

namespace {

SiteError writeFile(const QString& path, QByteArrayView bytes) {
    const FileResult written = writeFileAtomically(path, bytes, Durability::Deferred);
    if (written.ok())
        return {};
    return {path, written.errorNumber, written.message, false};
}

SiteError readFile(const QString& path, QByteArray& bytes) {
    const FileResult read = readWholeFile(path, bytes);
    if (read.ok())
        return {};
    return {path, read.errorNumber, read.message, true};
}

// Removes the pictures an earlier export of the page left that this one does not write
// again, so the folder holds only what the page shows. Only names of the writer's own
// pattern are touched, and the folder itself only when nothing else is left in it.
void removeStalePictures(QDir folder, const std::vector<rtf::HtmlPicture>& pictures) {
    if (!folder.exists())
        return;
    static const QRegularExpression ownName(QStringLiteral("^image[0-9]+\\.(png|jpg)$"));
    for (const QString& name : folder.entryList(QDir::Files)) {
        const bool kept = std::any_of(pictures.begin(), pictures.end(),
                                      [&](const rtf::HtmlPicture& p) { return p.name == name; });
        if (!kept && ownName.match(name).hasMatch())
            folder.remove(name);
    }
    if (pictures.empty() &&
        folder.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        QDir().rmdir(folder.path());
}

// The page's title for the browser: its contents title, else the file's name.
QString pageTitle(const HelpDocument& doc, const SiteFiles& site, int page) {
    const std::optional<QString>& title = doc.page(page).title;
    if (title && !title->isEmpty())
        return *title;
    return QFileInfo(site.pageFile(page)).completeBaseName();
}

} // namespace

SiteError convertRtfFile(const QString& rtfPath, const QString& htmlPath, const QString& title) {
    QByteArray rtfData;
    if (SiteError error = readFile(rtfPath, rtfData); !error.ok())
        return error;
    const QFileInfo target(htmlPath);
    const QString folder = target.completeBaseName() + QStringLiteral("_files");
    rtf::HtmlOptions options;
    options.imageLinkPrefix = folder + QLatin1Char('/');
    options.title = title;
    rtf::HtmlPage page = rtf::rtfToHtml(rtfData, options);
    rtfData = QByteArray(); // a page of many MB need not be held three times over
    const QDir pictureDir(target.dir().filePath(folder));
    removeStalePictures(pictureDir, page.pictures);
    if (!page.pictures.empty()) {
        // A folder that cannot be made shows as the first picture that cannot be written.
        QDir().mkpath(pictureDir.path());
        for (const rtf::HtmlPicture& picture : page.pictures)
            if (SiteError error = writeFile(pictureDir.filePath(picture.name), picture.bytes);
                !error.ok())
                return error;
    }
    const QByteArray html = page.html.toUtf8();
    page.html = QString();
    return writeFile(htmlPath, html);
}

ConversionRun convertPages(const HelpDocument& doc, const SiteFiles& site, int first, int last) {
    ConversionRun run;
    for (int p = first; p <= last; ++p) {
        run.resultPath = site.path(site.pageFile(p));
        const QString rtfPath = site.path(site.rtfFile(p));
        run.error = writeFile(rtfPath, doc.page(p).rtf + "\r\n");
        if (!run.error.ok())
            return run;
        run.error = convertRtfFile(rtfPath, run.resultPath, pageTitle(doc, site, p));
        if (!run.error.ok())
            return run;
        QFile temporary(rtfPath);
        errno = 0;
        if (!temporary.remove()) {
            run.error = {rtfPath, fileErrorNumberFromErrno(errno ? errno : EACCES, rtfPath),
                         temporary.errorString(), false};
            return run;
        }
        ++run.converted;
    }
    // The pages and pictures were written without a sync each; one sync puts them all on
    // the disk.
    syncFileSystemOf(site.folder);
    return run;
}

} // namespace quillo::maker::html

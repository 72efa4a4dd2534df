#include "pageconversion.h"

#include "sitefolder.h"

#include "core/atomicfile.h"
#include "core/systemfile.h"
#include "rtf/htmlwriter.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace quillo::maker::html {

namespace {

SiteError writeError(const QString& path, const FileResult& result) {
    return {path, result.errorNumber, result.message, false};
}

SiteError readError(const QString& path, const FileResult& result) {
    return {path, result.errorNumber, result.message, true};
}

// Removes the pictures an earlier export of the page left that this one does not write
// again, so the folder holds only what the page shows. Only names of the writer's own
// pattern are touched, and the folder itself only when nothing else is left in it.
void removeStalePictures(const SiteFolder& site, const QString& folderName,
                         const std::vector<rtf::HtmlPicture>& pictures) {
    const SiteFolder folder = site.existingSubfolder(folderName);
    if (!folder.isOpen())
        return;
    static const QRegularExpression ownName(QStringLiteral("^image[0-9]+\\.(png|jpg)$"));
    for (const QString& name : folder.entryNames()) {
        const bool kept = std::any_of(pictures.begin(), pictures.end(),
                                      [&](const rtf::HtmlPicture& p) { return p.name == name; });
        if (!kept && ownName.match(name).hasMatch())
            folder.remove(name);
    }
    if (pictures.empty())
        site.removeEmptySubfolder(folderName);
}

// The page's title for the browser: its contents title, else the file's name.
QString pageTitle(const HelpDocument& doc, const SiteFiles& site, int page) {
    const std::optional<QString>& title = doc.page(page).title;
    if (title && !title->isEmpty())
        return *title;
    return QFileInfo(site.pageFile(page)).completeBaseName();
}

// Converts the RTF to the page `htmlName` inside `folder`; its pictures go into a folder
// beside it named after the page + "_files".
SiteError convertRtf(const SiteFolder& folder, QByteArray rtfData, const QString& htmlName,
                     const QString& title,
                     const std::function<QString(int)>& pageLinkFile = nullptr) {
    const QString picturesName = QFileInfo(htmlName).completeBaseName() + QStringLiteral("_files");
    rtf::HtmlOptions options;
    options.imageLinkPrefix = picturesName + QLatin1Char('/');
    options.title = title;
    options.pageLinkFile = pageLinkFile;
    rtf::HtmlPage page = rtf::rtfToHtml(rtfData, options);
    rtfData = QByteArray(); // a page of many MB need not be held three times over
    if (SiteError error = writePagePictures(folder, picturesName, page.pictures); !error.ok())
        return error;
    const QByteArray html = page.html.toUtf8();
    page.html = QString();
    if (const FileResult written = folder.write(htmlName, html); !written.ok())
        return writeError(folder.filePath(htmlName), written);
    return {};
}

} // namespace

SiteError writePagePictures(const SiteFolder& folder, const QString& picturesName,
                            const std::vector<rtf::HtmlPicture>& pictures) {
    removeStalePictures(folder, picturesName, pictures);
    if (pictures.empty())
        return {};
    SiteFolder subfolder;
    // A folder that cannot be made shows as the first picture that cannot be written.
    const QString firstPicture =
        folder.filePath(picturesName) + QLatin1Char('/') + pictures.front().name;
    if (const FileResult made = folder.makeSubfolder(picturesName, subfolder); !made.ok())
        return writeError(firstPicture, made);
    for (const rtf::HtmlPicture& picture : pictures)
        if (const FileResult written = subfolder.write(picture.name, picture.bytes); !written.ok())
            return writeError(subfolder.filePath(picture.name), written);
    return {};
}

SiteError convertRtfFile(const QString& rtfPath, const QString& htmlPath, const QString& title) {
    QByteArray rtfData;
    if (const FileResult read = readWholeFile(rtfPath, rtfData); !read.ok())
        return readError(rtfPath, read);
    const QFileInfo target(htmlPath);
    SiteFolder folder;
    if (const FileResult opened = SiteFolder::open(target.absolutePath(), folder); !opened.ok())
        return writeError(htmlPath, opened);
    const SiteError error = convertRtf(folder, std::move(rtfData), target.fileName(), title);
    if (error.ok())
        syncFileSystemOf(folder.path());
    return error;
}

ConversionRun convertPages(const HelpDocument& doc, const SiteFiles& site, int first, int last) {
    ConversionRun run;
    SiteFolder folder;
    if (const FileResult opened = SiteFolder::open(site.folder, folder); !opened.ok()) {
        run.resultPath = site.path(site.pageFile(first));
        run.error = writeError(site.folder, opened);
        return run;
    }
    for (int p = first; p <= last; ++p) {
        run.resultPath = site.path(site.pageFile(p));
        // The page goes through a file of its own beside its result, as a converter reads it.
        const QString rtfName = site.rtfFile(p);
        if (const FileResult written = folder.write(rtfName, doc.page(p).rtf + "\r\n");
            !written.ok()) {
            run.error = writeError(site.path(rtfName), written);
            return run;
        }
        QByteArray rtfData;
        if (const FileResult read = folder.read(rtfName, rtfData); !read.ok()) {
            run.error = readError(site.path(rtfName), read);
            return run;
        }
        run.error = convertRtf(folder, std::move(rtfData), site.pageFile(p),
                               pageTitle(doc, site, p), [&doc, &site](int page) {
                                   return doc.hasPage(page) ? site.pageFile(page) : QString();
                               });
        if (!run.error.ok())
            return run;
        if (const FileResult removed = folder.remove(rtfName); !removed.ok()) {
            run.error = writeError(site.path(rtfName), removed);
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

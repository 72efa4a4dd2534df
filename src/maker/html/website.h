#pragma once

#include "htmlsite.h"

#include <QByteArray>
#include <QString>

// The web help of a help document: one HTML5 file per page (index.html is page 1), each a
// whole page with a side panel of contents, keywords and full-text search, plus the site's
// stylesheet, script and search data. The files load nothing from elsewhere and fetch no local
// file, so the site works opened from the disk as well as from a web host.
namespace quillo::maker::html {

// The folder of the web help of a help file title inside `programFolder`: base name + "_web",
// beside the frameset site's base name + "_html".
QString webSiteFolderFor(const QString& programFolder, const QString& fileTitle);

// The file of a page: "index.html" for page 1, "page{n}.html" for the others.
QString webPageFile(int page);

// The body of a converted page made fit for the site: links to "#N" go to page N's file,
// http, https, mailto and ftp links stay, every other link keeps its text only. `converted` is
// a whole page as the RTF conversion writes it; what lies between <body> and </body> is kept.
QString webPageBody(const QString& converted, int pageCount);

// The search data script: the pages' file, contents line and plain text (the text the
// viewer's search looks in), as one JavaScript assignment the pages load with a script tag.
QByteArray searchDataScript(const HelpDocument& doc);

// The keyword script: every keyword with the file of its page, [keyword, file], in the order
// of the viewer's keyword list. One file for all pages: a document may have 6400 keywords.
QByteArray keywordScript(const HelpDocument& doc);

// The site's own stylesheet and script as shipped in the program ("site.css", "site.js").
QByteArray webSiteAsset(const QString& name);

// What a page of the site shows around its body: the site's title, the page colour (six hex
// digits RRGGBB, none for a system colour) and the contents, made once per site.
struct WebSiteFrame {
    QString siteTitle;
    std::optional<QString> colour;
    int pageCount = 0;
    QStringList contentsLines; // "p 1  Title" per page, escaped
};

WebSiteFrame webSiteFrame(const HelpDocument& doc, const QString& siteTitle, quint32 pageColour);

// One whole page of the site: head, panel and `body` (webPageBody's result).
QString webPageText(const WebSiteFrame& frame, int page, const QString& pageTitle,
                    const QString& body);

// Writes the web help into `folder` (made when missing): every page with its pictures in
// "{page file name}_files/", the stylesheet, the script, the keywords and the search data. Each
// file is written whole or not at all; the first failure stops the run and is returned.
SiteError writeWebSite(const HelpDocument& doc, const QString& folder, const QString& siteTitle,
                       quint32 pageColour);

} // namespace quillo::maker::html

#include "website.h"

#include "pageconversion.h"
#include "sitefolder.h"

#include "core/atomicfile.h"
#include "core/keywords.h"
#include "core/text.h"
#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace quillo::maker::html {

namespace {

const QString StyleFile = QStringLiteral("site.css");
const QString ScriptFile = QStringLiteral("site.js");
const QString SearchDataFile = QStringLiteral("search-data.js");
const QString KeywordFile = QStringLiteral("keywords.js");

QString unescaped(QString text) {
    return text.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// Where a page's link leads in the site: another page's file for "#N", a web or mail address
// as it is; an empty result for anything else, whose text then stands without a link.
QString linkTarget(const QString& href, int pageCount) {
    static const QRegularExpression pageLink(QStringLiteral("^#([0-9]{1,6})$"));
    if (const QRegularExpressionMatch m = pageLink.match(href); m.hasMatch()) {
        const int page = m.captured(1).toInt();
        return page >= 1 && page <= pageCount ? webPageFile(page) : QString();
    }
    // An address with a scheme the published pages allow; a relative link would name a file
    // that is not part of the site.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(href).hasMatch() && rtf::isPublishableLink(href) ? href : QString();
}

// The page's title in the browser and in the search results: its contents title, else "p N".
QString pageTitleOf(const HelpDocument& doc, int page) {
    const std::optional<QString>& title = doc.page(page).title;
    return title && !title->isEmpty() ? *title : QStringLiteral("p %1").arg(page);
}

QString pictureFolderOf(QString pageFile) {
    pageFile.chop(5); // ".html"
    return pageFile + QStringLiteral("_files");
}

SiteError writeSiteFile(const SiteFolder& folder, const QString& name, QByteArrayView bytes) {
    const FileResult written = folder.write(name, bytes);
    if (written.ok())
        return {};
    return {folder.filePath(name), written.errorNumber, written.message, false};
}

// Removes the pages an earlier export of a longer document left beyond the last page, with
// their pictures; only names of the site's own pattern are touched.
void removeStalePages(const SiteFolder& folder, int pageCount) {
    static const QRegularExpression ownPage(QStringLiteral("^page([0-9]+)\\.html$"));
    for (const QString& name : folder.entryNames()) {
        const QRegularExpressionMatch page = ownPage.match(name);
        const int number = page.hasMatch() ? page.captured(1).toInt() : 0;
        if (page.hasMatch() && (number < 2 || number > pageCount || webPageFile(number) != name)) {
            folder.remove(name);
            writePagePictures(folder, pictureFolderOf(name), {});
        }
    }
}

} // namespace

QString webSiteFolderFor(const QString& programFolder, const QString& fileTitle) {
    return programFolder + QLatin1Char('/') + siteBaseName(fileTitle) + QStringLiteral("_web");
}

QString webPageFile(int page) {
    return page == 1 ? QStringLiteral("index.html") : QStringLiteral("page%1.html").arg(page);
}

QString webPageBody(const QString& converted, int pageCount) {
    static const QLatin1String bodyStart("<body>\n");
    const qsizetype start = converted.indexOf(bodyStart);
    const qsizetype end = converted.lastIndexOf(QLatin1String("</body>"));
    if (start < 0 || end < start)
        return {};
    const QString body = converted.mid(start + bodyStart.size(), end - start - bodyStart.size());
    // The conversion escapes every "<" of the page's text, so "<a href=" is only ever its own
    // link markup, and its links do not nest: each ends at the next "</a>".
    static const QRegularExpression linkStart(QStringLiteral("<a href=\"([^\"]*)\">"));
    static const QLatin1String linkEnd("</a>");
    QString out;
    out.reserve(body.size());
    qsizetype at = 0;
    QRegularExpressionMatchIterator links = linkStart.globalMatch(body);
    while (links.hasNext()) {
        const QRegularExpressionMatch link = links.next();
        if (link.capturedStart() < at)
            continue;
        out += body.mid(at, link.capturedStart() - at);
        qsizetype close = body.indexOf(linkEnd, link.capturedEnd());
        if (close < 0)
            close = body.size();
        const QString target = linkTarget(unescaped(link.captured(1)), pageCount);
        if (!target.isEmpty())
            out += QStringLiteral("<a href=\"") + rtf::htmlEscaped(target) + QStringLiteral("\">");
        out += body.mid(link.capturedEnd(), close - link.capturedEnd());
        if (!target.isEmpty() && close < body.size())
            out += linkEnd;
        at = qMin(close + linkEnd.size(), body.size());
    }
    out += body.mid(at);
    return out;
}

QByteArray searchDataScript(const HelpDocument& doc) {
    QJsonArray pages;
    for (int p = 1; p <= doc.pageCount(); ++p) {
        pages.append(QJsonObject{
            {QStringLiteral("file"), webPageFile(p)},
            {QStringLiteral("line"), listEntry(p, doc.page(p).title.value_or(QString()))},
            {QStringLiteral("text"), rtf::plainText(doc.page(p).rtf, rtf::LongTables::Whole)},
        });
    }
    return "window.quilloSearchData = " + QJsonDocument(pages).toJson(QJsonDocument::Compact) +
           ";\n";
}

QByteArray keywordScript(const HelpDocument& doc) {
    QJsonArray keywords;
    // The viewer's order: a keyword on several pages once per page.
    for (const KeywordEntry& entry : sortedKeywordEntries(doc)) {
        QString keyword = entry.keyword;
        while (!keyword.isEmpty() && keyword.back().isSpace())
            keyword.chop(1);
        keywords.append(QJsonArray{keyword, webPageFile(entry.page)});
    }
    return "window.quilloKeywords = " + QJsonDocument(keywords).toJson(QJsonDocument::Compact) +
           ";\n";
}

QByteArray webSiteAsset(const QString& name) {
    QFile file(QStringLiteral(":/quillo/web/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

WebSiteFrame webSiteFrame(const HelpDocument& doc, const QString& siteTitle, quint32 pageColour) {
    WebSiteFrame frame;
    frame.siteTitle = siteTitle;
    frame.colour = pageColourText(pageColour);
    frame.pageCount = doc.pageCount();
    for (int p = 1; p <= doc.pageCount(); ++p)
        frame.contentsLines << rtf::htmlEscaped(
            listEntry(p, doc.page(p).title.value_or(QString())));
    return frame;
}

QString webPageText(const WebSiteFrame& frame, int page, const QString& pageTitle,
                    const QString& body) {
    const QString title = rtf::htmlEscaped(pageTitle);
    const QString site = rtf::htmlEscaped(frame.siteTitle);
    QString out;
    out.reserve(body.size() + 4096 + frame.pageCount * 64);
    out += QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
               "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
               "script-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self'\">\n"
               "<meta name=\"color-scheme\" content=\"light dark\">\n"
               "<title>%1 - %2</title>\n"
               "<link rel=\"stylesheet\" href=\"%3\">\n"
               "<script src=\"%4\" defer></script>\n"
               "<script src=\"%5\" defer></script>\n</head>\n<body>\n"
               "<a class=\"skip\" href=\"#page\">本文へ移動</a>\n"
               "<header class=\"bar\">\n"
               "<button type=\"button\" id=\"panel-button\" aria-controls=\"panel\" "
               "aria-expanded=\"false\">目次・検索</button>\n"
               "<a class=\"site-title\" href=\"index.html\">%2</a>\n</header>\n"
               "<div class=\"layout\">\n"
               "<nav id=\"panel\" aria-label=\"目次・ｷｰﾜｰﾄﾞ・検索\">\n"
               "<div class=\"tabs\" role=\"tablist\" aria-label=\"一覧\">\n"
               "<button type=\"button\" role=\"tab\" id=\"tab-contents\" "
               "aria-controls=\"contents\" aria-selected=\"true\">目次</button>\n"
               "<button type=\"button\" role=\"tab\" id=\"tab-keywords\" "
               "aria-controls=\"keywords\" aria-selected=\"false\">ｷｰﾜｰﾄﾞ</button>\n"
               "<button type=\"button\" role=\"tab\" id=\"tab-search\" "
               "aria-controls=\"search\" aria-selected=\"false\">検索</button>\n"
               "</div>\n"
               "<section id=\"contents\" role=\"tabpanel\" aria-labelledby=\"tab-contents\">\n"
               "<ol class=\"list\">\n")
               .arg(title, site, StyleFile, KeywordFile, ScriptFile);
    for (int p = 1; p <= frame.pageCount; ++p) {
        out += QStringLiteral("<li><a href=\"") + webPageFile(p) + u'"';
        if (p == page)
            out += QStringLiteral(" aria-current=\"page\"");
        out += u'>' + frame.contentsLines[p - 1] + QStringLiteral("</a></li>\n");
    }
    out += QStringLiteral(
        "</ol>\n</section>\n"
        "<section id=\"keywords\" role=\"tabpanel\" aria-labelledby=\"tab-keywords\">\n"
        "<label for=\"keyword-filter\">ｷｰﾜｰﾄﾞの絞り込み</label>\n"
        "<input type=\"search\" id=\"keyword-filter\" autocomplete=\"off\">\n"
        "<ul class=\"list\" id=\"keyword-list\"></ul>\n</section>\n"
        "<section id=\"search\" role=\"tabpanel\" aria-labelledby=\"tab-search\">\n"
        "<form role=\"search\" id=\"search-form\" aria-label=\"全文検索\">\n"
        "<label for=\"search-text\">検索する文字列</label>\n"
        "<input type=\"search\" id=\"search-text\" name=\"q\" autocomplete=\"off\">\n"
        "<button type=\"submit\">検索</button>\n</form>\n"
        "<p id=\"search-status\" role=\"status\"></p>\n"
        "<ol class=\"results\" id=\"search-results\"></ol>\n"
        "</section>\n</nav>\n");
    out += QStringLiteral("<main id=\"page\" class=\"sheet\" tabindex=\"-1\" aria-label=\"") +
           title + u'"';
    if (frame.colour)
        out += QStringLiteral(" style=\"background-color:#") + *frame.colour + u'"';
    out += QStringLiteral(">\n");
    out += body;
    out += QStringLiteral("</main>\n</div>\n</body>\n</html>\n");
    return out;
}

SiteError writeWebSite(const HelpDocument& doc, const QString& folder, const QString& siteTitle,
                       quint32 pageColour) {
    SiteFolder dir;
    FileResult opened;
    if (QDir().mkpath(folder))
        opened = SiteFolder::open(folder, dir);
    else
        opened.message = QStringLiteral("cannot create the folder");
    if (!dir.isOpen())
        return {folder, opened.errorNumber, opened.message, false};
    const WebSiteFrame frame = webSiteFrame(doc, siteTitle, pageColour);
    // A document without pages still gets its start page.
    for (int p = 1; p <= std::max(1, doc.pageCount()); ++p) {
        const QString pictures = pictureFolderOf(webPageFile(p));
        rtf::HtmlOptions options;
        options.imageLinkPrefix = pictures + QLatin1Char('/');
        const rtf::HtmlPage converted =
            rtf::rtfToHtml(doc.hasPage(p) ? doc.page(p).rtf : QByteArray(), options);
        if (SiteError error = writePagePictures(dir, pictures, converted.pictures); !error.ok())
            return error;
        const QString page = webPageText(frame, p, doc.hasPage(p) ? pageTitleOf(doc, p) : siteTitle,
                                         webPageBody(converted.html, doc.pageCount()));
        if (SiteError error = writeSiteFile(dir, webPageFile(p), page.toUtf8()); !error.ok())
            return error;
    }
    for (const QString& asset : {StyleFile, ScriptFile})
        if (SiteError error = writeSiteFile(dir, asset, webSiteAsset(asset)); !error.ok())
            return error;
    if (SiteError error = writeSiteFile(dir, KeywordFile, keywordScript(doc)); !error.ok())
        return error;
    if (SiteError error = writeSiteFile(dir, SearchDataFile, searchDataScript(doc)); !error.ok())
        return error;
    removeStalePages(dir, doc.pageCount());
    syncFileSystemOf(folder);
    return {};
}

} // namespace quillo::maker::html

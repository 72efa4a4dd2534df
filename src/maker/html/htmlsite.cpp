#include "htmlsite.h"

#include "sitefolder.h"

#include "core/atomicfile.h"
#include "core/cp932.h"
#include "core/keywords.h"
#include "core/text.h"
#include "rtf/htmlwriter.h"

namespace quillo::maker::html {

namespace {

// Browsers outside a Japanese locale would guess the encoding of the navigation pages; this
// line names it.
const char* const CharsetLine =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">";

// Collects the lines of one page, each ended by CR LF.
class PageText {
public:
    PageText& operator<<(const QString& line) {
        m_text += line;
        m_text += QLatin1String("\r\n");
        return *this;
    }
    PageText& operator<<(const char* line) { return *this << QString::fromUtf8(line); }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

void writeHead(PageText& out, const QString& title) {
    out << "<html>"
        << "<head>" << CharsetLine;
    out << QStringLiteral("<title>%1</title>").arg(rtf::htmlEscaped(title)) << "</head>";
}

bool hasCp932Code(char32_t c) {
    return cp932::encodeChar(c).has_value();
}

// A file of the site as the link to it: URL-escaped, and with characters that the pages'
// encoding cannot hold as %XX, so that no link loses a character when the page is encoded.
QString siteUrl(const QString& fileName) {
    return rtf::htmlEscaped(rtf::urlPathEncoded(fileName, hasCp932Code));
}

void writeColour(PageText& out, const std::optional<QString>& colour) {
    if (colour)
        out << QStringLiteral("<body bgcolor=\"#%1\">").arg(*colour);
}

// One link line of the contents or keyword page: link start, text, link end. `baseUrl` is the
// base name as siteUrl gives it.
QString pageLink(const QString& baseUrl, int page, const QString& text) {
    QString line = QStringLiteral("<a href=\"");
    line += baseUrl;
    line += QLatin1Char('_') + QString::number(page);
    line += QStringLiteral(".htm\" Target = \"qzd_right\">");
    line += rtf::htmlEscaped(text);
    line += QStringLiteral("</a><BR>");
    return line;
}

// The keyword as the keyword page lists it: without its trailing blanks.
QString listedKeyword(const QString& keyword) {
    qsizetype end = keyword.size();
    while (end > 0 && keyword[end - 1] == QLatin1Char(' '))
        --end;
    return keyword.left(end);
}

} // namespace

QString SiteError::reason() const {
    return message.isEmpty() ? errorNumberText(number) : message;
}

QString SiteError::line() const {
    return path +
           (reading ? QStringLiteral(": cannot open (") : QStringLiteral(": cannot write (")) +
           reason() + QLatin1Char(')');
}

QString SiteFiles::startPage() const {
    return base + QStringLiteral("_index.htm");
}
QString SiteFiles::contentsPage() const {
    return base + QStringLiteral("_conts.htm");
}
QString SiteFiles::keywordPage() const {
    return base + QStringLiteral("_keys.htm");
}
QString SiteFiles::pageFile(int page) const {
    return base + QLatin1Char('_') + QString::number(page) + QStringLiteral(".htm");
}
QString SiteFiles::rtfFile(int page) const {
    return base + QLatin1Char('_') + QString::number(page) + QStringLiteral(".rtf");
}
QString SiteFiles::path(const QString& fileName) const {
    return folder + QLatin1Char('/') + fileName;
}

QString siteBaseName(const QString& fileTitle) {
    const qsizetype dot = fileTitle.indexOf(QLatin1Char('.'));
    return dot < 0 ? fileTitle : fileTitle.left(dot);
}

SiteFiles siteFilesFor(const QString& programFolder, const QString& fileTitle) {
    SiteFiles site;
    site.base = siteBaseName(fileTitle);
    site.folder = programFolder + QLatin1Char('/') + site.base + QStringLiteral("_html");
    return site;
}

std::optional<QString> pageColourText(quint32 windowsColour) {
    if (windowsColour & 0x80000000u)
        return std::nullopt;
    const quint32 red = windowsColour & 0xFF;
    const quint32 green = (windowsColour >> 8) & 0xFF;
    const quint32 blue = (windowsColour >> 16) & 0xFF;
    return QStringLiteral("%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString startPageText(const QString& base, int listWidth, const std::optional<QString>& colour) {
    PageText out;
    writeHead(out, base + QStringLiteral("_index"));
    out << QStringLiteral("<frameset cols=\"%1,*\">").arg(numberText(listWidth / 10));
    const QString baseUrl = siteUrl(base);
    out << QStringLiteral("<frame src=\"%1_conts.htm\" Name = \"qzd_left\" Scrolling = \"auto\" "
                          "MarginWidth = \"10\">")
               .arg(baseUrl);
    // The right frame always starts on page 1.
    out << QStringLiteral("<frame src=\"%1_1.htm\" Name = \"qzd_right\" Scrolling = \"auto\">")
               .arg(baseUrl);
    out << "<noframes>";
    writeColour(out, colour);
    out << "</body>"
        << "</noframes>"
        << "</frameset>"
        << "</html>";
    return out.text();
}

QString contentsPageText(const HelpDocument& doc, const QString& base,
                         const std::optional<QString>& colour) {
    PageText out;
    writeHead(out, base + QStringLiteral("_contents"));
    const QString baseUrl = siteUrl(base);
    out << "<BODY LINK=\"#0000ff\" VLINK=\"#008000\">"
        << "<CENTER>";
    out << QStringLiteral("<FORM action=\"%1_keys.htm\" target=\"qzd_left\">").arg(baseUrl);
    out << "<input type=\"submit\"value=\"キーワード表示へ\">"
        << "</FORM>";
    out << "<B>\u3000目次\u3000</B><P>"
        << "</CENTER>";
    writeColour(out, colour);
    for (int p = 1; p <= doc.pageCount(); ++p)
        out << pageLink(baseUrl, p, listEntry(p, doc.page(p).title.value_or(QString())));
    out << "</body>"
        << "</html>";
    return out.text();
}

QString keywordPageText(const HelpDocument& doc, const QString& base,
                        const std::optional<QString>& colour) {
    PageText out;
    writeHead(out, base + QStringLiteral("_keys"));
    const QString baseUrl = siteUrl(base);
    out << "<BODY LINK=\"#0000ff\" VLINK=\"#008000\">";
    // The anchor's name is the base name as the link to it writes it, so that the browser
    // finds it by the address as written whatever characters the name holds.
    out << QStringLiteral("<A NAME=\"%1key_top\"></A> ").arg(baseUrl) << "<CENTER>";
    out << QStringLiteral("<FORM action=\"%1_conts.htm\" target=\"qzd_left\">").arg(baseUrl);
    out << "<input type=\"submit\"value=\"\u3000目次表示へ\u3000\">"
        << "</FORM>";
    out << "<B>キーワード</B><P>"
        << "</CENTER>";
    writeColour(out, colour);
    // The order of the viewer's keyword list: a keyword on several pages once per page.
    for (const KeywordEntry& entry : sortedKeywordEntries(doc))
        out << pageLink(baseUrl, entry.page, listedKeyword(entry.keyword));
    out << "<P>"
        << "<CENTER>";
    out << QStringLiteral("<A HREF=\"#%1key_top\"><B>先頭へ戻る</B></A> ").arg(baseUrl);
    out << "</body>"
        << "</html>";
    return out.text();
}

QByteArray encodePage(const QString& text, QString* substituted) {
    cp932::Encoded encoded = cp932::encode(text);
    if (encoded.ok())
        return std::move(encoded.bytes);
    // Rare: the characters without a code are found one by one and written as "?".
    QString sound = text.left(encoded.badIndex);
    for (qsizetype i = encoded.badIndex; i < text.size(); ++i) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QStringView character = QStringView(text).mid(i, length);
        if (cp932::canEncode(character)) {
            sound += character;
        } else {
            sound += QLatin1Char('?');
            if (substituted && !substituted->contains(character))
                *substituted += character;
        }
        i += length - 1;
    }
    return cp932::encode(sound).bytes;
}

SiteError writeNavigationPages(const HelpDocument& doc, const SiteFiles& site, quint32 pageColour,
                               QString* substituted) {
    SiteFolder folder;
    if (const FileResult opened = SiteFolder::open(site.folder, folder); !opened.ok())
        return {site.path(site.startPage()), opened.errorNumber, opened.message, false};
    const std::optional<QString> colour = pageColourText(pageColour);
    const std::pair<QString, QString> pages[] = {
        {site.startPage(), startPageText(site.base, doc.displaySettings.listWidth, colour)},
        {site.contentsPage(), contentsPageText(doc, site.base, colour)},
        {site.keywordPage(), keywordPageText(doc, site.base, colour)},
    };
    for (const auto& [name, text] : pages) {
        const FileResult written = folder.write(name, encodePage(text, substituted));
        if (!written.ok())
            return {site.path(name), written.errorNumber, written.message, false};
    }
    syncFileSystemOf(site.folder);
    return {};
}

} // namespace quillo::maker::html

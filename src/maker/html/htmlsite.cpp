#include "htmlsite.h"

#include "core/atomicfile.h"
#include "core/cp932.h"
#include "core/keywords.h"
#include "core/text.h"

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
    out << QStringLiteral("<title>%1</title>").arg(title) << "</head>";
}

void writeColour(PageText& out, const std::optional<QString>& colour) {
    if (colour)
        out << QStringLiteral("<body bgcolor=\"#%1\">").arg(*colour);
}

// One link line of the contents or keyword page: link start, text, link end.
QString pageLink(const QString& base, int page, const QString& text) {
    return QStringLiteral("<a href=\"%1_%2.htm\" Target = \"qzd_right\">%3</a><BR>")
        .arg(base)
        .arg(page)
        .arg(text);
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
    out << QStringLiteral("<frame src=\"%1_conts.htm\" Name = \"qzd_left\" Scrolling = \"auto\" "
                          "MarginWidth = \"10\">")
               .arg(base);
    // The right frame always starts on page 1.
    out << QStringLiteral("<frame src=\"%1_1.htm\" Name = \"qzd_right\" Scrolling = \"auto\">")
               .arg(base);
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
    out << "<BODY LINK=\"#0000ff\" VLINK=\"#008000\">"
        << "<CENTER>";
    out << QStringLiteral("<FORM action=\"%1_keys.htm\" target=\"qzd_left\">").arg(base);
    out << "<input type=\"submit\"value=\"キーワード表示へ\">"
        << "</FORM>";
    out << "<B>\u3000目次\u3000</B><P>"
        << "</CENTER>";
    writeColour(out, colour);
    for (int p = 1; p <= doc.pageCount(); ++p)
        out << pageLink(base, p, listEntry(p, doc.page(p).title.value_or(QString())));
    out << "</body>"
        << "</html>";
    return out.text();
}

QString keywordPageText(const HelpDocument& doc, const QString& base,
                        const std::optional<QString>& colour) {
    PageText out;
    writeHead(out, base + QStringLiteral("_keys"));
    out << "<BODY LINK=\"#0000ff\" VLINK=\"#008000\">";
    out << QStringLiteral("<A NAME=\"%1key_top\"></A> ").arg(base) << "<CENTER>";
    out << QStringLiteral("<FORM action=\"%1_conts.htm\" target=\"qzd_left\">").arg(base);
    out << "<input type=\"submit\"value=\"\u3000目次表示へ\u3000\">"
        << "</FORM>";
    out << "<B>キーワード</B><P>"
        << "</CENTER>";
    writeColour(out, colour);
    // The order of the viewer's keyword list: a keyword on several pages once per page.
    for (const KeywordEntry& entry : sortedKeywordEntries(doc))
        out << pageLink(base, entry.page, entry.keyword);
    out << "<P>"
        << "<CENTER>";
    out << QStringLiteral("<A HREF=\"#%1key_top\"><B>先頭へ戻る</B></A> ").arg(base);
    out << "</body>"
        << "</html>";
    return out.text();
}

SiteError encodePage(const QString& text, const QString& path, QByteArray& bytes) {
    cp932::Encoded encoded = cp932::encode(text);
    if (!encoded.ok()) {
        SiteError error;
        error.path = path;
        error.message =
            QStringLiteral("\"%1\" has no Shift_JIS code")
                .arg(text.mid(encoded.badIndex, text[encoded.badIndex].isHighSurrogate() ? 2 : 1));
        return error;
    }
    bytes = std::move(encoded.bytes);
    return {};
}

SiteError writeNavigationPages(const HelpDocument& doc, const SiteFiles& site, quint32 pageColour) {
    const std::optional<QString> colour = pageColourText(pageColour);
    const std::pair<QString, QString> pages[] = {
        {site.startPage(), startPageText(site.base, doc.displaySettings.listWidth, colour)},
        {site.contentsPage(), contentsPageText(doc, site.base, colour)},
        {site.keywordPage(), keywordPageText(doc, site.base, colour)},
    };
    for (const auto& [name, text] : pages) {
        const QString path = site.path(name);
        QByteArray bytes;
        if (SiteError error = encodePage(text, path, bytes); !error.ok())
            return error;
        const FileResult written = writeFileAtomically(path, bytes, Durability::Deferred);
        if (!written.ok())
            return {path, written.errorNumber, written.message, false};
    }
    syncFileSystemOf(site.folder);
    return {};
}

} // namespace quillo::maker::html

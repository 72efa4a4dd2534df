#include "rtf/htmlbuilder.h"

#include "rtf/pagelinks.h"
#include "rtf/picture.h"
#include "rtf/units.h"

#include <algorithm>

namespace quillo::rtf {
namespace {

// The character reference HTML needs for a character that has a meaning in markup, or none.
const char16_t* markupReference(QChar c) {
    switch (c.unicode()) {
    case u'&':
        return u"&amp;";
    case u'<':
        return u"&lt;";
    case u'>':
        return u"&gt;";
    case u'"':
        return u"&quot;";
    default:
        return nullptr;
    }
}

// Page text: markup characters as references, a line break inside a paragraph as <br>.
void appendEscaped(QString& out, QStringView text) {
    for (QChar c : text) {
        if (const char16_t* reference = markupReference(c))
            out += reference;
        else if (c == QChar::LineSeparator)
            out += u"<br>";
        else if (c == QChar::Nbsp)
            out += u"&nbsp;";
        else
            out += c;
    }
}

// Characters a relative URL may hold as they are: letters and digits, "-._~" and the
// sub-delimiters that mean nothing in a path ("&" is escaped too, as it would start a character
// reference in the attribute).
bool isUrlSafe(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
        return true;
    return QStringView(u"-._~!$'()*+,;=@/").contains(QChar(c));
}

void appendPercentByte(QString& out, uchar byte) {
    static const char16_t hex[] = u"0123456789ABCDEF";
    out += u'%';
    out += QChar(hex[byte >> 4]);
    out += QChar(hex[byte & 15]);
}

void appendPercentUtf8(QString& out, QStringView text) {
    for (const char byte : text.toUtf8())
        appendPercentByte(out, uchar(byte));
}

QString colorText(QRgb rgb) {
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QChar(u'0'));
}

QString px(int twips) {
    return QString::number(twipsToPixels(twips), 'g', 6) + QStringLiteral("px");
}

// The generic CSS family to fall back on where the page's face is missing (Windows faces such
// as ＭＳ ゴシック are absent from most other systems), or none when the name does not tell.
const char16_t* genericFamily(const QString& family) {
    auto has = [&](const char16_t* part) { return family.contains(part, Qt::CaseInsensitive); };
    for (const char16_t* part : {u"Courier", u"Mono", u"Consol"})
        if (has(part))
            return u"monospace";
    for (const char16_t* part : {u"Gothic", u"ゴシック", u"Sans", u"Arial", u"Meiryo", u"メイリオ",
                                 u"Helvetica", u"Verdana", u"Tahoma", u"Segoe"})
        if (has(part))
            return u"sans-serif";
    for (const char16_t* part : {u"Mincho", u"明朝", u"Serif", u"Times", u"Century", u"Roman"})
        if (has(part))
            return u"serif";
    return nullptr;
}

constexpr int kNestedListStep = 360; // twips

bool ordered(ListKind kind) {
    return kind != ListKind::Bullet && kind != ListKind::None;
}

const char16_t* listType(ListKind kind) {
    switch (kind) {
    case ListKind::LowerAlpha:
        return u"a";
    case ListKind::UpperAlpha:
        return u"A";
    case ListKind::LowerRoman:
        return u"i";
    case ListKind::UpperRoman:
        return u"I";
    default:
        return u"1";
    }
}

} // namespace

QString htmlEscaped(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (const char16_t* reference = markupReference(c))
            out += reference;
        else
            out += c;
    }
    return out;
}

QString urlPathEncoded(QStringView path, bool (*keepRaw)(char32_t)) {
    QString out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (c.unicode() < 0x80) {
            if (isUrlSafe(c.unicode()))
                out += c;
            else
                appendPercentByte(out, uchar(c.unicode()));
        } else if (c.isHighSurrogate() && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            const QStringView pair = path.mid(i, 2);
            if (!keepRaw || keepRaw(QChar::surrogateToUcs4(pair[0], pair[1])))
                out += pair;
            else
                appendPercentUtf8(out, pair);
            ++i;
        } else if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF) {
            appendPercentByte(out, uchar(c.unicode() - 0xDC00)); // a byte of a non-UTF-8 name
        } else if (c.isSurrogate()) {
            appendPercentUtf8(out, QStringView(u"\uFFFD")); // half a pair names no character
        } else if (!keepRaw || keepRaw(c.unicode())) {
            out += c;
        } else {
            appendPercentUtf8(out, path.mid(i, 1));
        }
    }
    return out;
}

bool isPublishableLink(QStringView href) {
    // A browser drops leading and trailing controls and blanks and every tab and line break
    // before it looks for the scheme: " java\tscript:" is a javascript: address.
    QString address;
    for (QChar c : href)
        if (c != u'\t' && c != u'\n' && c != u'\r')
            address += c;
    qsizetype start = 0;
    while (start < address.size() && address[start].unicode() <= 0x20)
        ++start;
    // The scheme: an ASCII letter, then letters, digits, "+", "-" and ".", ended by ":".
    auto isLetter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    qsizetype end = start;
    while (end < address.size() &&
           (isLetter(address[end].unicode()) ||
            (end > start && ((address[end] >= u'0' && address[end] <= u'9') ||
                             QStringView(u"+-.").contains(address[end])))))
        ++end;
    if (end == start || end == address.size() || address[end] != u':')
        return true; // no scheme: a relative link or an in-page anchor
    const QStringView scheme = QStringView(address).mid(start, end - start);
    for (const char16_t* allowed : {u"http", u"https", u"mailto", u"ftp"})
        if (scheme.compare(QStringView(allowed), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

HtmlBuilder::HtmlBuilder(const HtmlOptions& options) : options_(options) {
    out_ += u"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    appendEscaped(out_, options_.title);
    out_ += u"</title>\n<style>\np, li { margin: 0; white-space: pre-wrap; }\nul, ol { margin: 0; "
            u"white-space: normal; }\n"
            u"table.page { border-collapse: collapse; }\n"
            u"table.page td { border: 1px solid black; padding: 0 7px; vertical-align: top; }\n"
            u"</style>\n</head>\n<body>\n";
}

// The tags that open a run of the style and those that close it again.
HtmlBuilder::RunMarkup HtmlBuilder::makeRunMarkup(const TextStyle& s) const {
    QString open;
    QString close;
    // A link to an address of another kind (javascript:, data: ...) keeps its text only. A
    // link to a page of the site goes to that page's file in the same frame; in a site a web
    // address opens a tab of its own, which cannot reach back into the help's window.
    const int linkedPageNumber = options_.pageLinkFile ? linkedPage(s.anchor) : 0;
    const QString href =
        linkedPageNumber > 0 ? urlPathEncoded(options_.pageLinkFile(linkedPageNumber)) : s.anchor;
    if (!href.isEmpty() && isPublishableLink(href)) {
        open += u"<a href=\"";
        open += htmlEscaped(href);
        const bool ownTab = options_.pageLinkFile && isWebAddress(href);
        open += ownTab ? u"\" target=\"_blank\" rel=\"noopener\">" : u"\">";
        close.prepend(u"</a>");
    }
    open += u"<span style=\"";
    if (!s.family.isEmpty()) {
        open += u"font-family:'";
        QString family = s.family;
        appendEscaped(open, family.replace(QStringLiteral("\\"), QStringLiteral("\\\\"))
                                .replace(QStringLiteral("'"), QStringLiteral("\\'")));
        open += u'\'';
        if (const char16_t* generic = genericFamily(s.family))
            open += u',' + QString::fromUtf16(generic);
        open += u';';
    }
    open +=
        QStringLiteral("font-size:") + QString::number(s.halfPoints / 2.0) + QStringLiteral("pt");
    if (s.hasColor)
        open += QStringLiteral(";color:") + colorText(s.color);
    if (s.hasBackground)
        open += QStringLiteral(";background-color:") + colorText(s.background);
    if (s.raise != 0)
        open += QStringLiteral(";vertical-align:") + QString::number(s.raise / 2.0) +
                QStringLiteral("pt");
    open += u"\">";
    close.prepend(u"</span>");
    auto tag = [&](bool on, const char16_t* start, const char16_t* end) {
        if (on) {
            open += start;
            close.prepend(end);
        }
    };
    tag(s.bold, u"<b>", u"</b>");
    tag(s.italic, u"<i>", u"</i>");
    tag(s.underline, u"<u>", u"</u>");
    tag(s.strike, u"<s>", u"</s>");
    tag(s.position == VerticalPosition::Super, u"<sup>", u"</sup>");
    tag(s.position == VerticalPosition::Sub, u"<sub>", u"</sub>");
    return {s, open, close};
}

// A page has few distinct styles and many runs (a run per paragraph at least), so the
// markup of recent styles is kept rather than made again for every run.
void HtmlBuilder::openRun(const TextStyle& s) {
    auto markup = std::find_if(runMarkup_.begin(), runMarkup_.end(),
                               [&](const RunMarkup& m) { return m.style == s; });
    if (markup == runMarkup_.end()) {
        if (runMarkup_.size() >= 32)
            runMarkup_.clear();
        runMarkup_.push_back(makeRunMarkup(s));
        markup = runMarkup_.end() - 1;
    }
    para_ += markup->open;
    runOpen_ = true;
    runStyle_ = s;
    runClose_ = markup->close;
}

void HtmlBuilder::closeRun() {
    if (!runOpen_)
        return;
    para_ += runClose_;
    runOpen_ = false;
}

void HtmlBuilder::text(QStringView text, const TextStyle& style) {
    if (!runOpen_ || !(style == runStyle_)) {
        closeRun();
        openRun(style);
    }
    appendEscaped(para_, text);
}

// The picture as a file of the page: PNG and JPEG keep their bytes, other kinds become PNG.
QString HtmlBuilder::addPictureFile(const Picture& p) {
    const QString name =
        QStringLiteral("image%1.%2")
            .arg(pictures_.size() + 1)
            .arg(p.kind == PictureKind::Jpeg ? QStringLiteral("jpg") : QStringLiteral("png"));
    pictures_.push_back(HtmlPicture{name, imageFileBytes(p)});
    return urlPathEncoded(options_.imageLinkPrefix) + name;
}

void HtmlBuilder::picture(const Picture& p, const TextStyle& style, QSize shown) {
    closeRun();
    Q_UNUSED(style);
    const QString link = addPictureFile(p);
    para_ += u"<img src=\"";
    para_ += htmlEscaped(link);
    para_ += QStringLiteral("\" width=\"%1\" height=\"%2\" alt=\"\">")
                 .arg(shown.width())
                 .arg(shown.height());
}

void HtmlBuilder::closeListsTo(qsizetype depth) {
    while (qsizetype(lists_.size()) > depth) {
        if (lists_.back().itemOpen)
            out_ += u"</li>\n";
        out_ += lists_.back().ordered ? u"</ol>" : u"</ul>";
        lists_.pop_back();
        if (lists_.empty()) // inside an item a line end would show as an empty line
            out_ += u'\n';
    }
}

void HtmlBuilder::writeParagraph(const ParaStyle& p) {
    closeRun();
    QString style;
    switch (p.align) {
    case Alignment::Left:
        break;
    case Alignment::Right:
        style += u"text-align:right;";
        break;
    case Alignment::Center:
        style += u"text-align:center;";
        break;
    case Alignment::Justify:
        style += u"text-align:justify;";
        break;
    }
    if (p.right != 0)
        style += QStringLiteral("margin-right:") + px(p.right) + u';';
    if (p.before != 0)
        style += QStringLiteral("margin-top:") + px(p.before) + u';';
    if (p.after != 0)
        style += QStringLiteral("margin-bottom:") + px(p.after) + u';';
    if (const std::optional<QRgb> color = p.shading.color())
        style += QStringLiteral("background-color:") + colorText(*color) + u';';
    if (para_.isEmpty())
        para_ = QStringLiteral("<br>");
    if (!p.isListItem()) {
        closeListsTo(0);
        if (p.left != 0)
            style += QStringLiteral("margin-left:") + px(p.left) + u';';
        if (p.first != 0)
            style += QStringLiteral("text-indent:") + px(p.first) + u';';
        out_ +=
            style.isEmpty() ? QStringLiteral("<p>") : QStringLiteral("<p style=\"%1\">").arg(style);
        out_ += para_;
        out_ += u"</p>\n";
        para_.clear();
        return;
    }
    // Nested lists by level; a new list where the sequence changes (numbering restarts).
    while (!lists_.empty() &&
           (lists_.back().level > p.listLevel ||
            (lists_.back().level == p.listLevel && lists_.back().sequence != p.listSequence)))
        closeListsTo(qsizetype(lists_.size()) - 1);
    auto count = std::find_if(itemCounts_.begin(), itemCounts_.end(),
                              [&](const auto& c) { return c.first == p.listSequence; });
    if (count == itemCounts_.end()) {
        itemCounts_.emplace_back(p.listSequence, 0);
        count = itemCounts_.end() - 1;
    }
    if (lists_.empty() || lists_.back().level < p.listLevel) {
        const bool isOrdered = ordered(p.list);
        // A nested list sits inside the open item of its parent, indented by the difference
        // of the two indents (by the usual step when the page does not give one).
        int left = qMax(p.left, 0);
        if (!lists_.empty()) {
            left = p.left - lists_.back().left;
            if (left <= 0)
                left = kNestedListStep;
        }
        QString open = isOrdered ? QStringLiteral("<ol type=\"%1\" start=\"%2\"")
                                       .arg(listType(p.list))
                                       .arg(p.listStart + count->second)
                                 : QStringLiteral("<ul");
        open += QStringLiteral(" style=\"padding-left:%1\">\n").arg(px(left));
        out_ += open;
        lists_.push_back(OpenList{p.listSequence, p.listLevel, isOrdered, p.left, false});
    } else if (lists_.back().itemOpen) {
        out_ += u"</li>\n";
    }
    ++count->second;
    out_ +=
        style.isEmpty() ? QStringLiteral("<li>") : QStringLiteral("<li style=\"%1\">").arg(style);
    out_ += para_;
    lists_.back().itemOpen = true;
    para_.clear();
}

void HtmlBuilder::paragraph(const ParaStyle& style) {
    closeTableUnlessInCell();
    writeParagraph(style);
    inCellParagraph_ = false;
}

void HtmlBuilder::finish(const ParaStyle& style, bool lastHasContent) {
    closeRun();
    if (lastHasContent) {
        closeTableUnlessInCell();
        writeParagraph(style);
    }
    inCellParagraph_ = false;
    closeTableUnlessInCell();
    closeListsTo(0);
    out_ += u"</body>\n</html>\n";
}

void HtmlBuilder::enterCell() {
    inCellParagraph_ = true;
    if (!tableOpen_) {
        closeRun();
        closeListsTo(0);
        beforeTable_ = std::move(out_);
        out_.clear();
        tableOpen_ = true;
    }
    rowOpen_ = true;
    cellOpen_ = true;
}

// The cell's text is complete: it waits in its row.
void HtmlBuilder::endCellText() {
    closeListsTo(0);
    rowCells_.push_back(std::move(out_));
    out_.clear();
    cellOpen_ = false;
}

void HtmlBuilder::endCell(const ParaStyle& style) {
    enterCell();
    writeParagraph(style);
    endCellText();
    inCellParagraph_ = false;
}

void HtmlBuilder::endRow(const TableRow& row) {
    if (!rowOpen_)
        return;
    if (cellOpen_)
        endCellText();
    tableRows_.push_back(BufferedRow{std::move(rowCells_), row});
    rowCells_.clear();
    rowOpen_ = false;
}

// The table as HTML: a cell merged into the one before it or above it is left out and the
// first of the merged cells spans them; a shaded cell gets its colour.
QString HtmlBuilder::tableHtml() const {
    auto cellOf = [&](size_t r, size_t c) -> const TableCell* {
        if (r >= tableRows_.size() || c >= tableRows_[r].row.cells.size())
            return nullptr;
        return &tableRows_[r].row.cells[c];
    };
    QString html = QStringLiteral("<table class=\"page\">\n");
    for (size_t r = 0; r < tableRows_.size(); ++r) {
        html += u"<tr>";
        const std::vector<QString>& cells = tableRows_[r].cells;
        for (size_t c = 0; c < cells.size(); ++c) {
            const TableCell* cell = cellOf(r, c);
            const TableCell* above = r > 0 ? cellOf(r - 1, c) : nullptr;
            if (cell && ((cell->merged && c > 0) ||
                         (cell->vMerged && above && (above->vMergeFirst || above->vMerged))))
                continue;
            html += u"<td";
            if (cell) {
                size_t columns = 1;
                while (c + columns < cells.size() && cellOf(r, c + columns) &&
                       cellOf(r, c + columns)->merged)
                    ++columns;
                if (columns > 1)
                    html += QStringLiteral(" colspan=\"%1\"").arg(columns);
                size_t rows = 1;
                if (cell->vMergeFirst)
                    while (cellOf(r + rows, c) && cellOf(r + rows, c)->vMerged)
                        ++rows;
                if (rows > 1)
                    html += QStringLiteral(" rowspan=\"%1\"").arg(rows);
                if (const std::optional<QRgb> color = cell->shading.color())
                    html += QStringLiteral(" style=\"background-color:%1\"").arg(colorText(*color));
            }
            html += u'>';
            html += cells[c];
            html += u"</td>";
        }
        html += u"</tr>\n";
    }
    html += u"</table>\n";
    return html;
}

void HtmlBuilder::closeTableUnlessInCell() {
    if (!tableOpen_ || inCellParagraph_)
        return;
    if (rowOpen_)
        endRow(TableRow{});
    out_ = std::move(beforeTable_) + tableHtml();
    beforeTable_.clear();
    tableRows_.clear();
    tableOpen_ = false;
}

HtmlPage HtmlBuilder::take() {
    return HtmlPage{std::move(out_), std::move(pictures_)};
}

} // namespace quillo::rtf

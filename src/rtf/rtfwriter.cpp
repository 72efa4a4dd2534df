#include "rtf/rtfwriter.h"

#include "rtf/docwalk.h"

#include "core/cp932.h"
#include "core/text.h"

#include <QTextDocument>

#include <charconv>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillo::rtf {
namespace {

constexpr int kHexPerLine = 128;

bool isJapaneseFont(const QString& family) {
    static const char* const names[] = {
        "MS Gothic",   "MS PGothic",       "MS UI Gothic",      "MS Mincho",   "MS PMincho",
        "Meiryo",      "Meiryo UI",        "Yu Gothic",         "Yu Mincho",   "IPAGothic",
        "IPAPGothic",  "IPAMincho",        "IPAPMincho",        "IPAexGothic", "IPAexMincho",
        "Osaka",       "Noto Sans CJK JP", "Noto Serif CJK JP", "TakaoGothic", "TakaoPGothic",
        "TakaoMincho", "VL Gothic",        "VL PGothic"};
    for (QChar c : family)
        if (c.unicode() >= 0x80)
            return true;
    for (const char* n : names)
        if (family.compare(QLatin1StringView(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int charsetOf(const QString& family) {
    if (isJapaneseFont(family))
        return 128;
    if (family.compare(u"Symbol", Qt::CaseInsensitive) == 0 ||
        family.startsWith(u"Wingdings", Qt::CaseInsensitive) ||
        family.compare(u"Webdings", Qt::CaseInsensitive) == 0)
        return 2;
    return 0;
}

// The \levelnfc of a numbering kind (23: a bullet).
int levelNfc(ListKind kind) {
    switch (kind) {
    case ListKind::UpperRoman:
        return 1;
    case ListKind::LowerRoman:
        return 2;
    case ListKind::UpperAlpha:
        return 3;
    case ListKind::LowerAlpha:
        return 4;
    case ListKind::Bullet:
        return 23;
    default:
        return 0;
    }
}

// Whether the rich-edit \pn form reads back to the lists the page has. That form has no list
// levels, and the reader joins a paragraph that states its own \pn to the list of the item just
// before it when the kind matches (and, for numbers, its \pnstart follows on), or resumes the
// last list of that kind when its \pnstart follows on from that list; otherwise it starts a
// new list. Items that repeat the paragraph before them without \pard stay in its list.
bool pnFormKeepsLists(const std::vector<DocParagraph>& paras) {
    std::unordered_map<int, int> lastNumber; // sequence -> number of its latest item
    std::unordered_map<int, int> lastOfKind; // kind -> sequence of the latest \pn paragraph
    const ParaStyle* before = nullptr;
    for (const DocParagraph& para : paras) {
        const ParaStyle& p = para.style;
        const bool ownPn = !before || !(*before == p);
        const ParaStyle* const itemBefore = std::exchange(before, &p);
        if (!p.isListItem())
            continue;
        if (p.listLevel != 0)
            return false;
        const auto seen = lastNumber.find(p.listSequence);
        const bool known = seen != lastNumber.end();
        const int number = (known ? seen->second : p.listStart - 1) + 1;
        if (ownPn) {
            const bool bullet = p.list == ListKind::Bullet;
            if (!bullet && number < 1)
                return false; // \pnstart0 means "not given"
            int joins = 0;    // the sequence the reader puts the paragraph in; 0: a new one
            if (itemBefore && itemBefore->list == p.list &&
                (bullet || number == lastNumber[itemBefore->listSequence] + 1)) {
                joins = itemBefore->listSequence;
            } else if (!bullet && number > 1) {
                const auto last = lastOfKind.find(int(p.list));
                if (last != lastOfKind.end() && number == lastNumber[last->second] + 1)
                    joins = last->second;
            }
            if (joins != 0 ? joins != p.listSequence : known)
                return false;
            lastOfKind[int(p.list)] = p.listSequence;
        }
        lastNumber[p.listSequence] = number;
    }
    return true;
}

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc), paras_(paragraphsOf(doc)) {}
    QByteArray write();

private:
    void control(const char* word, std::optional<int> param = std::nullopt);
    void raw(const char* text) {
        out_.append(text);
        needSpace_ = false;
    }
    void text(QStringView text);
    void fallbackBytes(QByteArrayView bytes);
    void changeStyle(const TextStyle& to);
    void listTables();
    void listMarker(const ParaStyle& p, int itemNumber);
    void paragraphStart(const DocParagraph& para, const DocParagraph* previous, int itemNumber);
    void picture(const Picture& picture);
    void rowDefinition(const TableRow& row);
    void openLink(const QString& href);
    void closeLink();
    int fontIndex(const QString& family);
    int colorIndex(bool has, QRgb rgb);

    const QTextDocument& doc_;
    std::vector<DocParagraph> paras_;
    QByteArray out_;
    bool needSpace_ = false;
    int uc_ = 1;
    std::vector<QString> fonts_;
    std::vector<QRgb> colors_;
    int symbolFont_ = -1;
    bool wordLists_ = false; // lists as \ls and \ilvl with a list table instead of \pn
    TextStyle current_;
    bool inLink_ = false;
    TextStyle styleBeforeLink_;
    int ucBeforeLink_ = 1;
};

int Writer::fontIndex(const QString& chosen) {
    // A foundry suffix is the platform's, not part of the font's name in a page.
    const QString family = plainFontFamily(chosen);
    for (size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i] == family)
            return int(i);
    fonts_.push_back(family);
    return int(fonts_.size()) - 1;
}

int Writer::colorIndex(bool has, QRgb rgb) {
    if (!has)
        return 0;
    rgb |= 0xFF000000u;
    for (size_t i = 0; i < colors_.size(); ++i)
        if (colors_[i] == rgb)
            return int(i) + 1;
    colors_.push_back(rgb);
    return int(colors_.size());
}

void Writer::control(const char* word, std::optional<int> param) {
    // Built on the stack and appended once: pages write hundreds of thousands of these.
    char buffer[48];
    char* end = buffer;
    *end++ = '\\';
    while (*word && end < buffer + 32)
        *end++ = *word++;
    if (param)
        end = std::to_chars(end, buffer + sizeof buffer, *param).ptr;
    out_.append(buffer, end - buffer);
    needSpace_ = true;
}

void Writer::fallbackBytes(QByteArrayView bytes) {
    static const char hex[] = "0123456789abcdef";
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        const char escape[4] = {'\\', '\'', hex[u >> 4], hex[u & 15]};
        out_.append(escape, 4);
    }
}

// Text in 7 bits: ASCII as is (with \ { } escaped), everything else as \uN followed by its code
// page 932 bytes, or by '?' when it has none.
void Writer::text(QStringView text) {
    static thread_local std::unordered_map<char16_t, QByteArray> cp932Bytes;
    static const QByteArray question("?");
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x80) {
            // A run of printable ASCII goes out in one append.
            char run[256];
            int n = 0;
            if (needSpace_) {
                run[n++] = ' ';
                needSpace_ = false;
            }
            for (; i < text.size() && n < int(sizeof run) - 2; ++i) {
                c = text[i].unicode();
                if (c < 0x20 || c >= 0x80)
                    break;
                if (c == u'\\' || c == u'{' || c == u'}')
                    run[n++] = '\\';
                run[n++] = char(c);
            }
            out_.append(run, n);
            --i;
            continue;
        }
        switch (c) {
        case u'\t':
            control("tab");
            continue;
        case QChar::LineSeparator:
            control("line");
            continue;
        case QChar::Nbsp:
            out_.append("\\~");
            needSpace_ = false;
            continue;
        case QChar::ObjectReplacementCharacter:
        case QChar::ParagraphSeparator:
            continue;
        default:
            if (c < 0x20)
                continue;
            break;
        }
        const QByteArray* fallbackBytesOf = &question;
        if (!QChar::isSurrogate(c)) {
            auto it = cp932Bytes.find(c);
            if (it == cp932Bytes.end())
                it = cp932Bytes.emplace(c, cp932::encodeChar(c).value_or(question)).first;
            fallbackBytesOf = &it->second;
        }
        const QByteArray& fallback = *fallbackBytesOf;
        if (fallback.size() != uc_) {
            uc_ = int(fallback.size());
            control("uc", uc_);
        }
        control("u", c > 32767 ? int(c) - 65536 : int(c));
        if (fallback.size() == 1 && fallback[0] == '?') {
            out_.append('?');
        } else {
            fallbackBytes(fallback);
        }
        needSpace_ = false;
    }
}

void Writer::changeStyle(const TextStyle& to) {
    TextStyle& from = current_;
    if (to.family != from.family)
        control("f", fontIndex(to.family));
    if (to.halfPoints != from.halfPoints)
        control("fs", to.halfPoints);
    if (to.bold != from.bold)
        to.bold ? control("b") : control("b", 0);
    if (to.italic != from.italic)
        to.italic ? control("i") : control("i", 0);
    if (to.underline != from.underline)
        to.underline ? control("ul") : control("ulnone");
    if (to.strike != from.strike)
        to.strike ? control("strike") : control("strike", 0);
    if (to.position != from.position)
        control(to.position == VerticalPosition::Super ? "super"
                : to.position == VerticalPosition::Sub ? "sub"
                                                       : "nosupersub");
    if (to.hasColor != from.hasColor || (to.hasColor && to.color != from.color))
        control("cf", colorIndex(to.hasColor, to.color));
    if (to.hasBackground != from.hasBackground ||
        (to.hasBackground && to.background != from.background))
        control("highlight", colorIndex(to.hasBackground, to.background));
    if (to.raise != from.raise)
        to.raise < 0 ? control("dn", -to.raise) : control("up", to.raise);
    const QString anchor = from.anchor;
    from = to;
    from.anchor = anchor;
}

void Writer::openLink(const QString& href) {
    styleBeforeLink_ = current_;
    ucBeforeLink_ = uc_;
    raw("{\\field{\\*\\fldinst{HYPERLINK \"");
    needSpace_ = false;
    text(href);
    raw("\"}}{\\fldrslt{");
    uc_ = ucBeforeLink_; // a \uc inside the instruction ended with its group
    needSpace_ = false;
    current_.anchor = href;
    inLink_ = true;
}

void Writer::closeLink() {
    raw("}}}");
    needSpace_ = false;
    current_ = styleBeforeLink_;
    uc_ = ucBeforeLink_;
    inLink_ = false;
}

// Word's list table: one list (and one override, \lsN) per list of the page, N being its
// sequence, so that every list reads back as a list of its own. Each list defines all nine
// levels; the level its items are at has their kind, first number and indents.
void Writer::listTables() {
    std::vector<const ParaStyle*> lists; // the first item of each list, by sequence
    for (const DocParagraph& para : paras_) {
        const ParaStyle& p = para.style;
        if (p.isListItem() && size_t(p.listSequence) > lists.size())
            lists.resize(size_t(p.listSequence), nullptr);
        if (p.isListItem() && !lists[size_t(p.listSequence) - 1])
            lists[size_t(p.listSequence) - 1] = &p;
    }
    raw("{\\*\\listtable");
    for (size_t i = 0; i < lists.size(); ++i) {
        const ParaStyle& p = *lists[i];
        const bool bullet = p.list == ListKind::Bullet;
        raw("\r\n{\\list");
        for (int level = 0; level < 9; ++level) {
            raw("{\\listlevel");
            control("levelnfc", levelNfc(p.list));
            control("leveljc", 0);
            control("levelfollow", 0);
            control("levelstartat", p.listStart);
            if (bullet) {
                raw("{\\leveltext\\'01\\'B7;}{\\levelnumbers;}");
                control("f", symbolFont_);
            } else {
                // The number of this level followed by a full stop.
                out_.append("{\\leveltext\\'02\\'0").append(char('0' + level)).append(".;}");
                raw("{\\levelnumbers\\'01;}");
            }
            const bool own = level == p.listLevel;
            control("fi", own ? p.first : -360);
            control("li", own ? p.left : 360 * (level + 1));
            raw("}");
        }
        control("listid", int(i) + 1);
        raw("}");
    }
    raw("}\r\n{\\*\\listoverridetable");
    for (size_t i = 0; i < lists.size(); ++i) {
        raw("{\\listoverride");
        control("listid", int(i) + 1);
        control("listoverridecount", 0);
        control("ls", int(i) + 1);
        raw("}");
    }
    raw("}\r\n");
}

// The marker as text ({\pntext} or {\listtext}), for readers that do not number lists.
void Writer::listMarker(const ParaStyle& p, int itemNumber) {
    raw(wordLists_ ? "{\\listtext" : "{\\pntext");
    if (p.list == ListKind::Bullet) {
        control("f", symbolFont_);
        raw("\\'B7");
    } else {
        control("f", 0);
        needSpace_ = false;
        out_.append(' ').append(listNumberText(p.list, itemNumber).toLatin1()).append('.');
    }
    control("tab");
    raw("}");
}

void Writer::paragraphStart(const DocParagraph& para, const DocParagraph* previous,
                            int itemNumber) {
    const ParaStyle& p = para.style;
    const bool needPard = !previous || !(previous->style == p);
    if (needPard)
        control("pard");
    if (needPard && p.inTable)
        control("intbl");
    if (p.isListItem()) {
        listMarker(p, itemNumber);
        if (needPard && wordLists_) {
            control("ls", p.listSequence);
            control("ilvl", p.listLevel);
        } else if (needPard) {
            raw("{\\*\\pn");
            if (p.list == ListKind::Bullet) {
                control("pnlvlblt");
                control("pnf", symbolFont_);
                control("pnindent", 0);
                raw("{\\pntxtb\\'B7}}");
            } else {
                control("pnlvlbody");
                control("pnf", 0);
                control("pnindent", 0);
                control("pnstart", itemNumber); // the number of this item
                control(p.list == ListKind::LowerAlpha   ? "pnlcltr"
                        : p.list == ListKind::UpperAlpha ? "pnucltr"
                        : p.list == ListKind::LowerRoman ? "pnlcrm"
                        : p.list == ListKind::UpperRoman ? "pnucrm"
                                                         : "pndec");
                raw("{\\pntxta.}}");
            }
            needSpace_ = false;
        }
    }
    if (!needPard)
        return;
    if (p.first != 0)
        control("fi", p.first);
    if (p.left != 0)
        control("li", p.left);
    if (p.right != 0)
        control("ri", p.right);
    if (p.before != 0)
        control("sb", p.before);
    if (p.after != 0)
        control("sa", p.after);
    if (const std::optional<QRgb> color = p.shading.color())
        control("cbpat", colorIndex(true, *color));
    switch (p.align) {
    case Alignment::Left:
        break;
    case Alignment::Right:
        control("qr");
        break;
    case Alignment::Center:
        control("qc");
        break;
    case Alignment::Justify:
        control("qj");
        break;
    }
}

// A table row's definition: the space beside the cells' text, then every cell with a plain
// single border on each side and its right edge.
void Writer::rowDefinition(const TableRow& row) {
    control("trowd");
    control("trgaph", row.gap);
    control("trleft", row.left);
    for (size_t i = 0; i < row.cellRights.size(); ++i) {
        if (i < row.cells.size()) {
            const TableCell& cell = row.cells[i];
            if (cell.mergeFirst)
                control("clmgf");
            if (cell.merged)
                control("clmrg");
            if (cell.vMergeFirst)
                control("clvmgf");
            if (cell.vMerged)
                control("clvmrg");
            if (const std::optional<QRgb> color = cell.shading.color())
                control("clcbpat", colorIndex(true, *color));
        }
        for (const char* side : {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"}) {
            control(side);
            control("brdrs");
            control("brdrw", 10);
        }
        control("cellx", row.cellRights[i]);
    }
    raw("\r\n");
}

void Writer::picture(const Picture& p) {
    if (!p.objectRtf.isEmpty()) {
        out_.append(p.objectRtf);
        needSpace_ = false;
        return;
    }
    // A picture without data still keeps its place and size (it reads back as a box).
    raw("{\\pict");
    switch (p.kind) {
    case PictureKind::Png:
        control("pngblip");
        break;
    case PictureKind::Jpeg:
        control("jpegblip");
        break;
    case PictureKind::Emf:
        control("emfblip");
        break;
    case PictureKind::Wmf:
        control("wmetafile", p.mapMode > 0 ? p.mapMode : 8);
        break;
    case PictureKind::Dib:
        control("dibitmap", 0);
        break;
    case PictureKind::Wbitmap:
        control("wbitmap", p.mapMode);
        break;
    case PictureKind::None:
        break;
    }
    control("picw", p.picW);
    control("pich", p.picH);
    control("picwgoal", p.goalW);
    control("pichgoal", p.goalH);
    static const char hex[] = "0123456789abcdef";
    out_.reserve(out_.size() + p.data.size() * 2 + p.data.size() / 64 * 2 + 8);
    for (qsizetype i = 0; i < p.data.size(); ++i) {
        if (i % (kHexPerLine / 2) == 0)
            out_.append("\r\n");
        const auto u = static_cast<unsigned char>(p.data[i]);
        out_.append(hex[u >> 4]).append(hex[u & 15]);
    }
    raw("\r\n}");
    needSpace_ = false;
}

QByteArray Writer::write() {
    // Fonts and colours in order of use (the default font when nothing is used).
    bool bullets = false;
    for (const DocParagraph& para : paras_) {
        bullets |= para.style.list == ListKind::Bullet;
        if (const std::optional<QRgb> color = para.style.shading.color())
            colorIndex(true, *color);
        if (para.row)
            for (const TableCell& cell : para.row->cells)
                if (const std::optional<QRgb> color = cell.shading.color())
                    colorIndex(true, *color);
        for (const DocRun& run : para.runs) {
            fontIndex(run.style.family);
            colorIndex(run.style.hasColor, run.style.color);
            colorIndex(run.style.hasBackground, run.style.background);
        }
    }
    if (fonts_.empty())
        fontIndex(doc_.defaultFont().family());
    if (bullets)
        symbolFont_ = fontIndex(QStringLiteral("Symbol"));

    raw("{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl");
    for (size_t i = 0; i < fonts_.size(); ++i) {
        const int charset = charsetOf(fonts_[i]);
        raw("{");
        control("f", int(i));
        control(charset == 2 ? "ftech" : "fnil");
        control("fcharset", charset);
        const cp932::Encoded name = cp932::encode(fonts_[i]);
        if (name.ok() && !name.bytes.isEmpty() && charset == 128) {
            out_.append(' ');
            needSpace_ = false;
            // A Japanese face name as its code page 932 bytes, as rich-edit controls write it.
            const QByteArray& bytes = name.bytes;
            for (qsizetype i = 0; i < bytes.size(); ++i) {
                const char b = bytes[i];
                if (cp932::isLeadByte(static_cast<unsigned char>(b)) && i + 1 < bytes.size()) {
                    fallbackBytes(bytes.sliced(i, 2));
                    ++i;
                } else if (static_cast<unsigned char>(b) >= 0x80 || b == '\\' || b == '{' ||
                           b == '}' || b == ';') {
                    fallbackBytes(bytes.sliced(i, 1));
                } else {
                    out_.append(b);
                }
            }
        } else {
            text(fonts_[i]);
        }
        raw(";}");
    }
    raw("}\r\n");
    if (!colors_.empty()) {
        raw("{\\colortbl ;");
        for (QRgb c : colors_) {
            control("red", qRed(c));
            control("green", qGreen(c));
            control("blue", qBlue(c));
            raw(";");
        }
        raw("}\r\n");
    }
    wordLists_ = !pnFormKeepsLists(paras_);
    if (wordLists_)
        listTables();
    raw("\\viewkind4\\uc1");
    needSpace_ = true;
    uc_ = 1;
    // The first run states its font and size even where they are RTF's defaults.
    current_ = TextStyle{};
    current_.family = QStringLiteral("\x01");
    current_.halfPoints = 0;

    std::unordered_map<int, int> itemNumbers;
    const DocParagraph* previous = nullptr;
    for (const DocParagraph& para : paras_) {
        int itemNumber = 0;
        if (para.style.isListItem()) {
            auto [it, added] =
                itemNumbers.try_emplace(para.style.listSequence, para.style.listStart - 1);
            itemNumber = ++it->second;
        }
        if (para.row)
            rowDefinition(*para.row);
        paragraphStart(para, previous, itemNumber);
        for (const DocRun& run : para.runs) {
            if (run.style.anchor != current_.anchor) {
                if (inLink_)
                    closeLink();
                if (!run.style.anchor.isEmpty())
                    openLink(run.style.anchor);
            }
            changeStyle(run.style);
            if (run.picture)
                picture(*run.picture);
            else
                text(run.text);
        }
        if (inLink_)
            closeLink();
        control(para.endsCell ? "cell" : "par");
        if (para.endsRow)
            control("row");
        raw("\r\n");
        needSpace_ = false;
        previous = &para;
    }
    raw("}\r\n");
    return out_;
}

} // namespace

QByteArray writeRtf(const QTextDocument& doc) {
    return Writer(doc).write();
}

} // namespace quillo::rtf

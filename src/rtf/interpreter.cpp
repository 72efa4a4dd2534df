#include "rtf/interpreterimpl.h"

#include "rtf/codepage.h"

#include <algorithm>

namespace quillo::rtf {
namespace {

// Deeper groups than this are still counted (so braces keep matching) but share the state of
// the deepest kept one: malformed input must not make the reader allocate without bound.
constexpr int kMaxDepth = 1024;

// The link of a HYPERLINK field instruction: HYPERLINK "target" (or an unquoted word).
QString hyperlinkTarget(const QString& instruction) {
    const qsizetype at = instruction.indexOf(u"HYPERLINK");
    if (at < 0)
        return QString();
    QStringView rest = QStringView(instruction).mid(at + 9).trimmed();
    if (rest.startsWith(u'"')) {
        // The closing quote is the one followed by the end or by a switch (\l, \o ...), so a
        // quote inside the address does not cut it short.
        for (qsizetype end = rest.indexOf(u'"', 1); end > 0; end = rest.indexOf(u'"', end + 1)) {
            const QStringView after = rest.mid(end + 1).trimmed();
            if (after.isEmpty() || after.startsWith(u'\\'))
                return rest.mid(1, end - 1).toString();
        }
        return rest.mid(1).toString();
    }
    const qsizetype end = rest.indexOf(u' ');
    return rest.left(end).toString();
}

} // namespace

Interpreter::Interpreter(QByteArrayView rtf, Sink& sink)
    : tokens_(rtf), sink_(sink), picture_(sink.wantsPictureData()) {
    stack_.reserve(64);
    stack_.push_back(GroupState{});
    stack_.back().cp = &CodePage::get(ansiCp_);
}

void Interpreter::run() {
    Token t;
    for (;;) {
        unsigned char trail;
        // Raw braces and backslashes can be trail bytes of a double-byte character; UTF-8 has
        // no such bytes.
        if (lead_ >= 0 && !leadCp_->isUtf8() && tokens_.takeTrailByte(trail)) {
            byteChar(trail);
            continue;
        }
        tokens_.next(t);
        const bool atGroupStart = std::exchange(afterGroupOpen_, t.type == TokenType::GroupOpen);
        switch (t.type) {
        case TokenType::End:
            // Unclosed groups end here: what was read still counts.
            flushLead();
            flushText();
            {
                const ParaStyle last = resolvedPara();
                if (!paragraphStarted_ && !pntext_.isEmpty() && !last.isListItem()) {
                    prepareBody();
                    flushText();
                }
                sink_.finish(last);
            }
            return;
        case TokenType::GroupOpen:
            openGroup(t.offset);
            break;
        case TokenType::GroupClose:
            closeGroup(t.offset);
            break;
        case TokenType::Word:
            word(t);
            break;
        case TokenType::Symbol:
            symbol(t.symbol, atGroupStart);
            break;
        case TokenType::Hex:
            hexByte(t.byte);
            break;
        case TokenType::Text:
            textRun(t.text);
            break;
        case TokenType::Binary:
            binary(t.text);
            break;
        }
    }
}

void Interpreter::openGroup(qsizetype offset) {
    flushLead();
    skip_ = 0;
    star_ = Star::None;
    if (stack_.size() >= kMaxDepth) {
        ++overflow_;
        return;
    }
    GroupState copy = st();
    copy.ownsDest = false;
    stack_.push_back(std::move(copy));
    lastGroupOpen_ = offset;
}

void Interpreter::closeGroup(qsizetype offset) {
    flushLead();
    skip_ = 0;
    star_ = Star::None;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.size() <= 1)
        return; // an unbalanced closing brace: ignore it
    const GroupState& closing = st();
    const Dest dest = closing.dest;
    const bool owns = closing.ownsDest;
    const bool closingInObject = closing.inObject;
    const bool endsObject = closingInObject && !stack_[stack_.size() - 2].inObject;
    if (dest == Dest::FontTable)
        fonts_.commitEntry(); // the end of {\fN ... Name;} or of the table
    if (owns) {
        switch (dest) {
        case Dest::Pict:
            picture_.finish();
            break;
        case Dest::FieldInst:
            fieldHref_ = hyperlinkTarget(fldinst_);
            break;
        case Dest::ListLevel:
            lists_.endLevel();
            break;
        case Dest::List:
            lists_.endList();
            break;
        case Dest::ListOverride:
            lists_.endOverride();
            break;
        default:
            break;
        }
    }
    stack_.pop_back();
    styleDirty_ = true;
    if (owns && dest == Dest::Pn) {
        lists_.applyPn(st().para, st().ls);
    } else if (owns && dest == Dest::FontTable) {
        applyDefaultFont();
    } else if (owns && dest == Dest::Pict) {
        if (closingInObject) { // the picture belongs to the object (its result, or the object group
                               // itself)
            object_.addPicture(picture_.picture());
        } else {
            showPicture(picture_.picture());
        }
    }
    if (endsObject)
        showPicture(object_.finish(tokens_.input(), offset));
}

void Interpreter::showPicture(const Picture& picture) {
    if (st().dest != Dest::Body || st().hidden)
        return;
    prepareBody();
    flushText();
    sink_.picture(picture, shownStyle());
}

// Whether the control word at offset is the first thing in the group opened last ("{\word"
// or "{\*\word", line breaks allowed between).
bool Interpreter::opensGroup(qsizetype offset) const {
    if (offset < lastGroupOpen_)
        return false;
    QByteArray before =
        tokens_.input().sliced(lastGroupOpen_, offset - lastGroupOpen_).toByteArray();
    before.replace('\r', "").replace('\n', "").replace(' ', "");
    return before == "{" || before == "{\\*";
}

void Interpreter::setDest(Dest d) {
    flushText();
    st().dest = d;
    st().ownsDest = true;
}
void Interpreter::hexByte(unsigned char b) {
    star_ = Star::None;
    GroupState& s = st();
    if (s.dest == Dest::Pict) {
        return; // the picture's data is plain hex text, not escapes
    }
    if (s.dest == Dest::Body && !s.hidden && skip_ == 0) {
        if (const CodePage* cp = textCodePage(); !cp->isUtf8()) {
            hexRunInBody(b, cp);
            return;
        }
    }
    byteChar(b);
    // Runs of escaped bytes (Japanese text from rich-edit controls) without a token each.
    unsigned char next;
    while (tokens_.nextHexByte(next))
        byteChar(next);
}

// The common case of page text written as \'hh escapes: decoded straight into the pending run.
void Interpreter::hexRunInBody(unsigned char first, const CodePage* cp) {
    unsigned char bytes[256];
    char16_t chars[256];
    bytes[0] = first;
    qsizetype count = 1 + tokens_.nextHexBytes(bytes + 1, 255);
    while (count > 0) {
        int n = 0;
        for (qsizetype i = 0; i < count; ++i) {
            const unsigned char b = bytes[i];
            char16_t c;
            if (lead_ >= 0) {
                c = leadCp_->pair(static_cast<unsigned char>(lead_), b);
                lead_ = -1;
            } else if (b >= 0x80 && cp->isLeadByte(b)) {
                lead_ = b;
                leadCp_ = cp;
                continue;
            } else {
                c = cp->single(b);
            }
            if (c >= 0x20 && c != QChar::ParagraphSeparator && c < 0xFDD0) {
                chars[n++] = c;
                continue;
            }
            if (n > 0) {
                prepareBody();
                pending_.append(QStringView(chars, n));
                n = 0;
            }
            put(c); // control characters and the few that need care
        }
        if (n > 0) {
            prepareBody();
            pending_.append(QStringView(chars, n));
        }
        count = tokens_.nextHexBytes(bytes, 256);
    }
}

void Interpreter::binary(QByteArrayView data) {
    star_ = Star::None;
    if (st().dest == Dest::Pict) {
        picture_.appendBinary(data);
        return;
    }
    if (skip_ > 0)
        --skip_;
}

void Interpreter::textRun(QByteArrayView run) {
    star_ = Star::None;
    GroupState& s = st();
    const char* p = run.data();
    const char* const end = p + run.size();
    switch (s.dest) {
    case Dest::Skip:
    case Dest::Pn:
    case Dest::List:
    case Dest::ListLevel:
    case Dest::ListTable:
    case Dest::ListOverride:
    case Dest::ListOverrideTable:
    case Dest::Upr:
    case Dest::Object:
        return;
    case Dest::Pict:
        picture_.appendHex(run);
        return;
    case Dest::ColorTable:
        for (; p < end; ++p)
            if (*p == ';')
                colors_.endEntry();
        return;
    case Dest::FontTable:
        for (; p < end; ++p) {
            if (skip_ > 0) {
                --skip_;
            } else if (*p == ';' && lead_ < 0) {
                fonts_.commitEntry();
            } else {
                byteChar(static_cast<unsigned char>(*p));
            }
        }
        return;
    case Dest::Body:
        if (s.hidden && skip_ == 0)
            return;
        break;
    case Dest::PnText:
    case Dest::FieldInst:
        break;
    }
    while (p < end) {
        if (skip_ > 0) {
            const qsizetype n = std::min<qsizetype>(skip_, end - p);
            skip_ -= int(n);
            p += n;
            continue;
        }
        if (lead_ >= 0) {
            byteChar(static_cast<unsigned char>(*p++));
            continue;
        }
        // A run of printable ASCII goes in at once.
        const char* q = p;
        while (q < end && static_cast<unsigned char>(*q) >= 0x20 &&
               static_cast<unsigned char>(*q) < 0x80)
            ++q;
        if (q > p) {
            if (s.dest == Dest::Body) {
                if (!s.hidden) {
                    prepareBody();
                    pending_.append(QLatin1StringView(p, q - p));
                }
            } else {
                for (const char* r = p; r < q; ++r)
                    put(char16_t(static_cast<unsigned char>(*r)));
            }
            p = q;
            continue;
        }
        byteChar(static_cast<unsigned char>(*p++));
    }
}

// One byte of text in the current font's code page; a lead byte waits for its trail byte.
void Interpreter::byteChar(unsigned char b) {
    if (skip_ > 0 && st().dest != Dest::Pict) {
        --skip_;
        return;
    }
    switch (st().dest) {
    case Dest::Body:
    case Dest::PnText:
    case Dest::FontTable:
    case Dest::FieldInst:
        break;
    default:
        return; // a destination whose text is dropped keeps no half character either
    }
    if (lead_ >= 0) {
        if (leadCp_->isUtf8()) {
            continueUtf8(b);
            return;
        }
        const unsigned char lead = static_cast<unsigned char>(lead_);
        lead_ = -1;
        put(leadCp_->pair(lead, b));
        return;
    }
    const CodePage* cp = currentCodePage();
    if (b >= 0x80 && cp->isUtf8()) {
        if (!utf8_.start(b)) {
            put(0xFFFD);
            return;
        }
        lead_ = b;
        leadCp_ = cp;
        return;
    }
    if (b >= 0x80 && cp->isLeadByte(b)) {
        lead_ = b;
        leadCp_ = cp;
        return;
    }
    if (b < 0x80) {
        put(b);
        return;
    }
    put(cp->single(b));
}

// The next byte of a UTF-8 character; a byte that does not continue it ends the character as
// U+FFFD and is read anew.
void Interpreter::continueUtf8(unsigned char b) {
    if (!utf8_.add(b)) {
        flushLead();
        byteChar(b);
        return;
    }
    if (!utf8_.complete())
        return;
    lead_ = -1;
    const char32_t c = utf8_.value();
    if (QChar::requiresSurrogates(c)) {
        put(QChar::highSurrogate(c));
        put(QChar::lowSurrogate(c));
    } else {
        put(char16_t(c));
    }
}

void Interpreter::flushLead() {
    if (lead_ < 0)
        return;
    lead_ = -1;
    put(0xFFFD); // a lead byte whose trail byte never came
}

// One decoded character into the current destination.
void Interpreter::put(char16_t c) {
    GroupState& s = st();
    switch (s.dest) {
    case Dest::Body:
        if (!s.hidden)
            emitBody(c);
        return;
    case Dest::PnText:
        if (c >= 0x20 || c == u'\t')
            pntext_.append(QChar(c));
        return;
    case Dest::FontTable:
        if (c >= 0x20)
            fonts_.appendToName(c);
        return;
    case Dest::FieldInst:
        fldinst_.append(QChar(c));
        return;
    default:
        return;
    }
}

void Interpreter::emitBody(char16_t c) {
    switch (c) {
    case u'\t':
    case QChar::LineSeparator:
        break;
    case QChar::ParagraphSeparator:
        endParagraph();
        return;
    case QChar::ObjectReplacementCharacter:
    case 0xFDD0: // QTextDocument's frame marks
    case 0xFDD1:
    case 0xFEFF:
        return;
    default:
        if (c < 0x20)
            return;
        break;
    }
    prepareBody();
    pending_.append(QChar(c));
}

// Before page content: the list marker text when the list was not understood, the tabs of
// table cells, and a style change of the text run.
void Interpreter::prepareBody() {
    if (st().inObject)
        object_.sawText();
    if (!paragraphStarted_) {
        startParagraphContent();
        if (!pntext_.isEmpty()) {
            const QString marker = std::exchange(pntext_, QString());
            if (!resolvedPara().isListItem()) {
                styleDirty_ = true;
                prepareBody();
                pending_.append(marker);
            }
        }
    }
    if (styleDirty_) {
        styleDirty_ = false;
        const TextStyle shown = shownStyle();
        if (!(shown == pendingStyle_)) {
            flushText();
            pendingStyle_ = shown;
        }
    }
    if (pendingCells_ > 0) {
        pending_.append(QString(pendingCells_, u'\t'));
        pendingCells_ = 0;
    }
}

void Interpreter::flushText() {
    if (pending_.isEmpty())
        return;
    sink_.text(pending_, pendingStyle_);
    pending_.resize(0); // keeps the buffer for the next run, where clear() would free it
}

// The first content of a paragraph (or its end, when it has none): a paragraph in a table
// tells the sink that it lies in a cell.
void Interpreter::startParagraphContent() {
    if (paragraphStarted_)
        return;
    paragraphStarted_ = true;
    if (st().para.inTable)
        sink_.enterCell();
}

void Interpreter::endParagraph() {
    flushLead();
    if (st().inObject)
        object_.sawText();
    if (!paragraphStarted_ && !pntext_.isEmpty())
        prepareBody();
    flushText();
    startParagraphContent();
    const ParaStyle style = resolvedPara();
    sink_.paragraph(style);
    lists_.paragraphEnded(style, style.isListItem() && st().ls == 0);
    paragraphStarted_ = false;
    pendingCells_ = 0;
    pntext_.clear();
}

// \cell of a paragraph in a table: the paragraph ends its cell.
void Interpreter::endCell() {
    flushLead();
    if (!paragraphStarted_ && !pntext_.isEmpty())
        prepareBody();
    flushText();
    startParagraphContent();
    const ParaStyle style = resolvedPara();
    sink_.endCell(style);
    lists_.paragraphEnded(style, style.isListItem() && st().ls == 0);
    paragraphStarted_ = false;
    pendingCells_ = 0;
    pntext_.clear();
    ++cellsInRow_;
}

// \row: the cells since the last row make one. Content after the last cell (which no writer
// puts there) becomes a cell of its own, so no text is lost.
void Interpreter::endRow() {
    if (paragraphStarted_ && st().para.inTable)
        endCell();
    else if (paragraphStarted_)
        endParagraph();
    if (std::exchange(cellsInRow_, 0) > 0)
        sink_.endRow(row_);
}

ParaStyle Interpreter::resolvedPara() {
    const GroupState& s = st();
    return lists_.resolve(s.para, s.ls, s.ilvl);
}

// Font names decode in their own font's character set, text in its font's.
const CodePage* Interpreter::currentCodePage() const {
    if (st().dest != Dest::FontTable)
        return textCodePage();
    return &fonts_.entryCodePage(ansiCp_);
}

void Interpreter::setFontOfState(GroupState& s, int font) {
    s.font = font;
    const int f = font < 0 ? deff_ : font;
    const FontEntry* entry = fonts_.find(f);
    s.text.family = entry ? entry->name : QString();
    s.cp = &fonts_.codePageOf(f, ansiCp_);
}

// The style the text that follows shows in: the double-byte slot's properties where it is the
// current one.
TextStyle Interpreter::shownStyle() const {
    const GroupState& s = st();
    if (!s.dbch.active)
        return s.text;
    TextStyle t = s.text;
    if (s.dbch.font >= 0) {
        if (const FontEntry* entry = fonts_.find(s.dbch.font))
            t.family = entry->name;
    }
    t.bold = s.dbch.bold.value_or(t.bold);
    t.italic = s.dbch.italic.value_or(t.italic);
    t.halfPoints = s.dbch.halfPoints.value_or(t.halfPoints);
    return t;
}

const CodePage* Interpreter::dbchCodePage(const GroupState& s) const {
    if (s.dbch.font >= 0 && fonts_.find(s.dbch.font))
        return &fonts_.codePageOf(s.dbch.font, ansiCp_);
    return s.cp;
}

void Interpreter::applyDefaultFont() {
    for (GroupState& s : stack_)
        if (s.font < 0)
            setFontOfState(s, -1);
    styleDirty_ = true;
}

void interpret(QByteArrayView rtf, Sink& sink) {
    Interpreter(rtf, sink).run();
}

} // namespace quillo::rtf

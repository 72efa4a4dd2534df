// The control words and symbols of the RTF interpreter, dispatched by kind: destinations, flags,
// toggles, values and symbols.
#include "rtf/codepage.h"
#include "rtf/interpreterimpl.h"

#include <algorithm>
#include <utility>

namespace quillo::rtf {
namespace {

constexpr int kMaxTwips = 31680; // 22 inches
constexpr size_t kMaxCells = 63; // cells of one row, as many as Word allows

int clampTwips(int v) {
    return std::clamp(v, -kMaxTwips, kMaxTwips);
}

} // namespace

void Interpreter::word(const Token& t) {
    const Star star = std::exchange(star_, Star::None);
    const ControlWord* control = star == Star::Word ? nullptr : findControlWord(t.text);
    if (!control) {
        if (star == Star::Destination)
            setDest(Dest::Skip);
        else if (skip_ > 0)
            --skip_;
        return;
    }
    if (control->word != Word::U && skip_ > 0 && st().dest != Dest::Pict) {
        // A control word inside the fallback of \uN counts as one fallback character.
        --skip_;
        return;
    }
    if (lead_ >= 0)
        flushLead();
    switch (control->kind) {
    case WordKind::Destination:
        if (st().dest != Dest::Skip) // destinations inside a skipped one stay skipped
            dispatchDestination(control->word, t.offset);
        break;
    case WordKind::Flag:
        dispatchFlag(control->word);
        break;
    case WordKind::Toggle:
        dispatchToggle(control->word, !t.hasParam || t.param != 0);
        break;
    case WordKind::Value:
        dispatchValue(control->word, t.param, t.hasParam);
        break;
    case WordKind::Symbol:
        dispatchSymbol(*control);
        break;
    }
}

void Interpreter::dispatchDestination(Word word, qsizetype offset) {
    GroupState& s = st();
    switch (word) {
    case Word::FontTable:
        setDest(Dest::FontTable);
        fonts_.beginTable();
        break;
    case Word::ColorTable:
        setDest(Dest::ColorTable);
        colors_.beginTable();
        break;
    case Word::Skip:
        setDest(Dest::Skip);
        break;
    case Word::Pict:
        setDest(Dest::Pict);
        picture_.begin();
        break;
    case Word::PnText:
        if (s.dest != Dest::Body)
            break;
        setDest(Dest::PnText);
        pntext_.clear();
        break;
    case Word::Pn:
        if (s.dest != Dest::Body)
            break;
        setDest(Dest::Pn);
        lists_.beginPn();
        break;
    case Word::ListTable:
        setDest(Dest::ListTable);
        break;
    case Word::List:
        if (s.dest == Dest::ListTable) {
            setDest(Dest::List);
            lists_.beginList();
        }
        break;
    case Word::ListLevel:
        if (s.dest == Dest::List) {
            setDest(Dest::ListLevel);
            lists_.beginLevel();
        }
        break;
    case Word::ListOverrideTable:
        setDest(Dest::ListOverrideTable);
        break;
    case Word::ListOverride:
        if (s.dest == Dest::ListOverrideTable) {
            setDest(Dest::ListOverride);
            lists_.beginOverride();
        }
        break;
    case Word::Field:
        fieldHref_.clear();
        break;
    case Word::FldInst:
        setDest(Dest::FieldInst);
        fldinst_.clear();
        break;
    case Word::FldRslt:
        s.dest = Dest::Body;
        if (!fieldHref_.isEmpty()) {
            s.text.anchor = fieldHref_;
            charStyleChanged();
        }
        break;
    case Word::Object:
        // Only an object that opens its own group is one: its whole group is kept.
        if (s.dest != Dest::Body || s.inObject || !opensGroup(offset))
            break;
        flushText();
        s.inObject = true;
        s.dest = Dest::Object;
        object_.begin(lastGroupOpen_);
        break;
    case Word::Result:
        s.dest = Dest::Body;
        break;
    case Word::ShpPict:
        break; // its picture is read like any other
    case Word::Upr:
        s.uprOuter = s.dest;
        setDest(Dest::Upr);
        break;
    case Word::Ud:
        if (s.dest == Dest::Upr)
            s.dest = s.uprOuter;
        break;
    default:
        break;
    }
}

void Interpreter::dispatchFlag(Word word) {
    GroupState& s = st();
    PnGroup& pn = lists_.pn();
    switch (word) {
    case Word::Ansi:
        ansiCp_ = 1252;
        break;
    case Word::Mac:
        ansiCp_ = 10000;
        break;
    case Word::Pc:
        ansiCp_ = 437;
        break;
    case Word::Pca:
        ansiCp_ = 850;
        break;
    case Word::Plain: {
        const QString anchor = s.text.anchor; // a field's link is not character formatting
        s.text = TextStyle{};
        s.text.anchor = anchor;
        s.dbch = DbchStyle{};
        s.hidden = false;
        setFontOfState(s, -1);
        charStyleChanged();
        break;
    }
    case Word::UlNone:
        s.text.underline = false;
        charStyleChanged();
        break;
    case Word::NoSuperSub:
        s.text.position = VerticalPosition::Normal;
        charStyleChanged();
        break;
    case Word::Loch:
    case Word::Hich:
    case Word::Dbch:
        s.dbch.active = word == Word::Dbch && !s.dbch.rtl;
        charStyleChanged();
        break;
    case Word::Rtlch:
    case Word::Ltrch:
        s.dbch.rtl = word == Word::Rtlch;
        s.dbch.active = false;
        charStyleChanged();
        break;
    case Word::Pard:
        s.para = ParaStyle{};
        s.ls = 0;
        s.ilvl = 0;
        break;
    case Word::InTable:
        s.para.inTable = true;
        break;
    case Word::CellMergeFirst:
        row_.nextCell.mergeFirst = true;
        break;
    case Word::CellMerged:
        row_.nextCell.merged = true;
        break;
    case Word::CellVMergeFirst:
        row_.nextCell.vMergeFirst = true;
        break;
    case Word::CellVMerged:
        row_.nextCell.vMerged = true;
        break;
    case Word::RowDefaults:
        if (s.dest == Dest::Body)
            row_ = TableRow{};
        break;
    case Word::Ql:
        s.para.align = Alignment::Left;
        break;
    case Word::Qr:
        s.para.align = Alignment::Right;
        break;
    case Word::Qc:
        s.para.align = Alignment::Center;
        break;
    case Word::Qj:
        s.para.align = Alignment::Justify;
        break;
    case Word::PnLvlBlt:
        pn.bullet = true;
        break;
    case Word::PnLvlBody:
        pn.body = true;
        break;
    case Word::PnLvlCont:
        pn.cont = true;
        break;
    case Word::PnDec:
        pn.numbering = ListKind::Decimal;
        break;
    case Word::PnUcLtr:
        pn.numbering = ListKind::UpperAlpha;
        break;
    case Word::PnLcLtr:
        pn.numbering = ListKind::LowerAlpha;
        break;
    case Word::PnUcRm:
        pn.numbering = ListKind::UpperRoman;
        break;
    case Word::PnLcRm:
        pn.numbering = ListKind::LowerRoman;
        break;
    case Word::PngBlip:
        picture_.setKind(PictureKind::Png);
        break;
    case Word::JpegBlip:
        picture_.setKind(PictureKind::Jpeg);
        break;
    case Word::EmfBlip:
        picture_.setKind(PictureKind::Emf);
        break;
    case Word::DiBitmap:
        picture_.setKind(PictureKind::Dib);
        break;
    case Word::OtherPicture:
        picture_.setKind(PictureKind::None);
        break;
    default:
        break;
    }
}

void Interpreter::dispatchToggle(Word word, bool on) {
    GroupState& s = st();
    switch (word) {
    case Word::B:
        s.text.bold = on;
        break;
    case Word::I:
        s.text.italic = on;
        break;
    case Word::Ul:
        s.text.underline = on;
        break;
    case Word::Strike:
        s.text.strike = on;
        break;
    case Word::Super:
        s.text.position = on ? VerticalPosition::Super : VerticalPosition::Normal;
        break;
    case Word::Sub:
        s.text.position = on ? VerticalPosition::Sub : VerticalPosition::Normal;
        break;
    case Word::Hidden:
        flushText();
        s.hidden = on;
        return;
    case Word::Ab:
    case Word::Ai:
        if (!s.dbch.active)
            return; // the associated properties of other slots do not show in this page
        (word == Word::Ab ? s.dbch.bold : s.dbch.italic) = on;
        break;
    default:
        return;
    }
    charStyleChanged();
}

void Interpreter::dispatchValue(Word word, int p, bool has) {
    GroupState& s = st();
    PnGroup& pn = lists_.pn();
    switch (word) {
    case Word::AnsiCpg:
        if (has && p > 0) {
            ansiCp_ = p;
            for (GroupState& each : stack_)
                if (each.font < 0)
                    each.cp = &CodePage::get(ansiCp_);
        }
        break;
    case Word::Deff:
        deff_ = p;
        break;
    case Word::Uc:
        s.uc = std::clamp(p, 0, 16);
        break;
    case Word::U:
        skip_ = 0;
        put(char16_t(p < 0 ? p + 65536 : p));
        skip_ = s.uc;
        break;
    case Word::F:
        if (s.dest == Dest::FontTable) {
            fonts_.beginEntry(p);
        } else {
            setFontOfState(s, p);
            charStyleChanged();
        }
        break;
    case Word::FCharset:
        if (s.dest == Dest::FontTable)
            fonts_.setCharset(p);
        break;
    case Word::Cpg:
        if (s.dest == Dest::FontTable)
            fonts_.setCodePage(p);
        break;
    case Word::Red:
        colors_.setRed(p);
        break;
    case Word::Green:
        colors_.setGreen(p);
        break;
    case Word::Blue:
        colors_.setBlue(p);
        break;
    case Word::Fs:
        s.text.halfPoints = has ? std::clamp(p, 2, 3276) : 24;
        charStyleChanged();
        break;
    case Word::Cf: {
        const std::optional<QRgb> color = colors_.color(p);
        s.text.hasColor = color.has_value();
        s.text.color = color.value_or(0);
        charStyleChanged();
        break;
    }
    case Word::Cb:
    case Word::Highlight: {
        const std::optional<QRgb> color = colors_.color(p);
        s.text.hasBackground = color.has_value();
        s.text.background = color.value_or(0);
        charStyleChanged();
        break;
    }
    case Word::Af:
    case Word::Afs:
        if (!s.dbch.active)
            break; // the associated properties of other slots do not show in this page
        if (word == Word::Af)
            s.dbch.font = p;
        else
            s.dbch.halfPoints = has ? std::clamp(p, 2, 3276) : 24;
        charStyleChanged();
        break;
    case Word::Li:
        s.para.left = clampTwips(p);
        break;
    case Word::Ri:
        s.para.right = clampTwips(p);
        break;
    case Word::Fi:
        s.para.first = clampTwips(p);
        break;
    case Word::Sb:
        s.para.before = std::clamp(p, 0, kMaxTwips);
        break;
    case Word::Sa:
        s.para.after = std::clamp(p, 0, kMaxTwips);
        break;
    case Word::Ls:
        if (s.dest == Dest::ListOverride)
            lists_.setOverrideLs(p);
        else
            s.ls = p;
        break;
    case Word::Ilvl:
        s.ilvl = std::clamp(p, 0, 8);
        break;
    case Word::PnLvl:
        pn.body = true;
        pn.level = std::clamp(p - 1, 0, 8);
        break;
    case Word::PnStart:
        pn.start = std::clamp(p, 0, 32767);
        break;
    case Word::ListId:
        if (s.dest == Dest::List)
            lists_.setListId(p);
        else if (s.dest == Dest::ListOverride)
            lists_.setOverrideListId(p);
        break;
    case Word::LevelNfc:
        if (s.dest == Dest::ListLevel)
            lists_.setLevelNfc(p);
        break;
    case Word::LevelStartAt:
        if (s.dest == Dest::ListLevel)
            lists_.setLevelStart(p);
        break;
    case Word::WMetafile:
        picture_.setKind(PictureKind::Wmf, p);
        break;
    case Word::WBitmap:
        picture_.setKind(PictureKind::Wbitmap, p);
        break;
    case Word::PicW:
        picture_.setSourceWidth(p);
        break;
    case Word::PicH:
        picture_.setSourceHeight(p);
        break;
    case Word::PicWGoal:
        picture_.setGoalWidth(p);
        break;
    case Word::PicHGoal:
        picture_.setGoalHeight(p);
        break;
    case Word::PicScaleX:
        picture_.setScaleX(p);
        break;
    case Word::PicScaleY:
        picture_.setScaleY(p);
        break;
    case Word::Itap:
        s.para.inTable = p > 0;
        break;
    case Word::CellX:
        // A page has few columns; a runaway row definition must not grow without bound.
        if (s.dest == Dest::Body && row_.cellRights.size() < kMaxCells) {
            row_.cellRights.push_back(clampTwips(p));
            row_.cells.push_back(std::exchange(row_.nextCell, TableCell{}));
        }
        break;
    case Word::Up:
    case Word::Dn: {
        const int halfPoints = std::clamp(has ? p : 6, -3276, 3276);
        s.text.raise = word == Word::Up ? halfPoints : -halfPoints;
        charStyleChanged();
        break;
    }
    case Word::ParaBackground:
    case Word::CellBackground:
    case Word::ParaPattern:
    case Word::CellPattern: {
        const bool ofParagraph = word == Word::ParaBackground || word == Word::ParaPattern;
        const bool background = word == Word::ParaBackground || word == Word::CellBackground;
        Shading& shading = ofParagraph ? s.para.shading : row_.nextCell.shading;
        const std::optional<QRgb> color = colors_.color(p);
        (background ? shading.hasBackground : shading.hasPattern) = color.has_value();
        (background ? shading.background : shading.pattern) = color.value_or(0);
        break;
    }
    case Word::ParaShare:
        s.para.shading.share = std::clamp(p, 0, 10000);
        break;
    case Word::CellShare:
        row_.nextCell.shading.share = std::clamp(p, 0, 10000);
        break;
    case Word::RowLeft:
        if (s.dest == Dest::Body)
            row_.left = clampTwips(p);
        break;
    case Word::RowGap:
        if (s.dest == Dest::Body)
            row_.gap = std::clamp(p, 0, kMaxTwips);
        break;
    case Word::ObjW:
        object_.setWidth(p);
        break;
    case Word::ObjH:
        object_.setHeight(p);
        break;
    default:
        break;
    }
}

void Interpreter::dispatchSymbol(const ControlWord& control) {
    const GroupState& s = st();
    switch (control.word) {
    case Word::Par:
        if (s.dest == Dest::Body)
            endParagraph();
        break;
    case Word::Line:
        put(QChar::LineSeparator);
        break;
    case Word::Tab:
        put(u'\t');
        break;
    case Word::Char:
        put(control.ch);
        break;
    case Word::Cell:
        if (s.dest != Dest::Body || s.hidden)
            break;
        if (s.para.inTable && cellsInRow_ + 1 < int(kMaxCells)) {
            endCell();
        } else if (s.para.inTable) { // past the last cell a row may have: a paragraph of it
            endParagraph();
        } else { // a cell mark without \intbl: its cells read as text between tabs
            flushText();
            ++pendingCells_;
        }
        break;
    case Word::Row:
        if (s.dest != Dest::Body)
            break;
        if (cellsInRow_ > 0 || s.para.inTable) {
            endRow();
        } else {
            pendingCells_ = 0;
            endParagraph();
        }
        break;
    default:
        break;
    }
}

// A control symbol: \* (see star_), an escaped character, or one of the few symbols that stand
// for a character or a paragraph end.
void Interpreter::symbol(char c, bool atGroupStart) {
    if (c == '*') {
        // Word processors also write \* in the middle of a group ({\loch\f2 ... \*\cs7 ...});
        // only a group that starts with it is a destination to pass over.
        star_ = atGroupStart ? Star::Destination : Star::Word;
        return;
    }
    star_ = Star::None;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        byteChar(static_cast<unsigned char>(c)); // may be the trail byte of a double-byte character
        return;
    default:
        break;
    }
    if (skip_ > 0 && st().dest != Dest::Pict) {
        --skip_;
        return;
    }
    switch (c) {
    case '~':
        put(0x00A0);
        break;
    case '_':
        put(0x2011);
        break;
    case '\t':
        put(u'\t');
        break;
    case '\n':
    case '\r':
        if (st().dest == Dest::Body)
            endParagraph();
        break;
    default:
        break; // \- (optional hyphen), \: , \| and unknown symbols show nothing
    }
}

} // namespace quillo::rtf

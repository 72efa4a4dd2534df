#include "rtf/interpreter.h"

#include "rtf/codepage.h"
#include "rtf/picture.h"
#include "rtf/tokenizer.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillo::rtf {
namespace {

// Deeper groups than this are still counted (so braces keep matching) but share the state of
// the deepest kept one: malformed input must not make the reader allocate without bound.
constexpr int kMaxDepth = 1024;
constexpr int kMaxTwips = 31680; // 22 inches

enum class Dest : unsigned char {
    Body, // page text
    Skip, // a destination whose text is not part of the page
    FontTable,
    ColorTable,
    Pict,
    PnText, // {\pntext} / {\listtext}: the list marker as text, used when the list is not
            // understood
    Pn,     // {\*\pn}: old-style bullets and numbering
    ListTable,
    List,
    ListLevel,
    ListOverrideTable,
    ListOverride,
    FieldInst,
    Upr,    // {\upr}: the ANSI copy of the {\*\ud} text beside it
    Object, // {\object}: only its {\result} shows
};

enum class Cmd : unsigned char {
    // destinations
    FontTable,
    ColorTable,
    SkipDest,
    Pict,
    PnText,
    Pn,
    ListTable,
    List,
    ListLevel,
    ListOverrideTable,
    ListOverride,
    Field,
    FldInst,
    FldRslt,
    Object,
    ObjData,
    Result,
    ShpPict,
    NonShpPict,
    Upr,
    Ud,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    // fonts and colours
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    Fs,
    B,
    I,
    Ul,
    UlNone,
    Strike,
    Cf,
    Cb,
    Highlight,
    Super,
    Sub,
    NoSuperSub,
    Hidden,
    // associated (double-byte) character formatting
    Loch,
    Hich,
    Dbch,
    Rtlch,
    Ltrch,
    Af,
    Ab,
    Ai,
    Afs,
    // paragraph formatting
    Pard,
    Ql,
    Qr,
    Qc,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Ls,
    Ilvl,
    // text
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Char,
    // lists
    PnLvlBlt,
    PnLvlBody,
    PnLvlCont,
    PnLvl,
    PnDec,
    PnUcLtr,
    PnLcLtr,
    PnUcRm,
    PnLcRm,
    PnStart,
    ListId,
    LevelNfc,
    LevelStartAt,
    // pictures
    PngBlip,
    JpegBlip,
    EmfBlip,
    WMetafile,
    DiBitmap,
    WBitmap,
    OtherPicture,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    ObjW,
    ObjH,
};

struct CmdInfo {
    Cmd cmd;
    char16_t ch = 0; // Cmd::Char
};

const std::unordered_map<std::string_view, CmdInfo>& commands() {
    static const std::unordered_map<std::string_view, CmdInfo> table = [] {
        std::unordered_map<std::string_view, CmdInfo> t;
        auto add = [&](std::initializer_list<std::string_view> names, Cmd cmd) {
            for (auto n : names)
                t.emplace(n, CmdInfo{cmd});
        };
        add({"fonttbl"}, Cmd::FontTable);
        add({"colortbl"}, Cmd::ColorTable);
        add({"stylesheet",
             "info",
             "header",
             "headerl",
             "headerr",
             "headerf",
             "footer",
             "footerl",
             "footerr",
             "footerf",
             "footnote",
             "annotation",
             "atnid",
             "atnauthor",
             "pgdsctbl",
             "revtbl",
             "filetbl",
             "rsidtbl",
             "xmlnstbl",
             "themedata",
             "colorschememapping",
             "latentstyles",
             "datastore",
             "generator",
             "userprops",
             "docvar",
             "mmathPr",
             "listpicture",
             "leveltext",
             "levelnumbers",
             "listname",
             "pntxtb",
             "pntxta",
             "objclass",
             "objname",
             "objtime",
             "shpinst",
             "bkmkstart",
             "bkmkend",
             "xe",
             "tc",
             "txe",
             "rxe",
             "template",
             "comment",
             "author",
             "operator",
             "title",
             "subject",
             "keywords",
             "doccomm",
             "company",
             "falt",
             "panose",
             "fname",

             "ftnsep",
             "ftnsepc",
             "aftnsep",
             "aftnsepc",
             "blipuid",
             "picprop",
             "pnseclvl",
             "wgrffmtfilter",
             "pgptbl",
             "protusertbl",
             "passwordhash",
             "defchp",
             "defpap",
             "tcn",
             "sp",
             "fchars",
             "lchars"},
            Cmd::SkipDest);
        add({"pict"}, Cmd::Pict);
        add({"pntext", "listtext"}, Cmd::PnText);
        add({"pn"}, Cmd::Pn);
        add({"listtable"}, Cmd::ListTable);
        add({"list"}, Cmd::List);
        add({"listlevel"}, Cmd::ListLevel);
        add({"listoverridetable"}, Cmd::ListOverrideTable);
        add({"listoverride"}, Cmd::ListOverride);
        add({"field"}, Cmd::Field);
        add({"fldinst"}, Cmd::FldInst);
        add({"fldrslt", "shprslt"}, Cmd::FldRslt);
        add({"object"}, Cmd::Object);
        add({"objdata", "objalias", "objsect"}, Cmd::ObjData);
        add({"result"}, Cmd::Result);
        add({"shppict", "shp"}, Cmd::ShpPict);
        add({"nonshppict"}, Cmd::NonShpPict);
        add({"upr"}, Cmd::Upr);
        add({"ud"}, Cmd::Ud);
        add({"ansi"}, Cmd::Ansi);
        add({"mac"}, Cmd::Mac);
        add({"pc"}, Cmd::Pc);
        add({"pca"}, Cmd::Pca);
        add({"ansicpg"}, Cmd::AnsiCpg);
        add({"deff"}, Cmd::Deff);
        add({"uc"}, Cmd::Uc);
        add({"u"}, Cmd::U);
        add({"f"}, Cmd::F);
        add({"fcharset"}, Cmd::FCharset);
        add({"cpg"}, Cmd::Cpg);
        add({"red"}, Cmd::Red);
        add({"green"}, Cmd::Green);
        add({"blue"}, Cmd::Blue);
        add({"plain"}, Cmd::Plain);
        add({"fs"}, Cmd::Fs);
        add({"b"}, Cmd::B);
        add({"i"}, Cmd::I);
        add({"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
             "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
             "ulwave"},
            Cmd::Ul);
        add({"ulnone"}, Cmd::UlNone);
        add({"strike", "striked"}, Cmd::Strike);
        add({"cf"}, Cmd::Cf);
        add({"cb", "chcbpat"}, Cmd::Cb);
        add({"highlight"}, Cmd::Highlight);
        add({"super"}, Cmd::Super);
        add({"sub"}, Cmd::Sub);
        add({"nosupersub"}, Cmd::NoSuperSub);
        add({"v"}, Cmd::Hidden);
        add({"loch"}, Cmd::Loch);
        add({"hich"}, Cmd::Hich);
        add({"dbch"}, Cmd::Dbch);
        add({"rtlch"}, Cmd::Rtlch);
        add({"ltrch"}, Cmd::Ltrch);
        add({"af"}, Cmd::Af);
        add({"ab"}, Cmd::Ab);
        add({"ai"}, Cmd::Ai);
        add({"afs"}, Cmd::Afs);
        add({"pard"}, Cmd::Pard);
        add({"ql"}, Cmd::Ql);
        add({"qr"}, Cmd::Qr);
        add({"qc"}, Cmd::Qc);
        add({"qj", "qd"}, Cmd::Qj);
        add({"li", "lin"}, Cmd::Li);
        add({"ri", "rin"}, Cmd::Ri);
        add({"fi"}, Cmd::Fi);
        add({"sb"}, Cmd::Sb);
        add({"sa"}, Cmd::Sa);
        add({"ls"}, Cmd::Ls);
        add({"ilvl"}, Cmd::Ilvl);
        add({"par"}, Cmd::Par);
        add({"line"}, Cmd::Line);
        add({"tab"}, Cmd::Tab);
        add({"cell", "nestcell"}, Cmd::Cell);
        add({"row", "nestrow"}, Cmd::Row);
        add({"pnlvlblt"}, Cmd::PnLvlBlt);
        add({"pnlvlbody"}, Cmd::PnLvlBody);
        add({"pnlvlcont"}, Cmd::PnLvlCont);
        add({"pnlvl"}, Cmd::PnLvl);
        add({"pndec"}, Cmd::PnDec);
        add({"pnucltr"}, Cmd::PnUcLtr);
        add({"pnlcltr"}, Cmd::PnLcLtr);
        add({"pnucrm"}, Cmd::PnUcRm);
        add({"pnlcrm"}, Cmd::PnLcRm);
        add({"pnstart"}, Cmd::PnStart);
        add({"listid"}, Cmd::ListId);
        add({"levelnfc", "levelnfcn"}, Cmd::LevelNfc);
        add({"levelstartat"}, Cmd::LevelStartAt);
        add({"pngblip"}, Cmd::PngBlip);
        add({"jpegblip"}, Cmd::JpegBlip);
        add({"emfblip"}, Cmd::EmfBlip);
        add({"wmetafile"}, Cmd::WMetafile);
        add({"dibitmap"}, Cmd::DiBitmap);
        add({"wbitmap"}, Cmd::WBitmap);
        add({"macpict", "pmmetafile"}, Cmd::OtherPicture);
        add({"picw"}, Cmd::PicW);
        add({"pich"}, Cmd::PicH);
        add({"picwgoal"}, Cmd::PicWGoal);
        add({"pichgoal"}, Cmd::PicHGoal);
        add({"picscalex"}, Cmd::PicScaleX);
        add({"picscaley"}, Cmd::PicScaleY);
        add({"objw"}, Cmd::ObjW);
        add({"objh"}, Cmd::ObjH);
        auto ch = [&](std::string_view n, char16_t c) { t.emplace(n, CmdInfo{Cmd::Char, c}); };
        ch("emdash", 0x2014);
        ch("endash", 0x2013);
        ch("bullet", 0x2022);
        ch("lquote", 0x2018);
        ch("rquote", 0x2019);
        ch("ldblquote", 0x201C);
        ch("rdblquote", 0x201D);
        ch("emspace", 0x2003);
        ch("enspace", 0x2002);
        ch("qmspace", 0x2005);
        ch("zwj", 0x200D);
        ch("zwnj", 0x200C);
        ch("ltrmark", 0x200E);
        ch("rtlmark", 0x200F);
        return t;
    }();
    return table;
}

struct FontInfo {
    QString name;
    int charset = -1;
    int cpg = 0;
};

struct ListLevelInfo {
    int nfc = 0;
    int start = 1;
};

// Old-style bullets and numbering as read from one {\*\pn} group.
struct PnInfo {
    bool bullet = false;
    bool body = false;
    bool cont = false;
    int level = 0;
    ListKind numbering = ListKind::None;
    int start = 0; // 0: not given
};

ListKind kindOfNfc(int nfc) {
    switch (nfc) {
    case 23:
        return ListKind::Bullet;
    case 255:
        return ListKind::None;
    case 1:
        return ListKind::UpperRoman;
    case 2:
        return ListKind::LowerRoman;
    case 3:
        return ListKind::UpperAlpha;
    case 4:
        return ListKind::LowerAlpha;
    default:
        return ListKind::Decimal;
    }
}

// Whether the bytes are exactly one balanced group.
bool isOneGroup(QByteArrayView rtf) {
    Tokenizer tokens(rtf);
    Token t;
    int depth = 0;
    for (tokens.next(t); t.type != TokenType::End; tokens.next(t)) {
        if (t.type == TokenType::GroupOpen)
            ++depth;
        else if (t.type == TokenType::GroupClose && --depth == 0)
            return tokens.position() == rtf.size();
        else if (depth == 0)
            return false;
    }
    return false;
}

int clampTwips(int v) {
    return std::clamp(v, -kMaxTwips, kMaxTwips);
}

// The double-byte slot of the character formatting: LibreOffice and Word name it with \dbch and
// give its font, boldness, slant and size as \af \ab \ai \afs, which then hold for the text
// that follows (LibreOffice writes the bold of Japanese text only as \ab).
struct DbchStyle {
    bool active = false; // \dbch named last (not \loch or \hich), left to right
    bool rtl = false;    // \rtlch: the associated properties are the right-to-left ones
    int font = -1;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<int> halfPoints;
};

struct State {
    Dest dest = Dest::Body;
    bool ownsDest = false; // this group opened its destination
    bool hidden = false;
    bool inObject = false;
    Dest uprOuter = Dest::Body;
    int uc = 1;
    int font = -1; // -1: the default font
    const CodePage* cp = nullptr;
    int ls = 0;
    int ilvl = 0;
    TextStyle text;
    DbchStyle dbch;
    ParaStyle para;
};

class Interpreter {
public:
    Interpreter(QByteArrayView rtf, Sink& sink)
        : tokens_(rtf), sink_(sink), wantPictures_(sink.wantsPictureData()) {
        stack_.reserve(64);
        stack_.push_back(State{});
        stack_.back().cp = &CodePage::get(ansiCp_);
    }

    void run();

private:
    State& st() { return stack_.back(); }

    void openGroup(qsizetype offset);
    void closeGroup(qsizetype offset);
    void word(const Token& t);
    void symbol(char c);
    void textRun(QByteArrayView run);
    void hexByte(unsigned char b);
    void hexRunInBody(unsigned char b);
    void binary(QByteArrayView data);

    void byteChar(unsigned char b);
    void put(char16_t c);
    void emitBody(char16_t c);
    void flushLead();
    void prepareBody();
    void flushText();
    void endParagraph();
    ParaStyle resolvedPara() const;
    int lsSequence(int ls, int level);
    void setDest(Dest d);
    bool opensGroup(qsizetype offset) const;
    void charStyleChanged() { styleDirty_ = true; }
    void commitFont();
    void applyDefaultFont();
    const CodePage* codePageOfFont(int font) const;
    void finishPn(State& target);
    void decodePictureData();
    void showPicture(const Picture& picture);
    void finishObject(qsizetype closeOffset);
    static QString hyperlinkTarget(const QString& instruction);
    const CodePage* currentCodePage() const;
    void setFontOfState(State& s, int font);
    TextStyle shownStyle() const;
    const CodePage* textCodePage() const;

    Tokenizer tokens_;
    Sink& sink_;
    const bool wantPictures_;
    std::vector<State> stack_;
    int overflow_ = 0;
    bool ignorableNext_ = false;
    qsizetype lastGroupOpen_ = 0;

    int ansiCp_ = 1252;
    int deff_ = 0;
    std::unordered_map<int, FontInfo> fonts_;
    int fontEntry_ = -1;
    FontInfo fontEntryInfo_;
    std::vector<std::optional<QRgb>> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    QString pending_;
    TextStyle pendingStyle_;
    bool styleDirty_ = true;
    int lead_ = -1;
    const CodePage* leadCp_ = nullptr;
    int skip_ = 0;

    bool paragraphStarted_ = false;
    int pendingCells_ = 0;
    QString pntext_;

    PnInfo pn_;
    ParaStyle lastPara_;
    bool lastParaFromPn_ = false;
    std::unordered_map<int, int> itemCount_;                  // list items seen per sequence
    std::unordered_map<int, std::pair<int, int>> lastPnList_; // kind and level -> sequence, start
    int sequenceCounter_ = 0;
    std::unordered_map<int, std::vector<ListLevelInfo>> lists_;
    std::unordered_map<int, int> overrides_; // \ls -> \listid
    std::unordered_map<long long, int> lsSequences_;
    int listId_ = 0;
    std::vector<ListLevelInfo> listLevels_;
    ListLevelInfo level_;
    int overrideListId_ = 0;
    int overrideLs_ = 0;

    QString fldinst_;
    QString fieldHref_;

    Picture pict_;
    QByteArray pictHex_;
    std::optional<Picture> objectPicture_;
    qsizetype objectStart_ = -1;
    bool objectHadText_ = false;
    int objW_ = 0, objH_ = 0;
};

void Interpreter::run() {
    Token t;
    for (;;) {
        unsigned char trail;
        if (lead_ >= 0 && tokens_.takeTrailByte(trail)) {
            byteChar(trail);
            continue;
        }
        tokens_.next(t);
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
            symbol(t.symbol);
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
    ignorableNext_ = false;
    if (stack_.size() >= kMaxDepth) {
        ++overflow_;
        return;
    }
    State copy = st();
    copy.ownsDest = false;
    stack_.push_back(std::move(copy));
    lastGroupOpen_ = offset;
}

void Interpreter::closeGroup(qsizetype offset) {
    flushLead();
    skip_ = 0;
    ignorableNext_ = false;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.size() <= 1)
        return; // an unbalanced closing brace: ignore it
    const State& closing = st();
    const Dest dest = closing.dest;
    const bool owns = closing.ownsDest;
    const bool closingInObject = closing.inObject;
    const bool endsObject = closingInObject && !stack_[stack_.size() - 2].inObject;
    if (dest == Dest::FontTable)
        commitFont(); // the end of {\fN ... Name;} or of the table
    if (owns) {
        switch (dest) {
        case Dest::Pict:
            decodePictureData();
            break;
        case Dest::FieldInst:
            fieldHref_ = hyperlinkTarget(fldinst_);
            break;
        case Dest::ListLevel:
            listLevels_.push_back(level_);
            break;
        case Dest::List:
            if (listId_ != 0)
                lists_[listId_] = listLevels_;
            break;
        case Dest::ListOverride:
            if (overrideLs_ != 0)
                overrides_[overrideLs_] = overrideListId_;
            break;
        default:
            break;
        }
    }
    stack_.pop_back();
    styleDirty_ = true;
    if (owns && dest == Dest::Pn) {
        finishPn(st());
    } else if (owns && dest == Dest::FontTable) {
        applyDefaultFont();
    } else if (owns && dest == Dest::Pict) {
        if (closingInObject) { // the picture belongs to the object (its result, or the object group
                               // itself)
            if (!objectPicture_)
                objectPicture_ = pict_;
        } else {
            showPicture(pict_);
        }
    }
    if (endsObject)
        finishObject(offset);
}

// The link of a HYPERLINK field instruction: HYPERLINK "target" (or an unquoted word).
QString Interpreter::hyperlinkTarget(const QString& instruction) {
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

void Interpreter::showPicture(const Picture& picture) {
    if (st().dest != Dest::Body || st().hidden)
        return;
    prepareBody();
    flushText();
    sink_.picture(picture, shownStyle());
}

// An OLE object shows its result picture (or a box of its size) and keeps the whole group,
// when it is 7-bit text, so that writing the page gives the object back.
void Interpreter::finishObject(qsizetype closeOffset) {
    Picture picture = objectPicture_ ? *objectPicture_ : Picture{};
    objectPicture_.reset();
    if (picture.kind == PictureKind::None && picture.goalW == 0) {
        picture.goalW = objW_;
        picture.goalH = objH_;
    }
    // An object whose result holds text cannot stand as one picture: it shows as read.
    if (objectStart_ >= 0 && closeOffset >= objectStart_ && !objectHadText_) {
        const QByteArrayView group =
            tokens_.input().sliced(objectStart_, closeOffset + 1 - objectStart_);
        const bool sevenBit = std::all_of(group.begin(), group.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x80 && c != 0;
        });
        // Kept only when it reads the same anywhere: 7-bit, no escaped bytes (which could pair
        // with what surrounds them), no binary data, and braces that balance.
        if (sevenBit && !group.contains(QByteArrayView("\\bin")) &&
            !group.contains(QByteArrayView("\\'")) && isOneGroup(group))
            picture.objectRtf = group.toByteArray();
    }
    objectStart_ = -1;
    showPicture(picture);
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

void Interpreter::word(const Token& t) {
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;
    const auto& table = commands();
    const auto it = table.find(std::string_view(t.text.data(), size_t(t.text.size())));
    if (it == table.end()) {
        if (ignorable)
            setDest(Dest::Skip);
        else if (skip_ > 0)
            --skip_;
        return;
    }
    const Cmd cmd = it->second.cmd;
    const int p = t.param;
    const bool has = t.hasParam;
    const bool on = !has || p != 0;
    State& s = st();
    if (cmd != Cmd::U && skip_ > 0 && s.dest != Dest::Pict) {
        // A control word inside the fallback of \uN counts as one fallback character.
        --skip_;
        return;
    }
    if (lead_ >= 0)
        flushLead();
    if (s.dest == Dest::Skip && cmd <= Cmd::Ud)
        return; // destinations inside a skipped one stay skipped
    switch (cmd) {
    case Cmd::FontTable:
        setDest(Dest::FontTable);
        fontEntry_ = -1;
        break;
    case Cmd::ColorTable:
        setDest(Dest::ColorTable);
        colors_.clear();
        colorGiven_ = false;
        red_ = green_ = blue_ = 0;
        break;
    case Cmd::SkipDest:
    case Cmd::ObjData:
    case Cmd::NonShpPict:
        setDest(Dest::Skip);
        break;
    case Cmd::Pict:
        if (s.dest == Dest::Skip)
            break;
        setDest(Dest::Pict);
        pict_ = Picture{};
        pictHex_.clear();
        break;
    case Cmd::PnText:
        if (s.dest != Dest::Body)
            break;
        setDest(Dest::PnText);
        pntext_.clear();
        break;
    case Cmd::Pn:
        if (s.dest != Dest::Body)
            break;
        setDest(Dest::Pn);
        pn_ = PnInfo{};
        break;
    case Cmd::ListTable:
        setDest(Dest::ListTable);
        break;
    case Cmd::List:
        if (s.dest == Dest::ListTable) {
            setDest(Dest::List);
            listId_ = 0;
            listLevels_.clear();
        }
        break;
    case Cmd::ListLevel:
        if (s.dest == Dest::List) {
            setDest(Dest::ListLevel);
            level_ = ListLevelInfo{};
        }
        break;
    case Cmd::ListOverrideTable:
        setDest(Dest::ListOverrideTable);
        break;
    case Cmd::ListOverride:
        if (s.dest == Dest::ListOverrideTable) {
            setDest(Dest::ListOverride);
            overrideListId_ = 0;
            overrideLs_ = 0;
        }
        break;
    case Cmd::Field:
        fieldHref_.clear();
        break;
    case Cmd::FldInst:
        setDest(Dest::FieldInst);
        fldinst_.clear();
        break;
    case Cmd::FldRslt:
        if (s.dest == Dest::Skip)
            break;
        s.dest = Dest::Body;
        if (!fieldHref_.isEmpty()) {
            s.text.anchor = fieldHref_;
            charStyleChanged();
        }
        break;
    case Cmd::Object:
        // Only an object that opens its own group is one: its whole group is kept.
        if (s.dest != Dest::Body || s.inObject || !opensGroup(t.offset))
            break;
        flushText();
        s.inObject = true;
        s.dest = Dest::Object;
        objectHadText_ = false;
        objectStart_ = lastGroupOpen_;
        objectPicture_.reset();
        objW_ = objH_ = 0;
        break;
    case Cmd::Result:
        if (s.dest == Dest::Skip)
            break;
        s.dest = Dest::Body;
        break;
    case Cmd::ShpPict:
        break; // its picture is read like any other
    case Cmd::Upr:
        s.uprOuter = s.dest;
        setDest(Dest::Upr);
        break;
    case Cmd::Ud:
        if (s.dest == Dest::Upr)
            s.dest = s.uprOuter;
        break;
    case Cmd::Ansi:
        ansiCp_ = 1252;
        break;
    case Cmd::Mac:
        ansiCp_ = 10000;
        break;
    case Cmd::Pc:
        ansiCp_ = 437;
        break;
    case Cmd::Pca:
        ansiCp_ = 850;
        break;
    case Cmd::AnsiCpg:
        if (has && p > 0) {
            ansiCp_ = p;
            for (State& each : stack_)
                if (each.font < 0)
                    each.cp = &CodePage::get(ansiCp_);
        }
        break;
    case Cmd::Deff:
        deff_ = p;
        break;
    case Cmd::Uc:
        s.uc = std::clamp(p, 0, 16);
        break;
    case Cmd::U: {
        skip_ = 0;
        const char16_t c = char16_t(p < 0 ? p + 65536 : p);
        put(c);
        skip_ = s.uc;
        break;
    }
    case Cmd::F:
        if (s.dest == Dest::FontTable) {
            commitFont();
            fontEntry_ = p;
            fontEntryInfo_ = FontInfo{};
        } else {
            setFontOfState(s, p);
            charStyleChanged();
        }
        break;
    case Cmd::FCharset:
        if (s.dest == Dest::FontTable)
            fontEntryInfo_.charset = p;
        break;
    case Cmd::Cpg:
        if (s.dest == Dest::FontTable)
            fontEntryInfo_.cpg = p;
        break;
    case Cmd::Red:
        red_ = std::clamp(p, 0, 255);
        colorGiven_ = true;
        break;
    case Cmd::Green:
        green_ = std::clamp(p, 0, 255);
        colorGiven_ = true;
        break;
    case Cmd::Blue:
        blue_ = std::clamp(p, 0, 255);
        colorGiven_ = true;
        break;
    case Cmd::Plain: {
        const TextStyle old = s.text;
        s.text = TextStyle{};
        s.text.anchor = old.anchor;
        s.dbch = DbchStyle{};
        s.hidden = false;
        setFontOfState(s, -1);
        charStyleChanged();
        break;
    }
    case Cmd::Fs:
        s.text.halfPoints = has ? std::clamp(p, 2, 3276) : 24;
        charStyleChanged();
        break;
    case Cmd::B:
        s.text.bold = on;
        charStyleChanged();
        break;
    case Cmd::I:
        s.text.italic = on;
        charStyleChanged();
        break;
    case Cmd::Ul:
        s.text.underline = on;
        charStyleChanged();
        break;
    case Cmd::UlNone:
        s.text.underline = false;
        charStyleChanged();
        break;
    case Cmd::Strike:
        s.text.strike = on;
        charStyleChanged();
        break;
    case Cmd::Cf:
    case Cmd::Cb:
    case Cmd::Highlight: {
        std::optional<QRgb> color;
        if (has && p > 0 && size_t(p) < colors_.size())
            color = colors_[size_t(p)];
        if (cmd == Cmd::Cf) {
            s.text.hasColor = color.has_value();
            s.text.color = color.value_or(0);
        } else {
            s.text.hasBackground = color.has_value();
            s.text.background = color.value_or(0);
        }
        charStyleChanged();
        break;
    }
    case Cmd::Super:
        s.text.position = on ? VerticalPosition::Super : VerticalPosition::Normal;
        charStyleChanged();
        break;
    case Cmd::Sub:
        s.text.position = on ? VerticalPosition::Sub : VerticalPosition::Normal;
        charStyleChanged();
        break;
    case Cmd::NoSuperSub:
        s.text.position = VerticalPosition::Normal;
        charStyleChanged();
        break;
    case Cmd::Hidden:
        flushText();
        s.hidden = on;
        break;
    case Cmd::Loch:
    case Cmd::Hich:
    case Cmd::Dbch:
        s.dbch.active = cmd == Cmd::Dbch && !s.dbch.rtl;
        charStyleChanged();
        break;
    case Cmd::Rtlch:
    case Cmd::Ltrch:
        s.dbch.rtl = cmd == Cmd::Rtlch;
        s.dbch.active = false;
        charStyleChanged();
        break;
    case Cmd::Af:
    case Cmd::Ab:
    case Cmd::Ai:
    case Cmd::Afs:
        if (!s.dbch.active)
            break; // the associated properties of other slots do not show in this page
        if (cmd == Cmd::Af)
            s.dbch.font = p;
        else if (cmd == Cmd::Ab)
            s.dbch.bold = on;
        else if (cmd == Cmd::Ai)
            s.dbch.italic = on;
        else
            s.dbch.halfPoints = has ? std::clamp(p, 2, 3276) : 24;
        charStyleChanged();
        break;
    case Cmd::Pard:
        s.para = ParaStyle{};
        s.ls = 0;
        s.ilvl = 0;
        break;
    case Cmd::Ql:
        s.para.align = Alignment::Left;
        break;
    case Cmd::Qr:
        s.para.align = Alignment::Right;
        break;
    case Cmd::Qc:
        s.para.align = Alignment::Center;
        break;
    case Cmd::Qj:
        s.para.align = Alignment::Justify;
        break;
    case Cmd::Li:
        s.para.left = clampTwips(p);
        break;
    case Cmd::Ri:
        s.para.right = clampTwips(p);
        break;
    case Cmd::Fi:
        s.para.first = clampTwips(p);
        break;
    case Cmd::Sb:
        s.para.before = std::clamp(p, 0, kMaxTwips);
        break;
    case Cmd::Sa:
        s.para.after = std::clamp(p, 0, kMaxTwips);
        break;
    case Cmd::Ls:
        if (s.dest == Dest::ListOverride)
            overrideLs_ = p;
        else
            s.ls = p;
        break;
    case Cmd::Ilvl:
        s.ilvl = std::clamp(p, 0, 8);
        break;
    case Cmd::Par:
        if (s.dest == Dest::Body)
            endParagraph();
        break;
    case Cmd::Line:
        put(QChar::LineSeparator);
        break;
    case Cmd::Tab:
        put(u'\t');
        break;
    case Cmd::Char:
        put(it->second.ch);
        break;
    case Cmd::Cell:
        if (s.dest == Dest::Body && !s.hidden) {
            flushText();
            ++pendingCells_;
        }
        break;
    case Cmd::Row:
        if (s.dest == Dest::Body) {
            pendingCells_ = 0;
            endParagraph();
        }
        break;
    case Cmd::PnLvlBlt:
        pn_.bullet = true;
        break;
    case Cmd::PnLvlBody:
        pn_.body = true;
        break;
    case Cmd::PnLvlCont:
        pn_.cont = true;
        break;
    case Cmd::PnLvl:
        pn_.body = true;
        pn_.level = std::clamp(p - 1, 0, 8);
        break;
    case Cmd::PnDec:
        pn_.numbering = ListKind::Decimal;
        break;
    case Cmd::PnUcLtr:
        pn_.numbering = ListKind::UpperAlpha;
        break;
    case Cmd::PnLcLtr:
        pn_.numbering = ListKind::LowerAlpha;
        break;
    case Cmd::PnUcRm:
        pn_.numbering = ListKind::UpperRoman;
        break;
    case Cmd::PnLcRm:
        pn_.numbering = ListKind::LowerRoman;
        break;
    case Cmd::PnStart:
        pn_.start = std::clamp(p, 0, 32767);
        break;
    case Cmd::ListId:
        if (s.dest == Dest::List)
            listId_ = p;
        else if (s.dest == Dest::ListOverride)
            overrideListId_ = p;
        break;
    case Cmd::LevelNfc:
        if (s.dest == Dest::ListLevel)
            level_.nfc = p;
        break;
    case Cmd::LevelStartAt:
        if (s.dest == Dest::ListLevel)
            level_.start = std::clamp(p, 0, 32767);
        break;
    case Cmd::PngBlip:
        pict_.kind = PictureKind::Png;
        break;
    case Cmd::JpegBlip:
        pict_.kind = PictureKind::Jpeg;
        break;
    case Cmd::EmfBlip:
        pict_.kind = PictureKind::Emf;
        break;
    case Cmd::WMetafile:
        pict_.kind = PictureKind::Wmf;
        pict_.mapMode = std::clamp(p, 0, 64);
        break;
    case Cmd::DiBitmap:
        pict_.kind = PictureKind::Dib;
        break;
    case Cmd::WBitmap:
        pict_.kind = PictureKind::Wbitmap;
        pict_.mapMode = std::clamp(p, 0, 64);
        break;
    case Cmd::OtherPicture:
        pict_.kind = PictureKind::None;
        break;
    case Cmd::PicW:
        pict_.picW = std::clamp(p, 0, 1000000);
        break;
    case Cmd::PicH:
        pict_.picH = std::clamp(p, 0, 1000000);
        break;
    case Cmd::PicWGoal:
        pict_.goalW = std::clamp(p, 0, 4 * kMaxTwips);
        break;
    case Cmd::PicHGoal:
        pict_.goalH = std::clamp(p, 0, 4 * kMaxTwips);
        break;
    case Cmd::PicScaleX:
        pict_.scaleX = std::clamp(p, 1, 1000);
        break;
    case Cmd::PicScaleY:
        pict_.scaleY = std::clamp(p, 1, 1000);
        break;
    case Cmd::ObjW:
        objW_ = std::clamp(p, 0, 4 * kMaxTwips);
        break;
    case Cmd::ObjH:
        objH_ = std::clamp(p, 0, 4 * kMaxTwips);
        break;
    }
}

void Interpreter::symbol(char c) {
    if (c == '*') {
        ignorableNext_ = true;
        return;
    }
    ignorableNext_ = false;
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

void Interpreter::hexByte(unsigned char b) {
    ignorableNext_ = false;
    State& s = st();
    if (s.dest == Dest::Pict) {
        return; // the picture's data is plain hex text, not escapes
    }
    if (s.dest == Dest::Body && !s.hidden && skip_ == 0) {
        hexRunInBody(b);
        return;
    }
    byteChar(b);
    // Runs of escaped bytes (Japanese text from rich-edit controls) without a token each.
    unsigned char next;
    while (tokens_.nextHexByte(next))
        byteChar(next);
}

// The common case of page text written as \'hh escapes: decoded straight into the pending run.
void Interpreter::hexRunInBody(unsigned char first) {
    const CodePage* cp = textCodePage();
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
    ignorableNext_ = false;
    if (st().dest == Dest::Pict) {
        if (wantPictures_)
            pict_.data.append(data);
        return;
    }
    if (skip_ > 0)
        --skip_;
}

void Interpreter::textRun(QByteArrayView run) {
    ignorableNext_ = false;
    State& s = st();
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
        if (wantPictures_)
            pictHex_.append(run);
        return;
    case Dest::ColorTable:
        for (; p < end; ++p)
            if (*p == ';') {
                if (colorGiven_)
                    colors_.push_back(qRgb(red_, green_, blue_));
                else
                    colors_.push_back(std::nullopt);
                colorGiven_ = false;
                red_ = green_ = blue_ = 0;
            }
        return;
    case Dest::FontTable:
        for (; p < end; ++p) {
            if (skip_ > 0) {
                --skip_;
            } else if (*p == ';' && lead_ < 0) {
                commitFont();
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
        const unsigned char lead = static_cast<unsigned char>(lead_);
        lead_ = -1;
        put(leadCp_->pair(lead, b));
        return;
    }
    const CodePage* cp = currentCodePage();
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

void Interpreter::flushLead() {
    if (lead_ < 0)
        return;
    lead_ = -1;
    put(0xFFFD); // a lead byte whose trail byte never came
}

// One decoded character into the current destination.
void Interpreter::put(char16_t c) {
    State& s = st();
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
            fontEntryInfo_.name.append(QChar(c));
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
        objectHadText_ = true;
    if (!paragraphStarted_) {
        paragraphStarted_ = true;
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
    pending_.clear();
}

void Interpreter::endParagraph() {
    flushLead();
    if (st().inObject)
        objectHadText_ = true;
    if (!paragraphStarted_ && !pntext_.isEmpty())
        prepareBody();
    flushText();
    const ParaStyle style = resolvedPara();
    sink_.paragraph(style);
    if (style.isListItem())
        ++itemCount_[style.listSequence];
    lastPara_ = style;
    lastParaFromPn_ = style.isListItem() && st().ls == 0;
    paragraphStarted_ = false;
    pendingCells_ = 0;
    pntext_.clear();
}

ParaStyle Interpreter::resolvedPara() const {
    const State& s = stack_.back();
    ParaStyle p = s.para;
    if (s.ls > 0) {
        p.list = ListKind::None;
        const auto o = overrides_.find(s.ls);
        if (o != overrides_.end()) {
            const auto l = lists_.find(o->second);
            if (l != lists_.end() && !l->second.empty()) {
                const ListLevelInfo& level =
                    l->second[size_t(std::min<int>(s.ilvl, int(l->second.size()) - 1))];
                p.list = kindOfNfc(level.nfc);
                p.listLevel = s.ilvl;
                p.listStart = level.start;
                p.listSequence = const_cast<Interpreter*>(this)->lsSequence(s.ls, s.ilvl);
            }
        }
    }
    if (!p.isListItem()) {
        p.listLevel = 0;
        p.listSequence = 0;
        p.listStart = 1;
    }
    return p;
}

int Interpreter::lsSequence(int ls, int level) {
    const long long key = (static_cast<long long>(ls) << 8) | level;
    auto [it, added] = lsSequences_.try_emplace(key, 0);
    if (added)
        it->second = ++sequenceCounter_;
    return it->second;
}

// The paragraph the closed {\*\pn} group belongs to becomes a list item: it continues the list
// of the paragraph before when that one is an item of the same kind and level (and the start
// number, if given, follows on), and starts a new list otherwise.
void Interpreter::finishPn(State& target) {
    ParaStyle& p = target.para;
    ListKind kind = ListKind::None;
    if (pn_.bullet)
        kind = ListKind::Bullet;
    else if (pn_.body && !pn_.cont)
        kind = pn_.numbering == ListKind::None ? ListKind::Decimal : pn_.numbering;
    if (kind == ListKind::None) {
        p.list = ListKind::None;
        return;
    }
    const int level = pn_.level;
    // The last list of this kind and level: a start number that follows on from it continues
    // it even after other paragraphs (a numbered list interrupted by a note).
    auto& previous = lastPnList_[(int(kind) << 8) | level];
    bool continues = lastParaFromPn_ && lastPara_.list == kind && lastPara_.listLevel == level;
    if (continues && pn_.start > 0)
        continues = pn_.start == lastPara_.listStart + itemCount_[lastPara_.listSequence];
    const bool resumes = !continues && pn_.start > 1 && previous.first != 0 &&
                         pn_.start == previous.second + itemCount_[previous.first];
    p.list = kind;
    p.listLevel = level;
    if (continues) {
        p.listSequence = lastPara_.listSequence;
        p.listStart = lastPara_.listStart;
    } else if (resumes) {
        p.listSequence = previous.first;
        p.listStart = previous.second;
    } else {
        p.listSequence = ++sequenceCounter_;
        p.listStart = pn_.start > 0 ? pn_.start : 1;
    }
    previous = {p.listSequence, p.listStart};
    target.ls = 0;
}

void Interpreter::decodePictureData() {
    if (wantPictures_ && pict_.data.isEmpty()) {
        pict_.data.reserve(pictHex_.size() / 2);
        int hi = -1;
        for (char c : std::as_const(pictHex_)) {
            int v;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (c >= 'a' && c <= 'f')
                v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v = c - 'A' + 10;
            else
                continue;
            if (hi < 0) {
                hi = v;
            } else {
                pict_.data.append(char(hi * 16 + v));
                hi = -1;
            }
        }
    }
    pictHex_.clear();
}

void Interpreter::commitFont() {
    if (fontEntry_ < 0)
        return;
    FontInfo info = fontEntryInfo_;
    if (lead_ >= 0)
        flushLead();
    info.name = info.name.trimmed();
    fonts_[fontEntry_] = info;
    fontEntry_ = -1;
    fontEntryInfo_ = FontInfo{};
}

const CodePage* Interpreter::codePageOfFont(int font) const {
    const auto it = fonts_.find(font);
    if (it != fonts_.end()) {
        const int fromCharset = it->second.charset >= 0 ? codePageOfCharset(it->second.charset) : 0;
        if (fromCharset != 0)
            return &CodePage::get(fromCharset);
        if (it->second.cpg > 0)
            return &CodePage::get(it->second.cpg);
    }
    return &CodePage::get(ansiCp_);
}

// Font names decode in their own font's character set, text in its font's.
const CodePage* Interpreter::currentCodePage() const {
    const State& s = stack_.back();
    if (s.dest != Dest::FontTable)
        return textCodePage();
    const int fromCharset =
        fontEntryInfo_.charset >= 0 ? codePageOfCharset(fontEntryInfo_.charset) : 0;
    if (fromCharset != 0)
        return &CodePage::get(fromCharset);
    return &CodePage::get(fontEntryInfo_.cpg > 0 ? fontEntryInfo_.cpg : ansiCp_);
}

void Interpreter::setFontOfState(State& s, int font) {
    s.font = font;
    const int f = font < 0 ? deff_ : font;
    const auto it = fonts_.find(f);
    s.text.family = it != fonts_.end() ? it->second.name : QString();
    s.cp = codePageOfFont(f);
}

// The style the text that follows shows in: the double-byte slot's properties where it is the
// current one.
TextStyle Interpreter::shownStyle() const {
    const State& s = stack_.back();
    if (!s.dbch.active)
        return s.text;
    TextStyle t = s.text;
    if (s.dbch.font >= 0) {
        const auto it = fonts_.find(s.dbch.font);
        if (it != fonts_.end())
            t.family = it->second.name;
    }
    t.bold = s.dbch.bold.value_or(t.bold);
    t.italic = s.dbch.italic.value_or(t.italic);
    t.halfPoints = s.dbch.halfPoints.value_or(t.halfPoints);
    return t;
}

// The code page of the text that follows (the double-byte slot's font where it is current).
const CodePage* Interpreter::textCodePage() const {
    const State& s = stack_.back();
    if (s.dbch.active && s.dbch.font >= 0 && fonts_.count(s.dbch.font))
        return codePageOfFont(s.dbch.font);
    return s.cp;
}

void Interpreter::applyDefaultFont() {
    for (State& s : stack_)
        if (s.font < 0)
            setFontOfState(s, -1);
    styleDirty_ = true;
}

} // namespace

void interpret(QByteArrayView rtf, Sink& sink) {
    Interpreter(rtf, sink).run();
}

} // namespace quillo::rtf

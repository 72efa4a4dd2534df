#pragma once

#include <QByteArrayView>

// The control words the RTF reader understands, each with the kind of action it takes.
namespace quillo::rtf {

// How a control word acts on the reader.
enum class WordKind : unsigned char {
    Destination, // the group it opens holds something other than page text (or nothing)
    Flag,        // sets or resets a property; takes no parameter
    Toggle,      // switches a property on, or off with the parameter 0
    Value,       // sets a property to its parameter
    Symbol,      // stands for a character or a break in the text
};

enum class Word : unsigned char {
    // destinations
    FontTable,
    ColorTable,
    Skip, // a destination whose content is not part of the page
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
    Result,
    ShpPict,
    Upr,
    Ud,
    // flags
    Ansi,
    Mac,
    Pc,
    Pca,
    Plain,
    UlNone,
    NoSuperSub,
    Loch,
    Hich,
    Dbch,
    Rtlch,
    Ltrch,
    Pard,
    InTable,
    RowDefaults,
    Ql,
    Qr,
    Qc,
    Qj,
    PnLvlBlt,
    PnLvlBody,
    PnLvlCont,
    PnDec,
    PnUcLtr,
    PnLcLtr,
    PnUcRm,
    PnLcRm,
    CellMergeFirst,
    CellMerged,
    CellVMergeFirst,
    CellVMerged,
    PngBlip,
    JpegBlip,
    EmfBlip,
    DiBitmap,
    OtherPicture,
    // toggles
    B,
    I,
    Ul,
    Strike,
    Super,
    Sub,
    Hidden,
    Ab,
    Ai,
    // values
    AnsiCpg,
    Deff,
    Uc,
    U,
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    Fs,
    Cf,
    Cb,
    Highlight,
    Af,
    Afs,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Ls,
    Ilvl,
    PnLvl,
    PnStart,
    ListId,
    LevelNfc,
    LevelStartAt,
    WMetafile,
    WBitmap,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    ObjW,
    ObjH,
    Itap,
    CellX,
    Up,
    Dn,
    ParaBackground,
    ParaPattern,
    ParaShare,
    CellBackground,
    CellPattern,
    CellShare,
    RowLeft,
    RowGap,
    // symbols
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Char, // a named character (\emdash, \bullet ...): ControlWord::ch
};

struct ControlWord {
    WordKind kind;
    Word word;
    char16_t ch = 0; // Word::Char
};

// The control word of this name, or nullptr for one the reader does not know.
const ControlWord* findControlWord(QByteArrayView name);

} // namespace quillo::rtf

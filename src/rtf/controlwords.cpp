#include "rtf/controlwords.h"

#include <initializer_list>
#include <string_view>
#include <unordered_map>

namespace quillo::rtf {
namespace {

using Table = std::unordered_map<std::string_view, ControlWord>;

void add(Table& table, WordKind kind, std::initializer_list<std::string_view> names, Word word) {
    for (std::string_view name : names)
        table.emplace(name, ControlWord{kind, word});
}

void addDestinations(Table& t) {
    auto dest = [&](std::initializer_list<std::string_view> names, Word word) {
        add(t, WordKind::Destination, names, word);
    };
    dest({"fonttbl"}, Word::FontTable);
    dest({"colortbl"}, Word::ColorTable);
    dest({"stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl",
          "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "pgdsctbl",
          "revtbl", "filetbl", "rsidtbl", "xmlnstbl", "themedata", "colorschememapping",
          "latentstyles", "datastore", "generator", "userprops", "docvar", "mmathPr", "listpicture",
          "leveltext", "levelnumbers", "listname", "pntxtb", "pntxta", "objclass", "objname",
          "objtime", "shpinst", "bkmkstart", "bkmkend", "xe", "tc", "txe", "rxe", "template",
          "comment", "author", "operator", "title", "subject", "keywords", "doccomm", "company",
          "falt", "panose", "fname", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "blipuid",
          "picprop", "pnseclvl", "wgrffmtfilter", "pgptbl", "protusertbl", "passwordhash", "defchp",
          "defpap", "tcn", "sp", "fchars", "lchars",
          // an object's own data: only its result shows
          "objdata", "objalias", "objsect",
          // the fallback of a shape picture; the picture itself is read from \shppict
          "nonshppict",
          // the paragraph marks written for readers that do not know nested tables; the
          // reader ends each nested cell's paragraph at its \nestcell instead
          "nonesttables", "nesttableprops"},
         Word::Skip);
    dest({"pict"}, Word::Pict);
    dest({"pntext", "listtext"}, Word::PnText);
    dest({"pn"}, Word::Pn);
    dest({"listtable"}, Word::ListTable);
    dest({"list"}, Word::List);
    dest({"listlevel"}, Word::ListLevel);
    dest({"listoverridetable"}, Word::ListOverrideTable);
    dest({"listoverride"}, Word::ListOverride);
    dest({"field"}, Word::Field);
    dest({"fldinst"}, Word::FldInst);
    dest({"fldrslt", "shprslt"}, Word::FldRslt);
    dest({"object"}, Word::Object);
    dest({"result"}, Word::Result);
    dest({"shppict", "shp"}, Word::ShpPict);
    dest({"upr"}, Word::Upr);
    dest({"ud"}, Word::Ud);
}

void addFlags(Table& t) {
    auto flag = [&](std::initializer_list<std::string_view> names, Word word) {
        add(t, WordKind::Flag, names, word);
    };
    flag({"ansi"}, Word::Ansi);
    flag({"mac"}, Word::Mac);
    flag({"pc"}, Word::Pc);
    flag({"pca"}, Word::Pca);
    flag({"plain"}, Word::Plain);
    flag({"ulnone"}, Word::UlNone);
    flag({"nosupersub"}, Word::NoSuperSub);
    flag({"loch"}, Word::Loch);
    flag({"hich"}, Word::Hich);
    flag({"dbch"}, Word::Dbch);
    flag({"rtlch"}, Word::Rtlch);
    flag({"ltrch"}, Word::Ltrch);
    flag({"pard"}, Word::Pard);
    flag({"intbl"}, Word::InTable);
    flag({"trowd"}, Word::RowDefaults);
    flag({"ql"}, Word::Ql);
    flag({"qr"}, Word::Qr);
    flag({"qc"}, Word::Qc);
    flag({"qj", "qd"}, Word::Qj);
    flag({"pnlvlblt"}, Word::PnLvlBlt);
    flag({"pnlvlbody"}, Word::PnLvlBody);
    flag({"pnlvlcont"}, Word::PnLvlCont);
    flag({"pndec"}, Word::PnDec);
    flag({"pnucltr"}, Word::PnUcLtr);
    flag({"pnlcltr"}, Word::PnLcLtr);
    flag({"pnucrm"}, Word::PnUcRm);
    flag({"pnlcrm"}, Word::PnLcRm);
    flag({"clmgf"}, Word::CellMergeFirst);
    flag({"clmrg"}, Word::CellMerged);
    flag({"clvmgf"}, Word::CellVMergeFirst);
    flag({"clvmrg"}, Word::CellVMerged);
    flag({"pngblip"}, Word::PngBlip);
    flag({"jpegblip"}, Word::JpegBlip);
    flag({"emfblip"}, Word::EmfBlip);
    flag({"dibitmap"}, Word::DiBitmap);
    flag({"macpict", "pmmetafile"}, Word::OtherPicture);
}

void addToggles(Table& t) {
    auto toggle = [&](std::initializer_list<std::string_view> names, Word word) {
        add(t, WordKind::Toggle, names, word);
    };
    toggle({"b"}, Word::B);
    toggle({"i"}, Word::I);
    toggle({"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
            "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
            "ulwave"},
           Word::Ul);
    toggle({"strike", "striked"}, Word::Strike);
    toggle({"super"}, Word::Super);
    toggle({"sub"}, Word::Sub);
    toggle({"v"}, Word::Hidden);
    toggle({"ab"}, Word::Ab);
    toggle({"ai"}, Word::Ai);
}

void addValues(Table& t) {
    auto value = [&](std::initializer_list<std::string_view> names, Word word) {
        add(t, WordKind::Value, names, word);
    };
    value({"ansicpg"}, Word::AnsiCpg);
    value({"deff"}, Word::Deff);
    value({"uc"}, Word::Uc);
    value({"u"}, Word::U);
    value({"f"}, Word::F);
    value({"fcharset"}, Word::FCharset);
    value({"cpg"}, Word::Cpg);
    value({"red"}, Word::Red);
    value({"green"}, Word::Green);
    value({"blue"}, Word::Blue);
    value({"fs"}, Word::Fs);
    value({"cf"}, Word::Cf);
    value({"cb", "chcbpat"}, Word::Cb);
    value({"highlight"}, Word::Highlight);
    value({"af"}, Word::Af);
    value({"afs"}, Word::Afs);
    value({"li", "lin"}, Word::Li);
    value({"ri", "rin"}, Word::Ri);
    value({"fi"}, Word::Fi);
    value({"sb"}, Word::Sb);
    value({"sa"}, Word::Sa);
    value({"ls"}, Word::Ls);
    value({"ilvl"}, Word::Ilvl);
    value({"pnlvl"}, Word::PnLvl);
    value({"pnstart"}, Word::PnStart);
    value({"listid"}, Word::ListId);
    value({"levelnfc", "levelnfcn"}, Word::LevelNfc);
    value({"levelstartat"}, Word::LevelStartAt);
    value({"wmetafile"}, Word::WMetafile);
    value({"wbitmap"}, Word::WBitmap);
    value({"picw"}, Word::PicW);
    value({"pich"}, Word::PicH);
    value({"picwgoal"}, Word::PicWGoal);
    value({"pichgoal"}, Word::PicHGoal);
    value({"picscalex"}, Word::PicScaleX);
    value({"picscaley"}, Word::PicScaleY);
    value({"objw"}, Word::ObjW);
    value({"objh"}, Word::ObjH);
    value({"itap"}, Word::Itap);
    value({"cellx"}, Word::CellX);
    value({"up"}, Word::Up);
    value({"dn"}, Word::Dn);
    value({"cbpat"}, Word::ParaBackground);
    value({"cfpat"}, Word::ParaPattern);
    value({"shading"}, Word::ParaShare);
    value({"clcbpat"}, Word::CellBackground);
    value({"clcfpat"}, Word::CellPattern);
    value({"clshdng"}, Word::CellShare);
    value({"trleft"}, Word::RowLeft);
    value({"trgaph"}, Word::RowGap);
}

void addSymbols(Table& t) {
    auto symbol = [&](std::initializer_list<std::string_view> names, Word word) {
        add(t, WordKind::Symbol, names, word);
    };
    // A nested table is read as paragraphs of the cell around it.
    symbol({"par", "nestcell"}, Word::Par);
    symbol({"line"}, Word::Line);
    symbol({"tab"}, Word::Tab);
    symbol({"cell"}, Word::Cell);
    symbol({"row"}, Word::Row);
    static const std::pair<std::string_view, char16_t> characters[] = {
        {"emdash", 0x2014},  {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005},   {"zwj", 0x200D},       {"zwnj", 0x200C},
        {"ltrmark", 0x200E}, {"rtlmark", 0x200F}};
    for (const auto& [name, ch] : characters)
        t.emplace(name, ControlWord{WordKind::Symbol, Word::Char, ch});
}

} // namespace

const ControlWord* findControlWord(QByteArrayView name) {
    static const Table table = [] {
        Table t;
        addDestinations(t);
        addFlags(t);
        addToggles(t);
        addValues(t);
        addSymbols(t);
        return t;
    }();
    const auto it = table.find(std::string_view(name.data(), size_t(name.size())));
    return it == table.end() ? nullptr : &it->second;
}

} // namespace quillo::rtf

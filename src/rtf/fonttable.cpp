#include "rtf/fonttable.h"

#include "rtf/codepage.h"

namespace quillo::rtf {
namespace {

// An explicit \cpg says more than the character set (\fcharset128\cpg65001 is UTF-8 text),
// except \cpg1252 beside a character set: writers that stamp it on every font leave the set to
// tell. A set that names no code page leaves it to \cpg, then to the document.
const CodePage& codePageOfEntry(const FontEntry& font, int ansiCodePage) {
    const int fromCharset = font.charset >= 0 ? codePageOfCharset(font.charset) : 0;
    const bool cpgWins =
        font.cpg > 0 && CodePage::isKnown(font.cpg) && !(font.cpg == 1252 && fromCharset != 0);
    if (cpgWins)
        return CodePage::get(font.cpg);
    if (fromCharset != 0)
        return CodePage::get(fromCharset);
    return CodePage::get(font.cpg > 0 ? font.cpg : ansiCodePage);
}

} // namespace

void FontTable::beginEntry(int number) {
    commitEntry();
    entryNumber_ = number;
    entry_ = FontEntry{};
}

void FontTable::commitEntry() {
    if (entryNumber_ < 0)
        return;
    entry_.name = entry_.name.trimmed();
    fonts_[entryNumber_] = std::move(entry_);
    entryNumber_ = -1;
    entry_ = FontEntry{};
}

const FontEntry* FontTable::find(int number) const {
    const auto it = fonts_.find(number);
    return it == fonts_.end() ? nullptr : &it->second;
}

const CodePage& FontTable::codePageOf(int number, int ansiCodePage) const {
    const FontEntry* font = find(number);
    return font ? codePageOfEntry(*font, ansiCodePage) : CodePage::get(ansiCodePage);
}

const CodePage& FontTable::entryCodePage(int ansiCodePage) const {
    return codePageOfEntry(entry_, ansiCodePage);
}

} // namespace quillo::rtf

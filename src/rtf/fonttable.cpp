#include "rtf/fonttable.h"

#include "rtf/codepage.h"

namespace quillo::rtf {
namespace {

// A font's character set names its code page; \cpg is the fallback for the sets that name none.
const CodePage& codePageOfEntry(const FontEntry& font, int ansiCodePage) {
    const int fromCharset = font.charset >= 0 ? codePageOfCharset(font.charset) : 0;
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

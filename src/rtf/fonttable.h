#pragma once

#include <QString>

#include <unordered_map>

// The {\fonttbl} of an RTF page: each font's name and the code page its text is written in.
namespace quillo::rtf {

class CodePage;

struct FontEntry {
    QString name;
    int charset = -1; // \fcharsetN; -1: not given
    int cpg = 0;      // \cpgN; 0: not given
};

class FontTable {
public:
    // A new {\fonttbl}: entries read before stay unless redefined.
    void beginTable() { entryNumber_ = -1; }
    // \fN inside the table: the entry read so far is complete, a new one starts.
    void beginEntry(int number);
    void setCharset(int charset) { entry_.charset = charset; }
    void setCodePage(int cpg) { entry_.cpg = cpg; }
    void appendToName(char16_t c) { entry_.name.append(QChar(c)); }
    // The end of an entry (its ';' or its group): it is stored under its number.
    void commitEntry();

    const FontEntry* find(int number) const;
    // The code page of the text in this font (the document's ANSI code page for an unknown one).
    const CodePage& codePageOf(int number, int ansiCodePage) const;
    // The code page the name of the entry being read is written in.
    const CodePage& entryCodePage(int ansiCodePage) const;

private:
    std::unordered_map<int, FontEntry> fonts_;
    int entryNumber_ = -1; // -1: no entry open
    FontEntry entry_;
};

} // namespace quillo::rtf

#pragma once

#include <QString>

#include <memory>

// Decoding of the single- and double-byte Windows code pages RTF text uses. Code page 932 goes
// through the core's converter, every other page through glibc iconv; both fill lookup tables
// once, so decoding itself is a table look-up per character.
namespace quillo::rtf {

class CodePage {
public:
    // The decoder of a Windows code page number; unknown numbers give code page 1252.
    static const CodePage& get(int number);
    // Whether get() has a decoder of its own for the number.
    static bool isKnown(int number);
    int number() const { return number_; }
    bool isDoubleByte() const { return doubleByte_; }
    // Code page 65001: its characters of two to four bytes are read with Utf8Decoder; single()
    // gives U+FFFD for every byte from 0x80 and no byte is a lead byte.
    bool isUtf8() const { return number_ == 65001; }
    bool isLeadByte(unsigned char b) const { return doubleByte_ && lead_[b]; }
    // The character of a single byte (U+FFFD for a lead byte) and of a lead and trail byte.
    char16_t single(unsigned char b) const { return single_[b]; }
    char16_t pair(unsigned char lead, unsigned char trail) const {
        return pairs_ ? pairs_[lead * 256 + trail] : char16_t(0xFFFD);
    }
    // Appends the decoded bytes to out. A lead byte without its trail byte becomes U+FFFD.
    void decode(const char* bytes, qsizetype size, QString& out) const;

    CodePage(int number);
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

private:
    int number_;
    bool doubleByte_ = false;
    bool lead_[256] = {};
    char16_t single_[256] = {};
    // Double-byte pages: one 256-entry row per lead byte, all filled on construction.
    std::unique_ptr<char16_t[]> pairs_;
};

// One UTF-8 character read a byte at a time.
class Utf8Decoder {
public:
    // The first byte of a character of two to four bytes; false for a byte that starts none.
    bool start(unsigned char b);
    // The next byte; false when it does not continue the character (it is not taken then).
    bool add(unsigned char b);
    bool complete() const { return needed_ == 0; }
    // The character read; U+FFFD for an overlong form, a surrogate or a value past U+10FFFF.
    char32_t value() const;

private:
    char32_t value_ = 0;
    char32_t min_ = 0; // the least value a character of this length may have
    int needed_ = 0;   // bytes still to come
};

// The code page of an RTF \fcharsetN; 0 when the character set names none (use \ansicpg),
// 42 (the Windows symbol code page) for the Symbol set.
int codePageOfCharset(int charset);

} // namespace quillo::rtf

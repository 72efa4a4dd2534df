#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Code page 932 (Windows Shift_JIS) through glibc's iconv, which carries the exact Windows
// mapping (NEC and IBM extensions, U+FF5E for 0x8160 and so on).
namespace quillo::cp932 {

// True for a byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Number of characters in the bytes: a lead byte and the byte after it count as one,
// every other byte as one. A lead byte at the very end counts as one character.
qsizetype charCount(QByteArrayView bytes);

// Number of bytes that hold the first `chars` characters of `bytes`, starting at `from`;
// nullopt when the bytes end before that many characters are complete.
std::optional<qsizetype> byteLengthOfChars(QByteArrayView bytes, qsizetype from, qsizetype chars);

// Decodes bytes; a byte sequence that is not valid code page 932 becomes U+FFFD, so the
// result never silently stands for other bytes (U+FFFD cannot be encoded back).
QString decode(QByteArrayView bytes);

// Result of encoding: the bytes, or the index of the first character that code page 932
// cannot hold.
struct Encoded {
    QByteArray bytes;
    qsizetype badIndex = -1; // index into the QString; -1 when everything was encoded
    bool ok() const { return badIndex < 0; }
};
Encoded encode(QStringView text);

// Whether every character of the text can be stored in code page 932.
bool canEncode(QStringView text);

// Bytes of one character in code page 932, or nullopt when it has none.
std::optional<QByteArray> encodeChar(char32_t ucs);

} // namespace quillo::cp932

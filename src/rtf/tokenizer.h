#pragma once

#include <QByteArrayView>

// The lowest layer of the RTF reader: splits the bytes into groups, control words with their
// parameters, control symbols, \'hh bytes, \bin payloads and runs of plain text. It never
// reads past the end, and every call either consumes input or returns End.
namespace quillo::rtf {

enum class TokenType : unsigned char {
    End,        // no more input
    GroupOpen,  // {
    GroupClose, // }
    Word,       // \word or \wordN: name, hasParam, param
    Symbol,     // \ followed by one character that is not a letter: symbol
    Hex,        // \'hh: byte
    Text,       // a run of plain bytes (no \ { } CR LF NUL): text
    Binary,     // the payload of \binN (clamped to the input): text
};

struct Token {
    TokenType type = TokenType::End;
    bool hasParam = false;
    char symbol = 0;
    unsigned char byte = 0;
    int param = 0;        // clamped to the int range
    QByteArrayView text;  // word name, text run or binary payload
    qsizetype offset = 0; // where the token starts in the input
};

class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView input) : data_(input.data()), size_(input.size()) {}

    // The next token; fields the token's type does not define are left as they were.
    void next(Token& token);
    // Reads one more \'hh right at the current position, if there is one (the fast path for
    // runs of escaped bytes).
    bool nextHexByte(unsigned char& byte);
    // Reads as many \'hh as follow right at the current position (at most max) into out;
    // returns how many.
    qsizetype nextHexBytes(unsigned char* out, qsizetype max);
    // Right after a lead byte: takes the trail byte when the input continues with a raw { } or
    // \ (some writers escape only the lead byte) or with an escaped \\ \{ \}.
    bool takeTrailByte(unsigned char& byte);
    qsizetype position() const { return pos_; }
    QByteArrayView input() const { return QByteArrayView(data_, size_); }

private:
    // Reads the control word or symbol at start; false for a malformed \' escape.
    bool readControl(qsizetype start, Token& token);

    const char* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
};

} // namespace quillo::rtf

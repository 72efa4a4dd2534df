#include "rtf/tokenizer.h"

#include <climits>

namespace quillo::rtf {
namespace {

// Byte classes: 1 ends a text run (\ { } CR LF NUL).
struct ByteClasses {
    unsigned char stop[256] = {};
    constexpr ByteClasses() {
        stop[static_cast<unsigned char>('\\')] = 1;
        stop[static_cast<unsigned char>('{')] = 1;
        stop[static_cast<unsigned char>('}')] = 1;
        stop[static_cast<unsigned char>('\r')] = 1;
        stop[static_cast<unsigned char>('\n')] = 1;
        stop[0] = 1;
    }
};
constexpr ByteClasses kClasses;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Token makeToken(TokenType type, qsizetype offset) {
    Token t;
    t.type = type;
    t.offset = offset;
    return t;
}

} // namespace

Token Tokenizer::next() {
    for (;;) {
        if (pos_ >= size_)
            return makeToken(TokenType::End, pos_);
        const qsizetype start = pos_;
        const char c = data_[pos_];
        switch (c) {
        case '{':
            ++pos_;
            return makeToken(TokenType::GroupOpen, start);
        case '}':
            ++pos_;
            return makeToken(TokenType::GroupClose, start);
        case '\\': {
            Token token;
            if (readControl(start, token))
                return token;
            continue; // a malformed \' escape: nothing to report
        }
        case '\r':
        case '\n':
        case '\0':
            ++pos_; // line ends and NUL bytes carry nothing in RTF
            continue;
        default:
            break;
        }
        qsizetype end = pos_ + 1;
        while (end < size_ && !kClasses.stop[static_cast<unsigned char>(data_[end])])
            ++end;
        pos_ = end;
        Token text = makeToken(TokenType::Text, start);
        text.text = QByteArrayView(data_ + start, end - start);
        return text;
    }
}

bool Tokenizer::nextHexByte(unsigned char& byte) {
    if (pos_ + 3 >= size_ || data_[pos_] != '\\' || data_[pos_ + 1] != '\'')
        return false;
    const int hi = hexValue(data_[pos_ + 2]);
    const int lo = hexValue(data_[pos_ + 3]);
    if (hi < 0 || lo < 0)
        return false;
    byte = static_cast<unsigned char>(hi * 16 + lo);
    pos_ += 4;
    return true;
}

bool Tokenizer::readControl(qsizetype start, Token& token) {
    ++pos_; // the backslash
    if (pos_ >= size_) {
        token = makeToken(TokenType::End, start);
        return true;
    }
    const char c = data_[pos_];
    if (!isLetter(c)) {
        ++pos_;
        if (c == '\'') {
            // \'hh: a byte; a malformed escape yields nothing and consumes only valid digits.
            const int hi = pos_ < size_ ? hexValue(data_[pos_]) : -1;
            if (hi < 0)
                return false;
            ++pos_;
            const int lo = pos_ < size_ ? hexValue(data_[pos_]) : -1;
            if (lo < 0)
                return false;
            ++pos_;
            token = makeToken(TokenType::Hex, start);
            token.byte = static_cast<unsigned char>(hi * 16 + lo);
            return true;
        }
        token = makeToken(TokenType::Symbol, start);
        token.symbol = c;
        return true;
    }
    const qsizetype nameStart = pos_;
    while (pos_ < size_ && isLetter(data_[pos_]))
        ++pos_;
    token = makeToken(TokenType::Word, start);
    token.text = QByteArrayView(data_ + nameStart, pos_ - nameStart);
    bool negative = false;
    if (pos_ + 1 < size_ && data_[pos_] == '-' && isDigit(data_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < size_ && isDigit(data_[pos_])) {
        long long value = 0;
        while (pos_ < size_ && isDigit(data_[pos_])) {
            if (value <= INT_MAX)
                value = value * 10 + (data_[pos_] - '0');
            ++pos_;
        }
        if (value > INT_MAX)
            value = INT_MAX;
        token.hasParam = true;
        token.param = int(negative ? -value : value);
    }
    if (pos_ < size_ && data_[pos_] == ' ')
        ++pos_; // the delimiting space belongs to the control word
    if (token.text == "bin") {
        // \binN: N raw bytes follow; they may hold braces and backslashes.
        const qsizetype n =
            token.hasParam && token.param > 0 ? qMin<qsizetype>(token.param, size_ - pos_) : 0;
        token.type = TokenType::Binary;
        token.text = QByteArrayView(data_ + pos_, n);
        pos_ += n;
    }
    return true;
}

} // namespace quillo::rtf

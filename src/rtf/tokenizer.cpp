#include "rtf/tokenizer.h"

#include "core/text.h"

#include <climits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The end of a run of plain text starting at pos: the next \ { } CR LF or NUL. Sixteen bytes at
// a time where SSE2 is there (picture data and long ASCII runs make up much of a page).
qsizetype textRunEnd(const char* data, qsizetype pos, qsizetype size) {
#ifdef __SSE2__
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    while (pos + 16 <= size) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, backslash), _mm_cmpeq_epi8(v, open)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, close), _mm_cmpeq_epi8(v, cr))),
            _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, nul)));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0)
            return pos + __builtin_ctz(unsigned(mask));
        pos += 16;
    }
#endif
    while (pos < size && !kClasses.stop[static_cast<unsigned char>(data[pos])])
        ++pos;
    return pos;
}

// Hex digit values, -1 for other bytes.
struct HexTable {
    signed char value[256];
    constexpr HexTable() : value() {
        for (int i = 0; i < 256; ++i)
            value[i] = -1;
        for (int i = 0; i < 10; ++i)
            value['0' + i] = static_cast<signed char>(i);
        for (int i = 0; i < 6; ++i) {
            value['a' + i] = static_cast<signed char>(10 + i);
            value['A' + i] = static_cast<signed char>(10 + i);
        }
    }
};
constexpr HexTable kHex;

// Only the fields a token type defines are set; the others keep what they held.
void setToken(Token& t, TokenType type, qsizetype offset) {
    t.type = type;
    t.offset = offset;
}

} // namespace

void Tokenizer::next(Token& token) {
    for (;;) {
        if (pos_ >= size_)
            return setToken(token, TokenType::End, pos_);
        const qsizetype start = pos_;
        const char c = data_[pos_];
        switch (c) {
        case '{':
            ++pos_;
            return setToken(token, TokenType::GroupOpen, start);
        case '}':
            ++pos_;
            return setToken(token, TokenType::GroupClose, start);
        case '\\':
            if (readControl(start, token))
                return;
            continue; // a malformed \' escape: nothing to report
        case '\r':
        case '\n':
        case '\0':
            ++pos_; // line ends and NUL bytes carry nothing in RTF
            continue;
        default:
            break;
        }
        const qsizetype end = textRunEnd(data_, pos_ + 1, size_);
        pos_ = end;
        setToken(token, TokenType::Text, start);
        token.text = QByteArrayView(data_ + start, end - start);
        return;
    }
}

bool Tokenizer::nextHexByte(unsigned char& byte) {
    if (pos_ + 3 >= size_ || data_[pos_] != '\\' || data_[pos_ + 1] != '\'')
        return false;
    const int hi = hexDigitValue(data_[pos_ + 2]);
    const int lo = hexDigitValue(data_[pos_ + 3]);
    if (hi < 0 || lo < 0)
        return false;
    byte = static_cast<unsigned char>(hi * 16 + lo);
    pos_ += 4;
    return true;
}

qsizetype Tokenizer::nextHexBytes(unsigned char* out, qsizetype max) {
    qsizetype n = 0;
    while (n < max && pos_ + 3 < size_ && data_[pos_] == '\\' && data_[pos_ + 1] == '\'') {
        const int hi = kHex.value[static_cast<unsigned char>(data_[pos_ + 2])];
        const int lo = kHex.value[static_cast<unsigned char>(data_[pos_ + 3])];
        if ((hi | lo) < 0)
            break;
        out[n++] = static_cast<unsigned char>(hi * 16 + lo);
        pos_ += 4;
    }
    return n;
}

bool Tokenizer::takeTrailByte(unsigned char& byte) {
    if (pos_ >= size_)
        return false;
    auto at = [&](qsizetype i) { return i < size_ ? data_[i] : '\0'; };
    const char c = data_[pos_];
    if (c == '{' || c == '}') {
        byte =
            static_cast<unsigned char>(c); // a raw trail byte: no group starts inside a character
        ++pos_;
        return true;
    }
    if (c != '\\')
        return false;
    const char after = at(pos_ + 1);
    if (after == '\'' || isLetter(after))
        return false; // the usual \'hh trail byte, or a control word that cuts the character
    const bool rawThenEscape = after == '\\' && at(pos_ + 2) == '\'' &&
                               kHex.value[static_cast<unsigned char>(at(pos_ + 3))] >= 0 &&
                               kHex.value[static_cast<unsigned char>(at(pos_ + 4))] >= 0;
    if ((after == '\\' && !rawThenEscape) || after == '{' || after == '}') {
        byte = static_cast<unsigned char>(after); // an escaped trail byte: \\ \{ \}
        pos_ += 2;
    } else {
        byte = '\\'; // a raw trail byte 0x5C
        pos_ += 1;
    }
    return true;
}

bool Tokenizer::readControl(qsizetype start, Token& token) {
    ++pos_; // the backslash
    if (pos_ >= size_) {
        setToken(token, TokenType::End, start);
        return true;
    }
    const char c = data_[pos_];
    if (!isLetter(c)) {
        ++pos_;
        if (c == '\'') {
            // \'hh: a byte; a malformed escape yields nothing and consumes only valid digits.
            const int hi = pos_ < size_ ? hexDigitValue(data_[pos_]) : -1;
            if (hi < 0)
                return false;
            ++pos_;
            const int lo = pos_ < size_ ? hexDigitValue(data_[pos_]) : -1;
            if (lo < 0)
                return false;
            ++pos_;
            setToken(token, TokenType::Hex, start);
            token.byte = static_cast<unsigned char>(hi * 16 + lo);
            return true;
        }
        setToken(token, TokenType::Symbol, start);
        token.symbol = c;
        return true;
    }
    const qsizetype nameStart = pos_;
    while (pos_ < size_ && isLetter(data_[pos_]))
        ++pos_;
    setToken(token, TokenType::Word, start);
    token.hasParam = false;
    token.param = 0;
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

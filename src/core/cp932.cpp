#include "cp932.h"

#include "iconvchar.h"

#include <atomic>
#include <iconv.h>
#include <mutex>

namespace quillo::cp932 {
namespace {

// A converter, opened on first use. The programs run on one thread, and the handle is
// thread_local so that tools and benchmarks that use threads stay correct.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t handle() const { return cd_; }
    void reset() const { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

// The one UTF-16 unit iconv makes of exactly `size` bytes; U+FFFD when the bytes are not one
// whole valid character.
char16_t decodedChar(iconv_t cd, const unsigned char* bytes, size_t size) {
    const int unit = iconvChar(cd, bytes, size);
    return unit >= 0 ? char16_t(unit) : char16_t(0xFFFD);
}

// Every character of the code page as iconv decodes it, asked once per process: the
// character of each byte on its own, and of each lead byte with each trail byte, a lead
// byte's row asked when a text first has that lead byte (the first decode pays for the rows
// it needs, every later one a look-up per character); U+FFFD where iconv finds the bytes not
// a whole valid character. No character of the code page decodes to U+FFFD.
class DecodeTable {
public:
    DecodeTable() : cd_(iconv_open("UTF-16LE", "CP932")) {
        if (!ok())
            return;
        for (int b = 0; b < 256; ++b) {
            const unsigned char byte = static_cast<unsigned char>(b);
            single_[b] = decodedChar(cd_, &byte, 1);
        }
    }
    ~DecodeTable() {
        if (ok())
            iconv_close(cd_);
    }
    DecodeTable(const DecodeTable&) = delete;
    DecodeTable& operator=(const DecodeTable&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    char16_t single(unsigned char b) const { return single_[b]; }
    // The row of a lead byte (0x81-0x9F, 0xE0-0xFC), indexed by the trail byte.
    const char16_t* row(unsigned char lead) {
        Row& r = rows_[lead - 0x80];
        if (!r.made.load(std::memory_order_acquire)) {
            const std::lock_guard lock(iconvMutex_); // one row made at a time, cd_ shared
            if (!r.made.load(std::memory_order_relaxed)) {
                for (int trail = 0; trail < 256; ++trail) {
                    const unsigned char bytes[2] = {lead, static_cast<unsigned char>(trail)};
                    r.chars[trail] = decodedChar(cd_, bytes, 2);
                }
                r.made.store(true, std::memory_order_release);
            }
        }
        return r.chars;
    }

private:
    struct Row {
        std::atomic<bool> made = false;
        char16_t chars[256] = {};
    };
    iconv_t cd_;
    std::mutex iconvMutex_;
    char16_t single_[256] = {};
    Row rows_[0x80];
};

DecodeTable& decodeTable() {
    static DecodeTable table;
    return table;
}

const Converter& encoder() {
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

qsizetype charCount(QByteArrayView bytes) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i, ++count)
        if (isLeadByte(static_cast<unsigned char>(bytes[i])))
            ++i;
    return count;
}

std::optional<qsizetype> byteLengthOfChars(QByteArrayView bytes, qsizetype from, qsizetype chars) {
    qsizetype i = from;
    const qsizetype end = bytes.size();
    for (qsizetype n = 0; n < chars; ++n) {
        if (i >= end)
            return std::nullopt;
        i += isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    }
    if (i > end)
        return std::nullopt; // the last character's trail byte is missing
    return i - from;
}

QString decode(QByteArrayView bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    DecodeTable& table = decodeTable();
    if (!table.ok())
        return QString::fromLatin1(bytes.data(), bytes.size());
    // As iconv reads the bytes: a lead byte and a trail byte that make a character are one
    // character; any other byte is one character, or one U+FFFD when it is not valid on its
    // own (a lead byte without a fitting trail byte among them).
    QString out;
    out.resize(bytes.size()); // never more UTF-16 units than bytes
    QChar* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        if (isLeadByte(*p) && p + 1 < end) {
            const char16_t c = table.row(p[0])[p[1]];
            if (c != 0xFFFD) {
                *o++ = QChar(c);
                p += 2;
                continue;
            }
        }
        *o++ = QChar(table.single(*p++));
    }
    out.truncate(o - out.data());
    return out;
}

Encoded encode(QStringView text) {
    Encoded result;
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        result.bytes = text.toLatin1();
        return result;
    }
    const Converter& cv = encoder();
    cv.reset();
    result.bytes.resize(text.size() * 2);
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.data()));
    size_t inLeft = text.size() * 2;
    char* outp = result.bytes.data();
    size_t outLeft = result.bytes.size();
    if (iconv(cv.handle(), &in, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) {
        result.badIndex = (text.size() * 2 - inLeft) / 2;
        result.bytes.clear();
        return result;
    }
    result.bytes.resize(outp - result.bytes.data());
    return result;
}

bool canEncode(QStringView text) {
    return encode(text).ok();
}

std::optional<QByteArray> encodeChar(char32_t ucs) {
    const QString s = QString::fromUcs4(&ucs, 1);
    Encoded e = encode(s);
    if (!e.ok())
        return std::nullopt;
    return e.bytes;
}

} // namespace quillo::cp932

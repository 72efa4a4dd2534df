#include "cp932.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace quillo::cp932 {
namespace {

// One converter per direction, opened on first use. The programs run on one thread, and the
// handles are thread_local so that tools and benchmarks that use threads stay correct.
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

const Converter& decoder() {
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
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
    const Converter& cv = decoder();
    if (cv.handle() == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes.data(), bytes.size());
    cv.reset();
    QString out;
    out.resize(bytes.size()); // never more UTF-16 units than bytes
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outp = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * 2;
    while (inLeft > 0) {
        if (iconv(cv.handle(), &in, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen with the size above; stop rather than loop
        // Invalid or incomplete sequence: one replacement character for one byte.
        if (outLeft < 2)
            break;
        const char16_t repl = 0xFFFD;
        memcpy(outp, &repl, 2);
        outp += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        cv.reset();
    }
    out.resize((reinterpret_cast<QChar*>(outp) - out.data()));
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

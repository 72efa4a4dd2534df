#include "rtf/codepage.h"

#include "core/cp932.h"
#include "core/iconvchar.h"

#include <QByteArray>

#include <algorithm>

#include <iconv.h>
#include <map>
#include <mutex>

namespace quillo::rtf {
namespace {

constexpr int kSymbolCodePage = 42;
constexpr int kUtf8CodePage = 65001;

const char* iconvName(int number) {
    switch (number) {
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 1361:
        return "CP1361";
    case 437:
        return "CP437";
    case 850:
        return "CP850";
    case 10000:
        return "MACINTOSH";
    default:
        return nullptr;
    }
}

// Decodes one whole character (one or two bytes) through iconv; 0 when it is not valid.
class IconvDecoder {
public:
    explicit IconvDecoder(const char* name) : cd_(iconv_open("UTF-16LE", name)) {}
    ~IconvDecoder() {
        if (ok())
            iconv_close(cd_);
    }
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Returns the UTF-16 unit, 0 for an invalid sequence, -1 for an incomplete one.
    int decode(const unsigned char* bytes, size_t size) const {
        const int unit = iconvChar(cd_, bytes, size);
        return unit == IconvInvalid ? 0 : unit;
    }

private:
    iconv_t cd_;
};

int decodeCp932(const unsigned char* bytes, size_t size) {
    const QString s =
        cp932::decode(QByteArrayView(reinterpret_cast<const char*>(bytes), qsizetype(size)));
    if (s.size() != 1 || s[0] == QChar::ReplacementCharacter)
        return 0;
    return s[0].unicode();
}

} // namespace

CodePage::CodePage(int number) : number_(number) {
    // Code page 1252 (and the symbol page built on it) straight from Latin-1 plus its 0x80-0x9F
    // row.
    static const char16_t cp1252High[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    for (int b = 0; b < 256; ++b)
        single_[b] = char16_t(b);
    for (int b = 0; b < 32; ++b)
        single_[0x80 + b] = cp1252High[b];
    if (number == kUtf8CodePage) {
        std::fill(single_ + 0x80, single_ + 256, char16_t(0xFFFD));
        return;
    }
    if (number == kSymbolCodePage) {
        single_[0xB7] = 0x2022; // the bullet rich-edit controls write in the Symbol font
        return;
    }
    const bool cp932 = number == 932;
    const char* name = iconvName(number);
    if (!name)
        return;
    IconvDecoder iconvDecoder(name);
    if (!cp932 && !iconvDecoder.ok())
        return;
    auto decodeChar = [&](const unsigned char* bytes, size_t size) {
        return cp932 ? decodeCp932(bytes, size) : iconvDecoder.decode(bytes, size);
    };
    for (int b = 0x80; b < 256; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        if (cp932 ? cp932::isLeadByte(byte) : iconvDecoder.decode(&byte, 1) == -1) {
            lead_[b] = true;
            doubleByte_ = true;
            single_[b] = 0xFFFD;
            continue;
        }
        const int u = decodeChar(&byte, 1);
        single_[b] = u > 0 ? char16_t(u) : char16_t(0xFFFD);
    }
    if (!doubleByte_)
        return;
    pairs_ = std::make_unique<char16_t[]>(256 * 256);
    for (int lead = 0x80; lead < 256; ++lead) {
        if (!lead_[lead])
            continue;
        for (int trail = 0; trail < 256; ++trail) {
            const unsigned char bytes[2] = {static_cast<unsigned char>(lead),
                                            static_cast<unsigned char>(trail)};
            const int u = trail >= 0x21 ? decodeChar(bytes, 2) : 0;
            pairs_[lead * 256 + trail] = u > 0 ? char16_t(u) : char16_t(0xFFFD);
        }
    }
}

const CodePage& CodePage::get(int number) {
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<CodePage>> pages;
    if (!isKnown(number))
        number = 1252;
    std::lock_guard lock(mutex);
    auto& page = pages[number];
    if (!page)
        page = std::make_unique<CodePage>(number);
    return *page;
}

bool CodePage::isKnown(int number) {
    return number == kSymbolCodePage || number == kUtf8CodePage || iconvName(number);
}

void CodePage::decode(const char* bytes, qsizetype size, QString& out) const {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    const auto* end = p + size;
    while (p < end) {
        const unsigned char b = *p++;
        if (b < 0x80) {
            out.append(QChar(b));
        } else if (!lead_[b]) {
            out.append(QChar(single_[b]));
        } else if (p < end) {
            out.append(QChar(pair(b, *p++)));
        } else {
            out.append(QChar(QChar::ReplacementCharacter));
        }
    }
}

bool Utf8Decoder::start(unsigned char b) {
    if (b >= 0xC0 && b < 0xE0) {
        value_ = b & 0x1F;
        min_ = 0x80;
        needed_ = 1;
    } else if (b >= 0xE0 && b < 0xF0) {
        value_ = b & 0x0F;
        min_ = 0x800;
        needed_ = 2;
    } else if (b >= 0xF0 && b < 0xF8) {
        value_ = b & 0x07;
        min_ = 0x10000;
        needed_ = 3;
    } else {
        needed_ = 0;
        return false;
    }
    return true;
}

bool Utf8Decoder::add(unsigned char b) {
    if (needed_ == 0 || (b & 0xC0) != 0x80)
        return false;
    value_ = (value_ << 6) | (b & 0x3F);
    --needed_;
    return true;
}

char32_t Utf8Decoder::value() const {
    const bool surrogate = value_ >= 0xD800 && value_ < 0xE000;
    if (needed_ != 0 || value_ < min_ || value_ > 0x10FFFF || surrogate)
        return 0xFFFD;
    return value_;
}

int codePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return kSymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
    case 255:
        return 437;
    default:
        return 0;
    }
}

} // namespace quillo::rtf

#pragma once

#include <cerrno>
#include <cstddef>
#include <iconv.h>

namespace quillo {

constexpr int IconvIncomplete = -1; // the bytes end inside a character
constexpr int IconvInvalid = -2;    // not one whole valid character of one UTF-16 unit

// What a converter to UTF-16LE makes of exactly `size` bytes taken from its initial state as
// one character: the UTF-16 unit, or IconvIncomplete or IconvInvalid.
inline int iconvChar(iconv_t cd, const unsigned char* bytes, std::size_t size) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
    std::size_t inLeft = size;
    char16_t out[4];
    char* outp = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &in, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1))
        return errno == EINVAL ? IconvIncomplete : IconvInvalid;
    if (inLeft != 0 || outLeft != sizeof out - 2)
        return IconvInvalid; // more than one UTF-16 unit
    return out[0];
}

} // namespace quillo

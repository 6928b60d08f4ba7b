// Writing one code point below 0x110000 as UTF-8 bytes. Values U+D800 to
// U+DFFF are written as three bytes like their neighbours: numeric character
// references keep the value they name.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zyn::base {

// Writes 1 to 4 bytes to out and returns how many.
constexpr size_t write_utf8(uint32_t cp, char* out) noexcept
{
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | cp >> 6);
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | cp >> 12);
        out[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | cp >> 18);
    out[1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

} // namespace zyn::base

#include "text/latin1_utf8.h"

#include <utf8.h>

#include <cstdint>
#include <cstring>

namespace zyn::text {

namespace {

// No valid sequence contains an ASCII byte, so the text is valid exactly when
// each run of non-ASCII bytes between ASCII ones is. ASCII is skipped eight
// bytes at a time and UTF8-CPP judges the runs.
bool valid_utf8(const char* text, size_t n)
{
    size_t i = 0;
    while (i < n) {
        for (; i + 8 <= n; i += 8) {
            uint64_t block;
            std::memcpy(&block, text + i, 8);
            if (block & 0x8080808080808080ull)
                break;
        }
        while (i < n && static_cast<unsigned char>(text[i]) < 0x80)
            ++i;
        size_t end = i;
        while (end < n && static_cast<unsigned char>(text[end]) >= 0x80)
            ++end;
        if (!utf8::is_valid(text + i, text + end))
            return false;
        i = end;
    }
    return true;
}

} // namespace

size_t latin1_to_utf8(const char* text, size_t n, char* out)
{
    if (valid_utf8(text, n)) {
        std::memcpy(out, text, n);
        return n;
    }
    char* const start = out;
    for (size_t i = 0; i < n; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80)
            *out++ = static_cast<char>(byte);
        else
            out = utf8::append(byte, out); // every byte is a valid code point: never throws
    }
    return static_cast<size_t>(out - start);
}

size_t utf8_to_latin1(const char* text, size_t n, char* out)
{
    if (!valid_utf8(text, n)) {
        std::memmove(out, text, n);
        return n;
    }
    char* const start = out;
    for (size_t i = 0; i < n;) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            *out++ = static_cast<char>(lead);
            i += 1;
        } else if (lead < 0xE0) {
            // Two bytes: U+0080 to U+07FF; only U+0080 to U+00FF (lead 0xC2, 0xC3) fit a byte.
            if (lead < 0xC4)
                *out++ = static_cast<char>((lead & 0x1F) << 6 | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
            i += 2;
        } else {
            i += lead < 0xF0 ? 3 : 4;
        }
    }
    return static_cast<size_t>(out - start);
}

} // namespace zyn::text

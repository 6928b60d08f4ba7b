// UTF-16 <-> UTF-8 conversion of whole texts, with U+FFFD for what is malformed.
#include "base/utf16.h"

#include "base/utf8_write.h"

#include <cstdint>

namespace zyn::base {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void append_utf8(std::string& out, char32_t cp)
{
    char bytes[4];
    out.append(bytes, write_utf8(cp, bytes));
}

void append_utf16(zyn_wstring& out, char32_t cp)
{
    if (cp < 0x10000) {
        out += zyn_wchar(cp);
    } else {
        cp -= 0x10000;
        out += zyn_wchar(0xD800 + (cp >> 10));
        out += zyn_wchar(0xDC00 + (cp & 0x3FF));
    }
}

} // namespace

std::string to_utf8(std::basic_string_view<zyn_wchar> text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = char32_t(uint16_t(text[i]));
        if (is_high_surrogate(unit) && i + 1 < text.size()) {
            const char32_t low = char32_t(uint16_t(text[i + 1]));
            if (is_low_surrogate(low)) {
                append_utf8(out, combine_surrogates(unit, low));
                ++i;
                continue;
            }
        }
        append_utf8(out, is_surrogate(unit) ? kReplacement : unit);
    }
    return out;
}

zyn_wstring from_utf8(std::string_view text)
{
    zyn_wstring out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char lead = p[i];
        size_t len = 0;
        char32_t cp = 0, min = 0;
        if (lead < 0x80) { len = 1; cp = lead; }
        else if ((lead & 0xE0) == 0xC0) { len = 2; cp = lead & 0x1F; min = 0x80; }
        else if ((lead & 0xF0) == 0xE0) { len = 3; cp = lead & 0x0F; min = 0x800; }
        else if ((lead & 0xF8) == 0xF0) { len = 4; cp = lead & 0x07; min = 0x10000; }
        bool ok = len != 0 && i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if (ok && (cp < min || cp > 0x10FFFF || is_surrogate(cp)))
            ok = false;
        if (!ok) {
            out += zyn_wchar(kReplacement);
            ++i;
            continue;
        }
        append_utf16(out, cp);
        i += len;
    }
    return out;
}

} // namespace zyn::base

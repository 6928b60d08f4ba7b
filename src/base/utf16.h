// UTF-16 <-> UTF-8 conversion for the platform seams: Linux paths, process
// names and other wide texts that the system holds as UTF-8.
#pragma once

#include <zyn/zyn.h>

#include <string>
#include <string_view>

namespace zyn::base {

// UTF-16 surrogates: a high one (D800-DBFF) and a low one (DC00-DFFF) make a
// pair for one code point above U+FFFF.
constexpr bool is_high_surrogate(char32_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool is_low_surrogate(char32_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool is_surrogate(char32_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDFFF; }
constexpr char32_t combine_surrogates(char32_t high, char32_t low) noexcept
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Unpaired surrogates become U+FFFD, so the result is always valid UTF-8.
std::string to_utf8(std::basic_string_view<zyn_wchar> text);

// Malformed bytes become U+FFFD, one per byte that starts no valid sequence.
zyn_wstring from_utf8(std::string_view text);

} // namespace zyn::base

// UTF-16 <-> UTF-8 conversion for the platform seams: Linux paths, process
// names and other wide texts that the system holds as UTF-8.
#pragma once

#include <zyn/zyn.h>

#include <string>
#include <string_view>

namespace zyn::base {

// Unpaired surrogates become U+FFFD, so the result is always valid UTF-8.
std::string to_utf8(std::basic_string_view<zyn_wchar> text);

// Malformed bytes become U+FFFD, one per byte that starts no valid sequence.
zyn_wstring from_utf8(std::string_view text);

} // namespace zyn::base

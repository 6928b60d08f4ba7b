// The natural order of zyn_string_sort. Strings compare as sequences of
// tokens: a run of decimal digits is one token valued as a number (clamped to
// 2147483647, so "007" equals "7" and longer runs stay comparable); any other
// byte is one token, 'a' to 'z' mapped to upper case and compared as a signed
// byte (so bytes of 128 and above come before ASCII). Number tokens come
// before byte tokens, and a string that runs out first comes first. After a
// number only the rest of its line counts: the text from the first line feed
// on is ignored. Comparing token sequences this way is a strict weak ordering
// for every input, which the sort relies on.
#pragma once

#include <string_view>

namespace zyn::text {

// Negative, zero or positive as a comes before, is equivalent to, or comes after b.
int natural_compare(std::string_view a, std::string_view b) noexcept;

inline bool natural_less(std::string_view a, std::string_view b) noexcept
{
    return natural_compare(a, b) < 0;
}

} // namespace zyn::text

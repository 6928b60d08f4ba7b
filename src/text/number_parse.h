// Reads the number a text begins with, the same way for bytes and for 16-bit
// units: leading ASCII white space is skipped, then the longest prefix of the
// form [sign] digits [. digits] [e|E [sign] digits] (at least one mantissa
// digit; an exponent only counts with its digits) is converted. Anything after
// it is ignored; a text that does not begin with a number reads as 0.0. A value
// beyond the range of a double reads as infinity of its sign, one too small as
// zero of its sign. Only ASCII characters make up a number, whatever the locale.
#pragma once

#include <zyn/zyn.h>

#include <string_view>

namespace zyn::text {

template <class C>
double read_number(std::basic_string_view<C> text);

} // namespace zyn::text

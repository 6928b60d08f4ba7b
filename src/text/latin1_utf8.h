// Latin-1 <-> UTF-8 on byte buffers. Valid UTF-8 is well-formed as RFC 3629
// has it: no overlong forms, no surrogates, nothing above U+10FFFF, no stray
// or missing continuation bytes. Runs of ASCII are passed sixteen bytes at a
// time, and each byte is checked once.
#pragma once

#include <cstddef>

namespace zyn::text {

// Valid UTF-8 is copied unchanged; anything else is taken as Latin-1 and
// encoded (bytes 128 to 255 become two bytes). Writes at most 2 * n bytes and
// returns how many; no terminating zero.
size_t latin1_to_utf8(const char* text, size_t n, char* out);

// Valid UTF-8 is decoded, code points 0 to 255 becoming one byte each and the
// others dropped; anything else is copied unchanged. Writes at most n bytes
// and returns how many; no terminating zero. The output may be the text itself.
size_t utf8_to_latin1(const char* text, size_t n, char* out);

} // namespace zyn::text

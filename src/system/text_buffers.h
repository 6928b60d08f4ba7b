// Moving text between the library and callers' buffers: the narrow twins'
// byte widening and low-byte narrowing, and cut, zero-filled stores.
#pragma once

#include <zyn/zyn.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zyn::system {

// A zero-terminated wide text as a string; null gives an empty one.
zyn_wstring wide_text(const zyn_wchar* text);

// Each byte becomes one unit by sign extension (exact for ASCII names).
zyn_wstring widen_bytes(const char* text);

// Keeps the low byte of each unit, up to the first zero unit or count units; a
// unit beyond U+00FF whose low byte is zero, a control character, ';' or '*'
// gives '?', so that it neither ends the text nor poses as a list separator.
std::string narrow_low_bytes(const zyn_wchar* units, size_t count);

// Stores at most length characters of text into out: a shorter text is followed
// by zeros up to the length, a longer one is cut and then not terminated.
template <class Char>
void store_cut(const Char* text, size_t size, Char* out, uint32_t length)
{
    const size_t n = std::min<size_t>(size, length);
    std::copy(text, text + n, out);
    std::fill(out + n, out + length, Char(0));
}

// The narrow twin of a list, inside the caller's frame: run the wide list into
// a zeroed wide buffer of the caller's length, then store its low bytes into
// the caller's buffer the same way. The caller's buffer is untouched on failure.
template <class WideList>
int narrow_list_twin(char* out, uint32_t length, WideList&& wide_list)
{
    std::vector<zyn_wchar> wide(size_t(length) + 1, zyn_wchar(0)); // one spare unit: never a null data()
    if (!wide_list(length == 0 || out == nullptr ? nullptr : wide.data(), length))
        return 0;
    const std::string text = narrow_low_bytes(wide.data(), length);
    if (out != nullptr)
        store_cut(text.data(), text.size(), out, length);
    return 1;
}

} // namespace zyn::system

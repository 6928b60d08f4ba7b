// Replacing HTML character references ("&amp;", "&#233;", "&#xE9;") by the
// UTF-8 bytes of their characters, within a destination of known capacity.
#pragma once

#include <cstddef>

namespace zyn::text {

// Decodes the n bytes at source into destination, writing at most capacity
// bytes (capacity >= 1), the terminating zero included. Output that does not
// fit is cut, never in the middle of a reference's bytes. Source may be the
// destination itself (decoding in place): the output never runs ahead of the
// input. Returns the number of bytes written before the terminating zero.
size_t decode_entities(const char* source, size_t n, char* destination, size_t capacity) noexcept;

} // namespace zyn::text

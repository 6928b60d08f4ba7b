// Latin-1 <-> UTF-8 conversion of byte buffers, with the UTF-8 validity check.
#include "text/latin1_utf8.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zyn::text {

namespace {

using Byte = unsigned char;

// Text is taken sixteen bytes at a time: SSE2 on every x86 build, two
// 64-bit words elsewhere. high_mask gives one bit per byte at or above 0x80
// (bit k for the byte at p + k); copy16 moves the sixteen bytes as they are.
constexpr size_t kBlock = 16;

inline unsigned high_mask(const Byte* p)
{
#if defined(__SSE2__)
    return unsigned(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
#else
    unsigned mask = 0;
    for (size_t k = 0; k < kBlock; ++k)
        mask |= unsigned(p[k] >> 7) << k;
    return mask;
#endif
}

inline void copy16(const Byte* from, Byte* to)
{
#if defined(__SSE2__)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
#else
    std::memmove(to, from, kBlock);
#endif
}

// The number of ASCII bytes before the first byte whose bit is set.
inline unsigned ascii_run(unsigned mask)
{
#if defined(__GNUC__)
    return unsigned(__builtin_ctz(mask));
#else
    unsigned run = 0;
    while (!(mask & 1u << run))
        ++run;
    return run;
#endif
}

inline bool continuation(const Byte* p, size_t left, size_t k, Byte low = 0x80, Byte high = 0xBF)
{
    return k < left && p[k] >= low && p[k] <= high;
}

// The length of the well-formed sequence (RFC 3629: no overlong form, no
// surrogate, nothing above U+10FFFF) that begins with the non-ASCII byte at
// p, or 0 when none does.
inline size_t sequence_length(const Byte* p, size_t left)
{
    const Byte lead = p[0];
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(p, left, 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF)
        return continuation(p, left, 1, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF) &&
                       continuation(p, left, 2)
                   ? 3
                   : 0;
    if (lead >= 0xF0 && lead <= 0xF4)
        return continuation(p, left, 1, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF) &&
                       continuation(p, left, 2) && continuation(p, left, 3)
                   ? 4
                   : 0;
    return 0;
}

// Whether the bytes are well-formed UTF-8; ascii_prefix receives the length
// of the run of ASCII bytes they begin with. A block's ASCII bytes are passed
// together, up to its first byte at or above 0x80.
bool valid_utf8(const Byte* p, size_t n, size_t& ascii_prefix)
{
    size_t i = 0;
    bool in_prefix = true;
    while (i < n) {
        if (n - i >= kBlock) {
            const unsigned mask = high_mask(p + i);
            if (mask == 0) {
                i += kBlock;
                continue;
            }
            i += ascii_run(mask);
        } else if (p[i] < 0x80) {
            ++i;
            continue;
        }
        if (in_prefix)
            ascii_prefix = i;
        in_prefix = false;
        const size_t k = sequence_length(p + i, n - i);
        if (k == 0)
            return false;
        i += k;
    }
    if (in_prefix)
        ascii_prefix = n;
    return true;
}

// Decodes well-formed UTF-8: code points up to U+00FF become one byte each,
// others are dropped. Returns the end of the output, or null at the first
// byte that begins no well-formed sequence (the output is then incomplete).
// Nothing is written past the output's end, which a caller's zero-filled
// buffer relies on; the output never runs ahead of the input, so decoding in
// place is safe.
Byte* decode(const Byte* p, size_t n, Byte* out)
{
    size_t i = 0;
    while (i < n) {
        if (n - i >= kBlock) {
            const unsigned mask = high_mask(p + i);
            if (mask == 0) {
                copy16(p + i, out);
                i += kBlock;
                out += kBlock;
                continue;
            }
            const unsigned run = ascii_run(mask);
            std::memmove(out, p + i, run);
            i += run;
            out += run;
        } else if (p[i] < 0x80) {
            *out++ = p[i++];
            continue;
        }
        const Byte lead = p[i];
        const size_t k = sequence_length(p + i, n - i);
        if (k == 0)
            return nullptr;
        if (lead < 0xC4) // U+0080 to U+00FF: lead 0xC2 or 0xC3
            *out++ = Byte((lead & 0x1F) << 6 | (p[i + 1] & 0x3F));
        i += k;
    }
    return out;
}

// Encodes one Latin-1 byte without a branch: both bytes of a two-byte form
// are written, and the output moves on by one for ASCII (whose second byte
// the next byte's output overwrites) or by two. Not for the last byte.
inline Byte* encode_byte(Byte byte, Byte* out)
{
    const unsigned high = byte >> 7;
    out[0] = high ? Byte(0xC0 | byte >> 6) : byte;
    out[1] = Byte(0x80 | (byte & 0x3F));
    return out + 1 + high;
}

} // namespace

size_t latin1_to_utf8(const char* text, size_t n, char* out)
{
    const auto* p = reinterpret_cast<const Byte*>(text);
    auto* o = reinterpret_cast<Byte*>(out);
    size_t i = 0;
    if (valid_utf8(p, n, i)) {
        std::memmove(o, p, n);
        return n;
    }
    // The ASCII bytes the text begins with were read once already. Then a
    // block of ASCII is copied whole; in one with few high bytes the output
    // moves past the ASCII run and encodes the byte after it; one with many
    // is encoded byte by byte. Bytes written beyond where the output moves on
    // are always written again by what the rest of the text (at least one
    // byte more than a block, each giving one or two) encodes to, so nothing
    // is left past the output's end; the last byte is encoded with a branch.
    std::memmove(o, p, i);
    o += i;
    while (n - i > kBlock) {
        const unsigned mask = high_mask(p + i);
        const unsigned rest = mask & (mask - 1); // without its lowest bit
        if (mask == 0) {
            copy16(p + i, o);
            i += kBlock;
            o += kBlock;
        } else if ((rest & (rest - 1)) == 0) { // one or two high bytes
            const unsigned run = ascii_run(mask);
            copy16(p + i, o);
            i += run;
            o = encode_byte(p[i++], o + run);
        } else {
            for (const size_t stop = i + kBlock; i < stop; ++i)
                o = encode_byte(p[i], o);
        }
    }
    for (; i + 1 < n; ++i)
        o = encode_byte(p[i], o);
    if (i < n) {
        const Byte last = p[i];
        if (last < 0x80)
            *o++ = last;
        else
            o = encode_byte(last, o);
    }
    return size_t(reinterpret_cast<char*>(o) - out);
}

size_t utf8_to_latin1(const char* text, size_t n, char* out)
{
    const auto* p = reinterpret_cast<const Byte*>(text);
    auto* o = reinterpret_cast<Byte*>(out);
    // Into a separate buffer the text is decoded as it is checked, in one
    // pass; should it prove not to be UTF-8 after all, it is copied instead.
    // Decoding in place would overwrite what such a copy needs, so there the
    // text is checked first.
    const bool overlap = o < p + n && p < o + n;
    size_t ascii = 0;
    if (overlap && !valid_utf8(p, n, ascii)) {
        std::memmove(o, p, n);
        return n;
    }
    if (const Byte* end = decode(p, n, o))
        return size_t(end - o);
    std::memcpy(o, p, n);
    return n;
}

} // namespace zyn::text

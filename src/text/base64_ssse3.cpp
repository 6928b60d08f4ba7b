// Base64 decoding of 16 characters per step with SSSE3 byte shuffles: each
// character is classified by its two nibbles, translated to its 6-bit value by
// a per-class offset, and the values are packed into 12 bytes. Built for x86
// only and chosen at run time, so the library still runs on processors
// without SSSE3.
#include "text/base64.h"

#if ZYN_BASE64_X86

#include <immintrin.h>

namespace zyn::text::base64::detail {

bool has_ssse3() noexcept
{
    static const bool present = __builtin_cpu_supports("ssse3");
    return present;
}

__attribute__((target("ssse3"))) size_t decode_blocks_ssse3(const char* text, size_t n, char* out) noexcept
{
    // For each high nibble one class bit; for each low nibble the classes in
    // which it makes no alphabet character. A character is valid when its
    // two entries share no bit.
    const __m128i classes_of_high = _mm_setr_epi8(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10,
                                                  0x10, 0x10, 0x10, 0x10, 0x10, 0x10);
    const __m128i invalid_for_low = _mm_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                                  0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A);
    // Offsets by high nibble; '/' (high nibble 2, like '+') is moved to slot 1.
    const __m128i offsets = _mm_setr_epi8(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i slash = _mm_set1_epi8('/');
    const __m128i gather = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);

    size_t i = 0;
    // Each step stores 16 bytes of which 12 count; the 4 extra are overwritten
    // by the bytes of the two or more groups that follow.
    for (; i + 24 <= n; i += 16, out += 12) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i high = _mm_and_si128(_mm_srli_epi32(c, 4), nibble);
        const __m128i low = _mm_and_si128(c, nibble);
        const __m128i clash = _mm_and_si128(_mm_shuffle_epi8(invalid_for_low, low), _mm_shuffle_epi8(classes_of_high, high));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(clash, _mm_setzero_si128())) != 0xFFFF)
            break;
        const __m128i slot = _mm_add_epi8(high, _mm_cmpeq_epi8(c, slash));
        const __m128i six = _mm_add_epi8(c, _mm_shuffle_epi8(offsets, slot));
        const __m128i pairs = _mm_maddubs_epi16(six, _mm_set1_epi32(0x01400140));
        const __m128i groups = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00011000));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(groups, gather));
    }
    return i;
}

} // namespace zyn::text::base64::detail

#endif

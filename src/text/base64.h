// Standard Base64 (RFC 4648 alphabet, "=" padding, one unbroken line), written
// once over the unit type: bytes of a narrow string, or 16-bit units standing
// for bytes 0 to 255 in a wide one. The decoder accepts only whole groups of
// four characters, padding closing a group ("xx==" or "xxx="), and reports
// anything else as invalid instead of guessing.
#pragma once

#include "base/ascii.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace zyn::text::base64 {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr size_t encoded_size(size_t bytes) noexcept { return (bytes + 2) / 3 * 4; }
constexpr size_t max_decoded_size(size_t chars) noexcept { return chars / 4 * 3; }

namespace detail {

// Two alphabet characters for each 12-bit value: one lookup per half of a group.
struct Pairs {
    char chars[4096][2];
};
constexpr Pairs make_pairs()
{
    Pairs p{};
    for (int v = 0; v < 4096; ++v) {
        p.chars[v][0] = kAlphabet[v >> 6];
        p.chars[v][1] = kAlphabet[v & 63];
    }
    return p;
}
inline constexpr Pairs kPairs = make_pairs();

// For each character position of a group, the bits it contributes, already
// shifted into place; kBad marks a character outside the alphabet ("=" too).
constexpr uint32_t kBad = 0x01000000u;
using Table = std::array<uint32_t, 256>;
constexpr Table make_table(int shift)
{
    Table t{};
    for (auto& e : t)
        e = kBad;
    for (uint32_t i = 0; i < 64; ++i)
        t[static_cast<unsigned char>(kAlphabet[i])] = i << shift;
    return t;
}
inline constexpr Table kDecode0 = make_table(18);
inline constexpr Table kDecode1 = make_table(12);
inline constexpr Table kDecode2 = make_table(6);
inline constexpr Table kDecode3 = make_table(0);

// A unit's index into the byte tables; wide units above 255 are never alphabet.
template <class C>
constexpr unsigned table_index(C c) noexcept
{
    const unsigned v = base::unit_value(c);
    return v < 256 ? v : 0x80u;
}

#if defined(__x86_64__) || defined(__i386__)
#define ZYN_BASE64_X86 1
// The processor has SSSE3 (checked once).
bool has_ssse3() noexcept;
// Decodes whole blocks of 16 alphabet characters with SSSE3 while at least
// two more groups follow each block, stopping at the first block holding
// anything else. Returns the characters consumed (a multiple of 16); their
// bytes are at out.
size_t decode_blocks_ssse3(const char* text, size_t n, char* out) noexcept;
#else
#define ZYN_BASE64_X86 0
#endif

} // namespace detail

// True when every unit stands for a byte (always for narrow text).
template <class In>
bool all_bytes(const In* data, size_t n) noexcept
{
    if constexpr (sizeof(In) == 1) {
        return true;
    } else {
        unsigned high = 0;
        for (size_t i = 0; i < n; ++i)
            high |= base::unit_value(data[i]);
        return high < 256;
    }
}

// Writes encoded_size(n) units to out. Units of data must stand for bytes.
template <class In, class Out>
void encode(const In* data, size_t n, Out* out) noexcept
{
    const auto& pairs = detail::kPairs.chars;
    size_t i = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if constexpr (sizeof(In) == 1 && sizeof(Out) == 1) {
        // Six bytes at a time from one 8-byte load: four 12-bit lookups, eight characters.
        for (; i + 8 <= n; i += 6, out += 8) {
            uint64_t w;
            std::memcpy(&w, data + i, 8);
            w = __builtin_bswap64(w);
            std::memcpy(out, pairs[w >> 52], 2);
            std::memcpy(out + 2, pairs[(w >> 40) & 0xFFF], 2);
            std::memcpy(out + 4, pairs[(w >> 28) & 0xFFF], 2);
            std::memcpy(out + 6, pairs[(w >> 16) & 0xFFF], 2);
        }
    }
#endif
    for (; i + 3 <= n; i += 3, out += 4) {
        const uint32_t v = base::unit_value(data[i]) << 16 | base::unit_value(data[i + 1]) << 8 | base::unit_value(data[i + 2]);
        const char* hi = pairs[v >> 12];
        const char* lo = pairs[v & 0xFFF];
        out[0] = static_cast<Out>(hi[0]);
        out[1] = static_cast<Out>(hi[1]);
        out[2] = static_cast<Out>(lo[0]);
        out[3] = static_cast<Out>(lo[1]);
    }
    const size_t rest = n - i;
    if (rest == 0)
        return;
    const uint32_t b0 = base::unit_value(data[i]);
    const uint32_t b1 = rest == 2 ? base::unit_value(data[i + 1]) : 0;
    out[0] = static_cast<Out>(kAlphabet[b0 >> 2]);
    out[1] = static_cast<Out>(kAlphabet[(b0 & 3) << 4 | b1 >> 4]);
    out[2] = static_cast<Out>(rest == 2 ? kAlphabet[(b1 & 15) << 2] : '=');
    out[3] = static_cast<Out>('=');
}

// Decodes into out (room for max_decoded_size(n) units) and returns the number
// of bytes written, or nothing when the text is not whole valid groups.
template <class In, class Out>
std::optional<size_t> decode(const In* text, size_t n, Out* out) noexcept
{
    using namespace detail;
    if (n % 4 != 0)
        return std::nullopt;
    Out* const start = out;
    size_t i = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#if ZYN_BASE64_X86
    if constexpr (sizeof(In) == 1 && sizeof(Out) == 1) {
        if (has_ssse3()) {
            const size_t consumed = decode_blocks_ssse3(reinterpret_cast<const char*>(text), n,
                                                        reinterpret_cast<char*>(out));
            i += consumed;
            out += consumed / 4 * 3;
        }
    }
#endif
    if constexpr (sizeof(Out) == 1) {
        // Two groups at a time while a third follows: their six bytes go out in
        // one 8-byte store whose last two bytes the next groups overwrite.
        for (; i + 12 <= n; i += 8, out += 6) {
            const uint32_t a = kDecode0[table_index(text[i])] | kDecode1[table_index(text[i + 1])] |
                               kDecode2[table_index(text[i + 2])] | kDecode3[table_index(text[i + 3])];
            const uint32_t b = kDecode0[table_index(text[i + 4])] | kDecode1[table_index(text[i + 5])] |
                               kDecode2[table_index(text[i + 6])] | kDecode3[table_index(text[i + 7])];
            if ((a | b) & kBad)
                break; // padding or a stray character: the group loop below decides
            const uint64_t w = __builtin_bswap64(uint64_t(a) << 40 | uint64_t(b) << 16);
            std::memcpy(out, &w, 8);
        }
    }
#endif
    for (; i < n; i += 4) {
        const unsigned c0 = table_index(text[i]), c1 = table_index(text[i + 1]);
        const unsigned c2 = table_index(text[i + 2]), c3 = table_index(text[i + 3]);
        const uint32_t v = kDecode0[c0] | kDecode1[c1] | kDecode2[c2] | kDecode3[c3];
        if (!(v & kBad)) {
            out[0] = static_cast<Out>(static_cast<unsigned char>(v >> 16));
            out[1] = static_cast<Out>(static_cast<unsigned char>(v >> 8));
            out[2] = static_cast<Out>(static_cast<unsigned char>(v));
            out += 3;
            continue;
        }
        // A padded group: two or three alphabet characters, then "=" to the end of the group.
        const uint32_t head = kDecode0[c0] | kDecode1[c1];
        if ((head & kBad) || c3 != '=')
            return std::nullopt;
        if (c2 == '=') {
            out[0] = static_cast<Out>(static_cast<unsigned char>(head >> 16));
            out += 1;
        } else {
            const uint32_t three = head | kDecode2[c2];
            if (three & kBad)
                return std::nullopt;
            out[0] = static_cast<Out>(static_cast<unsigned char>(three >> 16));
            out[1] = static_cast<Out>(static_cast<unsigned char>(three >> 8));
            out += 2;
        }
    }
    return static_cast<size_t>(out - start);
}

} // namespace zyn::text::base64

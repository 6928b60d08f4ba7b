// MT19937 seeded on demand, and the mapping of its outputs into a range.
#include "numbers/mt19937_draw.h"

#include "time/clock_sys.h"

namespace zyn::numbers {

namespace {

constexpr uint32_t kShift = 397;                // distance of the word mixed into each regenerated word
constexpr uint32_t kMatrix = 0x9908b0dfu;       // the twist matrix
constexpr uint32_t kUpperBit = 0x80000000u;
constexpr uint32_t kLowerBits = 0x7fffffffu;
constexpr uint32_t kSeedMultiplier = 1812433253u;

uint32_t temper(uint32_t y) noexcept
{
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}

// 64 x 64 -> 128-bit product as two halves; written out so that 32-bit
// targets, which have no 128-bit integer, compute the same.
struct Product128 {
    uint64_t high;
    uint64_t low;
};

Product128 multiply(uint64_t a, uint64_t b) noexcept
{
    const uint64_t a_lo = uint32_t(a), a_hi = a >> 32;
    const uint64_t b_lo = uint32_t(b), b_hi = b >> 32;
    const uint64_t lo_lo = a_lo * b_lo;
    const uint64_t hi_lo = a_hi * b_lo;
    const uint64_t lo_hi = a_lo * b_hi;
    const uint64_t hi_hi = a_hi * b_hi;
    const uint64_t middle = (lo_lo >> 32) + uint32_t(hi_lo) + uint32_t(lo_hi);
    return {hi_hi + (hi_lo >> 32) + (lo_hi >> 32) + (middle >> 32), (middle << 32) | uint32_t(lo_lo)};
}

uint64_t draw_64bits(LazyMt19937& generator) noexcept
{
    const uint64_t high = generator.next(); // the first output is the high half
    return (high << 32) | generator.next();
}

// Offset 0 .. n-1 from 64-bit draws, for n above 2^32.
uint64_t offset_from_64bit_draws(LazyMt19937& generator, uint64_t n) noexcept
{
    Product128 p = multiply(draw_64bits(generator), n);
    if (p.low < n) {
        const uint64_t threshold = (0 - n) % n; // 2^64 mod n
        while (p.low < threshold)
            p = multiply(draw_64bits(generator), n);
    }
    return p.high;
}

} // namespace

LazyMt19937::LazyMt19937(uint32_t seed) noexcept { state_[0] = seed; }

void LazyMt19937::seed_up_to(uint32_t count) noexcept
{
    uint32_t x = state_[seeded_ - 1];
    for (uint32_t i = seeded_; i < count; ++i) {
        x = kSeedMultiplier * (x ^ (x >> 30)) + i;
        state_[i] = x;
    }
    seeded_ = count;
}

uint32_t LazyMt19937::next() noexcept
{
    const uint32_t k = index_;
    if (seeded_ < kWords) {
        // Still in the first block: words k, k+1 and k+397 must exist.
        const uint32_t needed = k + kShift + 1 < kWords ? k + kShift + 1 : kWords;
        if (seeded_ < needed)
            seed_up_to(needed);
    }
    const uint32_t k1 = k + 1 == kWords ? 0 : k + 1;
    const uint32_t km = k + kShift < kWords ? k + kShift : k + kShift - kWords;
    const uint32_t y = (state_[k] & kUpperBit) | (state_[k1] & kLowerBits);
    const uint32_t word = state_[km] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
    state_[k] = word;
    index_ = k1;
    return temper(word);
}

uint64_t offset_from_32bit_draws(LazyMt19937& generator, uint64_t n) noexcept
{
    // The product of a 32-bit draw and n (at most 2^32) fits in 64 bits.
    uint64_t p = uint64_t(generator.next()) * n;
    if (uint32_t(p) < n) {
        const uint64_t threshold = ((uint64_t(1) << 32) - n) % n; // 2^32 mod n
        while (uint32_t(p) < threshold)
            p = uint64_t(generator.next()) * n;
    }
    return p >> 32;
}

int32_t draw_int32(uint32_t seed, int32_t min, int32_t max) noexcept
{
    LazyMt19937 generator(seed);
    const uint32_t n = uint32_t(max) - uint32_t(min) + 1u; // 0: every 32-bit value
    const uint32_t offset = n == 0 ? generator.next() : uint32_t(offset_from_32bit_draws(generator, n));
    return int32_t(uint32_t(min) + offset);
}

int64_t draw_int64(uint32_t seed, int64_t min, int64_t max) noexcept
{
    LazyMt19937 generator(seed);
    const uint64_t n = uint64_t(max) - uint64_t(min) + 1u; // 0: every 64-bit value
    uint64_t offset;
    if (n == 0)
        offset = draw_64bits(generator);
    else if (n - 1 <= 0xffffffffu)
        offset = offset_from_32bit_draws(generator, n);
    else
        offset = offset_from_64bit_draws(generator, n);
    return int64_t(uint64_t(min) + offset);
}

uint32_t clock_seed() noexcept { return uint32_t(uint64_t(time::sys::system_ticks_100ns())); }

} // namespace zyn::numbers

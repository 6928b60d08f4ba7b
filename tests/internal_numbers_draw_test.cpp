// The seeded draw against a reference built on std::mt19937: the same seed
// must give the same value for every width, range and wrap-around.
#include "numbers/mt19937_draw.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using zyn::numbers::draw_int32;
using zyn::numbers::draw_int64;
using zyn::numbers::LazyMt19937;

// The full 128-bit product of two 64-bit values, shifted and added bit by bit:
// a second way, apart from the library's, with no 128-bit type (which 32-bit
// targets lack).
struct Wide {
    uint64_t high = 0, low = 0;
};
Wide times(uint64_t a, uint64_t b)
{
    Wide product, addend{0, a};
    for (int bit = 0; bit < 64; ++bit) {
        if ((b >> bit) & 1) {
            const uint64_t low = product.low + addend.low;
            product.high += addend.high + (low < product.low ? 1 : 0);
            product.low = low;
        }
        addend.high = (addend.high << 1) | (addend.low >> 63);
        addend.low <<= 1;
    }
    return product;
}

// The range mapping written out plainly over a complete std::mt19937.
// Counts the generator outputs it used.
struct Reference {
    std::mt19937 gen;
    int outputs = 0;
    explicit Reference(uint32_t seed) : gen(seed) {}
    uint64_t draw32() { ++outputs; return gen(); }
    uint64_t draw64()
    {
        const uint64_t high = draw32();
        return (high << 32) | draw32();
    }

    int32_t int32(int32_t min, int32_t max)
    {
        const uint32_t n = uint32_t(max) - uint32_t(min) + 1u;
        uint32_t r;
        if (n == 0) {
            r = uint32_t(draw32());
        } else {
            uint64_t p = draw32() * n;
            if (uint32_t(p) < n) {
                const uint32_t t = uint32_t((uint64_t(1) << 32) - n) % n;
                while (uint32_t(p) < t)
                    p = draw32() * n;
            }
            r = uint32_t(p >> 32);
        }
        return int32_t(uint32_t(min) + r);
    }

    int64_t int64(int64_t min, int64_t max)
    {
        const uint64_t n = uint64_t(max) - uint64_t(min) + 1u;
        uint64_t r;
        if (n == 0) {
            r = draw64();
        } else if (n - 1 <= 0xffffffffu) {
            // A 32-bit draw times n (at most 2^32) fits 64 bits.
            uint64_t p = draw32() * n;
            const uint64_t w = uint64_t(1) << 32;
            if (p % w < n) {
                const uint64_t t = (w - n) % n;
                while (p % w < t)
                    p = draw32() * n;
            }
            r = p >> 32;
        } else {
            Wide p = times(draw64(), n);
            if (p.low < n) {
                const uint64_t t = (0 - n) % n;
                while (p.low < t)
                    p = times(draw64(), n);
            }
            r = p.high;
        }
        return int64_t(uint64_t(min) + r);
    }
};

std::vector<uint32_t> seeds()
{
    std::vector<uint32_t> s = {0u, 1u, 2u, 5489u, 0x7fffffffu, 0x80000000u, 0xfffffffeu, 0xffffffffu};
    std::mt19937 pick(20261206u);
    for (int i = 0; i < 300; ++i)
        s.push_back(pick());
    return s;
}

TEST(LazyMt19937, OutputsEqualTheStandardGeneratorAcrossBlocks)
{
    for (uint32_t seed : {0u, 1u, 5489u, 123456789u, 0xffffffffu}) {
        LazyMt19937 lazy(seed);
        std::mt19937 full(seed);
        // Three blocks: the first (seeded on demand) and two regenerated ones.
        for (int i = 0; i < 3 * 624 + 5; ++i)
            ASSERT_EQ(lazy.next(), full()) << "seed " << seed << " output " << i;
    }
    // The published check value: the 10000th output of the default seed.
    LazyMt19937 lazy(5489u);
    uint32_t last = 0;
    for (int i = 0; i < 10000; ++i)
        last = lazy.next();
    EXPECT_EQ(last, 4123659995u);
}

TEST(SeededDraw, Int32EqualsTheReferenceForManySeedsAndBounds)
{
    const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    const std::vector<std::pair<int32_t, int32_t>> bounds = {
        {5, 5}, {-3, 3}, {0, 100}, {1, 1000000}, {0, 1}, {10, 5}, {lo, hi}, {hi, lo}, {lo, lo},
        {0, hi}, {-1, hi}, {lo, 0}, {-1000000000, 1000000000}, {0, 0x40000000}, {7, 6},
        // Sizes just above a power of two reject most often.
        {0, int32_t(0x80000000u >> 1)}, {-0x40000000, 0x40000001}};
    for (uint32_t seed : seeds()) {
        for (const auto& b : bounds) {
            Reference ref(seed);
            ASSERT_EQ(draw_int32(seed, b.first, b.second), ref.int32(b.first, b.second))
                << "seed " << seed << " bounds " << b.first << ".." << b.second;
        }
    }
}

TEST(SeededDraw, Int64EqualsTheReferenceForManySeedsAndBounds)
{
    const int64_t lo = std::numeric_limits<int64_t>::min(), hi = std::numeric_limits<int64_t>::max();
    const std::vector<std::pair<int64_t, int64_t>> bounds = {
        {5, 5}, {0, 10}, {-3, 3}, {0, int64_t(1) << 40}, {0, 0xffffffffLL}, {0, 0x100000000LL},
        {-0x80000000LL, 0x7fffffffLL}, {lo, hi}, {hi, lo}, {10, 5}, {0, hi}, {lo, 0},
        {-(int64_t(1) << 62), int64_t(1) << 62}, {0, (int64_t(1) << 63) / 3 * 2}, {1, 0}};
    for (uint32_t seed : seeds()) {
        for (const auto& b : bounds) {
            Reference ref(seed);
            ASSERT_EQ(draw_int64(seed, b.first, b.second), ref.int64(b.first, b.second))
                << "seed " << seed << " bounds " << b.first << ".." << b.second;
        }
    }
}

TEST(SeededDraw, RangesUseTheDocumentedNumberOfOutputs)
{
    std::mt19937 first(42u);
    const uint32_t a = first(), b = first();
    // The whole width uses the raw output(s), the first as the high half.
    EXPECT_EQ(uint32_t(draw_int32(42u, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max())),
              a + 0x80000000u);
    EXPECT_EQ(uint64_t(draw_int64(42u, 0, -1)), (uint64_t(a) << 32 | b));
    // One output up to 2^32 values, two beyond.
    Reference small(42u), large(42u);
    small.int64(0, 10);
    large.int64(0, int64_t(1) << 40);
    EXPECT_EQ(small.outputs, 1);
    EXPECT_EQ(large.outputs, 2);
    EXPECT_EQ(draw_int64(42u, 0, 10), int64_t((uint64_t(a) * 11) >> 32));
}

TEST(SeededDraw, WrappedBoundsSkipTheGapOnly)
{
    // max below min: every value except those strictly between them.
    for (uint32_t seed = 0; seed < 20000; ++seed) {
        const int32_t v = draw_int32(seed, 10, 5);
        ASSERT_FALSE(v > 5 && v < 10) << v;
        const int32_t w = draw_int32(seed, -3, 3);
        ASSERT_TRUE(w >= -3 && w <= 3) << w;
        const int64_t x = draw_int64(seed, 3, -3);
        ASSERT_FALSE(x > -3 && x < 3) << x;
    }
}

} // namespace

// The seeded draw: the generator equals std::mt19937 (later blocks too), and a hash of 31,000 draws pins the values
// a plain multiply-and-reject reference on std::mt19937 gave, for every width, range and wrap-around, on every platform.
#include "numbers/mt19937_draw.h"

#include <gtest/gtest.h>

#include <random>

TEST(SeededDraw, EqualsTheStandardGeneratorAndItsRangeMapping)
{
    for (uint32_t seed : {0u, 5489u, 0xffffffffu}) {
        zyn::numbers::LazyMt19937 lazy(seed);
        std::mt19937 full(seed);
        for (int i = 0; i < 3 * 624 + 5; ++i) ASSERT_EQ(lazy.next(), full()) << seed << " " << i;
    }
    const int32_t lo = INT32_MIN, hi = INT32_MAX;
    const int64_t lo64 = INT64_MIN, hi64 = INT64_MAX;
    const std::pair<int32_t, int32_t> bounds32[] = { // sizes just above a power of two reject most often
        {5, 5}, {-3, 3}, {0, 100}, {1, 1000000}, {0, 1}, {10, 5}, {lo, hi}, {hi, lo}, {lo, lo}, {0, hi}, {-1, hi},
        {lo, 0}, {-1000000000, 1000000000}, {0, 0x40000000}, {7, 6}, {-0x40000000, 0x40000001}};
    const std::pair<int64_t, int64_t> bounds64[] = {
        {5, 5}, {0, 10}, {-3, 3}, {0, int64_t(1) << 40}, {0, 0xffffffffLL}, {0, 0x100000000LL}, {-0x80000000LL, 0x7fffffffLL},
        {lo64, hi64}, {hi64, lo64}, {10, 5}, {0, hi64}, {lo64, 0}, {-(int64_t(1) << 62), int64_t(1) << 62},
        {0, (int64_t(1) << 63) / 3 * 2}, {1, 0}};
    uint64_t hash32 = 14695981039346656037u, hash64 = hash32; // FNV-1a over the values
    std::mt19937 pick(20261206u);
    const uint32_t special[] = {0u, 1u, 2u, 5489u, 0x7fffffffu, 0x80000000u, 0xfffffffeu, 0xffffffffu};
    for (int i = 0; i < 1000; ++i) {
        const uint32_t seed = i < 8 ? special[i] : uint32_t(pick());
        for (const auto& [min, max] : bounds32)
            hash32 = (hash32 ^ uint32_t(zyn::numbers::draw_int32(seed, min, max))) * 1099511628211u;
        for (const auto& [min, max] : bounds64)
            hash64 = (hash64 ^ uint64_t(zyn::numbers::draw_int64(seed, min, max))) * 1099511628211u;
    }
    EXPECT_EQ(hash32, 12554144180351942418u);
    EXPECT_EQ(hash64, 15899593678738580666u);
}

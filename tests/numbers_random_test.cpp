// Random draws, the percentage chance, rounding and percentage conversions
// through the exports: ranges, the wrap-around, the frame and every documented error.
#include "support/loaded_library.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

namespace {

class Numbers : public test::LoadedLibrary {};

// Draws until every expected value has shown up (seeds come from the clock,
// so this ends quickly), giving up after a generous number of calls.
template <class Draw>
std::set<int64_t> values_seen(Draw draw, size_t wanted)
{
    std::set<int64_t> seen;
    for (int i = 0; i < 200000 && seen.size() < wanted; ++i)
        seen.insert(draw());
    return seen;
}

TEST_F(Numbers, Int32DrawsStayInTheirRange)
{
    EXPECT_EQ(zyn_random_int32(5, 5), 5);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
    const auto small = values_seen([] { return zyn_random_int32(-3, 3); }, 7);
    EXPECT_EQ(small, (std::set<int64_t>{-3, -2, -1, 0, 1, 2, 3}));

    // max below min wraps: never 6 to 9, but values outside 5..10 appear.
    bool beyond = false;
    for (int i = 0; i < 2000; ++i) {
        const int32_t v = zyn_random_int32(10, 5);
        ASSERT_FALSE(v > 5 && v < 10) << v;
        beyond = beyond || v > 10 || v < 5;
    }
    EXPECT_TRUE(beyond);

    // The whole width: any value, negative ones included.
    const auto any = values_seen([] { return zyn_random_int32(INT32_MIN, INT32_MAX) < 0 ? -1 : 1; }, 2);
    EXPECT_EQ(any.size(), 2u);
}

TEST_F(Numbers, Int64DrawsStayInTheirRange)
{
    EXPECT_EQ(zyn_random_int64(-7, -7), -7);
    for (int i = 0; i < 2000; ++i) {
        const int64_t big = zyn_random_int64(0, int64_t(1) << 40);
        ASSERT_TRUE(big >= 0 && big <= (int64_t(1) << 40)) << big;
        const int64_t wrapped = zyn_random_int64(INT64_MAX - 1, INT64_MIN + 1); // four values
        ASSERT_TRUE(wrapped == INT64_MAX - 1 || wrapped == INT64_MAX || wrapped == INT64_MIN ||
                    wrapped == INT64_MIN + 1)
            << wrapped;
    }
    // Values above 2^32 really occur in a range that allows them.
    const auto high = values_seen([] { return zyn_random_int64(0, int64_t(1) << 40) >> 32; }, 2);
    EXPECT_GE(high.size(), 2u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
}

TEST_F(Numbers, DoubleBoundsAreTruncatedTowardZero)
{
    for (int i = 0; i < 500; ++i) {
        const double v = zyn_random_int64_bgt_compatibility(-10.7, -2.2);
        ASSERT_TRUE(v >= -10.0 && v <= -2.0) << v;
        ASSERT_EQ(v, std::trunc(v));
    }
    EXPECT_EQ(zyn_random_int64_bgt_compatibility(3.9, 3.1), 3.0);
    // Bounds that have no 64-bit value: NaN counts as 0, the rest saturate.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(zyn_random_int64_bgt_compatibility(nan, nan), 0.0);
    EXPECT_EQ(zyn_random_int64_bgt_compatibility(1e300, INFINITY), 9223372036854775807.0);
    EXPECT_EQ(zyn_random_int64_bgt_compatibility(-1e300, -INFINITY), -9223372036854775808.0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
}

TEST_F(Numbers, LuckDrawsFromZeroToAHundred)
{
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(zyn_getlucky(100), 1);
        ASSERT_EQ(zyn_getlucky(1000), 1);
        ASSERT_EQ(zyn_getlucky(-1), 0);
        ASSERT_EQ(zyn_getlucky(INT32_MIN), 0);
    }
    // A chance of 50 gives both outcomes.
    const auto both = values_seen([] { return zyn_getlucky(50); }, 2);
    EXPECT_EQ(both, (std::set<int64_t>{0, 1}));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
}

TEST_F(Numbers, RoundingFollowsTruncationOfTheScaledFraction)
{
    EXPECT_DOUBLE_EQ(zyn_round(3.14159, 2), 3.14);
    EXPECT_EQ(zyn_round(1.005, 2), 1.0); // stored slightly below 1.005
    EXPECT_EQ(zyn_round(7.5, 0), 8.0);
    EXPECT_EQ(zyn_round(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(zyn_round(2.25, 1), 2.3);
    EXPECT_DOUBLE_EQ(zyn_round(2.675, 2), 2.67);
    EXPECT_DOUBLE_EQ(zyn_round(2.345, 2), 2.35);
    // Negative values move toward zero rather than to the nearest.
    EXPECT_DOUBLE_EQ(zyn_round(-2.14, 1), -2.0);
    EXPECT_DOUBLE_EQ(zyn_round(-2.16, 1), -2.1);
    // More than 15 places (or a negative count passed as unsigned) means 15.
    EXPECT_EQ(zyn_round(2.5, 20), 2.5);
    EXPECT_EQ(zyn_round(0.1234567890123456789, uint32_t(-1)), zyn_round(0.1234567890123456789, 15));
    EXPECT_DOUBLE_EQ(zyn_round(0.1234567890123456789, 15), 0.123456789012346);
    // Exact powers of ten: one place of 0.7 is 0.7, not 0.6.
    EXPECT_DOUBLE_EQ(zyn_round(0.7, 1), 0.7);
    // Every step in double precision: carried in more precision (the x87
    // unit of 32-bit x86), the scaled fraction lands just below .5 here.
    EXPECT_EQ(zyn_round(1.45, 1), 1.5);
    EXPECT_DOUBLE_EQ(zyn_round(1.115, 2), 1.12);
    EXPECT_DOUBLE_EQ(zyn_round(0.295, 2), 0.3);
    EXPECT_DOUBLE_EQ(zyn_round(0.015, 2), 0.02);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
    // Values with no 64-bit whole part come back as they are.
    EXPECT_EQ(zyn_round(1e300, 2), 1e300);
    EXPECT_EQ(zyn_round(-INFINITY, 2), -INFINITY);
    EXPECT_TRUE(std::isnan(zyn_round(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_EQ(zyn_round(9007199254740993.0, 3), 9007199254740993.0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
}

TEST_F(Numbers, PercentagesCheckTheirArguments)
{
    EXPECT_EQ(zyn_percent_to_number(200.0f, 50.0f), 100.0f);
    EXPECT_EQ(zyn_percent_to_number(200.0f, 100.0f), 200.0f);
    EXPECT_EQ(zyn_percent_to_number(-40.0f, 25.0f), -10.0f);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
    for (float bad : {0.0f, -5.0f, 100.5f, INFINITY}) {
        EXPECT_EQ(zyn_percent_to_number(200.0f, bad), -1.0f) << bad;
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    }
    EXPECT_TRUE(std::isnan(zyn_percent_to_number(200.0f, NAN))); // NaN passes the test
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);

    EXPECT_EQ(zyn_number_to_percent(200.0f, 50.0f), 25.0f);
    EXPECT_EQ(zyn_number_to_percent(-200.0f, -300.0f), 150.0f); // negative total, part not above it
    EXPECT_FLOAT_EQ(zyn_number_to_percent(3.0f, 1.0f), 33.333333f);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
    EXPECT_EQ(zyn_number_to_percent(0.0f, 0.0f), -1.0f);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_number_to_percent(50.0f, 60.0f), -1.0f);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_TRUE(std::isnan(zyn_number_to_percent(NAN, 5.0f)));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
}

TEST_F(Numbers, EveryOperationRefusesWhileNotLoaded)
{
    zyn_unload();
    const auto refused = [] { return zyn_geterror() == ZYN_ERR_NOT_LOADED && zyn_get_extendederror() == 0; };
    EXPECT_EQ(zyn_random_int32(5, 5), -1);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_random_int64(5, 5), -1);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_random_int64_bgt_compatibility(5.0, 5.0), -1.0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_getlucky(100), -1);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_round(2.5, 0), -1.0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_percent_to_number(200.0f, 50.0f), -1.0f);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_number_to_percent(200.0f, 50.0f), -1.0f);
    EXPECT_TRUE(refused());
    // A framed call clears what came before it.
    ASSERT_EQ(zyn_init(""), 1);
    zyn_seterror(7, -3);
    EXPECT_EQ(zyn_random_int32(1, 2) >= 1, true);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_get_extendederror(), 0);
}

} // namespace

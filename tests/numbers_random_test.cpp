// Random draws, the chance, rounding and percentages: ranges, the wrap-around, the frame and every error.
#include "support/library.h"

#include <cmath>
#include <set>

class Numbers : public test::LoadedLibrary {};
using test::error_is;

// The values a draw gives until all wanted have shown up (seeds come from the clock), or 200000 calls.
template <class Draw> std::set<int64_t> seen(Draw draw, size_t wanted)
{
    std::set<int64_t> values;
    for (int i = 0; i < 200000 && values.size() < wanted; ++i) values.insert(draw());
    return values;
}

TEST_F(Numbers, DrawsStayInTheirRangesAndWrapWhenMaxIsBelowMin)
{
    EXPECT_TRUE(zyn_random_int32(5, 5) == 5 && zyn_random_int64(-7, -7) == -7 && zyn_random_int64_bgt_compatibility(3.9, 3.1) == 3.0);
    EXPECT_EQ(seen([] { return zyn_random_int32(-3, 3); }, 7), (std::set<int64_t>{-3, -2, -1, 0, 1, 2, 3}));
    EXPECT_EQ(seen([] { return zyn_random_int32(INT32_MIN, INT32_MAX) < 0; }, 2).size(), 2u);
    EXPECT_EQ(seen([] { return zyn_random_int64(0, int64_t(1) << 40) >> 32; }, 2).size(), 2u); // above 2^32 too
    EXPECT_EQ(seen([] { return zyn_getlucky(0); }, 2).size(), 2u); // a chance of 0 still wins one time in 101
    EXPECT_EQ(seen([] { return zyn_random_int32(10, 5) % 11 == 0; }, 2).size(), 2u); // beyond 5 to 10 too
    for (int i = 0; i < 2000; ++i) {
        const int32_t v = zyn_random_int32(10, 5);
        const int64_t w = zyn_random_int64(INT64_MAX - 1, INT64_MIN + 1); // four values
        const double d = zyn_random_int64_bgt_compatibility(-10.7, -2.2); // bounds truncated toward zero
        ASSERT_TRUE(v <= 5 || v >= 10) << v;
        ASSERT_TRUE(w >= INT64_MAX - 1 || w <= INT64_MIN + 1) << w;
        ASSERT_TRUE(d >= -10.0 && d <= -2.0 && d == std::trunc(d)) << d;
        ASSERT_TRUE(zyn_getlucky(100) && zyn_getlucky(1000) && !zyn_getlucky(-1) && !zyn_getlucky(INT32_MIN));
    }
    // Bounds that have no 64-bit value: NaN counts as 0, the rest saturate.
    EXPECT_TRUE(zyn_random_int64_bgt_compatibility(NAN, NAN) == 0.0 && zyn_random_int64_bgt_compatibility(0x1p63, 0x1p63) == 0x1p63);
    EXPECT_TRUE(zyn_random_int64_bgt_compatibility(1e300, INFINITY) == 0x1p63 && zyn_random_int64_bgt_compatibility(-1e300, -INFINITY) == -0x1p63);
    EXPECT_TRUE(error_is(0));
}

TEST_F(Numbers, RoundingTruncatesTheScaledFractionInDoublePrecision)
{
    const struct { double value; uint32_t places; double rounded; } rows[] = {
        {3.14159, 2, 3.14}, {1.005, 2, 1.0} /* stored slightly below 1.005 */, {7.5, 0, 8.0}, {2.5, 0, 3.0}, {2.25, 1, 2.3},
        {2.675, 2, 2.67}, {2.345, 2, 2.35}, {0.7, 1, 0.7}, {-2.14, 1, -2.0}, {-2.16, 1, -2.1}, // negative: toward zero
        {2.5, 20, 2.5}, {0.1234567890123456789, 15, 0.123456789012346}, {0.1234567890123456789, 16, 0.123456789012346},
        {0.1234567890123456789, uint32_t(-1), 0.123456789012346},
        {1.45, 1, 1.5}, {1.115, 2, 1.12}, {0.295, 2, 0.3}, {0.015, 2, 0.02}, // below .5 in x87 precision
        {1e300, 2, 1e300}, {-INFINITY, 2, -INFINITY}, {9007199254740993.0, 3, 9007199254740993.0}}; // no 64-bit whole part
    for (const auto& r : rows) EXPECT_DOUBLE_EQ(zyn_round(r.value, r.places), r.rounded) << r.value << " " << r.places;
    EXPECT_TRUE(std::isnan(zyn_round(NAN, 2)) && error_is(0));
}

TEST_F(Numbers, PercentagesCheckTheirArguments)
{
    EXPECT_TRUE(zyn_percent_to_number(200.0f, 50.0f) == 100.0f && zyn_percent_to_number(200.0f, 100.0f) == 200.0f);
    EXPECT_TRUE(zyn_percent_to_number(-40.0f, 25.0f) == -10.0f && zyn_number_to_percent(200.0f, 50.0f) == 25.0f);
    EXPECT_TRUE(zyn_number_to_percent(50.0f, 50.0f) == 100.0f && zyn_number_to_percent(-200.0f, -300.0f) == 150.0f);
    EXPECT_FLOAT_EQ(zyn_number_to_percent(3.0f, 1.0f), 33.333333f);
    EXPECT_TRUE(std::isnan(zyn_percent_to_number(200.0f, NAN)) && error_is(0)); // NaN passes the checks
    EXPECT_TRUE(std::isnan(zyn_number_to_percent(NAN, 5.0f)) && error_is(0));
    for (float percent : {0.0f, -5.0f, 100.5f, INFINITY})
        EXPECT_TRUE(zyn_percent_to_number(200.0f, percent) == -1.0f && error_is(ZYN_ERR_INVALID_ARGUMENT)) << percent;
    EXPECT_TRUE(zyn_number_to_percent(0.0f, 0.0f) == -1.0f && error_is(ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_TRUE(zyn_number_to_percent(50.0f, 60.0f) == -1.0f && error_is(ZYN_ERR_INVALID_ARGUMENT));
}

TEST_F(Numbers, EveryOperationRefusesWhileNotLoadedAndAFramedCallClearsTheLastError)
{
    zyn_seterror(7, -3);
    EXPECT_TRUE(zyn_random_int32(1, 2) >= 1 && error_is(0));
    zyn_unload();
    const auto refused = [](double result) { return result == -1.0 && error_is(ZYN_ERR_NOT_LOADED) && (zyn_seterror(0, 9), true); };
    EXPECT_TRUE(refused(zyn_random_int32(5, 5)) && refused(double(zyn_random_int64(5, 5))));
    EXPECT_TRUE(refused(zyn_random_int64_bgt_compatibility(5.0, 5.0)) && refused(zyn_getlucky(100)));
    EXPECT_TRUE(refused(zyn_round(2.5, 0)) && refused(zyn_percent_to_number(200.0f, 50.0f)));
    EXPECT_TRUE(refused(zyn_number_to_percent(200.0f, 50.0f)));
}


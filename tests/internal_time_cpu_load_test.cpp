// The busy fraction between two CPU samples, including counters that ran backwards.
#include "time/cpu_load.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using zyn::time::busy_fraction;

TEST(BusyFraction, StaysAFractionForEverySample)
{
    EXPECT_EQ(busy_fraction(0, 0), 1.0f);  // no time passed
    EXPECT_EQ(busy_fraction(5, 0), 1.0f);
    EXPECT_EQ(busy_fraction(0, 100), 1.0f);
    EXPECT_EQ(busy_fraction(100, 100), 0.0f);
    EXPECT_FLOAT_EQ(busy_fraction(25, 100), 0.75f);
    // The idle figure went back by 3 units: the unsigned difference wraps.
    EXPECT_EQ(busy_fraction(uint64_t(0) - 3, 100), 0.0f);
    // Idle moved more than the total did.
    EXPECT_EQ(busy_fraction(150, 100), 0.0f);
}

} // namespace

// Timer arithmetic checked against the library's own monotonic clock.
#include "time/clock_sys.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

namespace {

TEST(TimerClock, ResumeDropsTheSubMillisecondPart)
{
    // Paused after 2 s and 999,999 ns: only the 2,000 whole milliseconds carry over,
    // so the new start lies exactly 2 s before the moment of the resume.
    TimerRecord t{};
    t.state = ZYN_TIMER_PAUSED;
    t.start = 5000;
    t.mark = 5000 + 2000999999;
    const int64_t before = zyn::time::sys::monotonic_ns();
    ASSERT_EQ(zyn_timer_resume(&t), 1);
    const int64_t after = zyn::time::sys::monotonic_ns();
    EXPECT_GE(t.start, before - 2000000000);
    EXPECT_LE(t.start, after - 2000000000);
}

TEST(TimerClock, NegativeElapsedTimeAlsoKeepsWholeMillisecondsOnly)
{
    // Truncation toward zero: -1.5 ms carries over as -1 ms.
    TimerRecord t{};
    t.state = ZYN_TIMER_PAUSED;
    t.start = 1500000;
    t.mark = 0;
    const int64_t before = zyn::time::sys::monotonic_ns();
    ASSERT_EQ(zyn_timer_resume(&t), 1);
    const int64_t after = zyn::time::sys::monotonic_ns();
    EXPECT_GE(t.start, before + 1000000);
    EXPECT_LE(t.start, after + 1000000);
}

TEST(TimerClock, ForceCountsFromTheCurrentReading)
{
    TimerRecord t{};
    ASSERT_EQ(zyn_timer_restart(&t), 1);
    const int64_t before = zyn::time::sys::monotonic_ns();
    ASSERT_EQ(zyn_timer_force(&t, 7, ZYN_UNIT_MICROSECONDS), 1);
    const int64_t after = zyn::time::sys::monotonic_ns();
    EXPECT_GE(t.start, before - 7000);
    EXPECT_LE(t.start, after - 7000);
}

} // namespace

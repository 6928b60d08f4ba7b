// Timers: states, units, pause arithmetic, forcing, and the wall-clock timestamp.
#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

namespace {

TimerRecord zeroed()
{
    TimerRecord t;
    std::memset(&t, 0, sizeof t);
    return t;
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class Timers : public ::testing::Test {
protected:
    void SetUp() override { zyn_unload(); } // timers must work without zyn_init
};

TEST_F(Timers, RecordLayoutIsNaturallyAligned)
{
    EXPECT_EQ(offsetof(TimerRecord, userData), 0u);
    EXPECT_EQ(offsetof(TimerRecord, state), 4u);
    EXPECT_EQ(offsetof(TimerRecord, start), 8u);
    EXPECT_EQ(offsetof(TimerRecord, mark), 16u);
    EXPECT_EQ(sizeof(TimerRecord), 24u);
}

TEST_F(Timers, RunningTimerCountsInEveryUnitWithoutInit)
{
    TimerRecord t = zeroed();
    t.userData = 0xC0FFEEu;
    zyn_seterror(5, 5);
    ASSERT_EQ(zyn_timer_restart(&t), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(t.state, ZYN_TIMER_RUNNING);
    sleep_ms(1500);
    EXPECT_GE(zyn_timer_elapsed(&t, ZYN_UNIT_SECONDS), 1);
    EXPECT_LT(zyn_timer_elapsed(&t, ZYN_UNIT_SECONDS), 30); // generous: loaded CI machines
    const int64_t ms = zyn_timer_elapsed(&t, ZYN_UNIT_MILLISECONDS);
    EXPECT_GE(ms, 1500);
    const int64_t us = zyn_timer_elapsed(&t, ZYN_UNIT_MICROSECONDS);
    EXPECT_GE(us, ms * 1000);
    const int64_t ns = zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS);
    EXPECT_GE(ns, us * 1000);
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_MINUTES), 0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(t.userData, 0xC0FFEEu);
}

TEST_F(Timers, PauseFreezesAndResumeKeepsWholeMilliseconds)
{
    TimerRecord t = zeroed();
    t.state = ZYN_TIMER_PAUSED;
    t.start = 1000;
    t.mark = 1000 + 2000000500; // paused after 2 s and 500 ns
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS), 2000000500);
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS), 2000000500); // paused: fixed
    ASSERT_EQ(zyn_timer_resume(&t), 1);
    EXPECT_EQ(t.state, ZYN_TIMER_RUNNING);
    const int64_t ns = zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS);
    EXPECT_GE(ns, 2000000000);
    EXPECT_LT(ns, 2000000500 + 5000000000LL);
    // The 500 ns are gone: right after the resume the count started at exactly 2000 ms.
    EXPECT_EQ((t.mark - t.start) - ns, 0);
    ASSERT_EQ(zyn_timer_pause(&t), 1);
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_MILLISECONDS) / 1000, 2);
}

TEST_F(Timers, PauseAndResumeAreIdempotent)
{
    TimerRecord t = zeroed();
    ASSERT_EQ(zyn_timer_restart(&t), 1);
    ASSERT_EQ(zyn_timer_pause(&t), 1);
    const int64_t first_pause = t.mark;
    sleep_ms(20);
    EXPECT_EQ(zyn_timer_pause(&t), 1);
    EXPECT_EQ(t.mark, first_pause);
    EXPECT_EQ(zyn_geterror(), 0);
    ASSERT_EQ(zyn_timer_resume(&t), 1);
    const TimerRecord before = t;
    EXPECT_EQ(zyn_timer_resume(&t), 1);
    EXPECT_EQ(t.start, before.start);
    EXPECT_EQ(t.state, ZYN_TIMER_RUNNING);
}

TEST_F(Timers, NeverStartedTimerRefusesPauseAndResume)
{
    TimerRecord t = zeroed();
    EXPECT_EQ(zyn_timer_pause(&t), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_timer_resume(&t), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    t.state = 3; // neither paused nor running
    EXPECT_EQ(zyn_timer_pause(&t), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    // Reading and forcing a never-started timer is allowed and keeps it so.
    t.start = 10;
    t.mark = 5010;
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS), 5000);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_timer_force(&t, 1, ZYN_UNIT_SECONDS), 1);
    EXPECT_EQ(t.state, 3);
    EXPECT_EQ(t.mark, 5010);
}

TEST_F(Timers, NullRecordAndUnknownUnits)
{
    EXPECT_EQ(zyn_timer_restart(nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_timer_pause(nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_timer_resume(nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_timer_elapsed(nullptr, ZYN_UNIT_SECONDS), -1);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_timer_force(nullptr, 1, ZYN_UNIT_SECONDS), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);

    TimerRecord t = zeroed();
    ASSERT_EQ(zyn_timer_restart(&t), 1);
    for (int unit : {0, 6, -1, 1000}) {
        const int64_t mark_before = t.mark;
        sleep_ms(2);
        EXPECT_EQ(zyn_timer_elapsed(&t, unit), -1) << unit;
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
        EXPECT_EQ(zyn_get_extendederror(), 0);
        EXPECT_NE(t.mark, mark_before) << "a running timer's mark is refreshed before the unit is checked";
        const int64_t start_before = t.start;
        EXPECT_EQ(zyn_timer_force(&t, 1, unit), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
        EXPECT_EQ(t.start, start_before);
    }
}

TEST_F(Timers, ForceSetsTheElapsedTime)
{
    TimerRecord t = zeroed();
    ASSERT_EQ(zyn_timer_restart(&t), 1);
    ASSERT_EQ(zyn_timer_force(&t, 10, ZYN_UNIT_SECONDS), 1);
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_SECONDS), 10);

    ASSERT_EQ(zyn_timer_force(&t, 150, ZYN_UNIT_SECONDS), 1);
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_MINUTES), 2);

    ASSERT_EQ(zyn_timer_force(&t, -5, ZYN_UNIT_SECONDS), 1);
    const int64_t ms = zyn_timer_elapsed(&t, ZYN_UNIT_MILLISECONDS);
    EXPECT_LE(ms, -4000);
    EXPECT_GE(ms, -5000);
    sleep_ms(5);
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_SECONDS), -4); // truncation toward zero

    // Minutes travel as a 32-bit count: 2^32 + 3 minutes is 3 minutes.
    ASSERT_EQ(zyn_timer_force(&t, (int64_t(1) << 32) + 3, ZYN_UNIT_MINUTES), 1);
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_MINUTES), 3);
    ASSERT_EQ(zyn_timer_force(&t, int64_t(0xFFFFFFFF), ZYN_UNIT_MINUTES), 1); // reads as -1
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_SECONDS), -59);

    // A huge value wraps at 64 bits instead of trapping.
    EXPECT_EQ(zyn_timer_force(&t, INT64_MAX, ZYN_UNIT_SECONDS), 1);
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(Timers, ForceOnAPausedTimerCountsFromThePause)
{
    TimerRecord t = zeroed();
    ASSERT_EQ(zyn_timer_restart(&t), 1);
    ASSERT_EQ(zyn_timer_pause(&t), 1);
    sleep_ms(200);
    ASSERT_EQ(zyn_timer_force(&t, 10, ZYN_UNIT_SECONDS), 1);
    EXPECT_EQ(t.state, ZYN_TIMER_PAUSED);
    const int64_t ms = zyn_timer_elapsed(&t, ZYN_UNIT_MILLISECONDS);
    EXPECT_LE(ms, 10000 - 200);
    EXPECT_GT(ms, 0);
}

TEST_F(Timers, TimestampFollowsTheWallClock)
{
    EXPECT_EQ(zyn_timer_get_timestamp(ZYN_UNIT_SECONDS), -1);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    ASSERT_EQ(zyn_init(""), 1);
    const int64_t now = int64_t(std::time(nullptr));
    const int64_t s = zyn_timer_get_timestamp(ZYN_UNIT_SECONDS);
    EXPECT_LE(std::llabs(s - now), 5);
    const int64_t ms = zyn_timer_get_timestamp(ZYN_UNIT_MILLISECONDS);
    EXPECT_LE(std::llabs(ms / 1000 - now), 5);
    const int64_t us = zyn_timer_get_timestamp(ZYN_UNIT_MICROSECONDS);
    EXPECT_LE(std::llabs(us / 1000000 - now), 5);
    const int64_t ns = zyn_timer_get_timestamp(ZYN_UNIT_NANOSECONDS);
    EXPECT_LE(std::llabs(ns / 1000000000 - now), 5);
    EXPECT_EQ(ns % 100, 0); // the system clock counts 100-ns ticks
    EXPECT_EQ(zyn_geterror(), 0);
    for (int unit : {0, ZYN_UNIT_MINUTES, 6}) {
        EXPECT_EQ(zyn_timer_get_timestamp(unit), -1);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
        EXPECT_EQ(zyn_get_extendederror(), 0);
    }
    zyn_unload();
}

} // namespace

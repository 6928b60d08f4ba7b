// Timers (states, units, pauses, forcing, the wall-clock timestamp), waiting and the CPU load fraction.
#include "support/library.h"
#include "time/cpu_load.h"

#include <chrono>
#include <ctime>
#include <thread>

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
using test::error_is;
int64_t now_ns() { TimerRecord t{}; return zyn_timer_restart(&t) ? t.start : 0; } // the timers' own clock

struct Timers : ::testing::Test { void SetUp() override { zyn_unload(); } }; // timers work without zyn_init

TEST_F(Timers, RunningTimerCountsInEveryUnit)
{
    TimerRecord t{0xC0FFEEu, 0, 0, 0};
    zyn_seterror(5, 5);
    ASSERT_TRUE(zyn_timer_restart(&t) == 1 && error_is(0) && t.state == ZYN_TIMER_RUNNING);
    sleep_ms(20);
    EXPECT_GE(zyn_timer_elapsed(&t, ZYN_UNIT_MILLISECONDS), 20);
    for (const auto& [unit, ns] : {std::pair{ZYN_UNIT_NANOSECONDS, int64_t(1)}, {ZYN_UNIT_MICROSECONDS, 1000},
                                   {ZYN_UNIT_MILLISECONDS, 1000000}, {ZYN_UNIT_SECONDS, 1000000000}, {ZYN_UNIT_MINUTES, 60000000000}}) {
        ASSERT_EQ(zyn_timer_force(&t, 150, unit), 1); // 30 s of slack for loaded machines
        const int64_t forced = zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS);
        ASSERT_EQ(zyn_timer_force(&t, 150, ZYN_UNIT_SECONDS), 1);
        const int64_t read = zyn_timer_elapsed(&t, unit);
        EXPECT_TRUE(forced >= 150 * ns && forced < 150 * ns + 30000000000 && read >= 150000000000 / ns && read < 180000000000 / ns)
            << unit << ": " << forced << " " << read;
    }
    EXPECT_TRUE(error_is(0) && t.userData == 0xC0FFEEu);
}

TEST_F(Timers, PauseFreezesAndResumeCarriesWholeMillisecondsOnly)
{
    // Paused after 2 s and 999,999 ns, or at -1.5 ms (truncated toward zero): the new
    // start lies exactly 2000 ms before, or 1 ms after, the moment of the resume.
    for (const auto& [start, mark, carried] : {std::tuple{5000, 5000 + 2000999999, 2000000000}, {1500000, 0, -1000000}}) {
        TimerRecord t{0, ZYN_TIMER_PAUSED, start, mark};
        EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS), mark - start);
        const int64_t before = now_ns();
        ASSERT_TRUE(zyn_timer_resume(&t) == 1 && t.state == ZYN_TIMER_RUNNING);
        EXPECT_TRUE(t.start >= before - carried && t.start <= now_ns() - carried) << carried;
    }
    TimerRecord t{};
    const int64_t before = now_ns(); // forcing counts from the current reading
    EXPECT_TRUE(zyn_timer_force(&t, 7, ZYN_UNIT_MICROSECONDS) == 1 && t.start >= before - 7000 && t.start <= now_ns() - 7000);
    ASSERT_TRUE(zyn_timer_restart(&t) && zyn_timer_pause(&t)); // pausing or resuming twice changes nothing
    const int64_t paused_at = t.mark;
    sleep_ms(2);
    EXPECT_TRUE(zyn_timer_pause(&t) == 1 && t.mark == paused_at && zyn_timer_resume(&t) == 1);
    const int64_t resumed_at = t.start;
    EXPECT_TRUE(zyn_timer_resume(&t) == 1 && t.start == resumed_at && error_is(0));
    for (int state : {0, 3}) { // never started: no pause or resume, but reading and forcing keep it so
        t = TimerRecord{0, state, 10, 5010};
        EXPECT_TRUE(zyn_timer_pause(&t) == 0 && error_is(ZYN_ERR_OPERATION_FAILED));
        EXPECT_TRUE(zyn_timer_resume(&t) == 0 && error_is(ZYN_ERR_OPERATION_FAILED));
        EXPECT_TRUE(zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS) == 5000 && zyn_timer_force(&t, 1, ZYN_UNIT_SECONDS) == 1);
        EXPECT_TRUE(error_is(0) && t.state == state && t.mark == 5010);
    }
}

TEST_F(Timers, ForceSetsTheElapsedTimeAndNullRecordsAndUnknownUnitsAreRefused)
{
    const auto refused = [](int64_t result, int64_t neutral = 0) { return result == neutral && error_is(ZYN_ERR_INVALID_ARGUMENT); };
    EXPECT_TRUE(refused(zyn_timer_restart(nullptr)) && refused(zyn_timer_pause(nullptr)) && refused(zyn_timer_resume(nullptr)));
    EXPECT_TRUE(refused(zyn_timer_elapsed(nullptr, ZYN_UNIT_SECONDS), -1) && refused(zyn_timer_force(nullptr, 1, ZYN_UNIT_SECONDS)));
    TimerRecord t{};
    ASSERT_EQ(zyn_timer_restart(&t), 1);
    for (int unit : {0, 6, -1, 1000}) {
        const TimerRecord before = t;
        sleep_ms(2);
        EXPECT_TRUE(refused(zyn_timer_elapsed(&t, unit), -1) && t.mark != before.mark) << unit; // mark refreshed first
        EXPECT_TRUE(refused(zyn_timer_force(&t, 1, unit)) && t.start == before.start) << unit;
    }
    ASSERT_TRUE(zyn_timer_force(&t, -5, ZYN_UNIT_SECONDS));
    const int64_t ms = zyn_timer_elapsed(&t, ZYN_UNIT_MILLISECONDS);
    EXPECT_TRUE(ms <= -4000 && ms >= -5000) << ms;
    sleep_ms(5);
    EXPECT_EQ(zyn_timer_elapsed(&t, ZYN_UNIT_SECONDS), -4); // toward zero
    // Minutes travel as a 32-bit count: 2^32 + 3 minutes is 3 minutes, 2^32 - 1 is -1.
    EXPECT_TRUE(zyn_timer_force(&t, (int64_t(1) << 32) + 3, ZYN_UNIT_MINUTES) && zyn_timer_elapsed(&t, ZYN_UNIT_MINUTES) == 3);
    EXPECT_TRUE(zyn_timer_force(&t, int64_t(0xFFFFFFFF), ZYN_UNIT_MINUTES) && zyn_timer_elapsed(&t, ZYN_UNIT_SECONDS) == -59);
    EXPECT_EQ(zyn_timer_force(&t, INT64_MAX, ZYN_UNIT_SECONDS), 1); // wraps instead of trapping
    ASSERT_EQ(zyn_timer_pause(&t), 1); // on a paused timer the forced time counts up to the pause
    sleep_ms(50);
    ASSERT_TRUE(zyn_timer_force(&t, 10, ZYN_UNIT_SECONDS) && t.state == ZYN_TIMER_PAUSED);
    const int64_t frozen = zyn_timer_elapsed(&t, ZYN_UNIT_MILLISECONDS);
    EXPECT_TRUE(frozen <= 10000 - 50 && frozen > 0 && error_is(0)) << frozen;
}

TEST(Loaded, TimestampFollowsTheWallClockWaitLastsAtLeastTheTimeAndLoadIsAFraction)
{
    using Clock = std::chrono::steady_clock;
    zyn_unload();
    auto t = Clock::now();
    EXPECT_TRUE(zyn_wait(1000) == 0 && error_is(ZYN_ERR_NOT_LOADED) && Clock::now() - t < std::chrono::milliseconds(900)); // at once
    EXPECT_TRUE(zyn_getcpuload() == -1.0f && error_is(ZYN_ERR_NOT_LOADED));
    EXPECT_TRUE(zyn_timer_get_timestamp(ZYN_UNIT_SECONDS) == -1 && error_is(ZYN_ERR_NOT_LOADED));
    ASSERT_EQ(zyn_init(""), 1);
    const int64_t now = int64_t(std::time(nullptr));
    for (const auto& [unit, per_second] : {std::pair{ZYN_UNIT_SECONDS, 1}, {ZYN_UNIT_MILLISECONDS, 1000},
                                           {ZYN_UNIT_MICROSECONDS, 1000000}, {ZYN_UNIT_NANOSECONDS, 1000000000}})
        EXPECT_LE(std::abs(zyn_timer_get_timestamp(unit) / per_second - now), 5) << unit;
    EXPECT_TRUE(zyn_timer_get_timestamp(ZYN_UNIT_NANOSECONDS) % 100 == 0 && error_is(0)); // 100-ns ticks
    for (int unit : {0, ZYN_UNIT_MINUTES, 6}) {
        zyn_set_extendederror(3);
        EXPECT_TRUE(zyn_timer_get_timestamp(unit) == -1 && error_is(ZYN_ERR_INVALID_ARGUMENT)) << unit;
    }
    for (int ms : {0, 1, 50}) {
        t = Clock::now();
        const bool waited = zyn_wait(uint32_t(ms)) == 1 && Clock::now() - t >= std::chrono::milliseconds(ms);
        EXPECT_TRUE(waited && Clock::now() - t < std::chrono::milliseconds(1000 + ms)) << ms;
    }
    const float since_boot = zyn_getcpuload(), again = zyn_getcpuload();
    EXPECT_TRUE(since_boot >= 0.0f && since_boot <= 1.0f && again >= 0.0f && again <= 1.0f && error_is(0)) << since_boot << again;
    zyn_unload();
    // Between two samples: 1 when no time passed; counters that ran backwards stay within the fraction.
    using zyn::time::busy_fraction;
    EXPECT_TRUE(busy_fraction(0, 0) == 1.0f && busy_fraction(5, 0) == 1.0f && busy_fraction(0, 100) == 1.0f && busy_fraction(25, 100) == 0.75f);
    EXPECT_TRUE(busy_fraction(100, 100) == 0.0f && busy_fraction(uint64_t(0) - 3, 100) == 0.0f && busy_fraction(150, 100) == 0.0f);
}


// Caller-owned stopwatch timers. They clear the last error but work whether or
// not the library is loaded; each reads the monotonic clock at most once.
#include "core/frame.h"
#include "time/clock_sys.h"
#include "time/units.h"

using namespace zyn;
using zyn::time::wrapping_mul;
using zyn::time::wrapping_sub;

namespace {

constexpr int64_t kNanosPerMilli = 1000000;

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_timer_restart(TimerRecord* timer)
{
    frame::clear();
    if (!timer)
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    timer->start = time::sys::monotonic_ns();
    timer->state = ZYN_TIMER_RUNNING;
    return 1;
}

ZYN_EXPORT int ZYN_CALL zyn_timer_pause(TimerRecord* timer)
{
    frame::clear();
    if (!timer)
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    switch (timer->state) {
    case ZYN_TIMER_PAUSED:
        return 1;
    case ZYN_TIMER_RUNNING:
        timer->mark = time::sys::monotonic_ns();
        timer->state = ZYN_TIMER_PAUSED;
        return 1;
    default:
        return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    }
}

ZYN_EXPORT int ZYN_CALL zyn_timer_resume(TimerRecord* timer)
{
    frame::clear();
    if (!timer)
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    switch (timer->state) {
    case ZYN_TIMER_RUNNING:
        return 1;
    case ZYN_TIMER_PAUSED: {
        const int64_t now = time::sys::monotonic_ns();
        // Only whole milliseconds of the elapsed time carry across a pause.
        const int64_t elapsed = wrapping_sub(timer->mark, timer->start) / kNanosPerMilli * kNanosPerMilli;
        timer->start = wrapping_sub(now, elapsed);
        timer->state = ZYN_TIMER_RUNNING;
        return 1;
    }
    default:
        return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    }
}

ZYN_EXPORT int64_t ZYN_CALL zyn_timer_elapsed(TimerRecord* timer, int unit)
{
    frame::clear();
    if (!timer)
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, int64_t(-1));
    if (timer->state == ZYN_TIMER_RUNNING)
        timer->mark = time::sys::monotonic_ns(); // refreshed before the unit is checked
    const int64_t per_unit = time::nanoseconds_per_unit(unit);
    if (per_unit == 0)
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, int64_t(-1));
    const int64_t quotient = wrapping_sub(timer->mark, timer->start) / per_unit;
    return unit == ZYN_UNIT_MINUTES ? time::as_minute_count(quotient) : quotient;
}

ZYN_EXPORT int ZYN_CALL zyn_timer_force(TimerRecord* timer, int64_t value, int unit)
{
    frame::clear();
    if (!timer)
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    const int64_t per_unit = time::nanoseconds_per_unit(unit);
    if (per_unit == 0)
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    if (unit == ZYN_UNIT_MINUTES)
        value = time::as_minute_count(value);
    timer->start = wrapping_sub(time::sys::monotonic_ns(), wrapping_mul(value, per_unit));
    return 1;
}

ZYN_EXPORT int64_t ZYN_CALL zyn_timer_get_timestamp(int unit)
{
    return frame::full(int64_t(-1), [&]() -> int64_t {
        // The system clock counts 100-ns ticks since 1970.
        switch (unit) {
        case ZYN_UNIT_NANOSECONDS: return wrapping_mul(time::sys::system_ticks_100ns(), 100);
        case ZYN_UNIT_MICROSECONDS: return time::sys::system_ticks_100ns() / 10;
        case ZYN_UNIT_MILLISECONDS: return time::sys::system_ticks_100ns() / 10000;
        case ZYN_UNIT_SECONDS: return time::sys::system_ticks_100ns() / 10000000;
        default: return frame::fail(ZYN_ERR_INVALID_ARGUMENT, int64_t(-1));
        }
    });
}

// Clocks on Linux: CLOCK_MONOTONIC and CLOCK_REALTIME.
#include "time/clock.h"

#include <time.h>

namespace zyn::clock {

int64_t monotonic_ns() noexcept
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t system_ticks_100ns() noexcept
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 10000000 + ts.tv_nsec / 100;
}

} // namespace zyn::clock

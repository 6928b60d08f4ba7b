// The platform's clocks and sleeping, read by timers, waiting, CPU load and
// random seeding.
#pragma once

#include <cstdint>

namespace zyn::time::sys {

// Monotonic time in nanoseconds from an arbitrary origin.
int64_t monotonic_ns() noexcept;

// Wall-clock time in 100-nanosecond ticks since 1970-01-01 00:00:00 UTC.
int64_t system_ticks_100ns() noexcept;

// Blocks the calling thread for about the given milliseconds (it may return early).
void sleep_ms(uint32_t milliseconds) noexcept;

// The machine's idle, kernel and user time in 100-ns units; the kernel time
// includes the idle time. False when the system cannot say.
struct SystemTimes {
    uint64_t idle = 0;
    uint64_t kernel = 0;
    uint64_t user = 0;
};
bool system_times(SystemTimes& out) noexcept;

} // namespace zyn::time::sys

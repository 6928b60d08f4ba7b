// The two clocks of the library, read by timers, waiting and random seeding.
#pragma once

#include <cstdint>

namespace zyn::clock {

// Monotonic time in nanoseconds from an arbitrary origin.
int64_t monotonic_ns() noexcept;

// Wall-clock time in 100-nanosecond ticks since 1970-01-01 00:00:00 UTC.
int64_t system_ticks_100ns() noexcept;

} // namespace zyn::clock

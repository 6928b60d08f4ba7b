// Operating-system services behind waiting and CPU load.
#pragma once

#include <cstdint>

namespace zyn::os {

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

} // namespace zyn::os

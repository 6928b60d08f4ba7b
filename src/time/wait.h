// Waiting on the monotonic clock, shared by zyn_wait and the HTTP batch.
#pragma once

#include <cstdint>

namespace zyn::time {

// Sleeps until the given milliseconds have passed on the monotonic clock, so
// wall-clock changes neither shorten nor lengthen the wait.
void wait_ms(uint32_t milliseconds) noexcept;

} // namespace zyn::time

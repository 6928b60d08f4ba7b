// Waiting on the monotonic clock: zyn_wait and the wait the HTTP batch uses.
#include "time/wait.h"

#include "core/frame.h"
#include "time/clock_sys.h"

#include <cstdint>
#include <limits>

using namespace zyn;

namespace {

constexpr int64_t kNanosPerMilli = 1000000;
constexpr int64_t kOneDayNanos = 86400000000000LL;
constexpr uint32_t kOneDayMillis = 86400000u;

} // namespace

void zyn::time::wait_ms(uint32_t milliseconds) noexcept
{
    if (milliseconds == 0)
        return;
    const int64_t start = time::sys::monotonic_ns();
    const int64_t span = int64_t(milliseconds) * kNanosPerMilli;
    const int64_t deadline = start > std::numeric_limits<int64_t>::max() - span
                                 ? std::numeric_limits<int64_t>::max()
                                 : start + span;
    // Sleeps can end early; keep sleeping the rest until the monotonic deadline.
    for (int64_t now = start; now < deadline; now = time::sys::monotonic_ns()) {
        const int64_t remaining = deadline - now;
        if (remaining > kOneDayNanos)
            time::sys::sleep_ms(kOneDayMillis);
        else
            time::sys::sleep_ms(uint32_t(remaining / kNanosPerMilli + (remaining % kNanosPerMilli ? 1 : 0)));
    }
}

ZYN_EXPORT int ZYN_CALL zyn_wait(uint32_t milliseconds)
{
    return frame::full(0, [&] {
        time::wait_ms(milliseconds);
        return 1;
    });
}

// zyn_getcpuload: the machine's CPU load since the previous sample.
#include "time/cpu_load.h"

#include "core/frame.h"
#include "time/clock_sys.h"

using namespace zyn;

namespace {

// The previous successful CPU sample; kept for the life of the module.
struct CpuLoadSample {
    uint64_t previousIdle = 0;
    uint64_t previousTotal = 0;
} g_cpu_sample;

} // namespace

ZYN_EXPORT float ZYN_CALL zyn_getcpuload(void)
{
    return frame::full(-1.0f, [&] {
        time::sys::SystemTimes now;
        if (!time::sys::system_times(now))
            return -1.0f; // no code: the system gave no figures
        const uint64_t total = now.kernel + now.user;
        const float load = time::busy_fraction(now.idle - g_cpu_sample.previousIdle, total - g_cpu_sample.previousTotal);
        g_cpu_sample.previousIdle = now.idle;
        g_cpu_sample.previousTotal = total;
        return load;
    });
}

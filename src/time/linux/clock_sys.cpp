// Clocks, sleeping and system CPU times on Linux: CLOCK_MONOTONIC,
// CLOCK_REALTIME, nanosleep and the first line of /proc/stat.
#include "time/clock_sys.h"

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace zyn::time::sys {

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

void sleep_ms(uint32_t milliseconds) noexcept
{
    timespec ts;
    ts.tv_sec = time_t(milliseconds / 1000);
    ts.tv_nsec = long(milliseconds % 1000) * 1000000L;
    nanosleep(&ts, nullptr); // an interrupted sleep returns early; the caller sleeps again
}

bool system_times(SystemTimes& out) noexcept
{
    // First line of /proc/stat: "cpu user nice system idle iowait irq softirq steal ..." in ticks.
    std::FILE* f = std::fopen("/proc/stat", "r");
    if (!f)
        return false;
    unsigned long long user = 0, nice = 0, system = 0, idle = 0, iowait = 0, irq = 0, softirq = 0, steal = 0;
    const int fields = std::fscanf(f, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &user, &nice, &system, &idle,
                                   &iowait, &irq, &softirq, &steal);
    std::fclose(f);
    if (fields < 4)
        return false;
    const long ticks_per_second = sysconf(_SC_CLK_TCK);
    if (ticks_per_second <= 0)
        return false;
    const uint64_t to_100ns = uint64_t(10000000 / ticks_per_second);
    // Like the Windows figures: idle includes waiting for I/O, kernel includes idle.
    const uint64_t idle_all = (idle + iowait) * to_100ns;
    out.idle = idle_all;
    out.kernel = (system + irq + softirq + steal) * to_100ns + idle_all;
    out.user = (user + nice) * to_100ns;
    return true;
}

} // namespace zyn::time::sys

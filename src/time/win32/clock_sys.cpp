// Clocks, sleeping and system CPU times on Windows: the performance counter,
// the precise system time, Sleep and GetSystemTimes.
#include "time/clock_sys.h"

#include <windows.h>

namespace zyn::time::sys {
namespace {

// The counter's frequency is fixed at boot; read it once.
const int64_t g_frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? int64_t(f.QuadPart) : int64_t(1);
}();

// Seconds between 1601-01-01 (FILETIME's origin) and 1970-01-01, in 100-ns ticks.
constexpr int64_t kFiletimeToUnix = 116444736000000000LL;

uint64_t as_u64(const FILETIME& ft) { return (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }

} // namespace

int64_t monotonic_ns() noexcept
{
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    // Whole seconds and the remainder apart, so counts * 1e9 never overflows
    // however long the machine has been up.
    const int64_t count = c.QuadPart;
    return (count / g_frequency) * 1000000000 + (count % g_frequency) * 1000000000 / g_frequency;
}

int64_t system_ticks_100ns() noexcept
{
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const int64_t ticks = (int64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks - kFiletimeToUnix;
}

void sleep_ms(uint32_t milliseconds) noexcept { Sleep(milliseconds); }

bool system_times(SystemTimes& out) noexcept
{
    FILETIME idle, kernel, user;
    if (!GetSystemTimes(&idle, &kernel, &user))
        return false;
    out.idle = as_u64(idle);
    out.kernel = as_u64(kernel);
    out.user = as_u64(user);
    return true;
}

} // namespace zyn::time::sys

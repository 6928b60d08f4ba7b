// Clocks on Windows: the performance counter and the precise system time.
#include "time/clock.h"

#include <windows.h>

namespace zyn::clock {
namespace {

// The counter's frequency is fixed at boot; read it once.
const int64_t g_frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? int64_t(f.QuadPart) : int64_t(1);
}();

// Seconds between 1601-01-01 (FILETIME's origin) and 1970-01-01, in 100-ns ticks.
constexpr int64_t kFiletimeToUnix = 116444736000000000LL;

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

} // namespace zyn::clock

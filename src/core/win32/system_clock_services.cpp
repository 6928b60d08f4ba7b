// Sleeping and system CPU times on Windows.
#include "core/system_clock_services.h"

#include <windows.h>

namespace zyn::os {

namespace {
uint64_t as_u64(const FILETIME& ft) { return (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }
} // namespace

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

} // namespace zyn::os

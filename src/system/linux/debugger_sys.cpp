// The debugger query on Linux: a tracer (gdb, strace) shows as a non-zero
// TracerPid in /proc/self/status.
#include "system/debugger_sys.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool zyn::system::sys::debugger_present() noexcept
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return false;
    char line[256];
    long tracer = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "TracerPid:", 10) == 0) {
            tracer = std::strtol(line + 10, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return tracer != 0;
}

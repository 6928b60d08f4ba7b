// Debugger query on Linux: a tracer (gdb, strace) shows as a non-zero TracerPid.
#include <zyn/zyn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

ZYN_EXPORT int ZYN_CALL zyn_DebuggerIsPresent(void)
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long tracer = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "TracerPid:", 10) == 0) {
            tracer = std::strtol(line + 10, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return tracer != 0 ? 1 : 0;
}

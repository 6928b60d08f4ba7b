// Smallest game that links an installed zyn: loads, times a frame, unloads.
#include <zyn/zyn.h>

#include <cstdio>

int main()
{
    if (!zyn_init("consumer"))
        return 1;
    TimerRecord frame{};
    zyn_timer_restart(&frame);
    const int ok = zyn_getversion() == 1007 && zyn_timer_elapsed(&frame, ZYN_UNIT_NANOSECONDS) >= 0;
    std::printf("zyn %d %s\n", zyn_getversion(), ok ? "ok" : "broken");
    zyn_unload();
    return ok ? 0 : 1;
}

// Smallest game that links an installed zyn: loads, times a frame, fetches
// the URL given as its argument (when there is one), unloads.
#include <zyn/zyn.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (!zyn_init("consumer"))
        return 1;
    TimerRecord frame{};
    zyn_timer_restart(&frame);
    bool ok = zyn_getversion() == 1007 && zyn_timer_elapsed(&frame, ZYN_UNIT_NANOSECONDS) >= 0;
    std::printf("zyn %d %s\n", zyn_getversion(), ok ? "ok" : "broken");
    if (argc > 1) {
        std::string body;
        const bool fetched = zyn_http_url_get(argv[1], body) == 1 && !body.empty();
        std::printf("GET %s: %s, %lu bytes\n", argv[1], fetched ? "ok" : "failed", static_cast<unsigned long>(body.size()));
        ok = ok && fetched;
    }
    zyn_unload();
    return ok ? 0 : 1;
}

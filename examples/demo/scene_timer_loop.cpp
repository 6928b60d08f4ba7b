// Scene: a game loop paced by a timer, with a pause in the middle.
#include "scene.h"

#include <zyn/zyn.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

void run(const demo::Options&)
{
    TimerRecord clock{};
    TimerRecord frame{};
    zyn_timer_restart(&clock);
    const int64_t frame_ms = 50; // 20 frames per second
    for (int n = 1; n <= 10; ++n) {
        zyn_timer_restart(&frame);
        if (n == 5) {
            zyn_timer_pause(&clock);
            std::printf("  frame %2d: game paused\n", n);
        } else if (n == 7) {
            zyn_timer_resume(&clock);
            std::printf("  frame %2d: game resumed\n", n);
        }
        std::printf("  frame %2d: game time %4lld ms\n", n, (long long)zyn_timer_elapsed(&clock, ZYN_UNIT_MILLISECONDS));
        // Sleep away what is left of the frame.
        const int64_t spent = zyn_timer_elapsed(&frame, ZYN_UNIT_MILLISECONDS);
        if (spent < frame_ms)
            std::this_thread::sleep_for(std::chrono::milliseconds(frame_ms - spent));
    }
    std::printf("  wall clock: %lld s since 1970\n", (long long)zyn_timer_get_timestamp(ZYN_UNIT_SECONDS));
    zyn_timer_get_timestamp(ZYN_UNIT_MINUTES);
    demo::report_error("zyn_timer_get_timestamp in minutes");
}

demo::Register scene(20, "timers: a paced game loop", run);

} // namespace

// Scene: dice and loot rolls, a frame loop paced with zyn_wait, game events
// sent by a "network" thread and taken by the loop, and a media key heard
// through the game's window.
#include "game_window.h"
#include "scene.h"

#include <zyn/zyn.h>

#include <cstdio>
#include <thread>

namespace {

void run(const demo::Options&)
{
    std::printf("  dice:");
    for (int i = 0; i < 5; ++i)
        std::printf(" %d", zyn_random_int32(1, 6));
    std::printf("\n  loot roll (30%% chance): %s\n", zyn_getlucky(30) ? "rare sword" : "nothing");
    std::printf("  damage %.2f, 15%% of 240 hp = %.1f, 42 of 168 = %.1f%%\n", zyn_round(12.3456, 2),
                zyn_percent_to_number(240.0f, 15.0f), zyn_number_to_percent(168.0f, 42.0f));
    zyn_percent_to_number(240.0f, 0.0f);
    demo::report_error("zyn_percent_to_number with 0 percent");

    // Another thread posts game events while the loop runs.
    enum { kPlayerJoined = 1, kScore = 2 };
    std::thread network([] {
        zyn_event_send(kPlayerJoined, 7, 0);
        for (int i = 1; i <= 3; ++i)
            zyn_event_send(kScore, 7, i * 100);
    });
    network.join();
    std::printf("  %d events waiting\n", zyn_event_count());

    for (int frame = 1; frame <= 4; ++frame) {
        EventRecord e{};
        if (zyn_event_get(&e)) { // one event per frame
            if (e.code == kPlayerJoined)
                std::printf("  frame %d: player %d joined\n", frame, e.param1);
            else
                std::printf("  frame %d: player %d scored %d\n", frame, e.param1, e.param2);
        }
        zyn_wait(30); // about 33 frames per second
    }

    // The game's window, and a play/pause key that reaches it.
    const char title[] = "zyn demo window";
    demo::GameWindow window(title);
    if (!zyn_capture_start_events(title, sizeof title - 1)) {
        std::printf("  media-key capture on \"%s\": no such window%s\n", title,
                    window.is_open() ? "" : " (no display to open it on)");
        return;
    }
    std::printf("  media-key capture on \"%s\": active\n", title);
    window.press_play_pause();
    const int key = zyn_capture_get_event();
    std::printf("  play/pause pressed: polled %d (%s), then %d\n", key,
                key == ZYN_MEDIA_PLAY_PAUSE ? "ZYN_MEDIA_PLAY_PAUSE" : "not heard", zyn_capture_get_event());
    zyn_capture_stop_events();
}

demo::Register scene(60, "events, dice and a paced loop", run);

} // namespace

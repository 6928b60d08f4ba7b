// The media-key capture exports and the media code waiting to be polled.
// These exports have no frame: they never touch the last error, and they
// work whether or not the library is loaded.
#include "events/capture.h"
#include "events/capture_sys.h"

#include <zyn/zyn.h>

#include <atomic>
#include <cstring>

namespace zyn::events {

namespace {

// Written by the window procedure on the window's thread, or by the poll that
// reads the display connection; taken by the game loop on any thread.
std::atomic<int32_t> g_pending_command{ZYN_MEDIA_NONE};

constexpr uint32_t kCommandBits = 0x0fffu; // the top four bits name the device, not the command

} // namespace

int32_t media_code(uint32_t command) noexcept
{
    switch (command) {
    case kNextTrack: return ZYN_MEDIA_NEXT_TRACK;
    case kPreviousTrack: return ZYN_MEDIA_PREVIOUS_TRACK;
    case kPlayPause: return ZYN_MEDIA_PLAY_PAUSE;
    case kVolumeUp: return ZYN_MEDIA_VOLUME_UP;
    case kVolumeDown: return ZYN_MEDIA_VOLUME_DOWN;
    default: return ZYN_MEDIA_NONE;
    }
}

void record_command(uint32_t command) noexcept
{
    g_pending_command.store(media_code(command), std::memory_order_relaxed);
}

void record_app_command(uintptr_t message_param) noexcept
{
    record_command((uint32_t(message_param) >> 16) & kCommandBits);
}

int32_t take_pending() noexcept
{
    // One exchange, so a command arriving between the read and the reset is not lost.
    return g_pending_command.exchange(ZYN_MEDIA_NONE, std::memory_order_relaxed);
}

} // namespace zyn::events

using namespace zyn;

ZYN_EXPORT int ZYN_CALL zyn_capture_start_events(const char* title, size_t length)
{
    if (!title) // names no window; an empty title would match any untitled one
        return 0;
    // Like every window title, it ends at its first NUL.
    return events::sys::hook_window(std::string(title, strnlen(title, length))) ? 1 : 0;
}

ZYN_EXPORT void ZYN_CALL zyn_capture_stop_events(void) { events::sys::unhook_window(); }

ZYN_EXPORT int ZYN_CALL zyn_capture_get_event(void)
{
    events::sys::collect_keys();
    return events::take_pending();
}

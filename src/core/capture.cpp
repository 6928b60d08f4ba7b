// The media-key capture exports and the media code waiting to be polled.
// These exports have no frame: they never touch the last error, and they
// work whether or not the library is loaded.
#include "core/capture.h"

#include <zyn/zyn.h>

#include <atomic>

namespace zyn::capture {

namespace {

// Written by the window procedure on the window's thread, taken by the game
// loop on any thread.
std::atomic<int32_t> g_pending_command{ZYN_MEDIA_NONE};

constexpr uint32_t kCommandBits = 0x0fffu; // the top four bits name the device, not the command

} // namespace

int32_t media_code(uint32_t command) noexcept
{
    switch (command) {
    case 11: return ZYN_MEDIA_NEXT_TRACK;
    case 12: return ZYN_MEDIA_PREVIOUS_TRACK;
    case 14: return ZYN_MEDIA_PLAY_PAUSE;
    case 10: return ZYN_MEDIA_VOLUME_UP;
    case 9: return ZYN_MEDIA_VOLUME_DOWN;
    default: return ZYN_MEDIA_NONE;
    }
}

void record_app_command(uintptr_t message_param) noexcept
{
    const uint32_t command = (uint32_t(message_param) >> 16) & kCommandBits;
    g_pending_command.store(media_code(command), std::memory_order_relaxed);
}

int32_t take_pending() noexcept
{
    // One exchange, so a command arriving between the read and the reset is not lost.
    return g_pending_command.exchange(ZYN_MEDIA_NONE, std::memory_order_relaxed);
}

} // namespace zyn::capture

using namespace zyn;

ZYN_EXPORT int ZYN_CALL zyn_capture_start_events(const char* title, size_t length)
{
    if (!title) // names no window; an empty title would match any untitled one
        return 0;
    return capture::hook_window(std::string(title, length)) ? 1 : 0;
}

ZYN_EXPORT void ZYN_CALL zyn_capture_stop_events(void) { capture::unhook_window(); }

ZYN_EXPORT int ZYN_CALL zyn_capture_get_event(void) { return capture::take_pending(); }

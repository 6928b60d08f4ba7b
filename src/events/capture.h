// Media-key capture, the portable half: the media code table and the code
// waiting to be taken. The platform half is in capture_sys.h.
#pragma once

#include <cstdint>

namespace zyn::events {

// The application commands that carry media keys.
enum AppCommand : uint32_t {
    kVolumeDown = 9,
    kVolumeUp = 10,
    kNextTrack = 11,
    kPreviousTrack = 12,
    kPlayPause = 14,
};

// The ZYN_MEDIA_* code of an application command number, 0 for any other.
int32_t media_code(uint32_t command) noexcept;

// Records the code of an application command, replacing any code still waiting.
void record_command(uint32_t command) noexcept;

// Records the command carried in the second parameter of an application-command
// message (bits 16 to 27), replacing any code still waiting.
void record_app_command(uintptr_t message_param) noexcept;

// The waiting code, which is reset to 0; 0 when none waits.
int32_t take_pending() noexcept;

} // namespace zyn::events

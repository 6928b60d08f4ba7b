// Capture of the media keys that reach the game's window. The portable half
// keeps the media code table and the waiting code; the platform half finds
// the window by its title and hears its keys: on Windows as application
// commands delivered to the window's procedure, on X11 as key presses read
// from the library's own connection to the display.
#pragma once

#include <cstdint>
#include <string>

namespace zyn::capture {

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

// Platform: stops any active capture, then starts one on the top-level window
// with this title. False when no such window exists or it cannot be captured.
bool hook_window(const std::string& title);

// Platform: ends the active capture and gives back what it took; nothing when idle.
void unhook_window() noexcept;

// Platform: records the keys that have reached the captured window since the
// last call, where they are not recorded as they arrive. Never blocks.
void collect_keys() noexcept;

} // namespace zyn::capture

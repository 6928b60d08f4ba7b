// Capture of the media keys that the system delivers to the game's window as
// application commands. The portable half keeps the waiting media code; the
// platform half hooks and unhooks the window.
#pragma once

#include <cstdint>
#include <string>

namespace zyn::capture {

// The ZYN_MEDIA_* code of an application command number, 0 for any other.
int32_t media_code(uint32_t command) noexcept;

// Records the command carried in the second parameter of an application-command
// message (bits 16 to 27), replacing any code still waiting.
void record_app_command(uintptr_t message_param) noexcept;

// The waiting code, which is reset to 0; 0 when none waits.
int32_t take_pending() noexcept;

// Platform: stops any active capture, then hooks the top-level window with
// this title. False when no such window exists or it cannot be hooked, and
// always false where there are no windows to hook.
bool hook_window(const std::string& title) noexcept;

// Platform: gives the captured window its own procedure back; nothing when idle.
void unhook_window() noexcept;

} // namespace zyn::capture

// Media-key capture, the platform half: it finds the game's window by its
// title and hears its keys, on Windows as application commands delivered to
// the window's procedure, on X11 as key presses read from the library's own
// connection to the display.
#pragma once

#include <string>

namespace zyn::events::sys {

// Stops any active capture, then starts one on the top-level window
// with this title. False when no such window exists or it cannot be captured.
bool hook_window(const std::string& title);

// Ends the active capture and gives back what it took; nothing when idle.
void unhook_window() noexcept;

// Records the keys that have reached the captured window since the
// last call, where they are not recorded as they arrive. Never blocks.
void collect_keys() noexcept;

} // namespace zyn::events::sys

// Finding the game's window on an X11 display by its title.
#pragma once

#include "events/linux/xcb_library.h"

#include <string>

namespace zyn::events {

// The top-level window whose title (_NET_WM_NAME, else WM_NAME) is `title`;
// the topmost one when several are. 0 when none is.
xcb_window_t find_titled_window(const XcbLibrary& x, xcb_connection_t* connection, const std::string& title);

} // namespace zyn::events

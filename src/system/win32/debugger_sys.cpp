// The debugger query on Windows: IsDebuggerPresent.
#include "system/debugger_sys.h"

#include <windows.h>

bool zyn::system::sys::debugger_present() noexcept { return IsDebuggerPresent() != 0; }

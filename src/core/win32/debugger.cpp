// Debugger query on Windows.
#include <zyn/zyn.h>

#include <windows.h>

ZYN_EXPORT int ZYN_CALL zyn_DebuggerIsPresent(void) { return IsDebuggerPresent() ? 1 : 0; }

// The debugger query; it touches no library state, so it has no frame.
#include "system/debugger_sys.h"

#include <zyn/zyn.h>

ZYN_EXPORT int ZYN_CALL zyn_DebuggerIsPresent(void) { return zyn::system::sys::debugger_present() ? 1 : 0; }

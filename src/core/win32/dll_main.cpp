// The module's entry point. Process-wide objects are built and destroyed by
// the runtime around it; of its own it only stops an active window capture
// at detach, so the window never calls into a module that is gone.
#include "events/capture_sys.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*module*/, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_DETACH)
        zyn::events::sys::unhook_window();
    return TRUE;
}

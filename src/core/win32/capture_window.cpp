// Hooking the game's window on Windows: the window's procedure is replaced by
// one that notes application commands and passes every message on unchanged.
// The pointer-sized window-long functions serve 32-bit and 64-bit builds alike;
// a wide window is hooked with the wide functions so it stays wide.
#include "core/capture.h"

#include <windows.h>

#include <atomic>

namespace zyn::capture {

namespace {

// The window functions of one character set. A wide window is hooked with
// the wide ones: hooking it with the narrow ones would turn it into a narrow
// window, and every text message (typed characters, its title) would pass
// through the narrow code page and lose what that cannot hold.
template <bool Wide>
struct WindowApi;

template <>
struct WindowApi<false> {
    static LONG_PTR get_procedure(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWLP_WNDPROC); }
    static LONG_PTR set_procedure(HWND hwnd, LONG_PTR proc) { return SetWindowLongPtrA(hwnd, GWLP_WNDPROC, proc); }
    static LRESULT call(WNDPROC proc, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
    {
        return CallWindowProcA(proc, hwnd, message, wparam, lparam);
    }
    static LRESULT by_default(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
    {
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
};

template <>
struct WindowApi<true> {
    static LONG_PTR get_procedure(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWLP_WNDPROC); }
    static LONG_PTR set_procedure(HWND hwnd, LONG_PTR proc) { return SetWindowLongPtrW(hwnd, GWLP_WNDPROC, proc); }
    static LRESULT call(WNDPROC proc, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
    {
        return CallWindowProcW(proc, hwnd, message, wparam, lparam);
    }
    static LRESULT by_default(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
    {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
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
    const WNDPROC previous = g_capture.previousProc.load();
    if (!previous || hwnd != g_capture.window.load())
        return WindowApi<Wide>::by_default(hwnd, message, wparam, lparam); // no longer (or never) ours
    if (message == WM_APPCOMMAND)
        record_app_command(uintptr_t(lparam));
    // The game's own procedure still sees every message, commands included.
    return WindowApi<Wide>::call(previous, hwnd, message, wparam, lparam);
}

template <bool Wide>
bool hook(HWND hwnd) noexcept
{
    using Api = WindowApi<Wide>;
    // Record the window before hooking it, so messages that arrive at once are forwarded.
    g_capture.previousProc = reinterpret_cast<WNDPROC>(Api::get_procedure(hwnd));
    g_capture.wide = Wide;
    g_capture.window = hwnd;
    const LONG_PTR previous = Api::set_procedure(hwnd, reinterpret_cast<LONG_PTR>(&capture_procedure<Wide>));
    if (previous == 0) { // refused, e.g. the window belongs to another process
        g_capture.window = nullptr;
        g_capture.previousProc = nullptr;
        return false;
    }
    g_capture.previousProc = reinterpret_cast<WNDPROC>(previous);
    return true;
}

} // namespace

bool hook_window(const std::string& title) noexcept
{
    // A second start first puts the window's own procedure back, so the
    // procedure kept for forwarding is never the capture procedure itself.
    unhook_window();
    HWND hwnd = FindWindowA(nullptr, title.c_str());
    if (!hwnd)
        return false;
    return IsWindowUnicode(hwnd) ? hook<true>(hwnd) : hook<false>(hwnd);
}

void unhook_window() noexcept
{
    HWND hwnd = g_capture.window.load();
    const WNDPROC previous = g_capture.previousProc.load();
    if (!hwnd || !previous)
        return;
    const LONG_PTR own = reinterpret_cast<LONG_PTR>(previous);
    if (g_capture.wide.load())
        WindowApi<true>::set_procedure(hwnd, own);
    else
        WindowApi<false>::set_procedure(hwnd, own);
    g_capture.window = nullptr;
    g_capture.previousProc = nullptr;
}

} // namespace zyn::capture

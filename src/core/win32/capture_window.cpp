// Hooking the game's window on Windows: the window's procedure is replaced by
// one that notes application commands and passes every message on unchanged.
// The pointer-sized window-long functions serve 32-bit and 64-bit builds alike.
#include "core/capture.h"

#include <windows.h>

#include <atomic>

namespace zyn::capture {

namespace {

// The active capture: the window and its own procedure; both null when idle.
// The window's user-data slot is left to the game, which may keep its own
// pointer there; the capture procedure finds this record directly.
struct CaptureState {
    std::atomic<WNDPROC> previousProc{nullptr};
    std::atomic<HWND> window{nullptr};
} g_capture;

LRESULT CALLBACK capture_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    const WNDPROC previous = g_capture.previousProc.load();
    if (!previous || hwnd != g_capture.window.load())
        return DefWindowProcA(hwnd, message, wparam, lparam); // no longer (or never) ours
    if (message == WM_APPCOMMAND)
        record_app_command(uintptr_t(lparam));
    // The game's own procedure still sees every message, commands included.
    return CallWindowProcA(previous, hwnd, message, wparam, lparam);
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
    // Record the window before hooking it, so messages that arrive at once are forwarded.
    g_capture.previousProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    g_capture.window = hwnd;
    const LONG_PTR previous =
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&capture_procedure));
    if (previous == 0) { // refused, e.g. the window belongs to another process
        g_capture.window = nullptr;
        g_capture.previousProc = nullptr;
        return false;
    }
    g_capture.previousProc = reinterpret_cast<WNDPROC>(previous);
    return true;
}

void unhook_window() noexcept
{
    HWND hwnd = g_capture.window.load();
    const WNDPROC previous = g_capture.previousProc.load();
    if (!hwnd || !previous)
        return;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    g_capture.window = nullptr;
    g_capture.previousProc = nullptr;
}

} // namespace zyn::capture

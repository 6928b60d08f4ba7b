#ifdef _WIN32
#include "game_window.h"

#include <windows.h>

namespace demo {

struct GameWindow::Impl {
    HWND window = nullptr;
};

GameWindow::GameWindow(const char* title) : impl_(new Impl)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZynDemoGameWindow";
    RegisterClassA(&wc);
    impl_->window = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr, nullptr,
                                    wc.hInstance, nullptr);
}

GameWindow::~GameWindow()
{
    if (impl_->window)
        DestroyWindow(impl_->window);
    delete impl_;
}

bool GameWindow::is_open() const { return impl_->window != nullptr; }

void GameWindow::press_play_pause()
{
    // A key arrives as an application command, the command in the high word.
    if (is_open())
        SendMessageA(impl_->window, WM_APPCOMMAND, WPARAM(impl_->window),
                     MAKELPARAM(0, APPCOMMAND_MEDIA_PLAY_PAUSE | FAPPCOMMAND_KEY));
}

} // namespace demo
#endif

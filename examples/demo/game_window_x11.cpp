#ifndef _WIN32
#include "game_window.h"

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>

namespace demo {

struct GameWindow::Impl {
    Display* display = nullptr;
    Window window = 0;
};

GameWindow::GameWindow(const char* title) : impl_(new Impl)
{
    impl_->display = XOpenDisplay(nullptr);
    if (!impl_->display)
        return;
    impl_->window = XCreateSimpleWindow(impl_->display, DefaultRootWindow(impl_->display), 0, 0, 320, 200, 0, 0, 0);
    XStoreName(impl_->display, impl_->window, title);
    XMapWindow(impl_->display, impl_->window);
    XSync(impl_->display, False);
}

GameWindow::~GameWindow()
{
    if (impl_->display)
        XCloseDisplay(impl_->display);
    delete impl_;
}

bool GameWindow::is_open() const { return impl_->window != 0; }

void GameWindow::press_play_pause()
{
    if (!is_open())
        return;
    // Sent to every connection that selects key presses on the window.
    XKeyEvent key{};
    key.type = KeyPress;
    key.display = impl_->display;
    key.window = impl_->window;
    key.root = DefaultRootWindow(impl_->display);
    key.keycode = XKeysymToKeycode(impl_->display, XF86XK_AudioPlay);
    key.same_screen = True;
    XEvent event{};
    event.xkey = key;
    XSendEvent(impl_->display, impl_->window, True, KeyPressMask, &event);
    XSync(impl_->display, False);
}

} // namespace demo
#endif

// Media-key capture. Under Windows (Wine here) a real window with a title is
// hooked and sent application commands; on Linux real windows on a private
// Xvfb server are sent real key presses.
#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "support/xvfb_server.h"

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>
#endif

namespace {

// The capture has no frame: it leaves whatever last error it finds.
class LastErrorUntouched {
public:
    LastErrorUntouched() { zyn_seterror(ZYN_ERR_NOT_FOUND, -3); }
    ~LastErrorUntouched()
    {
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
        EXPECT_EQ(zyn_get_extendederror(), -3);
    }
};

#ifndef _WIN32

// The game's side of an X11 display: its own connection to a private Xvfb
// server, its windows, and key presses typed through XTest into the focused one.
class X11Capture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server_ = new test::XvfbServer;
        setenv("DISPLAY", server_->display().c_str(), 1);
        display_ = server_->display().empty() ? nullptr : XOpenDisplay(nullptr);
    }
    static void TearDownTestSuite()
    {
        if (display_)
            XCloseDisplay(display_);
        delete server_;
    }
    void SetUp() override { ASSERT_NE(display_, nullptr) << "Xvfb did not start"; }

    // A mapped top-level window (or one inside `frame`, as a window manager
    // reparents it) titled through WM_NAME or _NET_WM_NAME. The game selects
    // `game_events` on it with its own connection.
    class GameWindow {
    public:
        GameWindow(const std::string& title, bool net_wm_name = false, ::Window frame = 0, long game_events = 0)
        {
            id = XCreateSimpleWindow(display_, frame ? frame : DefaultRootWindow(display_), 0, 0, 64, 64, 0, 0, 0);
            if (net_wm_name)
                XChangeProperty(display_, id, XInternAtom(display_, "_NET_WM_NAME", False),
                                XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
            else
                XStoreName(display_, id, title.c_str());
            XSelectInput(display_, id, game_events);
            XMapWindow(display_, id); // no window manager: mapped at once
            XSync(display_, False);
        }
        ~GameWindow()
        {
            XDestroyWindow(display_, id);
            XSync(display_, False);
        }
        // Whether any connection selects key presses on the window.
        bool keys_selected() const
        {
            XWindowAttributes attributes{};
            XGetWindowAttributes(display_, id, &attributes);
            return (attributes.all_event_masks & KeyPressMask) != 0;
        }
        // Key presses that reached the game's own connection.
        int keys_seen() const
        {
            XEvent event;
            int seen = 0;
            while (XCheckTypedWindowEvent(display_, id, KeyPress, &event))
                ++seen;
            return seen;
        }
        ::Window id;
    };

    // Types one key into the window. Once the round trip of XSync is back,
    // the server has sent the key to every connection that selected it.
    static void type(const GameWindow& window, KeySym keysym)
    {
        const KeyCode key = XKeysymToKeycode(display_, keysym);
        ASSERT_NE(key, 0) << "no key gives keysym " << std::hex << keysym;
        XSetInputFocus(display_, window.id, RevertToParent, CurrentTime);
        XTestFakeKeyEvent(display_, key, True, CurrentTime);
        XTestFakeKeyEvent(display_, key, False, CurrentTime);
        XSync(display_, False);
    }

    static std::string unique_title(const char* what)
    {
        return std::string("zyn capture test ") + what + " " + std::to_string(getpid());
    }
    static bool start(const std::string& title) { return zyn_capture_start_events(title.data(), title.size()) == 1; }

    static test::XvfbServer* server_;
    static Display* display_;
};
test::XvfbServer* X11Capture::server_ = nullptr;
Display* X11Capture::display_ = nullptr;

TEST_F(X11Capture, MediaKeysArePolledOnceAndStillReachTheGame)
{
    LastErrorUntouched untouched;
    GameWindow game(unique_title("keys"), false, 0, KeyPressMask);
    ASSERT_TRUE(start(unique_title("keys")));
    zyn_capture_get_event();

    const struct {
        KeySym keysym;
        int code;
    } keys[] = {{XF86XK_AudioNext, ZYN_MEDIA_NEXT_TRACK},       {XF86XK_AudioPrev, ZYN_MEDIA_PREVIOUS_TRACK},
                {XF86XK_AudioPlay, ZYN_MEDIA_PLAY_PAUSE},       {XF86XK_AudioPause, ZYN_MEDIA_PLAY_PAUSE},
                {XF86XK_AudioRaiseVolume, ZYN_MEDIA_VOLUME_UP}, {XF86XK_AudioLowerVolume, ZYN_MEDIA_VOLUME_DOWN}};
    for (const auto& k : keys) {
        type(game, k.keysym);
        EXPECT_EQ(zyn_capture_get_event(), k.code) << std::hex << k.keysym;
        EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    }
    EXPECT_EQ(game.keys_seen(), 6);

    // Only the last media key before a poll counts; other keys leave it waiting.
    type(game, XF86XK_AudioRaiseVolume);
    type(game, XF86XK_AudioNext);
    type(game, XK_a);
    type(game, XK_Return);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NEXT_TRACK);
    type(game, XK_space);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);

    // Stopped: a key from before still waits; the game keeps getting its
    // keys, the capture hears none.
    type(game, XF86XK_AudioNext);
    game.keys_seen();
    zyn_capture_stop_events();
    type(game, XF86XK_AudioPlay);
    EXPECT_EQ(game.keys_seen(), 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NEXT_TRACK);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    ASSERT_TRUE(start(unique_title("keys"))); // and starts again
    type(game, XF86XK_AudioPrev);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_PREVIOUS_TRACK);
    zyn_capture_stop_events();
}

TEST_F(X11Capture, MayBePolledFromAnotherThread)
{
    GameWindow game(unique_title("threads"));
    std::atomic<bool> done{false};
    std::atomic<int> heard{0};
    std::thread poller([&] {
        while (!done)
            heard += zyn_capture_get_event() == ZYN_MEDIA_NEXT_TRACK;
    });
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(start(unique_title("threads")));
        type(game, XF86XK_AudioNext);
        zyn_capture_stop_events();
    }
    done = true;
    poller.join();
    // A key is taken by one poll only; one the poller missed may have been
    // replaced by the next, and the last one waits if the poller missed it.
    const int taken = heard + (zyn_capture_get_event() == ZYN_MEDIA_NEXT_TRACK);
    EXPECT_GE(taken, 1);
    EXPECT_LE(taken, 20);
}

TEST_F(X11Capture, StartsOnlyOnAWindowWithTheTitle)
{
    LastErrorUntouched untouched;
    GameWindow game(unique_title("main"));
    EXPECT_FALSE(start(unique_title("nobody")));
    EXPECT_EQ(zyn_capture_start_events(nullptr, 4), 0);
    EXPECT_FALSE(game.keys_selected());
    zyn_capture_stop_events(); // nothing to stop

    // The title is a pointer and a length, and ends at its first NUL.
    const std::string title = unique_title("main");
    const std::string padded = title + "-and-more";
    EXPECT_EQ(zyn_capture_start_events(padded.data(), title.size()), 1);
    EXPECT_TRUE(game.keys_selected());
    zyn_capture_stop_events();
    EXPECT_FALSE(game.keys_selected());
    zyn_capture_stop_events(); // a second stop does nothing
    EXPECT_EQ(zyn_capture_start_events(title.c_str(), title.size() + 1), 1);

    // _NET_WM_NAME, in UTF-8, comes before WM_NAME; a Latin-1 WM_NAME is
    // compared as UTF-8; the topmost of two windows with the title is taken;
    // a window manager's frame is looked into.
    GameWindow latin1(unique_title("caf\xe9"));
    GameWindow frame(unique_title("frame") + " decoration");
    GameWindow framed(unique_title("framed"), false, frame.id);
    {
        GameWindow modern(unique_title("caf\xc3\xa9"), true);
        XStoreName(display_, modern.id, "old name");
        EXPECT_FALSE(start("old name"));
        EXPECT_FALSE(game.keys_selected()); // a start first ends the active capture
        ASSERT_TRUE(start(unique_title("caf\xc3\xa9")));
        EXPECT_TRUE(modern.keys_selected());
        EXPECT_FALSE(latin1.keys_selected());
    }
    ASSERT_TRUE(start(unique_title("caf\xc3\xa9")));
    EXPECT_TRUE(latin1.keys_selected());
    ASSERT_TRUE(start(unique_title("framed")));
    EXPECT_FALSE(latin1.keys_selected());
    EXPECT_TRUE(framed.keys_selected());
    zyn_capture_stop_events();
    EXPECT_FALSE(framed.keys_selected());
}

TEST_F(X11Capture, NeedsADisplay)
{
    LastErrorUntouched untouched;
    GameWindow game(unique_title("display"));
    const std::string ours = server_->display();
    for (const char* display : {static_cast<const char*>(nullptr), "", ":not a display", ":32767"}) {
        if (display)
            setenv("DISPLAY", display, 1);
        else
            unsetenv("DISPLAY");
        EXPECT_FALSE(start(unique_title("display"))) << (display ? display : "no DISPLAY");
    }
    setenv("DISPLAY", ours.c_str(), 1);
    EXPECT_FALSE(game.keys_selected());
    EXPECT_TRUE(start(unique_title("display")));
    zyn_capture_stop_events();
}

TEST_F(X11Capture, UnloadingTheLibraryStopsAnActiveCapture)
{
    // A second copy of the library under another name has its own capture;
    // unloading it must deselect the window and close its connection.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&zyn_capture_start_events), &info), 0);
    test::TempDir dir;
    const std::string copy = dir.join("libzyn_unload_copy.so");
    std::filesystem::copy_file(info.dli_fname, copy);
    GameWindow game(unique_title("unload"));

    void* library = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using StartFn = int (*)(const char*, size_t);
    auto start_copy = reinterpret_cast<StartFn>(dlsym(library, "zyn_capture_start_events"));
    ASSERT_NE(start_copy, nullptr);
    const std::string title = unique_title("unload");
    ASSERT_EQ(start_copy(title.data(), title.size()), 1);
    EXPECT_TRUE(game.keys_selected());
    ASSERT_EQ(dlclose(library), 0);
    EXPECT_FALSE(game.keys_selected());
}

#else

// A game's top-level window whose own procedure counts the commands it sees.
class GameWindow {
public:
    explicit GameWindow(const std::string& title)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &GameWindow::procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZynCaptureTestWindow";
        RegisterClassA(&wc); // a second registration fails harmlessly
        hwnd_ = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, wc.hInstance, nullptr);
    }
    ~GameWindow() { DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }
    LONG_PTR current_procedure() const { return GetWindowLongPtrA(hwnd_, GWLP_WNDPROC); }
    static LONG_PTR own_procedure() { return reinterpret_cast<LONG_PTR>(&GameWindow::procedure); }

    // Sends an application command the way the system delivers a key: the
    // command in the high word of the second parameter, the device in its top bits.
    LRESULT command(int app_command, WORD device = FAPPCOMMAND_KEY)
    {
        return SendMessageA(hwnd_, WM_APPCOMMAND, WPARAM(hwnd_), MAKELPARAM(0, WORD(app_command) | device));
    }

    static int commands_seen;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
    {
        if (message == WM_APPCOMMAND) {
            ++commands_seen;
            return TRUE;
        }
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    HWND hwnd_;
};
int GameWindow::commands_seen = 0;

std::string unique_title(const char* what)
{
    return std::string("zyn capture test ") + what + " " + std::to_string(GetCurrentProcessId());
}

bool start(const std::string& title) { return zyn_capture_start_events(title.data(), title.size()) == 1; }

TEST(Capture, StartsOnlyOnAWindowWithTheTitle)
{
    LastErrorUntouched untouched;
    GameWindow game(unique_title("main"));
    ASSERT_NE(game.hwnd(), nullptr);
    EXPECT_FALSE(start(unique_title("nobody")));
    EXPECT_EQ(zyn_capture_start_events(nullptr, 4), 0);
    EXPECT_EQ(game.current_procedure(), GameWindow::own_procedure()); // not touched
    // A missing title names no window, not some untitled one of the game's.
    GameWindow untitled("");
    ASSERT_NE(untitled.hwnd(), nullptr);
    EXPECT_EQ(zyn_capture_start_events(nullptr, 0), 0);
    EXPECT_EQ(untitled.current_procedure(), GameWindow::own_procedure());
    zyn_capture_stop_events(); // nothing to stop
    EXPECT_EQ(game.current_procedure(), GameWindow::own_procedure());

    // The title is a pointer and a length: what follows it is not part of it.
    const std::string padded = unique_title("main") + "-and-more";
    EXPECT_EQ(zyn_capture_start_events(padded.data(), unique_title("main").size()), 1);
    EXPECT_NE(game.current_procedure(), GameWindow::own_procedure());
    EXPECT_FALSE(IsWindowUnicode(game.hwnd())); // a narrow window stays narrow
    zyn_capture_stop_events();
    EXPECT_EQ(game.current_procedure(), GameWindow::own_procedure());
    zyn_capture_stop_events(); // a second stop does nothing
    EXPECT_EQ(game.current_procedure(), GameWindow::own_procedure());

    // A length that counts the terminating NUL still names the window: the
    // title ends at its first NUL, as window titles do.
    const std::string title = unique_title("main");
    EXPECT_EQ(zyn_capture_start_events(title.c_str(), title.size() + 1), 1);
    zyn_capture_stop_events();
    EXPECT_EQ(game.current_procedure(), GameWindow::own_procedure());
}

TEST(Capture, MediaKeysArePolledOnceAndStillReachTheGame)
{
    LastErrorUntouched untouched;
    GameWindow game(unique_title("keys"));
    ASSERT_TRUE(start(unique_title("keys")));
    zyn_capture_get_event();

    const struct {
        int command;
        int code;
    } keys[] = {{APPCOMMAND_MEDIA_NEXTTRACK, ZYN_MEDIA_NEXT_TRACK},
                {APPCOMMAND_MEDIA_PREVIOUSTRACK, ZYN_MEDIA_PREVIOUS_TRACK},
                {APPCOMMAND_MEDIA_PLAY_PAUSE, ZYN_MEDIA_PLAY_PAUSE},
                {APPCOMMAND_VOLUME_UP, ZYN_MEDIA_VOLUME_UP},
                {APPCOMMAND_VOLUME_DOWN, ZYN_MEDIA_VOLUME_DOWN}};
    GameWindow::commands_seen = 0;
    for (const auto& k : keys) {
        EXPECT_EQ(game.command(k.command), TRUE); // the game's own answer comes back
        EXPECT_EQ(zyn_capture_get_event(), k.code);
        EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    }
    EXPECT_EQ(GameWindow::commands_seen, 5);

    // The device bits are not part of the command.
    game.command(APPCOMMAND_VOLUME_UP, FAPPCOMMAND_MOUSE);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_UP);
    game.command(APPCOMMAND_VOLUME_DOWN, FAPPCOMMAND_OEM);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_DOWN);

    // Only the last command before a poll counts; an unmapped one discards a waiting code.
    game.command(APPCOMMAND_VOLUME_UP);
    game.command(APPCOMMAND_MEDIA_PLAY_PAUSE);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_PLAY_PAUSE);
    game.command(APPCOMMAND_VOLUME_UP);
    game.command(APPCOMMAND_BROWSER_BACKWARD);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);

    // A posted key, taken from the message loop like a game does.
    PostMessageA(game.hwnd(), WM_APPCOMMAND, WPARAM(game.hwnd()), MAKELPARAM(0, APPCOMMAND_MEDIA_NEXTTRACK));
    MSG msg;
    while (PeekMessageA(&msg, game.hwnd(), 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NEXT_TRACK);

    // Stopped: the game keeps getting its keys, the capture sees none.
    zyn_capture_stop_events();
    const int seen = GameWindow::commands_seen;
    game.command(APPCOMMAND_VOLUME_UP);
    EXPECT_EQ(GameWindow::commands_seen, seen + 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
}

TEST(Capture, ASecondStartNeverChainsTheCaptureToItself)
{
    LastErrorUntouched untouched;
    GameWindow game(unique_title("twice"));
    GameWindow other(unique_title("other"));

    ASSERT_TRUE(start(unique_title("twice")));
    ASSERT_TRUE(start(unique_title("twice")));
    GameWindow::commands_seen = 0;
    EXPECT_EQ(game.command(APPCOMMAND_VOLUME_UP), TRUE); // would recurse without end if chained
    EXPECT_EQ(GameWindow::commands_seen, 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_UP);
    zyn_capture_stop_events();
    EXPECT_EQ(game.current_procedure(), GameWindow::own_procedure());

    // A start on another window moves the capture there.
    ASSERT_TRUE(start(unique_title("twice")));
    ASSERT_TRUE(start(unique_title("other")));
    EXPECT_EQ(game.current_procedure(), GameWindow::own_procedure());
    EXPECT_NE(other.current_procedure(), GameWindow::own_procedure());
    game.command(APPCOMMAND_VOLUME_UP);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    other.command(APPCOMMAND_VOLUME_DOWN);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_DOWN);

    // A start that finds no window ends the active capture and reports false.
    EXPECT_FALSE(start(unique_title("nobody")));
    EXPECT_EQ(other.current_procedure(), GameWindow::own_procedure());
    zyn_capture_stop_events();
    EXPECT_EQ(other.current_procedure(), GameWindow::own_procedure());
}

TEST(Capture, TheGamesUserDataIsLeftAlone)
{
    GameWindow game(unique_title("userdata"));
    SetWindowLongPtrA(game.hwnd(), GWLP_USERDATA, LONG_PTR(0x5a5a1234));
    ASSERT_TRUE(start(unique_title("userdata")));
    EXPECT_EQ(GetWindowLongPtrA(game.hwnd(), GWLP_USERDATA), LONG_PTR(0x5a5a1234));
    game.command(APPCOMMAND_MEDIA_PLAY_PAUSE);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_PLAY_PAUSE);
    zyn_capture_stop_events();
    EXPECT_EQ(GetWindowLongPtrA(game.hwnd(), GWLP_USERDATA), LONG_PTR(0x5a5a1234));
}

int g_wide_commands = 0;
WPARAM g_wide_last_char = 0;
LRESULT CALLBACK wide_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_APPCOMMAND) {
        ++g_wide_commands;
        return TRUE;
    }
    if (message == WM_CHAR)
        g_wide_last_char = wparam;
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

TEST(Capture, AUnicodeWindowStaysUnicode)
{
    // Game frameworks usually create wide windows; the capture hooks them with
    // the narrow functions and must give them back as they were.
    WNDCLASSW wc{};
    wc.lpfnWndProc = &wide_procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZynCaptureTestWideWindow";
    RegisterClassW(&wc);
    const std::string title = unique_title("wide");
    const std::wstring wide_title(title.begin(), title.end());
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, wide_title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(IsWindowUnicode(hwnd));

    ASSERT_TRUE(start(title));
    g_wide_commands = 0;
    EXPECT_EQ(SendMessageW(hwnd, WM_APPCOMMAND, WPARAM(hwnd), MAKELPARAM(0, APPCOMMAND_VOLUME_DOWN)), TRUE);
    EXPECT_EQ(g_wide_commands, 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_DOWN);

    // While captured the window stays wide, so typed text and window titles
    // outside the narrow code page reach the game intact.
    EXPECT_TRUE(IsWindowUnicode(hwnd));
    g_wide_last_char = 0;
    SendMessageW(hwnd, WM_CHAR, WPARAM(0x4E2D), 1);
    EXPECT_EQ(g_wide_last_char, WPARAM(0x4E2D));
    g_wide_last_char = 0;
    PostMessageW(hwnd, WM_CHAR, WPARAM(0x0416), 1);
    MSG msg;
    while (PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(g_wide_last_char, WPARAM(0x0416));
    const wchar_t renamed[] = {0x6E38, 0x620F, L' ', 0x0416, 0};
    ASSERT_TRUE(SetWindowTextW(hwnd, renamed));
    wchar_t read_back[16] = {};
    GetWindowTextW(hwnd, read_back, 16);
    EXPECT_EQ(std::wstring(read_back), std::wstring(renamed));

    zyn_capture_stop_events();
    EXPECT_TRUE(IsWindowUnicode(hwnd));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&wide_procedure));
    DestroyWindow(hwnd);
}

TEST(Capture, UnloadingTheModuleStopsAnActiveCapture)
{
    // A second copy of the module under another name has its own capture;
    // freeing it must give the window its own procedure back.
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("zyn.dll"), path, MAX_PATH), 0u);
    test::TempDir dir;
    const std::string copy = dir.join("zyn_detach_copy.dll");
    ASSERT_TRUE(CopyFileA(path, copy.c_str(), FALSE));

    GameWindow game(unique_title("detach"));
    HMODULE module = LoadLibraryA(copy.c_str());
    ASSERT_NE(module, nullptr);
    using StartFn = int(ZYN_CALL*)(const char*, size_t);
    auto start_copy = reinterpret_cast<StartFn>(reinterpret_cast<void*>(GetProcAddress(module, "zyn_capture_start_events")));
    ASSERT_NE(start_copy, nullptr);
    const std::string title = unique_title("detach");
    ASSERT_EQ(start_copy(title.data(), title.size()), 1);
    EXPECT_NE(game.current_procedure(), GameWindow::own_procedure());

    ASSERT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleA("zyn_detach_copy.dll"), nullptr);
    EXPECT_EQ(game.current_procedure(), GameWindow::own_procedure());
    GameWindow::commands_seen = 0;
    EXPECT_EQ(game.command(APPCOMMAND_VOLUME_UP), TRUE); // no call into the freed module
    EXPECT_EQ(GameWindow::commands_seen, 1);
}

#endif

} // namespace

// Media-key capture on real windows: under Windows (Wine here) a titled window
// is hooked and sent application commands; on Linux windows on a private Xvfb
// server get real key presses through XTest.
#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>

#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>
#endif

namespace {

// The capture has no frame: it leaves whatever last error it finds.
struct LastErrorUntouched {
    LastErrorUntouched() { zyn_seterror(ZYN_ERR_NOT_FOUND, -3); }
    ~LastErrorUntouched()
    {
        EXPECT_EQ(std::make_pair(zyn_geterror(), zyn_get_extendederror()), std::make_pair(int(ZYN_ERR_NOT_FOUND), -3));
    }
};

#ifdef _WIN32
std::string title(const std::string& what) { return "zyn capture test " + what + " " + std::to_string(GetCurrentProcessId()); }
#else
std::string title(const std::string& what) { return "zyn capture test " + what + " " + std::to_string(getpid()); }
#endif
bool start(const std::string& t) { return zyn_capture_start_events(t.data(), t.size()) == 1; }

#ifndef _WIN32

// The game's connection to a private Xvfb on a display number it picks itself; the
// server ends with its last client, which this connection is.
Display* x()
{
    static Display* display = [] {
        FILE* server = popen("exec Xvfb -displayfd 1 -terminate -nolisten tcp -screen 0 320x240x24 2>/dev/null", "r");
        char number[16] = "";
        if (server == nullptr || fgets(number, sizeof number, server) == nullptr)
            return static_cast<Display*>(nullptr);
        setenv("DISPLAY", (":" + std::string(number, std::strcspn(number, "\n"))).c_str(), 1);
        return XOpenDisplay(nullptr);
    }();
    return display;
}

using Key = KeySym;
const struct MediaKey {
    Key key;
    int code;
} kKeys[] = {{XF86XK_AudioNext, ZYN_MEDIA_NEXT_TRACK},       {XF86XK_AudioPrev, ZYN_MEDIA_PREVIOUS_TRACK},
             {XF86XK_AudioPlay, ZYN_MEDIA_PLAY_PAUSE},       {XF86XK_AudioPause, ZYN_MEDIA_PLAY_PAUSE},
             {XF86XK_AudioRaiseVolume, ZYN_MEDIA_VOLUME_UP}, {XF86XK_AudioLowerVolume, ZYN_MEDIA_VOLUME_DOWN}};
constexpr Key kOtherKey = XK_a;
constexpr int kAfterOtherKey = ZYN_MEDIA_NEXT_TRACK; // another key leaves a waiting code alone

// A mapped window (inside `frame` as a window manager reparents one) titled by
// WM_NAME or _NET_WM_NAME; with `game_keys` the game selects key presses on it too.
struct Game {
    ::Window id;
    explicit Game(const std::string& t, bool game_keys = false, bool net_wm_name = false, ::Window frame = 0)
    {
        id = XCreateSimpleWindow(x(), frame ? frame : DefaultRootWindow(x()), 0, 0, 64, 64, 0, 0, 0);
        if (net_wm_name)
            XChangeProperty(x(), id, XInternAtom(x(), "_NET_WM_NAME", False), XInternAtom(x(), "UTF8_STRING", False),
                            8, PropModeReplace, reinterpret_cast<const unsigned char*>(t.data()), int(t.size()));
        else
            XStoreName(x(), id, t.c_str());
        XSelectInput(x(), id, game_keys ? KeyPressMask : 0);
        XMapWindow(x(), id);
        XSync(x(), False);
    }
    ~Game() { XDestroyWindow(x(), id); XSync(x(), False); }
    bool hooked() const // some connection selects key presses on the window
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(x(), id, &attributes);
        return (attributes.all_event_masks & KeyPressMask) != 0;
    }
    int seen() const // key presses that reached the game's own connection since the last look
    {
        XEvent event;
        int n = 0;
        while (XCheckTypedWindowEvent(x(), id, KeyPress, &event))
            ++n;
        return n;
    }
    // Once XSync is back, the server has sent the key to every connection that selected it.
    void press(Key keysym) const
    {
        const KeyCode key = XKeysymToKeycode(x(), keysym);
        ASSERT_NE(key, 0) << std::hex << keysym;
        XSetInputFocus(x(), id, RevertToParent, CurrentTime);
        XTestFakeKeyEvent(x(), key, True, CurrentTime);
        XTestFakeKeyEvent(x(), key, False, CurrentTime);
        XSync(x(), False);
    }
};

struct Capture : ::testing::Test {
    void SetUp() override { ASSERT_NE(x(), nullptr) << "Xvfb did not start"; }
};

#else

using Key = int;
const struct MediaKey {
    Key key;
    int code;
} kKeys[] = {{APPCOMMAND_MEDIA_NEXTTRACK, ZYN_MEDIA_NEXT_TRACK},
             {APPCOMMAND_MEDIA_PREVIOUSTRACK, ZYN_MEDIA_PREVIOUS_TRACK},
             {APPCOMMAND_MEDIA_PLAY_PAUSE, ZYN_MEDIA_PLAY_PAUSE},
             {APPCOMMAND_VOLUME_UP, ZYN_MEDIA_VOLUME_UP},
             {APPCOMMAND_VOLUME_DOWN, ZYN_MEDIA_VOLUME_DOWN}};
constexpr Key kOtherKey = APPCOMMAND_BROWSER_BACKWARD;
constexpr int kAfterOtherKey = ZYN_MEDIA_NONE; // an unmapped command discards a waiting code

int g_commands = 0;
template <bool kWide>
LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_APPCOMMAND)
        return ++g_commands, TRUE;
    return kWide ? DefWindowProcW(hwnd, message, wparam, lparam) : DefWindowProcA(hwnd, message, wparam, lparam);
}

// A top-level window, narrow or wide, whose own procedure counts the commands it gets.
struct Game {
    HWND id;
    bool wide;
    int taken = g_commands;
    explicit Game(const std::string& t, bool = false, bool wide_window = false) : wide(wide_window)
    {
        if (wide) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &procedure<true>;
            wc.lpszClassName = L"ZynCaptureTestWide";
            wc.hInstance = GetModuleHandleW(nullptr);
            RegisterClassW(&wc); // a second registration fails harmlessly
            id = CreateWindowExW(0, wc.lpszClassName, std::wstring(t.begin(), t.end()).c_str(), WS_OVERLAPPEDWINDOW,
                                 0, 0, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        } else {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &procedure<false>;
            wc.lpszClassName = "ZynCaptureTest";
            wc.hInstance = GetModuleHandleW(nullptr);
            RegisterClassA(&wc);
            id = CreateWindowExA(0, wc.lpszClassName, t.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        }
    }
    ~Game() { DestroyWindow(id); }
    bool hooked() const
    {
        return wide ? GetWindowLongPtrW(id, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&procedure<true>)
                    : GetWindowLongPtrA(id, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&procedure<false>);
    }
    int seen() { return g_commands - std::exchange(taken, g_commands); }
    // As the system delivers a key: the command in the high word, the device in its top bits.
    void press(Key command, WORD device = FAPPCOMMAND_KEY) const
    {
        const LPARAM param = MAKELPARAM(0, WORD(command) | device);
        EXPECT_EQ(wide ? SendMessageW(id, WM_APPCOMMAND, WPARAM(id), param)
                       : SendMessageA(id, WM_APPCOMMAND, WPARAM(id), param),
                  TRUE); // the game's own answer comes back
    }
};

using Capture = ::testing::Test;

#endif

Key key_of(int code)
{
    for (const auto& k : kKeys)
        if (k.code == code)
            return k.key;
    return 0;
}

TEST_F(Capture, StartsOnlyOnAWindowWithTheTitle)
{
    LastErrorUntouched untouched;
    Game game(title("main")), untitled("");
    EXPECT_FALSE(start(title("nobody")));
    EXPECT_EQ(zyn_capture_start_events(nullptr, 4), 0);
    EXPECT_EQ(zyn_capture_start_events(nullptr, 0), 0); // names no window, not some untitled one
    EXPECT_FALSE(game.hooked() || untitled.hooked());
    zyn_capture_stop_events(); // nothing to stop

    // A pointer and a length: what follows is not part of the title, and it ends at its first NUL.
    const std::string t = title("main"), padded = t + "-and-more";
    EXPECT_EQ(zyn_capture_start_events(padded.data(), t.size()), 1);
    EXPECT_TRUE(game.hooked());
    zyn_capture_stop_events();
    EXPECT_FALSE(game.hooked());
    zyn_capture_stop_events();
    EXPECT_FALSE(game.hooked());
    EXPECT_EQ(zyn_capture_start_events(t.c_str(), t.size() + 1), 1);
    EXPECT_EQ(zyn_capture_start_events(nullptr, 0), 0); // checked first: the active capture stays
    EXPECT_TRUE(game.hooked());
    EXPECT_FALSE(start(title("nobody"))); // but a start that finds no window ends it
    EXPECT_FALSE(game.hooked());
}

TEST_F(Capture, MediaKeysArePolledOnceAndStillReachTheGame)
{
    LastErrorUntouched untouched;
    Game game(title("keys"), true);
    ASSERT_TRUE(start(title("keys")));
    zyn_capture_get_event();
    for (const auto& k : kKeys) {
        game.press(k.key);
        EXPECT_EQ(zyn_capture_get_event(), k.code) << k.key;
        EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    }
    EXPECT_EQ(game.seen(), int(std::size(kKeys)));

    // Only the last media key before a poll counts.
    game.press(key_of(ZYN_MEDIA_VOLUME_UP));
    game.press(key_of(ZYN_MEDIA_NEXT_TRACK));
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NEXT_TRACK);
    game.press(key_of(ZYN_MEDIA_NEXT_TRACK));
    game.press(kOtherKey);
    EXPECT_EQ(zyn_capture_get_event(), kAfterOtherKey);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);

    // Stopped: a key from before still waits; the game keeps getting its keys, the capture none.
    game.press(key_of(ZYN_MEDIA_NEXT_TRACK));
    game.seen();
    zyn_capture_stop_events();
    game.press(key_of(ZYN_MEDIA_PLAY_PAUSE));
    EXPECT_EQ(game.seen(), 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NEXT_TRACK);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    ASSERT_TRUE(start(title("keys"))); // and starts again
    game.press(key_of(ZYN_MEDIA_PREVIOUS_TRACK));
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_PREVIOUS_TRACK);
    zyn_capture_stop_events();
}

TEST_F(Capture, ASecondStartMovesTheCaptureAndNeverChainsItToItself)
{
    Game game(title("twice"), true), other(title("other"), true);
    ASSERT_TRUE(start(title("twice")));
    ASSERT_TRUE(start(title("twice")));
    game.press(key_of(ZYN_MEDIA_VOLUME_UP)); // would recurse without end if chained
    EXPECT_EQ(game.seen(), 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_UP);
    ASSERT_TRUE(start(title("other")));
    game.press(key_of(ZYN_MEDIA_VOLUME_UP));
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    other.press(key_of(ZYN_MEDIA_VOLUME_DOWN));
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_DOWN);
    zyn_capture_stop_events();
}

#ifndef _WIN32

TEST_F(Capture, FindsTheTitleAsWindowManagersSetIt)
{
    // _NET_WM_NAME, in UTF-8, comes before WM_NAME; a Latin-1 WM_NAME is compared
    // as UTF-8; the topmost of two windows with the title is taken; a frame is looked into.
    Game latin1(title("caf\xe9")), frame(title("frame") + " decoration"), framed(title("framed"), false, false, frame.id);
    {
        Game modern(title("caf\xc3\xa9"), false, true);
        XStoreName(x(), modern.id, "old name");
        EXPECT_FALSE(start("old name"));
        ASSERT_TRUE(start(title("caf\xc3\xa9")));
        EXPECT_TRUE(modern.hooked());
        EXPECT_FALSE(latin1.hooked());
    }
    ASSERT_TRUE(start(title("caf\xc3\xa9")));
    EXPECT_TRUE(latin1.hooked());
    ASSERT_TRUE(start(title("framed")));
    EXPECT_FALSE(latin1.hooked());
    EXPECT_TRUE(framed.hooked());
    zyn_capture_stop_events();
    EXPECT_FALSE(framed.hooked());
}

TEST_F(Capture, MayBePolledFromAnotherThread)
{
    Game game(title("threads"));
    std::atomic<bool> done{false};
    std::atomic<int> heard{0};
    std::thread poller([&] {
        while (!done)
            heard += zyn_capture_get_event() == ZYN_MEDIA_NEXT_TRACK;
    });
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(start(title("threads")));
        game.press(XF86XK_AudioNext);
        zyn_capture_stop_events();
    }
    done = true;
    poller.join();
    // Each key is taken by one poll at most; a missed one may be replaced by the next.
    const int taken = heard + (zyn_capture_get_event() == ZYN_MEDIA_NEXT_TRACK);
    EXPECT_GE(taken, 1);
    EXPECT_LE(taken, 20);
}

TEST_F(Capture, NeedsADisplay)
{
    LastErrorUntouched untouched;
    Game game(title("display"));
    const std::string ours = getenv("DISPLAY");
    for (const char* display : {static_cast<const char*>(nullptr), "", ":not a display", ":32767"}) {
        display ? setenv("DISPLAY", display, 1) : unsetenv("DISPLAY");
        EXPECT_FALSE(start(title("display"))) << (display ? display : "no DISPLAY");
    }
    setenv("DISPLAY", ours.c_str(), 1);
    EXPECT_FALSE(game.hooked());
    EXPECT_TRUE(start(title("display")));
    zyn_capture_stop_events();
}

TEST_F(Capture, UnloadingTheLibraryStopsAnActiveCapture)
{
    // A copy of the library under another name has a capture of its own.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&zyn_capture_start_events), &info), 0);
    test::TempDir dir;
    const std::string copy = dir.join("libzyn_unload_copy.so"), t = title("unload");
    std::filesystem::copy_file(info.dli_fname, copy);
    Game game(t);
    void* library = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto start_copy = reinterpret_cast<int (*)(const char*, size_t)>(dlsym(library, "zyn_capture_start_events"));
    ASSERT_NE(start_copy, nullptr);
    ASSERT_EQ(start_copy(t.data(), t.size()), 1);
    EXPECT_TRUE(game.hooked());
    ASSERT_EQ(dlclose(library), 0);
    EXPECT_FALSE(game.hooked());
}

#else

TEST_F(Capture, WindowsMessagesAsTheSystemSendsThem)
{
    LastErrorUntouched untouched;
    Game game(title("messages")), wide(title("wide"), false, true);
    SetWindowLongPtrA(game.id, GWLP_USERDATA, LONG_PTR(0x5a5a1234)); // the game's, left alone
    ASSERT_TRUE(start(title("messages")));
    EXPECT_FALSE(IsWindowUnicode(game.id)); // a narrow window stays narrow
    game.press(APPCOMMAND_VOLUME_UP, FAPPCOMMAND_MOUSE); // the device bits are not part of the command
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_UP);
    game.press(APPCOMMAND_VOLUME_DOWN, FAPPCOMMAND_OEM);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_DOWN);
    PostMessageA(game.id, WM_APPCOMMAND, WPARAM(game.id), MAKELPARAM(0, APPCOMMAND_MEDIA_NEXTTRACK));
    for (MSG msg; PeekMessageA(&msg, game.id, 0, 0, PM_REMOVE);) // taken from the loop as a game does
        DispatchMessageA(&msg);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NEXT_TRACK);
    EXPECT_EQ(GetWindowLongPtrA(game.id, GWLP_USERDATA), LONG_PTR(0x5a5a1234));

    // Game frameworks make wide windows: text beyond the code page reaches them only while they stay wide.
    ASSERT_TRUE(IsWindowUnicode(wide.id));
    ASSERT_TRUE(start(title("wide")));
    EXPECT_EQ(GetWindowLongPtrA(game.id, GWLP_USERDATA), LONG_PTR(0x5a5a1234));
    EXPECT_TRUE(IsWindowUnicode(wide.id));
    wide.seen();
    wide.press(APPCOMMAND_VOLUME_DOWN);
    EXPECT_EQ(wide.seen(), 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_DOWN);
    zyn_capture_stop_events();
    EXPECT_TRUE(IsWindowUnicode(wide.id));
    EXPECT_FALSE(wide.hooked());
}

TEST_F(Capture, UnloadingTheModuleStopsAnActiveCapture)
{
    // A copy of the module under another name has a capture of its own.
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("zyn.dll"), path, MAX_PATH), 0u);
    test::TempDir dir;
    const std::string copy = dir.join("zyn_detach_copy.dll"), t = title("detach");
    ASSERT_TRUE(CopyFileA(path, copy.c_str(), FALSE));
    Game game(t);
    HMODULE module = LoadLibraryA(copy.c_str());
    ASSERT_NE(module, nullptr);
    auto start_copy = reinterpret_cast<int(ZYN_CALL*)(const char*, size_t)>(
        reinterpret_cast<void*>(GetProcAddress(module, "zyn_capture_start_events")));
    ASSERT_NE(start_copy, nullptr);
    ASSERT_EQ(start_copy(t.data(), t.size()), 1);
    EXPECT_TRUE(game.hooked());
    ASSERT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleA("zyn_detach_copy.dll"), nullptr);
    EXPECT_FALSE(game.hooked());
    game.seen();
    game.press(APPCOMMAND_VOLUME_UP); // no call into the freed module
    EXPECT_EQ(game.seen(), 1);
}

#endif

} // namespace

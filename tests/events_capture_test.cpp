// Media-key capture on real windows: commands sent under Windows (Wine), XTest keys on a private Xvfb.
#include <zyn/zyn.h>

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <utility>

#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#endif

namespace {

// The capture has no frame: it leaves whatever last error it finds.
bool error_untouched() { return zyn_geterror() == ZYN_ERR_NOT_FOUND && zyn_get_extendederror() == -3; }
std::string title(const std::string& what) { return "zyn capture test " + what + " " + std::to_string(getpid()); }
bool start(const std::string& t) { return zyn_capture_start_events(t.data(), t.size()) == 1; }

using MediaKey = std::pair<unsigned long, int>;

#ifndef _WIN32

// The game's connection to a private Xvfb on a display it picks; the server ends with this last client.
Display* const display = [] {
    FILE* server = popen("exec Xvfb -displayfd 1 -terminate -nolisten tcp -screen 0 320x240x24 2>/dev/null", "r");
    char number[16] = "";
    if (server == nullptr || fgets(number, sizeof number, server) == nullptr)
        return static_cast<Display*>(nullptr);
    setenv("DISPLAY", (":" + std::string(number, std::strcspn(number, "\n"))).c_str(), 1);
    return XOpenDisplay(nullptr);
}();

const MediaKey kKeys[] = {{XF86XK_AudioNext, ZYN_MEDIA_NEXT_TRACK}, {XF86XK_AudioPrev, ZYN_MEDIA_PREVIOUS_TRACK},
                          {XF86XK_AudioPlay, ZYN_MEDIA_PLAY_PAUSE}, {XF86XK_AudioRaiseVolume, ZYN_MEDIA_VOLUME_UP},
                          {XF86XK_AudioLowerVolume, ZYN_MEDIA_VOLUME_DOWN}, {XF86XK_AudioPause, ZYN_MEDIA_PLAY_PAUSE}};
constexpr unsigned long kOtherKey = XK_a;
constexpr int kAfterOtherKey = ZYN_MEDIA_NEXT_TRACK; // another key leaves a waiting code alone

// A mapped window titled by WM_NAME or _NET_WM_NAME, inside `frame` as window managers reparent.
struct Game {
    ::Window id;
    explicit Game(const std::string& t, bool game_keys = false, bool net_wm_name = false, ::Window frame = 0)
    {
        Display* x = display;
        id = XCreateSimpleWindow(x, frame ? frame : DefaultRootWindow(x), 0, 0, 64, 64, 0, 0, 0);
        if (net_wm_name)
            XChangeProperty(x, id, XInternAtom(x, "_NET_WM_NAME", False), XInternAtom(x, "UTF8_STRING", False), 8,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(t.data()), int(t.size()));
        else
            XStoreName(display, id, t.c_str());
        XSelectInput(display, id, game_keys ? KeyPressMask : 0);
        XMapWindow(display, id);
        XSync(display, False);
    }
    ~Game() { XDestroyWindow(display, id); XSync(display, False); }
    bool hooked() const // some connection selects key presses on the window
    {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display, id, &attributes) && (attributes.all_event_masks & KeyPressMask) != 0;
    }
    int seen() const // key presses that reached the game's own connection since the last look
    {
        int n = 0;
        for (XEvent event; XCheckTypedWindowEvent(display, id, KeyPress, &event);)
            ++n;
        return n;
    }
    // Once XSync is back, the server has sent the key to every connection that selected it.
    void press(unsigned long keysym) const
    {
        const KeyCode key = XKeysymToKeycode(display, keysym);
        XSetInputFocus(display, id, RevertToParent, CurrentTime);
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        XSync(display, False);
    }
};

struct Capture : ::testing::Test {
    void SetUp() override { ASSERT_NE(display, nullptr) << "Xvfb did not start"; }
};

#else

const MediaKey kKeys[] = {{APPCOMMAND_MEDIA_NEXTTRACK, ZYN_MEDIA_NEXT_TRACK}, {APPCOMMAND_MEDIA_PREVIOUSTRACK,
                          ZYN_MEDIA_PREVIOUS_TRACK}, {APPCOMMAND_MEDIA_PLAY_PAUSE, ZYN_MEDIA_PLAY_PAUSE},
                          {APPCOMMAND_VOLUME_UP, ZYN_MEDIA_VOLUME_UP}, {APPCOMMAND_VOLUME_DOWN, ZYN_MEDIA_VOLUME_DOWN}};
constexpr unsigned long kOtherKey = APPCOMMAND_BROWSER_BACKWARD;
constexpr int kAfterOtherKey = ZYN_MEDIA_NONE; // an unmapped command discards a waiting code

int g_commands = 0;
template <bool kWide>
LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_APPCOMMAND)
        return ++g_commands, TRUE;
    return (kWide ? DefWindowProcW : DefWindowProcA)(hwnd, message, wparam, lparam);
}

struct Game {
    HWND id;
    bool wide;
    int taken = g_commands;
    explicit Game(const std::string& t, bool = false, bool wide_window = false) : wide(wide_window)
    {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        const WNDCLASSW w{0, &procedure<true>, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, L"ZynCaptureW"};
        const WNDCLASSA a{0, &procedure<false>, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "ZynCapture"};
        RegisterClassW(&w); // a second registration fails harmlessly
        RegisterClassA(&a);
        id = wide ? CreateWindowExW(0, w.lpszClassName, std::wstring(t.begin(), t.end()).c_str(), WS_OVERLAPPEDWINDOW,
                                    0, 0, 200, 100, nullptr, nullptr, instance, nullptr)
                  : CreateWindowExA(0, a.lpszClassName, t.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                    nullptr, instance, nullptr);
    }
    ~Game() { DestroyWindow(id); }
    bool hooked() const
    {
        return wide ? GetWindowLongPtrW(id, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&procedure<true>)
                    : GetWindowLongPtrA(id, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&procedure<false>);
    }
    int seen() { return g_commands - std::exchange(taken, g_commands); }
    // As the system sends a key: command and device in the high word, buttons and modifiers in the low.
    void press(unsigned long command, WORD device = FAPPCOMMAND_KEY) const
    {
        const LPARAM param = MAKELPARAM(MK_SHIFT | MK_LBUTTON, WORD(command) | device);
        EXPECT_EQ((wide ? SendMessageW : SendMessageA)(id, WM_APPCOMMAND, WPARAM(id), param), TRUE); // the game's own
    }
};

using Capture = ::testing::Test;

#endif

TEST_F(Capture, HooksOnlyTheTitledWindowHearsItsMediaKeysOnceAndStopsWithTheLibrary)
{
    zyn_seterror(ZYN_ERR_NOT_FOUND, -3);
    // Both tables start with next and previous track, play, volume up and down.
    const unsigned long next = kKeys[0].first, play = kKeys[2].first, up = kKeys[3].first;
    const std::string t = title("keys"), named = title("main"), padded = named + "-and-more";
    Game plain(named), untitled(""), game(t, true);
    EXPECT_FALSE(start(title("nobody")));
    EXPECT_EQ(zyn_capture_start_events(nullptr, 0), 0); // names no window, not some untitled one
    EXPECT_FALSE(plain.hooked() || untitled.hooked());
    zyn_capture_stop_events(); // idle: nothing to stop

    // A pointer and a length: what follows is not part of the title, and it ends at its first NUL.
    EXPECT_EQ(zyn_capture_start_events(padded.data(), named.size()), 1);
    EXPECT_TRUE(plain.hooked());
    zyn_capture_stop_events();
    EXPECT_FALSE(plain.hooked());
    EXPECT_EQ(zyn_capture_start_events(named.c_str(), named.size() + 1), 1);
    EXPECT_EQ(zyn_capture_start_events(nullptr, 0), 0); // checked first: the active capture stays
    EXPECT_TRUE(plain.hooked());
    EXPECT_FALSE(start(title("nobody"))); // but a start that finds no window ends it
    EXPECT_FALSE(plain.hooked());

    ASSERT_TRUE(start(t));
    for (const auto& [key, code] : kKeys) {
        game.press(key);
        EXPECT_EQ(zyn_capture_get_event(), code) << key;
        EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    }
    EXPECT_EQ(game.seen(), int(sizeof kKeys / sizeof kKeys[0]));
    game.press(up);
    game.press(next);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NEXT_TRACK);
    game.press(next);
    game.press(kOtherKey);
    EXPECT_EQ(zyn_capture_get_event(), kAfterOtherKey);

    // A key heard before a stop still waits.
    game.press(next);
    game.seen();
    zyn_capture_stop_events();
    game.press(play);
    EXPECT_EQ(game.seen(), 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NEXT_TRACK);

    // A second start never chains the capture to itself: a key would then recurse without end.
    ASSERT_TRUE(start(t));
    ASSERT_TRUE(start(t));
    game.press(up);
    EXPECT_EQ(game.seen(), 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_UP);
#ifdef _WIN32
    game.press(APPCOMMAND_VOLUME_UP, FAPPCOMMAND_MOUSE); // the device bits are no part of the command
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_UP);
    game.press(APPCOMMAND_VOLUME_DOWN, FAPPCOMMAND_OEM);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_DOWN);
    EXPECT_FALSE(IsWindowUnicode(game.id));
    // Game frameworks make wide windows: text beyond the code page reaches them only while they stay wide.
    Game wide(title("wide"), false, true);
    ASSERT_TRUE(start(title("wide")));
    EXPECT_TRUE(IsWindowUnicode(wide.id));
    wide.press(APPCOMMAND_VOLUME_DOWN);
    EXPECT_EQ(wide.seen(), 1);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_VOLUME_DOWN);
    zyn_capture_stop_events();
    EXPECT_TRUE(IsWindowUnicode(wide.id));
    EXPECT_FALSE(wide.hooked());
#endif
    zyn_capture_stop_events();
    EXPECT_TRUE(error_untouched());

    // A copy of the library under another name has a capture of its own, which unloading it stops.
    test::TempDir dir;
#ifdef _WIN32
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("zyn.dll"), path, MAX_PATH), 0u);
    ASSERT_TRUE(CopyFileA(path, dir.join("zyn_detach_copy.dll").c_str(), FALSE));
    HMODULE library = LoadLibraryA(dir.join("zyn_detach_copy.dll").c_str());
    ASSERT_NE(library, nullptr);
    const auto start_copy = reinterpret_cast<int(ZYN_CALL*)(const char*, size_t)>(
        reinterpret_cast<void*>(GetProcAddress(library, "zyn_capture_start_events")));
#else
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&zyn_capture_start_events), &info), 0);
    std::filesystem::copy_file(info.dli_fname, dir.join("libzyn_unload_copy.so"));
    void* library = dlopen(dir.join("libzyn_unload_copy.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto start_copy = reinterpret_cast<int (*)(const char*, size_t)>(dlsym(library, "zyn_capture_start_events"));
#endif
    ASSERT_NE(start_copy, nullptr);
    ASSERT_EQ(start_copy(named.data(), named.size()), 1);
    EXPECT_TRUE(plain.hooked());
#ifdef _WIN32
    ASSERT_TRUE(FreeLibrary(library));
    EXPECT_EQ(GetModuleHandleA("zyn_detach_copy.dll"), nullptr);
    plain.seen();
    plain.press(APPCOMMAND_VOLUME_UP); // no call into the freed module
    EXPECT_EQ(plain.seen(), 1);
#else
    ASSERT_EQ(dlclose(library), 0);
#endif
    EXPECT_FALSE(plain.hooked());
}

#ifndef _WIN32

TEST_F(Capture, X11TitlesAndDisplays)
{
    // _NET_WM_NAME (UTF-8) comes before WM_NAME (Latin-1); the topmost window with the title is taken.
    Game latin1(title("caf\xe9")), frame(title("frame") + " decoration");
    Game framed(title("framed"), false, false, frame.id);
    {
        Game modern(title("caf\xc3\xa9"), false, true);
        XStoreName(display, modern.id, "old name"); // not looked at beside _NET_WM_NAME
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

    // Without a display there is nothing to hook.
    Game game(title("display"));
    const std::string ours = getenv("DISPLAY");
    zyn_seterror(ZYN_ERR_NOT_FOUND, -3);
    for (const char* other : {static_cast<const char*>(nullptr), "", ":not a display", ":32767"}) {
        other ? setenv("DISPLAY", other, 1) : unsetenv("DISPLAY");
        EXPECT_FALSE(start(title("display"))) << (other ? other : "no DISPLAY");
    }
    setenv("DISPLAY", ours.c_str(), 1);
    EXPECT_TRUE(error_untouched());
    EXPECT_FALSE(game.hooked());
    EXPECT_TRUE(start(title("display")));
    zyn_capture_stop_events();
}

TEST_F(Capture, MayBePolledFromAnotherThreadWhileTheGameStartsAndStopsIt)
{
    Game game(title("threads"));
    std::atomic<bool> done{false};
    std::atomic<int> heard{0};
    std::thread poller([&] { while (!done) heard += zyn_capture_get_event() == ZYN_MEDIA_NEXT_TRACK; });
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(start(title("threads")));
        game.press(XF86XK_AudioNext);
        zyn_capture_stop_events();
    }
    done = true;
    poller.join();
    // Each key is taken by one poll at most; a missed one may be replaced by the next.
    const int taken = heard + (zyn_capture_get_event() == ZYN_MEDIA_NEXT_TRACK);
    EXPECT_TRUE(taken >= 1 && taken <= 20) << taken;
}

#endif

} // namespace

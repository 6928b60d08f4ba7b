// Media-key capture. Under Windows (Wine here) a real window with a title is
// hooked and sent application commands; Linux has no window to hook.
#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include "support/temp_dir.h"

#include <windows.h>

#include <fstream>
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

TEST(Capture, NeverStartsWithoutWindows)
{
    LastErrorUntouched untouched;
    const std::string title = "Game window";
    EXPECT_EQ(zyn_capture_start_events(title.data(), title.size()), 0);
    EXPECT_EQ(zyn_capture_start_events(nullptr, 0), 0);
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
    zyn_capture_stop_events();
    zyn_capture_stop_events();
    EXPECT_EQ(zyn_capture_get_event(), ZYN_MEDIA_NONE);
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

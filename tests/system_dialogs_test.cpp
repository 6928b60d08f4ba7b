// File and folder dialogs. On Linux a stand-in zenity first on the PATH records
// its arguments and answers; under Wine the shell's dialog is shown and closed
// from a second thread.
#include <zyn/zyn.h>

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#  include <objbase.h>
#  include <windows.h>
#  include <atomic>
#  include <functional>
#  include <thread>
#else
#  include <sys/stat.h>
#  include <csignal>
#  include <cstdlib>
#  include <fstream>
#  include <sstream>
#endif

namespace {

#if !defined(_WIN32)

// A zenity that writes its arguments (each ended by a zero byte) to "args",
// prints the paths in the file "answer" joined by the separator it was given
// and exits with the number in "status".
class StandInZenity {
public:
    StandInZenity()
    {
        const std::string script = dir_.join("zenity");
        std::ofstream(script) << "#!/bin/sh\nsep='|'\n"
                                 "for a in \"$@\"; do printf '%s\\0' \"$a\" >> '" << dir_.join("args") << "'\n"
                                 "case \"$a\" in --separator=*) sep=\"${a#--separator=}\";; esac; done\n"
                                 "sed \"s/@SEP@/$sep/g\" '" << dir_.join("answer") << "' 2>/dev/null\n"
                                 "exit $(cat '" << dir_.join("status") << "' 2>/dev/null || echo 0)\n";
        chmod(script.c_str(), 0755);
        const char* path = std::getenv("PATH");
        old_path_ = path != nullptr ? path : "";
        setenv("PATH", (dir_.path() + ":" + old_path_).c_str(), 1);
        answer({}, 0);
    }
    ~StandInZenity() { setenv("PATH", old_path_.c_str(), 1); }

    void answer(const std::vector<std::string>& paths, int status)
    {
        std::ofstream out(dir_.join("answer"), std::ios::trunc);
        for (const auto& p : paths)
            out << (&p == &paths[0] ? "" : "@SEP@") << p << (&p == &paths.back() ? "\n" : "");
        std::ofstream(dir_.join("status"), std::ios::trunc) << status << "\n";
        std::remove(dir_.join("args").c_str());
    }
    std::vector<std::string> args() const
    {
        std::ifstream in(dir_.join("args"));
        std::vector<std::string> list;
        std::string arg;
        while (std::getline(in, arg, '\0'))
            list.push_back(arg);
        return list;
    }
    bool has(const std::string& arg) const
    {
        for (const auto& a : args())
            if (a == arg)
                return true;
        return false;
    }
    void hide() { setenv("PATH", "/nonexistent", 1); }

private:
    test::TempDir dir_;
    std::string old_path_;
};

TEST(Dialogs, FilesThroughZenity)
{
    StandInZenity zenity;
    zyn_unload(); // no frame: works without the library loaded, and leaves the last error alone
    zyn_seterror(7, 3);

    // Names holding a line feed or a '|' come back whole.
    zenity.answer({"/home/p/a.png", "/home/p/b\nb.jpg", "/home/p/\xC3\xA4|.png"}, 0);
    char filter[] = "Images|*.png;*.jpg|All|*.*";
    char buffer[256] = "untouched";
    zyn_OpenFileDialog(1, filter, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/home/p/a.png\r\n/home/p/b\nb.jpg\r\n/home/p/\xC3\xA4|.png");
    EXPECT_EQ(zyn_geterror(), 7);
    EXPECT_EQ(zyn_get_extendederror(), 3);
    const auto args = zenity.args();
    ASSERT_GE(args.size(), 1u);
    EXPECT_EQ(args[0], "--file-selection");
    EXPECT_TRUE(zenity.has("--multiple"));
    EXPECT_TRUE(zenity.has("--file-filter=Images | *.png *.jpg"));
    EXPECT_TRUE(zenity.has("--file-filter=All | *.*"));
    EXPECT_FALSE(zenity.has("--directory"));
    EXPECT_EQ(std::memcmp(filter, "Images|*.png;*.jpg|All|*.*", sizeof filter), 0); // left whole

    // A buffer too small for the second path.
    zenity.answer({"/x/first", "/x/second"}, 0);
    char small[16];
    std::memset(small, '#', sizeof small);
    zyn_OpenFileDialog(1, nullptr, small, 12);
    EXPECT_STREQ(small, "/x/first");
    EXPECT_EQ(small[12], '#');

    // One file, no filter: the whole answer is its path, a line feed in it included.
    zenity.answer({"/x/first\n/x/second"}, 0);
    zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/x/first\n/x/second");
    EXPECT_EQ(zenity.args().size(), 1u);
}

TEST(Dialogs, ChoiceArrivesWhileTheGameIgnoresSigchld)
{
    // The kernel then reaps the game's children itself, and waiting for one fails.
    StandInZenity zenity;
    zenity.answer({"/x/chosen"}, 0);
    char buffer[32] = "untouched";
    const auto previous = std::signal(SIGCHLD, SIG_IGN);
    zyn_OpenFolderDialog(1, nullptr, buffer, sizeof buffer);
    std::signal(SIGCHLD, previous);
    EXPECT_STREQ(buffer, "/x/chosen");
}

TEST(Dialogs, CancelOrNoChooserLeavesTheBuffer)
{
    StandInZenity zenity;
    char buffer[64] = "untouched";
    zenity.answer({"/should/not/appear"}, 1); // cancel
    zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "untouched");
    zenity.answer({}, 0); // "OK" with nothing chosen
    zyn_OpenFolderDialog(0, nullptr, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "untouched");
    zenity.answer({"/a"}, 0);
    zyn_OpenFileDialog(0, nullptr, buffer, 0);
    EXPECT_STREQ(buffer, "untouched");
    zenity.hide(); // no zenity on the PATH
    zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
    zyn_OpenFolderDialog(1, "/", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "untouched");
}

TEST(Dialogs, FoldersThroughZenity)
{
    StandInZenity zenity;
    test::TempDir start;
    char buffer[256] = "untouched";
    zenity.answer({start.path()}, 0);
    zyn_OpenFolderDialog(0, start.path().c_str(), buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), start.path());
    EXPECT_TRUE(zenity.has("--directory"));
    EXPECT_TRUE(zenity.has("--filename=" + start.path() + "/"));
    EXPECT_FALSE(zenity.has("--multiple"));

    // A start folder that does not exist is left out: the chooser opens where it likes.
    zenity.answer({"/one", "/two"}, 0);
    zyn_OpenFolderDialog(1, (start.path() + "/missing").c_str(), buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/one\r\n/two");
    EXPECT_TRUE(zenity.has("--multiple"));
    for (const auto& a : zenity.args())
        EXPECT_NE(a.rfind("--filename", 0), 0u) << a;
}

#else

// Window enumeration callbacks, each stopping at the first window it wants and
// storing it. Named functions: a callback is stdcall on 32-bit Windows, which
// a lambda cannot be.
BOOL CALLBACK take_dialog(HWND window, LPARAM out)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

BOOL CALLBACK take_enabled_edit(HWND window, LPARAM out)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (_stricmp(name, "Edit") != 0 || !IsWindowEnabled(window))
        return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

// The first dialog window the given thread shows, waited for up to half a minute.
HWND dialog_of(DWORD thread, std::atomic<bool>& done)
{
    for (int attempt = 0; attempt < 600 && !done; ++attempt) {
        HWND found = nullptr;
        EnumThreadWindows(thread, take_dialog, reinterpret_cast<LPARAM>(&found));
        if (found != nullptr)
            return found;
        Sleep(50);
    }
    return nullptr;
}

// Types a name into the dialog's file-name box and presses OK.
void choose_in_dialog_of(DWORD thread, std::string name, std::atomic<bool>& done, std::atomic<bool>& chosen)
{
    HWND dialog = dialog_of(thread, done);
    if (dialog == nullptr)
        return;
    // The dialog's controls are still in the making until it is shown.
    HWND edit = nullptr;
    for (int attempt = 0; attempt < 200 && !done && (edit == nullptr || !IsWindowVisible(dialog)); ++attempt) {
        Sleep(50);
        EnumChildWindows(dialog, take_enabled_edit, reinterpret_cast<LPARAM>(&edit));
    }
    if (edit == nullptr) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    chosen = true;
}

// Closes the first dialog window that the given thread shows, with Cancel.
void cancel_dialog_of(DWORD thread, std::atomic<bool>& done, std::atomic<bool>& cancelled)
{
    if (HWND dialog = dialog_of(thread, done)) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        cancelled = true;
    }
}

TEST(Dialogs, CancelledDialogLeavesTheBuffer)
{
    for (bool folders : {false, true}) {
        char buffer[64] = "untouched";
        char filter[] = "Text|*.txt|All|*.*";
        std::atomic<bool> done{false}, cancelled{false};
        std::thread shower([&] {
            ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
            std::thread closer(cancel_dialog_of, GetCurrentThreadId(), std::ref(done), std::ref(cancelled));
            if (folders)
                zyn_OpenFolderDialog(1, "C:\\windows", buffer, sizeof buffer);
            else
                zyn_OpenFileDialog(1, filter, buffer, sizeof buffer);
            done = true;
            closer.join();
            CoUninitialize();
        });
        shower.join();
        EXPECT_TRUE(cancelled) << "no dialog was shown; folders=" << folders;
        EXPECT_STREQ(buffer, "untouched") << folders;
        if (!folders) {
            EXPECT_STREQ(filter, "Text|*.txt|All|*.*"); // read, never split in place
        }
    }
}

TEST(Dialogs, ChosenFileLandsInTheBuffer)
{
    test::TempDir dir;
    const std::string path = dir.join("chosen file.txt");
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    char buffer[512] = "untouched";
    std::atomic<bool> done{false}, chosen{false};
    std::thread shower([&] {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        std::thread helper(choose_in_dialog_of, GetCurrentThreadId(), path, std::ref(done), std::ref(chosen));
        zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
        done = true;
        helper.join();
        CoUninitialize();
    });
    shower.join();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(std::string(buffer), path);
}

TEST(Dialogs, WithoutComReturnsAtOnce)
{
    // The library does not initialise COM: on a thread without it nothing is shown.
    std::thread([] {
        char buffer[32] = "untouched";
        char filter[] = "Text|*.txt";
        zyn_OpenFileDialog(0, filter, buffer, sizeof buffer);
        zyn_OpenFolderDialog(0, nullptr, buffer, sizeof buffer);
        EXPECT_STREQ(buffer, "untouched");
        EXPECT_STREQ(filter, "Text|*.txt");
    }).join();
}

#endif

} // namespace

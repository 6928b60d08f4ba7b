// File and folder dialogs. On Linux a stand-in zenity first on the PATH records
// its arguments and answers; under Wine the shell's dialog is shown and answered
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
#  include <algorithm>
#  include <csignal>
#  include <cstdlib>
#  include <fstream>
#endif

namespace {

#if !defined(_WIN32)

// A zenity that writes its arguments (each ended by a zero byte) to "args", prints
// the paths in "answer" joined by the separator it was given, and exits with "status".
class Zenity {
public:
    Zenity() : old_path_(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        const std::string script = dir_.join("zenity");
        std::ofstream(script) << "#!/bin/sh\nsep='|'\nfor a in \"$@\"; do printf '%s\\0' \"$a\" >> '"
                              << dir_.join("args") << "'\ncase \"$a\" in --separator=*) sep=\"${a#--separator=}\";; "
                              << "esac; done\nsed \"s/@SEP@/$sep/g\" '" << dir_.join("answer")
                              << "' 2>/dev/null\nexit $(cat '" << dir_.join("status") << "')\n";
        chmod(script.c_str(), 0755);
        setenv("PATH", (dir_.path() + ":" + old_path_).c_str(), 1);
    }
    ~Zenity() { setenv("PATH", old_path_.c_str(), 1); }
    void answer(const std::vector<std::string>& paths, int status = 0)
    {
        std::ofstream out(dir_.join("answer"));
        for (const auto& p : paths)
            out << (&p == &paths[0] ? "" : "@SEP@") << p << (&p == &paths.back() ? "\n" : "");
        std::ofstream(dir_.join("status")) << status << "\n";
        std::remove(dir_.join("args").c_str());
    }
    std::vector<std::string> args() const
    {
        std::ifstream in(dir_.join("args"));
        std::vector<std::string> list;
        for (std::string arg; std::getline(in, arg, '\0');)
            list.push_back(arg);
        return list;
    }
    bool has(const std::string& arg) const
    {
        const auto list = args();
        return std::find(list.begin(), list.end(), arg) != list.end();
    }

private:
    test::TempDir dir_;
    std::string old_path_;
};

TEST(Dialogs, FilesThroughZenity)
{
    Zenity zenity;
    zyn_unload(); // no frame: works without the library loaded, and leaves the last error alone
    zyn_seterror(7, 3);
    zenity.answer({"/home/p/a.png", "/home/p/b\nb.jpg", "/home/p/\xC3\xA4|.png"}); // names with a line feed or '|' stay whole
    char filter[] = "Images|*.png;*.jpg|All|*.*";
    char buffer[256] = "untouched";
    zyn_OpenFileDialog(1, filter, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/home/p/a.png\r\n/home/p/b\nb.jpg\r\n/home/p/\xC3\xA4|.png");
    EXPECT_EQ(zyn_geterror(), 7);
    EXPECT_EQ(zyn_get_extendederror(), 3);
    ASSERT_FALSE(zenity.args().empty());
    EXPECT_EQ(zenity.args()[0], "--file-selection");
    EXPECT_TRUE(zenity.has("--multiple"));
    EXPECT_TRUE(zenity.has("--file-filter=Images | *.png *.jpg"));
    EXPECT_TRUE(zenity.has("--file-filter=All | *.*"));
    EXPECT_FALSE(zenity.has("--directory"));
    EXPECT_EQ(std::memcmp(filter, "Images|*.png;*.jpg|All|*.*", sizeof filter), 0); // read, never split in place

    zenity.answer({"/x/first", "/x/second"}); // only whole paths, nothing past the capacity
    std::memset(buffer, '#', 16);
    zyn_OpenFileDialog(1, nullptr, buffer, 12);
    EXPECT_STREQ(buffer, "/x/first");
    EXPECT_EQ(buffer[12], '#');
    zenity.answer({"/x/first\n/x/second"}); // one file: the whole answer is its path
    zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/x/first\n/x/second");
    EXPECT_EQ(zenity.args().size(), 1u);
}

TEST(Dialogs, FoldersThroughZenity)
{
    Zenity zenity;
    test::TempDir start;
    char buffer[256] = "untouched";
    zenity.answer({start.path()});
    zyn_OpenFolderDialog(0, start.path().c_str(), buffer, sizeof buffer);
    EXPECT_EQ(buffer, start.path());
    EXPECT_TRUE(zenity.has("--directory"));
    EXPECT_TRUE(zenity.has("--filename=" + start.path() + "/"));
    EXPECT_FALSE(zenity.has("--multiple"));

    // A start folder that does not exist is left out: the chooser opens where it likes.
    zenity.answer({"/one", "/two"});
    zyn_OpenFolderDialog(1, (start.path() + "/missing").c_str(), buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/one\r\n/two");
    EXPECT_TRUE(zenity.has("--multiple"));
    for (const auto& a : zenity.args())
        EXPECT_NE(a.rfind("--filename", 0), 0u) << a;

    // The kernel reaps the children of a game that ignores SIGCHLD: waiting for one fails.
    zenity.answer({"/x/chosen"});
    const auto previous = std::signal(SIGCHLD, SIG_IGN);
    zyn_OpenFolderDialog(1, nullptr, buffer, sizeof buffer);
    std::signal(SIGCHLD, previous);
    EXPECT_STREQ(buffer, "/x/chosen");
}

TEST(Dialogs, CancelNothingChosenOrNoChooserLeavesTheBuffer)
{
    Zenity zenity;
    char buffer[64] = "untouched";
    zenity.answer({"/should/not/appear"}, 1);
    zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
    zenity.answer({});
    zyn_OpenFolderDialog(0, nullptr, buffer, sizeof buffer);
    zenity.answer({"/a"});
    zyn_OpenFileDialog(0, nullptr, buffer, 0);
    EXPECT_STREQ(buffer, "untouched");
    setenv("PATH", "/nonexistent", 1);
    zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
    zyn_OpenFolderDialog(1, "/", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "untouched");
}

#else

// Finds the first enabled window of a class; a named function, as a callback is
// stdcall on 32-bit Windows, which a lambda cannot be.
struct Find {
    const char* window_class;
    HWND found = nullptr;
};
BOOL CALLBACK find_window(HWND window, LPARAM find)
{
    auto* f = reinterpret_cast<Find*>(find);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (_stricmp(name, f->window_class) != 0 || !IsWindowEnabled(window))
        return TRUE;
    f->found = window;
    return FALSE;
}

// Runs show() on a thread in a single-threaded apartment while a second thread waits
// up to half a minute for its dialog, then types the choice and presses OK, or
// cancels when the choice is empty. Whether the dialog was answered so.
bool answer_dialog(const std::function<void()>& show, const std::string& choice = "")
{
    std::atomic<bool> done{false}, answered{false};
    std::thread([&] {
        EXPECT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        std::thread answerer([&, shower = GetCurrentThreadId()] {
            Find dialog{"#32770"}, edit{"Edit"};
            for (int i = 0; i < 600 && !done && !dialog.found; ++i, Sleep(50))
                EnumThreadWindows(shower, find_window, reinterpret_cast<LPARAM>(&dialog));
            // The dialog's controls are still in the making until it is shown.
            for (int i = 0; i < 200 && !choice.empty() && dialog.found && !done &&
                            (!edit.found || !IsWindowVisible(dialog.found)); ++i, Sleep(50))
                EnumChildWindows(dialog.found, find_window, reinterpret_cast<LPARAM>(&edit));
            if (edit.found)
                SendMessageA(edit.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(choice.c_str()));
            if (dialog.found)
                PostMessageA(dialog.found, WM_COMMAND, edit.found ? IDOK : IDCANCEL, 0);
            answered = dialog.found && choice.empty() != (edit.found != nullptr);
        });
        show();
        done = true;
        answerer.join();
        CoUninitialize();
    }).join();
    return answered;
}

TEST(Dialogs, CancelledDialogLeavesTheBuffer)
{
    char buffer[64] = "untouched";
    char filter[] = "Text|*.txt|All|*.*";
    EXPECT_TRUE(answer_dialog([&] { zyn_OpenFileDialog(1, filter, buffer, sizeof buffer); }));
    EXPECT_TRUE(answer_dialog([&] { zyn_OpenFolderDialog(1, "C:\\windows", buffer, sizeof buffer); }));
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_STREQ(filter, "Text|*.txt|All|*.*"); // read, never split in place
}

TEST(Dialogs, ChosenFileLandsInTheBuffer)
{
    test::TempDir dir;
    const std::string path = dir.join("chosen file.txt");
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    char buffer[512] = "untouched";
    ASSERT_TRUE(answer_dialog([&] { zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer); }, path));
    EXPECT_EQ(buffer, path);
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

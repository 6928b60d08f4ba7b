// File and folder dialogs: on Linux through a stand-in zenity first on the PATH that records its
// arguments and answers; under Wine the shell's dialog is shown and answered from a second thread.
#include <zyn/zyn.h>

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#if defined(_WIN32)
#  include <objbase.h>
#  include <windows.h>
#  include <atomic>
#  include <functional>
#  include <thread>
#  include <utility>
#else
#  include <sys/stat.h>
#  include <csignal>
#  include <cstdlib>
#  include <fstream>
#  include <iterator>
#  include <tuple>
#endif

namespace {

#if !defined(_WIN32)

// A zenity that writes its arguments (each ended by a zero byte) to "args", prints the paths in
// "answer" joined by the separator it was given, and exits with "status".
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
    std::string args() const // the last run's arguments, each after a zero byte
    {
        std::ifstream in(dir_.join("args"));
        return '\0' + std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool has(const std::string& arg) const { return args().find('\0' + arg + '\0') != std::string::npos; }

private:
    test::TempDir dir_;
    std::string old_path_;
};

TEST(Dialogs, ChoosersThroughZenity)
{
    Zenity zenity;
    zyn_unload(); // no frame: works without the library loaded, and leaves the last error alone
    zyn_seterror(7, 3);
    zenity.answer({"/home/p/a.png", "/home/p/b\nb.jpg", "/home/p/\xC3\xA4|.png"}); // a line feed or '|' stays
    char filter[] = "Images|*.png;*.jpg|All|*.*";
    char buffer[256] = "untouched";
    zyn_OpenFileDialog(1, filter, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/home/p/a.png\r\n/home/p/b\nb.jpg\r\n/home/p/\xC3\xA4|.png");
    EXPECT_EQ(zyn_geterror() * 10 + zyn_get_extendederror(), 73);
    EXPECT_TRUE(zenity.has("--multiple") && !zenity.has("--directory"));
    EXPECT_TRUE(zenity.has("--file-filter=Images | *.png *.jpg") && zenity.has("--file-filter=All | *.*"));
    EXPECT_EQ(std::memcmp(filter, "Images|*.png;*.jpg|All|*.*", sizeof filter), 0); // read, never split in place

    zenity.answer({"/x/first", "/x/second"}); // only whole paths
    zyn_OpenFileDialog(1, nullptr, buffer, 12);
    EXPECT_STREQ(buffer, "/x/first");
    zenity.answer({"/x/first\n/x/second"}); // one file: the whole answer is its path
    zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/x/first\n/x/second");
    EXPECT_EQ(zenity.args(), std::string("\0--file-selection\0", 18));

    // A start folder that does not exist is left out.
    test::TempDir start;
    zenity.answer({start.path()});
    zyn_OpenFolderDialog(0, start.path().c_str(), buffer, sizeof buffer);
    EXPECT_EQ(buffer, start.path());
    EXPECT_TRUE(zenity.has("--directory") && !zenity.has("--multiple"));
    EXPECT_TRUE(zenity.has("--filename=" + start.path() + "/"));
    zenity.answer({"/one", "/two"});
    zyn_OpenFolderDialog(1, (start.path() + "/missing").c_str(), buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/one\r\n/two");
    EXPECT_TRUE(zenity.has("--multiple"));
    EXPECT_EQ(zenity.args().find(std::string("\0--filename", 11)), std::string::npos);

    // The kernel reaps the children of a game that ignores SIGCHLD: waiting for one fails.
    zenity.answer({"/x/chosen"});
    const auto previous = std::signal(SIGCHLD, SIG_IGN);
    zyn_OpenFolderDialog(1, nullptr, buffer, sizeof buffer);
    std::signal(SIGCHLD, previous);
    EXPECT_STREQ(buffer, "/x/chosen");

    // Cancel, nothing chosen, capacity 0 and no chooser at all leave the buffer.
    for (const auto& [paths, status, capacity] : {std::tuple<std::vector<std::string>, int, uint32_t>{{"/a"}, 1, 64},
                                                  {{}, 0, 64}, {{"/a"}, 0, 0}}) {
        zenity.answer(paths, status);
        zyn_OpenFileDialog(0, nullptr, buffer, capacity);
    }
    setenv("PATH", "/nonexistent", 1);
    zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer);
    zyn_OpenFolderDialog(1, "/", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/x/chosen");
}

#else

// Finds the first enabled window of a class (a named function: callbacks are stdcall on 32-bit Windows).
using Find = std::pair<const char*, HWND>;
BOOL CALLBACK find_window(HWND window, LPARAM find)
{
    auto& [window_class, found] = *reinterpret_cast<Find*>(find);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (_stricmp(name, window_class) == 0 && IsWindowEnabled(window))
        found = window;
    return found == nullptr;
}

// Runs show() while a second thread waits up to half a minute for its dialog, then types the choice and
// presses OK, or cancels; whether the dialog was answered so.
bool answer_dialog(const std::function<void()>& show, const std::string& choice = "")
{
    std::atomic<bool> done{false}, answered{false};
    std::thread answerer([&, shower = GetCurrentThreadId()] {
        Find dialog{"#32770", nullptr}, edit{"Edit", nullptr};
        for (int i = 0; i < 600 && !done && !dialog.second; ++i, Sleep(50))
            EnumThreadWindows(shower, find_window, reinterpret_cast<LPARAM>(&dialog));
        // The dialog's controls are still in the making until it is shown.
        for (int i = 0; i < 200 && !choice.empty() && dialog.second && !done &&
                        (!edit.second || !IsWindowVisible(dialog.second)); ++i, Sleep(50))
            EnumChildWindows(dialog.second, find_window, reinterpret_cast<LPARAM>(&edit));
        if (edit.second)
            SendMessageA(edit.second, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(choice.c_str()));
        if (dialog.second)
            PostMessageA(dialog.second, WM_COMMAND, edit.second ? IDOK : IDCANCEL, 0);
        answered = dialog.second && choice.empty() != (edit.second != nullptr);
    });
    show();
    done = true;
    answerer.join();
    return answered;
}

TEST(Dialogs, ShellDialogs)
{
    char buffer[512] = "untouched";
    char filter[] = "Text|*.txt|All|*.*";
    // The library does not initialise COM: on a thread without it nothing is shown.
    std::thread([&] {
        zyn_OpenFileDialog(0, filter, buffer, sizeof buffer);
        zyn_OpenFolderDialog(0, nullptr, buffer, sizeof buffer);
    }).join();
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    EXPECT_TRUE(answer_dialog([&] { zyn_OpenFileDialog(1, filter, buffer, sizeof buffer); })); // cancelled
    EXPECT_TRUE(answer_dialog([&] { zyn_OpenFolderDialog(1, "C:\\windows", buffer, sizeof buffer); }));
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_STREQ(filter, "Text|*.txt|All|*.*"); // read, never split in place

    test::TempDir dir;
    const std::string path = dir.join("chosen file.txt");
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(answer_dialog([&] { zyn_OpenFileDialog(0, nullptr, buffer, sizeof buffer); }, path));
    EXPECT_EQ(buffer, path);
    CoUninitialize();
}

#endif

} // namespace

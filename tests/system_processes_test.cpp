// Process and module lists, their buffer rules, and the administrator test.
#include <zyn/zyn.h>

#include "support/loaded_library.h"
#include "support/temp_dir.h"
#include "support/wide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#  include <shlobj.h>
#  include <windows.h>
#else
#  include <csignal>
#  include <sys/wait.h>
#  include <unistd.h>
#endif

namespace {

class Processes : public test::LoadedLibrary {};

uint32_t own_id()
{
#if defined(_WIN32)
    return GetCurrentProcessId();
#else
    return uint32_t(getpid());
#endif
}

// This program's full path and file name, as the system reports them.
std::string own_path()
{
#if defined(_WIN32)
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
#else
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, size_t(n)) : std::string();
#endif
}

std::string file_name(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

// A process that has surely ended: started, then waited for.
uint32_t ended_process_id()
{
#if defined(_WIN32)
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    char command[] = "cmd.exe /c exit 0";
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return 0;
    WaitForSingleObject(info.hProcess, INFINITE);
    const uint32_t id = info.dwProcessId;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return id;
#else
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return uint32_t(child);
#endif
}

TEST_F(Processes, ListHoldsThisProgram)
{
    std::vector<char> narrow(1 << 20, '#');
    ASSERT_EQ(zyn_get_listprocesses(narrow.data(), uint32_t(narrow.size())), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    const std::string text(narrow.data());
    const std::string own_line = file_name(own_path()) + ";*" + std::to_string(own_id()) + "\n";
    EXPECT_NE(text.find(own_line), std::string::npos) << own_line;
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    // Zero-filled behind the text, up to the length.
    for (size_t n = text.size(); n < narrow.size(); n += 4096)
        ASSERT_EQ(narrow[n], '\0');
    EXPECT_EQ(narrow.back(), '\0');

    // Every line is a name, ";*", a decimal id.
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        const size_t mark = line.rfind(";*");
        ASSERT_NE(mark, std::string::npos) << line;
        EXPECT_EQ(line.find_first_not_of("0123456789", mark + 2), std::string::npos) << line;
        start = end + 1;
    }

    // The wide export gives the same lines (process names here are ASCII).
    std::vector<zyn_wchar> wide(1 << 20, ZW('#'));
    ASSERT_EQ(zyn_wget_listprocesses(wide.data(), uint32_t(wide.size())), 1);
    const zyn_wstring wide_text(wide.data());
    EXPECT_NE(wide_text.find(test::widen_ascii(own_line)), zyn_wstring::npos);
}

// A program that waits, run from a copy under the given file name (UTF-8);
// stopped again at the end of the scope. Windows runs a suspended copy of
// this program.
class NamedProcess {
public:
    NamedProcess(const test::TempDir& dir, const std::string& name)
    {
#if defined(_WIN32)
        wchar_t exe[MAX_PATH] = {};
        MultiByteToWideChar(CP_UTF8, 0, (dir.path() + "\\" + name).c_str(), -1, exe, MAX_PATH);
        std::filesystem::copy_file(own_path(), exe);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (CreateProcessW(exe, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                           &startup, &info_))
            id = info_.dwProcessId;
#else
        const std::string exe = dir.join(name);
        std::filesystem::copy_file("/bin/sleep", exe);
        const pid_t child = fork();
        if (child == 0) {
            execl(exe.c_str(), exe.c_str(), "30", static_cast<char*>(nullptr));
            _exit(127);
        }
        id = uint32_t(std::max(child, pid_t(0)));
#endif
    }
    ~NamedProcess()
    {
#if defined(_WIN32)
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, INFINITE);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
#else
        kill(pid_t(id), SIGKILL);
        waitpid(pid_t(id), nullptr, 0);
#endif
    }
    uint32_t id = 0;

private:
#if defined(_WIN32)
    PROCESS_INFORMATION info_{};
#endif
};

TEST_F(Processes, NamesStayOnTheirOwnLine)
{
    // A control character or the '*' of ";*" in a name would add a line or an
    // id: it is listed as '?'. The narrow twin keeps the low byte of characters
    // beyond U+00FF except where that byte is zero or would pose as one of them.
    const struct {
        const char* file;
        const char* narrow;
        zyn_wstring wide;
    } cases[] = {
        {"\xE4\xB8\x80\xC5\x81ucja.exe", "?Aucja.exe", ZW("\u4E00\u0141ucja.exe")},
        {"ghost\xC4\xBB\xC4\xAA" "1\xC4\x8Aother.exe", "ghost??1?other.exe", ZW("ghost\u013B\u012A1\u010Aother.exe")},
#if !defined(_WIN32)
        {"game.exe;*1\nother.exe", "game.exe;?1?other.exe", ZW("game.exe;?1?other.exe")},
#endif
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        NamedProcess process(dir, c.file);
        ASSERT_NE(process.id, 0u) << c.narrow;
        const std::string line = std::string(c.narrow) + ";*" + std::to_string(process.id) + "\n";
        std::vector<char> narrow(1 << 20);
        // A child shows its new name once it has run execl.
        bool listed = false;
        for (int attempt = 0; attempt < 500 && !listed; ++attempt) {
            ASSERT_EQ(zyn_get_listprocesses(narrow.data(), uint32_t(narrow.size())), 1);
            listed = std::string(narrow.data()).find(line) != std::string::npos;
            if (!listed)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(listed) << line;
        std::vector<zyn_wchar> wide(1 << 20);
        ASSERT_EQ(zyn_wget_listprocesses(wide.data(), uint32_t(wide.size())), 1);
        EXPECT_NE(zyn_wstring(wide.data()).find(c.wide + test::widen_ascii(line.substr(line.find(";*")))),
                  zyn_wstring::npos);
#if !defined(_WIN32)
        ASSERT_EQ(zyn_get_processinfo(process.id, narrow.data(), uint32_t(narrow.size())), 1);
        const std::string first = "modulename:" + std::string(c.narrow) + "\nexecutable:" + dir.join(c.narrow) + "\n";
        EXPECT_EQ(std::string(narrow.data()).compare(0, first.size(), first), 0) << narrow.data();
#endif
    }
}

TEST_F(Processes, ListIsCutToTheLength)
{
    char small[16];
    std::fill(std::begin(small), std::end(small), '#');
    ASSERT_EQ(zyn_get_listprocesses(small, 10), 1);
    for (int n = 0; n < 10; ++n)
        EXPECT_NE(small[n], '\0') << n; // exactly ten characters, no terminator
    EXPECT_EQ(small[10], '#');

    zyn_wchar wide[16];
    std::fill(std::begin(wide), std::end(wide), ZW('#'));
    ASSERT_EQ(zyn_wget_listprocesses(wide, 10), 1);
    EXPECT_NE(wide[9], 0);
    EXPECT_EQ(wide[10], ZW('#'));

    // Length 0 stores nothing; a missing buffer with a length is refused.
    EXPECT_EQ(zyn_get_listprocesses(small, 0), 1);
    EXPECT_EQ(small[10], '#');
    EXPECT_EQ(zyn_wget_listprocesses(nullptr, 0), 1);
    EXPECT_EQ(zyn_wget_listprocesses(nullptr, 100), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_get_listprocesses(nullptr, 100), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TEST_F(Processes, ModulesStartWithTheExecutable)
{
    const std::string path = own_path();
    const std::string first = "modulename:" + file_name(path) + "\nexecutable:" + path + "\n";
    std::vector<char> narrow(1 << 18, '#');
    for (uint32_t id : {0u, own_id()}) {
        ASSERT_EQ(zyn_get_processinfo(id, narrow.data(), uint32_t(narrow.size())), 1);
        const std::string text(narrow.data());
        EXPECT_EQ(text.compare(0, first.size(), first), 0) << text.substr(0, 300);
        // The library itself is one of the modules, listed once.
#if defined(_WIN32)
        const std::string library = "modulename:zyn.dll\n";
#else
        const std::string library = "modulename:libzyn.so";
#endif
        const size_t at = text.find(library);
        EXPECT_NE(at, std::string::npos);
        EXPECT_EQ(text.find(library, at + 1), std::string::npos);
    }

    std::vector<zyn_wchar> wide(1 << 18, ZW('#'));
    ASSERT_EQ(zyn_wget_processinfo(0, wide.data(), uint32_t(wide.size())), 1);
    EXPECT_EQ(zyn_wstring(wide.data()).compare(0, first.size(), test::widen_ascii(first)), 0);

    // Cut to the length like the process list.
    char small[12];
    std::fill(std::begin(small), std::end(small), '#');
    ASSERT_EQ(zyn_get_processinfo(0, small, 11), 1);
    EXPECT_EQ(std::string(small, 11), first.substr(0, 11));
    EXPECT_EQ(small[11], '#');
}

TEST_F(Processes, EndedProcessIsAnError)
{
    const uint32_t id = ended_process_id();
    ASSERT_NE(id, 0u);
    char narrow[64] = "untouched";
    EXPECT_EQ(zyn_get_processinfo(id, narrow, sizeof narrow), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), 0);
    EXPECT_STREQ(narrow, "untouched");
}

TEST_F(Processes, AdministratorTest)
{
    const int admin = zyn_is_admin();
    EXPECT_EQ(zyn_geterror(), 0);
#if defined(_WIN32)
    EXPECT_EQ(admin, IsUserAnAdmin() ? 1 : 0);
#else
    EXPECT_EQ(admin, geteuid() == 0 ? 1 : 0);
#endif
}

TEST_F(Processes, NeedTheLibraryLoaded)
{
    zyn_unload();
    char narrow[16] = "untouched";
    zyn_wchar wide[16] = {ZW('#'), 0};
    EXPECT_EQ(zyn_get_listprocesses(narrow, sizeof narrow), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_wget_listprocesses(wide, 16), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_get_processinfo(0, narrow, sizeof narrow), 0);
    EXPECT_EQ(zyn_wget_processinfo(0, wide, 16), 0);
    EXPECT_EQ(zyn_is_admin(), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_STREQ(narrow, "untouched");
    EXPECT_EQ(wide[0], ZW('#'));
}

} // namespace

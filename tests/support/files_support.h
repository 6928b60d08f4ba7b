// Helpers for the file and inventory tests: real files, wide paths, links, and a save made to fail part-way.
#pragma once

#include "support/library.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

// A call's result and the last error it left.
#define EXPECT_RESULT(call, result, error) \
    do { EXPECT_EQ(call, result) << #call; EXPECT_EQ(zyn_geterror(), error) << #call; } while (0)

namespace test {

inline const std::string kEol = fs::path::preferred_separator == '/' ? "\n" : "\r\n"; // the platform's text line end

inline std::string lines(std::initializer_list<std::string> items, const std::string& eol = kEol)
{
    std::string out;
    for (const std::string& item : items)
        out.append(item).append(eol);
    return out;
}

inline std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

inline void put_file(const std::string& at, const std::string& text) { std::ofstream(at, std::ios::binary) << text; }

inline zyn_wstring wide_path(const std::string& path)
{
#if defined(_WIN32)
    return fs::path(path).wstring();
#else
    return fs::u8path(path).u16string();
#endif
}

// False where links may not be made (on Windows only developer mode allows them, or a system only pretends to).
inline bool make_symlink(const std::string& target, const std::string& link, bool directory)
{
#if defined(_WIN32)
    const std::wstring at = fs::path(link).wstring();
    const DWORD flags = (directory ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2 /* allow unprivileged create */;
    const DWORD attributes = CreateSymbolicLinkW(at.c_str(), fs::path(target).wstring().c_str(), flags)
                                 ? GetFileAttributesW(at.c_str()) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
#else
    std::error_code ec;
    directory ? fs::create_directory_symlink(target, link, ec) : fs::create_symlink(target, link, ec);
    return !ec;
#endif
}

inline std::vector<zyn_wstring> sorted(const wstring_list& list)
{
    std::vector<zyn_wstring> items(list.items, list.items + list.count);
    std::sort(items.begin(), items.end());
    return items;
}

inline long entry_count(const std::string& dir) { return long(std::distance(fs::directory_iterator(dir), {})); }

// While it lives a save replacing the file fails: held open without shared deletion, or limited to `bytes` in size.
struct SaveBlocker {
#if defined(_WIN32)
    SaveBlocker(const std::string& path, unsigned long)
        : held(CreateFileW(fs::path(path).wstring().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr)) {}
    ~SaveBlocker() { CloseHandle(held); }
    HANDLE held;
#else
    SaveBlocker(const std::string&, unsigned long bytes) : limit(set_limit(bytes)) { std::signal(SIGXFSZ, SIG_IGN); }
    ~SaveBlocker() { set_limit(limit); }
    static rlim_t set_limit(rlim_t bytes) // gives back the limit it replaces
    {
        rlimit lim{};
        getrlimit(RLIMIT_FSIZE, &lim);
        std::swap(lim.rlim_cur, bytes);
        setrlimit(RLIMIT_FSIZE, &lim);
        return bytes;
    }
    rlim_t limit;
#endif
};

} // namespace test

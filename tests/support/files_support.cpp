#include "support/files_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace fs = std::filesystem;

namespace test {

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

void put_file(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

zyn_wstring wide_path(const std::string& path)
{
#if defined(_WIN32)
    return fs::path(path).wstring();
#else
    const std::u16string units = fs::u8path(path).u16string();
    return zyn_wstring(units.begin(), units.end());
#endif
}

bool make_symlink(const std::string& target, const std::string& link, bool directory)
{
#if defined(_WIN32)
    // Without the privilege only developer mode lets a process make one; some systems only pretend to.
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

bool entry_exists(const std::string& path)
{
#if defined(_WIN32)
    return GetFileAttributesW(fs::path(path).wstring().c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
#endif
}

std::vector<zyn_wstring> sorted(const wstring_list& list)
{
    std::vector<zyn_wstring> items(list.items, list.items + list.count);
    std::sort(items.begin(), items.end());
    return items;
}

std::size_t entry_count(const std::string& dir) { return std::size_t(std::distance(fs::directory_iterator(dir), {})); }

SaveBlocker::SaveBlocker(const std::string& path, unsigned long bytes)
{
#if defined(_WIN32)
    held = CreateFileW(fs::path(path).wstring().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
#else
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    limit = lim.rlim_cur;
    lim.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lim);
#endif
    (void)path, (void)bytes;
}

SaveBlocker::~SaveBlocker()
{
#if defined(_WIN32)
    CloseHandle(held);
#else
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lim);
#endif
}

} // namespace test

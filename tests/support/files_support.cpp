#include "support/files_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace test {

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

zyn_wstring wide_path(const std::string& path)
{
#if defined(_WIN32)
    return std::filesystem::path(path).wstring();
#else
    const std::u16string units = std::filesystem::u8path(path).u16string();
    return zyn_wstring(units.begin(), units.end());
#endif
}

bool make_symlink(const std::string& target, const std::string& link, bool directory)
{
#if defined(_WIN32)
    // Without the privilege, only developer mode lets an ordinary process make one.
    const DWORD flags = (directory ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2 /* allow unprivileged create */;
    const std::wstring at = std::filesystem::path(link).wstring();
    return CreateSymbolicLinkW(at.c_str(), std::filesystem::path(target).wstring().c_str(), flags) != 0 &&
           (GetFileAttributesW(at.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           GetFileAttributesW(at.c_str()) != INVALID_FILE_ATTRIBUTES; // some systems only pretend
#else
    std::error_code ec;
    if (directory)
        std::filesystem::create_directory_symlink(target, link, ec);
    else
        std::filesystem::create_symlink(target, link, ec);
    return !ec;
#endif
}

bool entry_exists(const std::string& path)
{
#if defined(_WIN32)
    return GetFileAttributesW(std::filesystem::path(path).wstring().c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
#endif
}

std::vector<zyn_wstring> sorted(const wstring_list& list)
{
    std::vector<zyn_wstring> items(list.items, list.items + list.count);
    std::sort(items.begin(), items.end());
    return items;
}

SaveBlocker::SaveBlocker(const std::string& path, unsigned long bytes)
{
#if defined(_WIN32)
    (void)bytes;
    held_ = CreateFileW(std::filesystem::path(path).wstring().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
#else
    (void)path;
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
#endif
}

SaveBlocker::~SaveBlocker()
{
#if defined(_WIN32)
    CloseHandle(held_);
#else
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limit_;
    setrlimit(RLIMIT_FSIZE, &limit);
#endif
}

std::size_t entry_count(const std::string& dir)
{
    return std::size_t(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()));
}

CurrentDirectory::CurrentDirectory(const std::string& path) : previous_(std::filesystem::current_path())
{
    std::filesystem::current_path(path);
}

CurrentDirectory::~CurrentDirectory()
{
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
}

} // namespace test

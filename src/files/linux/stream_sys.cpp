// File streams on POSIX: names are bytes, and text mode is the same as binary.
#include "files/stream_sys.h"

#include "files/fs_sys.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace zyn::files::sys {

namespace {

// The open flags of a stdio mode: "r", "w" or "a", with or without "b".
int open_flags(const char* mode)
{
    switch (mode[0]) {
    case 'w': return O_WRONLY | O_CREAT | O_TRUNC;
    case 'a': return O_WRONLY | O_CREAT | O_APPEND;
    default: return O_RDONLY;
    }
}

} // namespace

std::FILE* open_narrow(const char* path, const char* mode)
{
    sys::Path native;
    if (!sys::native_path_from_code_page(path, native))
        return nullptr;
    // Opened without blocking, so a pipe at the path fails or answers at once
    // instead of waiting for a peer; the transfer itself blocks as usual.
    const int fd = ::open(native.c_str(), open_flags(mode) | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        return nullptr;
    // A directory is never a file. What is read must be a regular file: a
    // pipe or a device (/dev/zero) has no length and might never end.
    struct stat st;
    const int status = ::fcntl(fd, F_GETFL);
    const bool reading = open_flags(mode) == O_RDONLY;
    std::FILE* file = nullptr;
    if (::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) && (!reading || S_ISREG(st.st_mode)) && status != -1 &&
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == 0)
        file = ::fdopen(fd, mode);
    if (!file)
        ::close(fd);
    return file;
}

std::FILE* open_log(const std::string& name)
{
    if (name.find('\0') != std::string::npos)
        return nullptr;
    return open_narrow(name.c_str(), "w");
}

std::FILE* open_log(const zyn_wstring& name)
{
    sys::Path native;
    if (!sys::native_path(name, native))
        return nullptr;
    return open_narrow(native.c_str(), "w");
}

int seek(std::FILE* file, int64_t offset, int origin) { return fseeko(file, off_t(offset), origin); }

int64_t tell(std::FILE* file) { return int64_t(ftello(file)); }

} // namespace zyn::files::sys

// File streams on POSIX: names are bytes, and text mode is the same as binary.
#include "files/stream_services.h"

#include "files/fs_services.h"

#include <sys/stat.h>
#include <sys/types.h>

namespace zyn::files::stream {

std::FILE* open_narrow(const char* path, const char* mode)
{
    sys::Path native;
    sys::native_path_from_code_page(path, native);
    std::FILE* file = std::fopen(native.c_str(), mode);
    // A directory opens for reading here; on every platform it is not a file.
    struct stat st;
    if (file && (fstat(fileno(file), &st) != 0 || S_ISDIR(st.st_mode))) {
        std::fclose(file);
        return nullptr;
    }
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
    return std::fopen(native.c_str(), "w");
}

int seek(std::FILE* file, int64_t offset, int origin) { return fseeko(file, off_t(offset), origin); }

int64_t tell(std::FILE* file) { return int64_t(ftello(file)); }

} // namespace zyn::files::stream

// File streams of the Windows runtime: narrow names in the ANSI code page,
// wide names as they are, text mode writing each line end as CR LF.
#include "files/stream_sys.h"

#include <windows.h>

#include <io.h>
#include <share.h>
#include <stdio.h>

namespace zyn::files::sys {

std::FILE* open_narrow(const char* path, const char* mode)
{
    std::FILE* file = std::fopen(path, mode);
    // What is read must be a file on a disk: a device (CON, a pipe) could wait
    // for input or never end.
    if (file && mode[0] == 'r' && GetFileType(HANDLE(_get_osfhandle(_fileno(file)))) != FILE_TYPE_DISK) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

std::FILE* open_log(const std::string& name)
{
    // Each byte becomes the wide character of the same value.
    zyn_wstring wide(name.size(), L'\0');
    for (std::size_t i = 0; i < name.size(); ++i)
        wide[i] = wchar_t(static_cast<unsigned char>(name[i]));
    return open_log(wide);
}

std::FILE* open_log(const zyn_wstring& name)
{
    if (name.find(L'\0') != zyn_wstring::npos)
        return nullptr;
    return _wfsopen(name.c_str(), L"wt", _SH_DENYNO);
}

int seek(std::FILE* file, int64_t offset, int origin) { return _fseeki64(file, offset, origin); }

int64_t tell(std::FILE* file) { return _ftelli64(file); }

} // namespace zyn::files::sys

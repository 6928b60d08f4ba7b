// The runtime's file streams behind whole-file transfers and the log.
#pragma once

#include <zyn/zyn.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace zyn::files::sys {

// Opens a narrow path with a stdio mode ("rb", "wb", "ab"). The name goes to
// the platform byte for byte (the ANSI code page on Windows); where the slash
// is the only separator, a backslash is read as one too. Reading opens only a
// regular file (never a pipe, a device or a directory). Null on failure.
std::FILE* open_narrow(const char* path, const char* mode);

// Opens a log file for writing in text mode, emptying it, shared so that other
// processes may read and write it meanwhile. The narrow form takes the name's
// bytes as they are where paths are bytes, and widens each byte where they are
// wide. Null on failure.
std::FILE* open_log(const std::string& name);
std::FILE* open_log(const zyn_wstring& name);

// 64-bit stream positions: fseek and ftell where long may be 32 bits.
int seek(std::FILE* file, int64_t offset, int origin);
int64_t tell(std::FILE* file);

// The stream's length in bytes, found at its end; the stream is left at its start.
// False when the position cannot be read.
bool length(std::FILE* file, uint64_t& bytes);

} // namespace zyn::files::sys

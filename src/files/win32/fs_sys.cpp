// File-system services on Windows: CreateDirectoryW, GetFileAttributesExW,
// FindFirstFileExW, CopyFileW, MoveFileExW, and CreateFileW with
// SetFileInformationByHandle for removal. Wide paths go to the system as given.
#include "files/fs_sys.h"

#include "base/owned.h"

#include <windows.h>

#include <climits>
#include <locale.h>

#include <memory>

namespace zyn::files::sys {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct HandleTraits {
    using Value = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void release(HANDLE h) { CloseHandle(h); }
};
using Handle = base::Owned<HandleTraits>;

struct FindTraits {
    using Value = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void release(HANDLE h) { FindClose(h); }
};

bool attributes_of(const Path& path, DWORD& attributes)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    attributes = data.dwFileAttributes;
    return true;
}

// The type of what a reparse point leads to, found by opening through it.
Kind kind_through_link(const Path& path)
{
    Handle file(CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info))
        return Kind::missing;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::directory : Kind::file;
}

// A reparse point that names another place: a symbolic link or a junction.
// Others (cloud placeholders of synced folders, deduplicated files) are the
// files and directories they appear to be, and a removal walks into them.
bool names_another_place(DWORD attributes, DWORD tag)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(tag);
}

Kind kind_of_attributes(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::directory : Kind::file; }

Removal removal_error(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return Removal::missing;
    case ERROR_DIR_NOT_EMPTY: return Removal::not_empty;
    default: return Removal::refused;
    }
}

bool mark_for_deletion(HANDLE h)
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool set_attributes(HANDLE h, DWORD attributes)
{
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return SetFileInformationByHandle(h, FileBasicInfo, &basic, sizeof basic) != 0;
}

} // namespace

bool native_path(const zyn_wstring& path, Path& out)
{
    if (path.find(L'\0') != zyn_wstring::npos)
        return false;
    out = path;
    return true;
}

bool native_path_from_code_page(const char* name, Path& out)
{
    // The code page the runtime's file functions use: UTF-8 when the runtime
    // locale is UTF-8, else the ANSI code page, or OEM when switched to it.
    const UINT code_page = ___lc_codepage_func() == CP_UTF8 ? CP_UTF8 : (AreFileApisANSI() ? CP_ACP : CP_OEMCP);
    const std::size_t bytes = strlen(name);
    out.clear();
    if (bytes == 0)
        return true;
    if (bytes > std::size_t(INT_MAX))
        return false; // beyond what the conversion takes in one call
    const int length = int(bytes);
    const int units = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, name, length, nullptr, 0);
    if (units <= 0)
        return false;
    out.resize(std::size_t(units));
    return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, name, length, out.data(), units) == units;
}

bool reads_back(PathView name) { return name.empty() || (name.back() != L'.' && name.back() != L' '); }

void append_wide(zyn_wstring& out, PathView name) { out.append(name.data(), name.size()); }

std::size_t root_length(PathView path)
{
    std::size_t n = 0;
    auto sep = [&](std::size_t i) { return i < path.size() && is_separator(path[i]); };
    if (path.size() >= 4 && sep(0) && sep(1) && (path[2] == L'?' || path[2] == L'.') && sep(3)) {
        n = 4; // \\?\ and \\.\ prefixes: a drive may follow
    } else if (sep(0) && sep(1)) {
        // \\server\share: the server and share names belong to the root
        n = 2;
        for (int part = 0; part < 2; ++part) {
            while (n < path.size() && !sep(n))
                ++n;
            while (sep(n))
                ++n;
        }
        return n;
    }
    if (n + 1 < path.size() && path[n + 1] == L':' &&
        ((path[n] >= L'A' && path[n] <= L'Z') || (path[n] >= L'a' && path[n] <= L'z')))
        n += 2;
    while (sep(n))
        ++n;
    return n;
}

Kind kind_of(const Path& path)
{
    DWORD attributes;
    if (!attributes_of(path, attributes))
        return Kind::missing;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return kind_through_link(path);
    return kind_of_attributes(attributes);
}

bool is_link(const Path& path)
{
    DWORD attributes;
    if (!attributes_of(path, attributes) || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    // The tag tells a link from a placeholder; when it cannot be read, the
    // entry counts as a link, so a removal never walks where it may not lead.
    Handle entry(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    FILE_ATTRIBUTE_TAG_INFO info;
    if (!entry.valid() || !GetFileInformationByHandleEx(entry.get(), FileAttributeTagInfo, &info, sizeof info))
        return true;
    return names_another_place(info.FileAttributes, info.ReparseTag);
}

bool make_directory(const Path& path) { return CreateDirectoryW(path.c_str(), nullptr) != 0; }

Removal remove_entry(const Path& path)
{
    // Opened without following a reparse point, so a link goes and its target stays.
    // The attributes are asked for too, to clear a read-only one; where they
    // may not be changed, the right to delete alone still serves.
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    Handle entry(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll, nullptr,
                             OPEN_EXISTING, flags, nullptr));
    if (!entry.valid() && GetLastError() == ERROR_ACCESS_DENIED)
        entry.reset(CreateFileW(path.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!entry.valid())
        return removal_error(GetLastError());
    if (mark_for_deletion(entry.get()))
        return Removal::done;
    DWORD error = GetLastError();
    FILE_BASIC_INFO basic;
    if (error != ERROR_ACCESS_DENIED ||
        !GetFileInformationByHandleEx(entry.get(), FileBasicInfo, &basic, sizeof basic) ||
        !(basic.FileAttributes & FILE_ATTRIBUTE_READONLY))
        return removal_error(error);
    // Read-only: clear the attribute and try once more; put it back when that fails too.
    if (!set_attributes(entry.get(), basic.FileAttributes & ~DWORD(FILE_ATTRIBUTE_READONLY)))
        return Removal::refused;
    if (mark_for_deletion(entry.get()))
        return Removal::done;
    error = GetLastError();
    set_attributes(entry.get(), basic.FileAttributes);
    return removal_error(error);
}

bool enumerate(const Path& dir, bool follow_links, EntryCallback callback, void* context)
{
    Path pattern = dir;
    if (!pattern.empty() && !is_separator(pattern.back()) && pattern.back() != L':')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data;
    const base::Owned<FindTraits> find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                                        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find.valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND; // no entries at all
    Path child;
    do {
        const wchar_t* name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)))
            continue;
        Kind kind = kind_of_attributes(data.dwFileAttributes);
        if (follow_links && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            child = pattern.substr(0, pattern.size() - 1);
            child += name;
            kind = kind_through_link(child);
        } else if (!follow_links && names_another_place(data.dwFileAttributes, data.dwReserved0)) {
            kind = Kind::other; // the entry's reparse tag comes with it in dwReserved0
        }
        callback(context, PathView(name), kind);
    } while (FindNextFileW(find.get(), &data));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

PathView directory_part(PathView path)
{
    const std::size_t at = path.find_last_of(L"\\/:");
    return at == PathView::npos ? PathView() : path.substr(0, at + 1);
}

namespace {

// Where a save to the path writes: a link is followed to the file it names.
// A dangling link is left for the save to replace, as writing through it would.
Path followed(const Path& path)
{
    if (!is_link(path))
        return path;
    Handle file(CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    wchar_t buffer[32768];
    const DWORD n = file.valid() ? GetFinalPathNameByHandleW(file.get(), buffer, 32768, VOLUME_NAME_DOS) : 0;
    return n > 0 && n < 32768 ? Path(buffer, n) : path;
}

bool same_file(HANDLE a, const Path& b)
{
    Handle other(CreateFileW(b.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION x, y;
    return other.valid() && GetFileInformationByHandle(a, &x) && GetFileInformationByHandle(other.get(), &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
           x.nFileIndexLow == y.nFileIndexLow;
}

// The attributes a replaced file keeps; read-only makes the replacement fail,
// as writing the file itself would.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

} // namespace

Replacement::Replacement(const Path& target, unsigned /*new_file_mode*/) : target_(followed(target))
{
    DWORD attributes = 0;
    const bool exists = attributes_of(target_, attributes);
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    attributes_ = exists ? attributes & kKeptAttributes : 0;
    for (int attempt = 0; attempt < 16 && handle_ == kNoHandle; ++attempt) {
        temp_ = temporary_beside(target_);
        const HANDLE h = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            handle_ = reinterpret_cast<std::intptr_t>(h);
        else if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (handle_ == kNoHandle)
        temp_.clear();
}

Replacement::~Replacement()
{
    if (handle_ != kNoHandle)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    if (!committed_ && !temp_.empty())
        DeleteFileW(temp_.c_str());
}

bool Replacement::write(const void* data, std::size_t size)
{
    const char* at = static_cast<const char*>(data);
    while (!failed_ && size > 0) {
        DWORD written = 0;
        const DWORD chunk = size > (1u << 30) ? DWORD(1u << 30) : DWORD(size);
        failed_ = !opened() || !WriteFile(reinterpret_cast<HANDLE>(handle_), at, chunk, &written, nullptr) || written != chunk;
        at += written;
        size -= written;
    }
    return !failed_ && opened();
}

bool Replacement::commit()
{
    if (!opened())
        return false;
    const HANDLE h = reinterpret_cast<HANDLE>(handle_);
    handle_ = kNoHandle;
    bool ok = !failed_ && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (!ok || (attributes_ != 0 && !SetFileAttributesW(temp_.c_str(), DWORD(attributes_))) ||
        !MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    committed_ = true;
    return true;
}

bool copy_file(const Path& from, const Path& to, bool overwrite)
{
    // Without overwrite, or onto a new name, there is nothing to lose: the
    // system's copy does it. An existing file is replaced in one step.
    if (!overwrite || kind_of(to) == Kind::missing)
        return CopyFileW(from.c_str(), to.c_str(), overwrite ? FALSE : TRUE) != 0;
    Handle in(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.valid() || same_file(in.get(), to))
        return false;
    Replacement out(to);
    constexpr DWORD kChunk = 1 << 18;
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (DWORD got = 0;;) {
        if (!out.opened() || !ReadFile(in.get(), buffer.get(), kChunk, &got, nullptr))
            return false;
        if (got == 0)
            return out.commit();
        if (!out.write(buffer.get(), got))
            return false;
    }
}

bool move_entry(const Path& from, const Path& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

} // namespace zyn::files::sys

// The file-system services behind directory and file management, as thin
// wrappers over the platform: the Windows file services on Windows, POSIX
// calls elsewhere. The walks and the rules of each export are written once on
// top of these (directories.cpp, file_management.cpp).
#pragma once

#include <zyn/zyn.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace zyn::files::sys {

#if defined(_WIN32)
using PathChar = wchar_t; // the wide file services take UTF-16 as it is
#else
using PathChar = char; // POSIX takes bytes; wide paths are converted to UTF-8
#endif
using Path = std::basic_string<PathChar>;
using PathView = std::basic_string_view<PathChar>;

// The separator the platform writes between a directory and an entry.
constexpr PathChar kSeparator = PathChar(
#if defined(_WIN32)
    '\\'
#else
    '/'
#endif
);

inline bool is_separator(zyn_wchar c) { return c == '/' || c == '\\'; }

// The platform's form of a caller's wide path. False when the text cannot
// name a file faithfully: an embedded zero, or (where paths are UTF-8) an
// unpaired surrogate, which would otherwise reach a different name.
bool native_path(const zyn_wstring& path, Path& out);

// The platform's form of a narrow file name given as bytes in the process's
// code page. False when the bytes are not valid in it.
bool native_path_from_code_page(const char* name, Path& out);

// False for an entry name that, joined to its directory, the path rules would
// read as another entry: a backslash where it is no separator (POSIX), or a
// trailing dot or space, which Windows drops from a path (Windows).
bool reads_back(PathView name);

// Appends an entry name, as the platform returned it, to a wide text.
void append_wide(zyn_wstring& out, PathView name);

// Length of the root of a path: the drive and the leading separators that
// come before its first component.
std::size_t root_length(PathView path);

enum class Kind { missing, directory, file, other };

// The type of what is at the path, with symbolic links followed: a link to a
// directory is a directory, a dangling link is missing.
Kind kind_of(const Path& path);

// True when the entry at the path is itself a symbolic link (or a junction),
// whatever it points to. Other reparse points, such as the placeholders of
// synced folders, are not links.
bool is_link(const Path& path);

// Creates one directory; true only when this call created it.
bool make_directory(const Path& path);

enum class Removal { done, missing, not_empty, refused };

// Removes a file, a symbolic link itself (never its target) or an empty
// directory. A read-only file is removed too where the platform would refuse it.
Removal remove_entry(const Path& path);

// Calls visit(name, kind) for each entry other than "." and "..", in the order
// the system returns them. With links followed, kind is the type of what the
// entry leads to (missing when that cannot be found); without, a link is
// Kind::other and only a real directory is Kind::directory. False on a failure
// while reading the directory (entries visited before stay visited).
template <class Visit>
bool for_each_entry(const Path& dir, bool follow_links, Visit&& visit);

// The non-template core of for_each_entry: a plain callback and its context.
using EntryCallback = void (*)(void* context, PathView name, Kind kind);
bool enumerate(const Path& dir, bool follow_links, EntryCallback callback, void* context);

template <class Visit>
bool for_each_entry(const Path& dir, bool follow_links, Visit&& visit)
{
    return enumerate(
        dir, follow_links,
        [](void* context, PathView name, Kind kind) { (*static_cast<std::remove_reference_t<Visit>*>(context))(name, kind); },
        &visit);
}

// Copies a whole regular file. Without overwrite an existing destination makes
// it fail. Copying a file onto itself fails and leaves it as it was.
bool copy_file(const Path& from, const Path& to, bool overwrite);

// Moves a file or directory, replacing an existing file at the new name and
// copying across volumes where a plain rename cannot.
bool move_entry(const Path& from, const Path& to);

// A file's new content, written to a new file beside it and put in its place
// in one step, so that until commit() succeeds the file stays exactly as it
// was, and a failure at any point removes what was written. A link is followed
// to the file it names (the link stays a link), and a file that exists keeps
// its permission bits (its attributes on Windows). A target that exists but is
// no regular file (a device) has no content to keep and is written in place.
class Replacement {
public:
    // new_file_mode: the permission bits of a file that did not exist, before
    // the process's umask (POSIX only).
    explicit Replacement(const Path& target, unsigned new_file_mode = 0666);
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // False when no new file could be made (a missing directory, no access,
    // a directory at the target's name).
    bool opened() const { return handle_ != kNoHandle; }
    // Appends bytes; false once any byte could not be written.
    bool write(const void* data, std::size_t size);
    // Flushes the new file to disk and puts it in the target's place. False
    // when anything failed on the way; the target is then as it was.
    bool commit();

private:
    static constexpr std::intptr_t kNoHandle = -1;
    Path target_;
    Path temp_; // empty when the target is written in place
    std::intptr_t handle_ = kNoHandle;
    unsigned long attributes_ = 0;
    bool failed_ = false;
    bool committed_ = false;
};

// The path up to and with its last separator (the directory that holds the
// named entry); empty for a bare name.
PathView directory_part(PathView path);

// A name for a new file in the same directory as the target, unlikely to be
// taken; each call gives another, so a taken one is simply tried again.
Path temporary_beside(PathView target);

} // namespace zyn::files::sys

// File-system services on POSIX. Wide paths arrive as UTF-16 and go to the
// system as UTF-8; a backslash is read as a separator, so paths written for
// Windows work unchanged.
#include "files/fs_sys.h"

#include "base/owned.h"
#include "base/utf16.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace zyn::files::sys {

namespace {

struct FdTraits {
    using Value = int;
    static int empty() { return -1; }
    static void release(int fd) { ::close(fd); }
};
using Fd = base::Owned<FdTraits>;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool same_file(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool write_all(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

bool put(int fd, const char* data, std::size_t size) { return write_all(fd, data, size); }
bool put(Replacement& out, const char* data, std::size_t size) { return out.write(data, size); }

template <class Out>
bool copy_content(int in, Out& out)
{
    constexpr std::size_t kChunk = 1 << 18;
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (;;) {
        const ssize_t n = ::read(in, buffer.get(), kChunk);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!put(out, buffer.get(), std::size_t(n)))
            return false;
    }
}

Kind kind_of_mode(mode_t mode)
{
    if (S_ISDIR(mode))
        return Kind::directory;
    if (S_ISREG(mode))
        return Kind::file;
    return Kind::other;
}

// Reads each backslash as a separator, so that paths written for Windows work.
// A path that uses slashes too is refused when a backslash bounds a "." or
// ".." step: that is a name with backslashes of its own joined to a directory
// (a listed entry, a chosen file, a name from a server), and reading them as
// separators would lead somewhere else than the entry it names.
bool to_native_separators(Path& path)
{
    if (path.find('/') != Path::npos) {
        std::size_t start = 0;
        for (std::size_t end = 0; end <= path.size(); ++end) {
            if (end < path.size() && path[end] != '/' && path[end] != '\\')
                continue;
            const PathView step = PathView(path).substr(start, end - start);
            const bool by_backslash = (start > 0 && path[start - 1] == '\\') || (end < path.size() && path[end] == '\\');
            if (by_backslash && (step == "." || step == ".."))
                return false;
            start = end + 1;
        }
    }
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return true;
}

} // namespace

bool native_path(const zyn_wstring& path, Path& out)
{
    for (std::size_t i = 0; i < path.size(); ++i) {
        const zyn_wchar c = path[i];
        if (c == 0)
            return false;
        if (base::is_high_surrogate(c) && i + 1 < path.size() && base::is_low_surrogate(path[i + 1]))
            ++i;
        else if (base::is_high_surrogate(c) || base::is_low_surrogate(c))
            return false;
    }
    out = base::to_utf8(path);
    return to_native_separators(out);
}

bool native_path_from_code_page(const char* name, Path& out)
{
    // Names are bytes here, taken as they are; only the separator is read.
    out = name;
    return to_native_separators(out);
}

bool reads_back(PathView name) { return name.find('\\') == PathView::npos; }

void append_wide(zyn_wstring& out, PathView name)
{
    // Most names are ASCII: widen those directly and convert only the rest.
    for (char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            out += base::from_utf8(std::string_view(name.data(), name.size()));
            return;
        }
    }
    out.append(name.begin(), name.end());
}

std::size_t root_length(PathView path)
{
    std::size_t n = 0;
    while (n < path.size() && path[n] == '/')
        ++n;
    return n;
}

Kind kind_of(const Path& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return Kind::missing;
    return kind_of_mode(st.st_mode);
}

bool is_link(const Path& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool make_directory(const Path& path) { return ::mkdir(path.c_str(), 0777) == 0; }

Removal remove_entry(const Path& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? Removal::missing : Removal::refused;
    if (S_ISDIR(st.st_mode)) {
        if (::rmdir(path.c_str()) == 0)
            return Removal::done;
        if (errno == ENOTEMPTY || errno == EEXIST)
            return Removal::not_empty;
    } else if (::unlink(path.c_str()) == 0) {
        return Removal::done;
    }
    return errno == ENOENT ? Removal::missing : Removal::refused;
}

bool enumerate(const Path& dir, bool follow_links, EntryCallback callback, void* context)
{
    // Without following links the directory itself must not be a link either,
    // so a removal walk never leaves the tree it was given.
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (follow_links ? 0 : O_NOFOLLOW);
    const int fd = ::open(dir.c_str(), flags);
    if (fd < 0)
        return false;
    std::unique_ptr<DIR, DirCloser> stream(::fdopendir(fd));
    if (!stream) {
        ::close(fd);
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(stream.get());
        if (!entry)
            return errno == 0;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        Kind kind = Kind::other;
        switch (entry->d_type) {
        case DT_DIR: kind = Kind::directory; break;
        case DT_REG: kind = Kind::file; break;
        case DT_LNK:
        case DT_UNKNOWN: {
            struct stat st;
            const int at_flags = follow_links ? 0 : AT_SYMLINK_NOFOLLOW;
            if (::fstatat(::dirfd(stream.get()), name, &st, at_flags) != 0)
                kind = Kind::missing;
            else if (S_ISLNK(st.st_mode))
                kind = Kind::other;
            else
                kind = kind_of_mode(st.st_mode);
            break;
        }
        default: break;
        }
        callback(context, PathView(name), kind);
    }
}

PathView directory_part(PathView path)
{
    const std::size_t slash = path.rfind('/');
    return slash == PathView::npos ? PathView() : path.substr(0, slash + 1);
}

namespace {

// Where a save to the path writes: each link on the way is followed to the
// path it names, relative links from the link's own directory.
Path followed(const Path& path)
{
    Path at = path;
    for (int hop = 0; hop < 40; ++hop) { // the system's own limit on a chain of links
        char target[4096];
        const ssize_t n = ::readlink(at.c_str(), target, sizeof target);
        if (n <= 0 || std::size_t(n) >= sizeof target)
            break;
        Path next(target, std::size_t(n));
        if (next[0] != '/')
            next.insert(0, directory_part(at));
        at = std::move(next);
    }
    return at;
}

// Opens a path for writing in place without blocking on a pipe, then makes
// the descriptor blocking for the transfer.
int open_in_place(const Path& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK);
    const int status = fd < 0 ? -1 : ::fcntl(fd, F_GETFL);
    if (status == -1 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

Replacement::Replacement(const Path& target, unsigned new_file_mode) : target_(followed(target))
{
    struct stat st;
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return;
    if (exists && !S_ISREG(st.st_mode)) {
        handle_ = open_in_place(target_);
        return;
    }
    for (int attempt = 0; attempt < 16 && handle_ == kNoHandle; ++attempt) {
        temp_ = temporary_beside(target_);
        const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : new_file_mode);
        if (fd >= 0)
            handle_ = fd;
        else if (errno != EEXIST)
            break;
    }
    if (handle_ == kNoHandle) {
        temp_.clear();
        return;
    }
    if (exists) {
        // The file keeps its bits, and its owner where this process may give
        // it (only a privileged one may give a file away).
        const bool owner_kept = ::fchown(int(handle_), st.st_uid, st.st_gid) == 0;
        (void)owner_kept;
        failed_ = ::fchmod(int(handle_), st.st_mode & 07777) != 0;
    }
}

Replacement::~Replacement()
{
    if (handle_ != kNoHandle)
        ::close(int(handle_));
    if (!committed_ && !temp_.empty())
        ::unlink(temp_.c_str());
}

bool Replacement::write(const void* data, std::size_t size)
{
    failed_ = failed_ || !opened() || !write_all(int(handle_), static_cast<const char*>(data), size);
    return !failed_;
}

bool Replacement::commit()
{
    if (!opened())
        return false;
    const int fd = int(handle_);
    handle_ = kNoHandle;
    bool ok = !failed_ && (temp_.empty() || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    if (!ok || temp_.empty())
        return ok;
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return false;
    committed_ = true;
    // The new name is made durable too; the data already is.
    const Path dir(directory_part(target_).empty() ? Path(".") : Path(directory_part(target_)));
    Fd d(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (d.valid())
        ::fsync(d.get());
    return true;
}

bool copy_file(const Path& from, const Path& to, bool overwrite)
{
    // Non-blocking opens: a FIFO at either name fails at once instead of
    // waiting for a peer; regular files are not affected.
    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat source;
    if (!in.valid() || ::fstat(in.get(), &source) != 0 || !S_ISREG(source.st_mode))
        return false;

    // A new destination is created and filled; an existing one is replaced in
    // one step, so a failure part-way leaves it as it was.
    Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NONBLOCK, source.st_mode & 0777));
    if (out.valid()) {
        const int fd = out.release();
        const bool copied = copy_content(in.get(), fd);
        if (::close(fd) == 0 && copied)
            return true;
        ::unlink(to.c_str()); // leave no half-written new file behind
        return false;
    }
    struct stat target;
    if (errno != EEXIST || !overwrite || ::stat(to.c_str(), &target) != 0 || same_file(source, target) ||
        !S_ISREG(target.st_mode))
        return false;
    Replacement replacement(to);
    return replacement.opened() && copy_content(in.get(), replacement) && replacement.commit();
}

bool move_entry(const Path& from, const Path& to)
{
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    if (errno != EXDEV)
        return false;
    // Another volume: a file is copied and its source removed; a directory is not moved.
    struct stat st;
    if (::lstat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return copy_file(from, to, true) && ::unlink(from.c_str()) == 0;
}

} // namespace zyn::files::sys

// Directories: create with every missing parent, remove with everything
// inside, test, and list the subdirectories or the files of one directory.
#include "core/frame.h"
#include "files/fs_sys.h"
#include "base/wstring_list.h"

#include <vector>

using namespace zyn;
namespace sys = zyn::files::sys;

namespace {

// Removes a directory with its content, depth first. Entries are collected
// before any is removed, so no directory stays open while the walk descends.
// Links inside are removed themselves: the walk never leaves the tree.
sys::Removal remove_tree(const sys::Path& dir)
{
    sys::Removal outcome = sys::remove_entry(dir);
    if (outcome != sys::Removal::not_empty)
        return outcome;

    struct Child {
        sys::Path path;
        bool is_directory;
    };
    std::vector<Child> children;
    sys::Path prefix = dir;
    if (!sys::is_separator(zyn_wchar(prefix.back())))
        prefix += sys::kSeparator;
    const bool listed = sys::for_each_entry(dir, false, [&](sys::PathView name, sys::Kind kind) {
        children.push_back({prefix + sys::Path(name), kind == sys::Kind::directory});
    });
    if (!listed)
        return sys::Removal::refused;
    for (const Child& child : children) {
        const sys::Removal removed = child.is_directory ? remove_tree(child.path) : sys::remove_entry(child.path);
        if (removed == sys::Removal::refused || removed == sys::Removal::not_empty)
            return sys::Removal::refused;
    }
    return sys::remove_entry(dir);
}

bool ends_in_dot_step(const sys::Path& path)
{
    std::size_t start = path.size();
    while (start > 0 && !sys::is_separator(zyn_wchar(path[start - 1])))
        --start;
    const sys::PathView last = sys::PathView(path).substr(start);
    return last.size() <= 2 && last.find_first_not_of(sys::PathChar('.')) == sys::PathView::npos && !last.empty();
}

bool is_directory(const zyn_wstring& path, sys::Path& native)
{
    return sys::native_path(path, native) && sys::kind_of(native) == sys::Kind::directory;
}

// Both listings: the caller's path, one separator unless it ends with one, the name.
int list_entries(const zyn_wstring& path, wstring_list& list, sys::Kind wanted)
{
    return frame::full(0, [&] {
        sys::Path native;
        if (!is_directory(path, native))
            return frame::fail(ZYN_ERR_NOT_FOUND, 0);
        base::list_clear(list);
        zyn_wstring entry = path;
        if (entry.empty() || !sys::is_separator(entry.back()))
            entry += zyn_wchar(sys::kSeparator);
        const std::size_t prefix_length = entry.size();
        const bool read = sys::for_each_entry(native, true, [&](sys::PathView name, sys::Kind kind) {
            // A listed path must name the entry it was listed for.
            if (kind != wanted || !sys::reads_back(name))
                return;
            entry.resize(prefix_length);
            sys::append_wide(entry, name);
            base::list_append(list, entry);
        });
        return read ? 1 : frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    });
}

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_directory_create(const zyn_wstring& path)
{
    return frame::full(0, [&] {
        sys::Path native;
        if (!sys::native_path(path, native))
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
        // Each component in turn, from the first after the root; one that
        // exists or cannot be made does not stop the walk.
        bool created_last = false;
        std::size_t at = sys::root_length(native);
        while (at < native.size()) {
            while (at < native.size() && sys::is_separator(zyn_wchar(native[at])))
                ++at;
            if (at == native.size())
                break;
            while (at < native.size() && !sys::is_separator(zyn_wchar(native[at])))
                ++at;
            created_last = sys::make_directory(native.substr(0, at));
        }
        return created_last ? 1 : frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_directory_delete(const zyn_wstring& path)
{
    return frame::full(0, [&] {
        sys::Path native;
        if (!is_directory(path, native))
            return frame::fail(ZYN_ERR_NOT_A_DIRECTORY, 0);
        // A link to a directory goes by itself; what it points to stays. Trailing
        // separators would make the system see through the link, so they go first.
        while (native.size() > sys::root_length(native) && sys::is_separator(zyn_wchar(native.back())))
            native.pop_back();
        // "dir/.." and "dir/." name another directory than the path seems to:
        // refused before anything is removed.
        if (ends_in_dot_step(native))
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        const sys::Removal outcome = sys::is_link(native) ? sys::remove_entry(native) : remove_tree(native);
        return outcome == sys::Removal::done ? 1 : frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_directory_exists(const zyn_wstring& path)
{
    return frame::full(0, [&] {
        sys::Path native;
        return is_directory(path, native) ? 1 : frame::fail(ZYN_ERR_NOT_A_DIRECTORY, 0);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_list_directories(const zyn_wstring& path, wstring_list& list)
{
    return list_entries(path, list, sys::Kind::directory);
}

ZYN_EXPORT int ZYN_CALL zyn_list_files(const zyn_wstring& path, wstring_list& list)
{
    return list_entries(path, list, sys::Kind::file);
}

// Files by path: copy, delete, rename and test.
#include "core/frame.h"
#include "files/fs_sys.h"

using namespace zyn;
namespace sys = zyn::files::sys;

ZYN_EXPORT int ZYN_CALL zyn_file_copy(const zyn_wstring& source, const zyn_wstring& destination, zyn_bool overwrite)
{
    return frame::full(0, [&] {
        sys::Path from, to;
        if (sys::native_path(source, from) && sys::native_path(destination, to) && sys::copy_file(from, to, overwrite != 0))
            return 1;
        return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_file_delete(const zyn_wstring& path)
{
    return frame::full(0, [&] {
        sys::Path native;
        if (!sys::native_path(path, native))
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
        if (sys::kind_of(native) == sys::Kind::directory)
            return frame::fail(ZYN_ERR_IS_A_DIRECTORY, 0);
        return sys::remove_entry(native) == sys::Removal::done ? 1 : frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_file_rename(const char* old_name, const char* new_name)
{
    return frame::full(0, [&] {
        sys::Path from, to;
        if (old_name && new_name && sys::native_path_from_code_page(old_name, from) &&
            sys::native_path_from_code_page(new_name, to) && sys::move_entry(from, to))
            return 1;
        return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_file_exists(const zyn_wstring& path)
{
    return frame::full(0, [&] {
        sys::Path native;
        const sys::Kind kind = sys::native_path(path, native) ? sys::kind_of(native) : sys::Kind::missing;
        if (kind == sys::Kind::directory)
            return frame::fail(ZYN_ERR_IS_A_DIRECTORY, 0);
        return kind == sys::Kind::missing ? frame::fail(ZYN_ERR_NOT_FOUND, 0) : 1;
    });
}

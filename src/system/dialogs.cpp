// The dialog exports. No frame: they work whether or not the library is
// loaded, and their only outcome is the content of the caller's buffer.
#include "system/dialog_sys.h"
#include "system/dialogs.h"

using namespace zyn;

ZYN_EXPORT void ZYN_CALL zyn_OpenFileDialog(int multiple, const char* filter, char* buffer, uint32_t capacity)
{
    system::sys::DialogRequest request;
    request.multiple = multiple != 0;
    request.filter = filter;
    if (const auto paths = system::sys::show_open_dialog(request))
        system::store_paths(*paths, buffer, capacity);
}

ZYN_EXPORT void ZYN_CALL zyn_OpenFolderDialog(int multiple, const char* initial_folder, char* buffer,
                                              uint32_t capacity)
{
    system::sys::DialogRequest request;
    request.folders = true;
    request.multiple = multiple != 0;
    request.initial_folder = initial_folder;
    if (const auto paths = system::sys::show_open_dialog(request))
        system::store_paths(*paths, buffer, capacity);
}

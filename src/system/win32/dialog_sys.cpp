// The shell's common open dialog, for files or folders. COM must already be
// initialised on the calling thread; the library does not do it for the caller.
#include "system/dialog_sys.h"
#include "system/dialogs.h"

#include "base/utf16.h"

#include <windows.h>
#include <shobjidl.h>

namespace zyn::system::sys {

namespace {

// The chosen items' file-system paths; an item without one is skipped. Nothing
// when the items or their count cannot be had, or no item was chosen.
std::optional<std::vector<std::string>> chosen_paths(IFileOpenDialog* dialog)
{
    std::optional<std::vector<std::string>> paths;
    IShellItemArray* items = nullptr;
    DWORD count = 0;
    if (FAILED(dialog->GetResults(&items)))
        return paths;
    if (SUCCEEDED(items->GetCount(&count)) && count != 0) {
        paths.emplace();
        for (DWORD n = 0; n < count; ++n) {
            IShellItem* item = nullptr;
            if (FAILED(items->GetItemAt(n, &item)))
                continue;
            PWSTR path = nullptr;
            if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path != nullptr) {
                paths->push_back(base::to_utf8(path));
                CoTaskMemFree(path);
            }
            item->Release();
        }
    }
    items->Release();
    return paths;
}

void open_in(IFileOpenDialog* dialog, const char* folder)
{
    const zyn_wstring wide = base::from_utf8(folder);
    IShellItem* item = nullptr;
    if (SUCCEEDED(SHCreateItemFromParsingName(wide.c_str(), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(&item)))) {
        dialog->SetFolder(item);
        item->Release();
    } // a path that names nothing leaves the dialog's own default
}

} // namespace

std::optional<std::vector<std::string>> show_open_dialog(const DialogRequest& request)
{
    std::optional<std::vector<std::string>> paths;
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(&dialog))))
        return paths;

    FILEOPENDIALOGOPTIONS options = 0;
    if (SUCCEEDED(dialog->GetOptions(&options))) {
        if (request.folders)
            options |= FOS_PICKFOLDERS;
        if (request.multiple)
            options |= FOS_ALLOWMULTISELECT;
        if (request.folders || request.multiple)
            dialog->SetOptions(options);
    }

    std::vector<FileType> types; // kept until the dialog is gone
    if (request.folders) {
        if (request.initial_folder != nullptr)
            open_in(dialog, request.initial_folder);
    } else {
        types = parse_file_types(request.filter);
        std::vector<COMDLG_FILTERSPEC> filters;
        for (const FileType& type : types)
            filters.push_back({type.name.c_str(), type.pattern.c_str()});
        if (!filters.empty())
            dialog->SetFileTypes(UINT(filters.size()), filters.data());
    }

    if (SUCCEEDED(dialog->Show(nullptr)))
        paths = chosen_paths(dialog);
    dialog->Release();
    return paths;
}

} // namespace zyn::system::sys

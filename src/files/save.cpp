// Saving a whole file by a narrow path, through a replacement beside it.
#include "files/save.h"

#include "files/fs_sys.h"

namespace zyn::files {

SaveOutcome save_narrow(const char* path, std::string_view bytes)
{
    sys::Path native;
    if (!path || !*path || !sys::native_path_from_code_page(path, native))
        return SaveOutcome::not_opened;
    sys::Replacement out(native);
    if (!out.opened())
        return SaveOutcome::not_opened;
    return out.write(bytes.data(), bytes.size()) && out.commit() ? SaveOutcome::written : SaveOutcome::failed;
}

} // namespace zyn::files

// Machine properties: the frame, the class-name bound and the two output forms.
#include "system/machine_sys.h"

#include "core/frame.h"
#include "system/text_buffers.h"

#include <algorithm>

using namespace zyn;

namespace {

// The one frame both exports run in: gather the text or record why not.
int gather(const zyn_wstring& class_name, const zyn_wstring& property, int kind, zyn_wstring& gathered)
{
    return frame::full(0, [&] {
        // A longer name does not fit the query text; cutting it would ask for another class.
        if (class_name.size() > system::sys::kMaxClassName)
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, system::sys::kInvalidClass);
        const int32_t status = system::sys::query_machine_property(class_name, property, kind, gathered);
        if (status != 0)
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, status);
        return 1;
    });
}

constexpr size_t kNarrowUnits = 256; // the narrow twin's wide buffer, its zero included

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_wgetmachineproperty(const zyn_wchar* class_name, const zyn_wchar* property, int kind,
                                                zyn_wchar* out)
{
    zyn_wstring gathered;
    const int result = gather(system::wide_text(class_name), system::wide_text(property), kind, gathered);
    // Nothing gathered leaves the caller's buffer as it was.
    if (result != 0 && !gathered.empty() && out != nullptr)
        std::copy(gathered.c_str(), gathered.c_str() + gathered.size() + 1, out);
    return result;
}

ZYN_EXPORT int ZYN_CALL zyn_getmachineproperty(const char* class_name, const char* property, int kind, char* out)
{
    zyn_wstring gathered;
    const int result = gather(system::widen_bytes(class_name), system::widen_bytes(property), kind, gathered);
    if (result != 0 && out != nullptr) {
        // The text is cut to what the 256-unit buffer holds before its zero.
        const std::string narrow =
            system::narrow_low_bytes(gathered.data(), std::min(gathered.size(), kNarrowUnits - 1));
        std::copy(narrow.c_str(), narrow.c_str() + narrow.size() + 1, out);
    }
    return result;
}

// Registry reads: the root-key codes, the frame and the stores into callers' memory.
#include "system/registry_sys.h"

#include "core/frame.h"

#include <algorithm>
#include <optional>

using namespace zyn;

namespace {

// A code is the predefined key's hexadecimal digits read as a decimal number;
// the key's own value is not one of them.
std::optional<system::sys::RootKey> root_of(uint32_t code)
{
    switch (code) {
    case ZYN_HKEY_CLASSES_ROOT: return system::sys::RootKey::classes_root;
    case ZYN_HKEY_CURRENT_USER: return system::sys::RootKey::current_user;
    case ZYN_HKEY_LOCAL_MACHINE: return system::sys::RootKey::local_machine;
    case ZYN_HKEY_USERS: return system::sys::RootKey::users;
    case ZYN_HKEY_PERFORMANCE_DATA: return system::sys::RootKey::performance_data;
    case ZYN_HKEY_CURRENT_CONFIG: return system::sys::RootKey::current_config;
    case ZYN_HKEY_PERFORMANCE_TEXT: return system::sys::RootKey::performance_text;
    case ZYN_HKEY_PERFORMANCE_NLSTEXT: return system::sys::RootKey::performance_nlstext;
    default: return std::nullopt;
    }
}

// The frame and the checks both reads share; read() returns the registry's status.
template <class Read>
int registry_read(uint32_t code, const void* out, Read&& read)
{
    return frame::full(0, [&] {
        const auto root = root_of(code);
        if (!root)
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
        if (out == nullptr)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        const int32_t status = read(*root);
        return status != 0 ? frame::fail(ZYN_ERR_CALL_FAILED, 0, status) : 1;
    });
}

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_reg_getdword(uint32_t root, const char* subkey, const char* value_name, uint32_t* out)
{
    return registry_read(root, out, [&](system::sys::RootKey key) {
        uint32_t value = 0;
        const int32_t status = system::sys::registry_get_dword(key, subkey, value_name, value);
        if (status == 0)
            *out = value;
        return status;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_reg_getstring(uint32_t root, const char* subkey, const char* value_name, char* out)
{
    return registry_read(root, out, [&](system::sys::RootKey key) {
        std::string bytes;
        const int32_t status = system::sys::registry_get_string(key, subkey, value_name, bytes);
        if (status == 0)
            std::copy(bytes.begin(), bytes.end(), out);
        return status;
    });
}

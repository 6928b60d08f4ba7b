// Registry reads with RegGetValueA, filtered to the one type asked for.
#include "system/registry_sys.h"

#include <windows.h>

namespace zyn::system::sys {

namespace {

HKEY key_of(RootKey root)
{
    switch (root) {
    case RootKey::classes_root: return HKEY_CLASSES_ROOT;
    case RootKey::current_user: return HKEY_CURRENT_USER;
    case RootKey::local_machine: return HKEY_LOCAL_MACHINE;
    case RootKey::users: return HKEY_USERS;
    case RootKey::performance_data: return HKEY_PERFORMANCE_DATA;
    case RootKey::current_config: return HKEY_CURRENT_CONFIG;
    case RootKey::performance_text: return HKEY_PERFORMANCE_TEXT;
    case RootKey::performance_nlstext: return HKEY_PERFORMANCE_NLSTEXT;
    }
    return nullptr;
}

} // namespace

int32_t registry_get_dword(RootKey root, const char* subkey, const char* value_name, uint32_t& value)
{
    DWORD data = 0;
    DWORD size = sizeof data;
    const LSTATUS status = RegGetValueA(key_of(root), subkey, value_name, RRF_RT_REG_DWORD, nullptr, &data, &size);
    if (status == ERROR_SUCCESS)
        value = data;
    return status;
}

int32_t registry_get_string(RootKey root, const char* subkey, const char* value_name, std::string& bytes)
{
    DWORD size = 0;
    LSTATUS status = RegGetValueA(key_of(root), subkey, value_name, RRF_RT_REG_SZ, nullptr, nullptr, &size);
    if (status != ERROR_SUCCESS)
        return status;
    std::string area(size, '\0');
    status = RegGetValueA(key_of(root), subkey, value_name, RRF_RT_REG_SZ, nullptr, area.empty() ? nullptr : &area[0],
                          &size);
    if (status != ERROR_SUCCESS)
        return status; // ERROR_MORE_DATA when the value grew between the two calls
    area.resize(size);
    bytes = std::move(area);
    return 0;
}

} // namespace zyn::system::sys

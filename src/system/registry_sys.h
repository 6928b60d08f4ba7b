// The platform's registry reads, by root key.
#pragma once

#include <cstdint>
#include <string>

namespace zyn::system::sys {

// The predefined root keys, in the order of their codes.
enum class RootKey {
    classes_root,
    current_user,
    local_machine,
    users,
    performance_data,
    current_config,
    performance_text,
    performance_nlstext
};

// Each returns the registry's status: 0, or a system error code such as 2
// (not found) or 1630 (a value of another type).
int32_t registry_get_dword(RootKey root, const char* subkey, const char* value_name, uint32_t& value);
// bytes receives the value with its terminating zero.
int32_t registry_get_string(RootKey root, const char* subkey, const char* value_name, std::string& bytes);

} // namespace zyn::system::sys

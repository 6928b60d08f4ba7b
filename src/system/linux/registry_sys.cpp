// There is no registry on Linux: every key and value is missing.
#include "system/registry_sys.h"

namespace zyn::system::sys {

namespace {
constexpr int32_t kNotFound = 2; // the system's "file not found"
} // namespace

int32_t registry_get_dword(RootKey, const char*, const char*, uint32_t&) { return kNotFound; }

int32_t registry_get_string(RootKey, const char*, const char*, std::string&) { return kNotFound; }

} // namespace zyn::system::sys

// UTF-8 -> UTF-16 -> UTF-8 through the system-text seam: never crashes, and a
// second trip is stable (the first one already replaced what was malformed).
#include "base/utf16.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const zyn_wstring wide = zyn::base::from_utf8(std::string_view(reinterpret_cast<const char*>(data), size));
    if (zyn::base::from_utf8(zyn::base::to_utf8(wide)) != wide) std::abort();
    return 0;
}

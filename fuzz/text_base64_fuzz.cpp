// Base64 decoding of arbitrary text, narrow and wide (units from byte pairs): refusals are empty with an
// error, wide results hold units up to 255, and whatever is encoded decodes back to itself.
#include <zyn/zyn.h>

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    [[maybe_unused]] static const int loaded = zyn_init("fuzz");
    const std::string bytes(reinterpret_cast<const char*>(data), size), decoded = zyn_string_base64_decode(bytes);
    bool bad = decoded.empty() != (zyn_geterror() != 0) && size > 0;
    zyn_wstring units;
    for (size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<zyn_wchar>(data[i] | data[i + 1] << 8));
    const zyn_wstring wide = zyn_wstring_base64_decode(units);
    for (zyn_wchar c : wide) bad = bad || static_cast<unsigned>(c) > 255;
    if (bad || (!decoded.empty() && zyn_string_base64_decode(zyn_string_base64_encode(decoded)) != decoded) ||
        (!wide.empty() && zyn_wstring_base64_decode(zyn_wstring_base64_encode(wide)) != wide) ||
        (size > 0 && zyn_string_base64_decode(zyn_string_base64_encode(bytes)) != bytes))
        std::abort();
    return 0;
}

// Base64 decoding of arbitrary text, narrow and wide: never crashes or reads
// past the input, refuses with an empty result, and whatever is encoded
// decodes back to itself.
#include <zyn/zyn.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int loaded = zyn_init("fuzz");
    (void)loaded;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const std::string decoded = zyn_string_base64_decode(bytes);
    if (decoded.empty() != (zyn_geterror() != 0) && !bytes.empty())
        std::abort();
    if (!decoded.empty() && zyn_string_base64_decode(zyn_string_base64_encode(decoded)) != decoded)
        std::abort();

    zyn_wstring units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<zyn_wchar>(data[i] | data[i + 1] << 8));
    const zyn_wstring wide = zyn_wstring_base64_decode(units);
    for (zyn_wchar c : wide)
        if (static_cast<unsigned>(c) > 255)
            std::abort();
    if (!wide.empty() && zyn_wstring_base64_decode(zyn_wstring_base64_encode(wide)) != wide)
        std::abort();

    if (!bytes.empty() && zyn_string_base64_decode(zyn_string_base64_encode(bytes)) != bytes)
        std::abort();
    return 0;
}

// Percent-encoding through the HTTP layer: decoding any text never fails or
// grows it, encoding gives only unreserved characters and "%XX", and decoding
// an encoding gives the original bytes back.
#include <zyn/zyn.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool unreserved_or_escape(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
                        || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain)
            continue;
        const auto upper_hex = [](char h) { return (h >= '0' && h <= '9') || (h >= 'A' && h <= 'F'); };
        if (c != '%' || i + 2 >= text.size() || !upper_hex(text[i + 1]) || !upper_hex(text[i + 2]))
            return false;
        i += 2;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = zyn_init("fuzz") && zyn_http_init();
    if (!ready)
        std::abort();
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string decoded = "old";
    if (zyn_http_url_decode(text, decoded) != 1 || decoded.size() > text.size())
        std::abort();

    std::string encoded;
    if (zyn_http_url_encode(text, encoded) != 1 || !unreserved_or_escape(encoded))
        std::abort();
    std::string back;
    if (zyn_http_url_decode(encoded, back) != 1 || back != text)
        std::abort();
    return 0;
}

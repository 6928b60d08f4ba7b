// HTML entity decoding of arbitrary text into destinations of every size, and
// in place: nothing is written past size bytes (the destination is allocated
// exactly that large) and the result always ends with a zero inside it.
#include <zyn/zyn.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int loaded = zyn_init("fuzz");
    (void)loaded;
    if (size == 0)
        return 0;
    const size_t capacity = 1 + data[0] % 64;
    const std::string source(reinterpret_cast<const char*>(data + 1), size - 1);

    // Bounded destination.
    std::vector<char> bounded(capacity);
    if (!zyn_decode_entite(source.c_str(), static_cast<uint32_t>(capacity), bounded.data()))
        std::abort();
    if (!std::memchr(bounded.data(), '\0', capacity))
        std::abort();

    // Room for everything: the output is never longer than the input.
    std::vector<char> roomy(source.size() + 1);
    if (!zyn_decode_entite(source.c_str(), static_cast<uint32_t>(roomy.size()), roomy.data()))
        std::abort();
    if (std::strlen(roomy.data()) > std::strlen(source.c_str()))
        std::abort();

    // In place, reading no further than the buffer, which need not hold a zero.
    std::vector<char> in_place(source.begin(), source.end());
    if (!in_place.empty()) {
        if (!zyn_decode_entite(nullptr, static_cast<uint32_t>(in_place.size()), in_place.data()))
            std::abort();
        if (!std::memchr(in_place.data(), '\0', in_place.size()))
            std::abort();
    }
    return 0;
}

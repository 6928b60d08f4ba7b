// HTML entity decoding of arbitrary text into destinations of every size and in place: nothing is written
// past size bytes (allocated exactly), the result ends with a zero inside them and is never longer than the source.
#include <zyn/zyn.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Decodes source (or the destination in place, when null) into exactly destination.size() bytes.
std::vector<char> decode(const std::string* source, std::vector<char> destination)
{
    if (!zyn_decode_entite(source ? source->c_str() : nullptr, uint32_t(destination.size()), destination.data()) ||
        !std::memchr(destination.data(), '\0', destination.size()))
        std::abort();
    return destination;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    [[maybe_unused]] static const int loaded = zyn_init("fuzz");
    if (size == 0) return 0;
    const std::string source(reinterpret_cast<const char*>(data + 1), size - 1); // after the size byte
    decode(&source, std::vector<char>(1 + data[0] % 64));
    if (std::strlen(decode(&source, std::vector<char>(size)).data()) > std::strlen(source.c_str())) std::abort();
    if (size > 1) decode(nullptr, std::vector<char>(source.begin(), source.end()));
    return 0;
}

// Fuzzes the dialogs' filter parsing and the joining of chosen paths into a
// buffer of a given capacity: no read or write outside the caller's memory.
#include "system/dialogs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> filter(data, data + size);
    filter.push_back('\0');
    const size_t before = std::strlen(filter.data());
    const auto types = zyn::sys::parse_file_types(filter.data());
    if (types.size() > before / 2 + 1)
        std::abort();

    // The same bytes as paths separated by '|', stored with the first byte as the capacity.
    std::vector<std::string> paths;
    std::string current;
    for (size_t n = 1; n < size; ++n) {
        if (data[n] == '|') {
            paths.push_back(current);
            current.clear();
        } else {
            current += char(data[n]);
        }
    }
    paths.push_back(current);
    const uint32_t capacity = size == 0 ? 0 : data[0];
    std::vector<char> buffer(capacity + 1, '#');
    zyn::sys::store_paths(paths, buffer.data(), capacity);
    if (buffer[capacity] != '#')
        std::abort(); // written past the capacity
    if (capacity > 0 && std::memchr(buffer.data(), '\0', capacity) == nullptr)
        std::abort(); // not terminated within the capacity
    return 0;
}

// Fuzzes the dialogs' filter parsing, the reading of a chooser's answer and the
// joining of chosen paths into a buffer of a given capacity: no read or write
// outside the caller's memory, no path split or made up.
#include "system/dialogs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> filter(data, data + size);
    filter.push_back('\0');
    const size_t before = std::strlen(filter.data());
    const auto types = zyn::system::parse_file_types(filter.data());
    if (types.size() > before / 2 + 1)
        std::abort();

    // The same bytes as a chooser's answer: one path whole, or paths between separators.
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const auto one = zyn::system::split_chooser_answer(answer, "");
    if (one.size() > 1 || (one.size() == 1 && one[0] != answer && one[0] + "\n" != answer))
        std::abort();
    size_t total = 0;
    for (const std::string& path : zyn::system::split_chooser_answer(answer, "|#")) {
        if (path.empty() || path.find("|#") != std::string::npos)
            std::abort();
        total += path.size();
    }
    if (total > size)
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
    zyn::system::store_paths(paths, buffer.data(), capacity);
    if (buffer[capacity] != '#')
        std::abort(); // written past the capacity
    if (capacity > 0 && std::memchr(buffer.data(), '\0', capacity) == nullptr)
        std::abort(); // not terminated within the capacity
    return 0;
}

// Fuzzes the dialogs' filter parsing, chooser answers and path joining within a capacity: no access
// outside the caller's memory, no path split or made up.
#include "system/dialogs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#define CHECK(ok) ((ok) ? void() : std::abort())

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CHECK(zyn::system::parse_file_types(text.c_str()).size() <= std::strlen(text.c_str()) / 2 + 1);

    // The same bytes as a chooser's answer.
    const auto one = zyn::system::split_chooser_answer(text, "");
    CHECK(one.size() <= 1 && (one.empty() || one[0] == text || one[0] + "\n" == text));
    size_t total = 0;
    for (const std::string& path : zyn::system::split_chooser_answer(text, "|#")) {
        CHECK(!path.empty() && path.find("|#") == std::string::npos);
        total += path.size();
    }
    CHECK(total <= size);

    // The same bytes as paths separated by '|', stored with the first byte as the capacity.
    std::vector<std::string> paths(1);
    for (size_t n = 1; n < size; ++n)
        data[n] == '|' ? void(paths.emplace_back()) : paths.back().push_back(char(data[n]));
    const uint32_t capacity = size == 0 ? 0 : data[0];
    std::vector<char> buffer(capacity + 1, '#');
    zyn::system::store_paths(paths, buffer.data(), capacity);
    CHECK(buffer[capacity] == '#'); // nothing past the capacity
    CHECK(capacity == 0 || std::memchr(buffer.data(), '\0', capacity) != nullptr); // terminated within it
    return 0;
}

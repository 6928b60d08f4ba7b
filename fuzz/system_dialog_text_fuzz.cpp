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

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> filter(data, data + size);
    filter.push_back('\0');
    check(zyn::system::parse_file_types(filter.data()).size() <= std::strlen(filter.data()) / 2 + 1);

    // The same bytes as a chooser's answer: one path whole, or paths between separators.
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const auto one = zyn::system::split_chooser_answer(answer, "");
    check(one.size() <= 1 && (one.empty() || one[0] == answer || one[0] + "\n" == answer));
    size_t total = 0;
    for (const std::string& path : zyn::system::split_chooser_answer(answer, "|#")) {
        check(!path.empty() && path.find("|#") == std::string::npos);
        total += path.size();
    }
    check(total <= size);

    // The same bytes as paths separated by '|', stored with the first byte as the capacity.
    std::vector<std::string> paths(1);
    for (size_t n = 1; n < size; ++n)
        data[n] == '|' ? void(paths.emplace_back()) : paths.back().push_back(char(data[n]));
    const uint32_t capacity = size == 0 ? 0 : data[0];
    std::vector<char> buffer(capacity + 1, '#');
    zyn::system::store_paths(paths, buffer.data(), capacity);
    check(buffer[capacity] == '#'); // nothing past the capacity
    check(capacity == 0 || std::memchr(buffer.data(), '\0', capacity) != nullptr); // terminated within it
    return 0;
}

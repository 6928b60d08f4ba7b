// The dialogs' text handling: filter parsing and result joining, the same on
// every platform.
#include "system/dialogs.h"

#include "base/utf16.h"

#include <cstring>
#include <string_view>

namespace zyn::system {

std::vector<FileType> parse_file_types(const char* filter)
{
    std::vector<FileType> types;
    if (filter == nullptr)
        return types;
    // The caller's text is only read: a game may keep one filter and show the
    // dialog many times, or pass a string literal.
    std::vector<std::string_view> fields;
    for (const char* p = filter; *p != '\0';) {
        if (*p == '|') {
            ++p;
            continue;
        }
        const char* start = p;
        while (*p != '\0' && *p != '|')
            ++p;
        fields.emplace_back(start, size_t(p - start));
    }
    // Fields are non-empty by construction; a trailing name without a pattern is dropped.
    for (size_t n = 0; n + 1 < fields.size(); n += 2)
        types.push_back({base::from_utf8(fields[n]), base::from_utf8(fields[n + 1])});
    return types;
}

std::vector<std::string> split_chooser_answer(std::string_view answer, std::string_view separator)
{
    if (!answer.empty() && answer.back() == '\n')
        answer.remove_suffix(1);
    std::vector<std::string> paths;
    while (!answer.empty()) {
        const size_t end = separator.empty() ? std::string_view::npos : answer.find(separator);
        if (end != 0)
            paths.emplace_back(answer.substr(0, end));
        if (end == std::string_view::npos)
            break;
        answer.remove_prefix(end + separator.size());
    }
    return paths;
}

void store_paths(const std::vector<std::string>& paths, char* buffer, uint32_t capacity)
{
    if (buffer == nullptr || capacity == 0)
        return;
    buffer[0] = '\0';
    size_t used = 0;
    for (const std::string& path : paths) {
        const size_t separator = used == 0 ? 0 : 2;
        if (used + separator + path.size() + 1 > capacity)
            break; // this path and the ones after it do not fit
        if (separator != 0)
            std::memcpy(buffer + used, "\r\n", 2);
        std::memcpy(buffer + used + separator, path.data(), path.size());
        used += separator + path.size();
        buffer[used] = '\0';
    }
}

} // namespace zyn::system

// Parsing and writing the inventory text, one "name=quantity" a line.
#include "inventory/text_format.h"

#include "inventory/quantity.h"

#include "base/ascii.h"

#include <charconv>
#include <limits>

namespace zyn::inventory::text {

void append_line(std::string& out, std::string_view name, int64_t quantity)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, quantity).ptr;
    out.append(name).append(1, '=').append(digits, end).append(1, '\n');
}

int64_t parse_value(std::string_view value) noexcept
{
    std::size_t i = 0;
    while (i < value.size() && base::is_ascii_space(value[i]))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';

    // Accumulate the magnitude as unsigned; stop adding once past the limit so
    // that any number of further digits cannot overflow.
    const uint64_t limit = negative ? uint64_t(std::numeric_limits<int64_t>::max()) + 1
                                    : uint64_t(std::numeric_limits<int64_t>::max());
    uint64_t magnitude = 0;
    bool saturated = false;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        const unsigned digit = unsigned(value[i] - '0');
        if (saturated || magnitude > (limit - digit) / 10) {
            saturated = true;
            continue;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (saturated)
        return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    if (negative)
        return magnitude == limit ? std::numeric_limits<int64_t>::min() : -int64_t(magnitude);
    return int64_t(magnitude);
}

namespace {

// The item name's length a line gives, or npos when the line is skipped for its name
// (no "=", or a name of fewer than 2 bytes).
std::size_t name_length(std::string_view line)
{
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos || equals < 2 ? std::string_view::npos : equals;
}

// Calls fn(line) for each LF-ended line of `text` and, with `read_tail`, for
// the bytes after the last LF.
template <class Fn>
void for_each_line(std::string_view text, bool read_tail, Fn&& fn)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            if (read_tail)
                fn(text);
            break;
        }
        fn(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
}

} // namespace

bool apply_line(Inventory& inventory, std::string_view line)
{
    const std::size_t equals = name_length(line);
    if (equals == std::string_view::npos)
        return false;
    const int64_t value = parse_value(line.substr(equals + 1));
    if (value <= 0)
        return false;
    inventory.add(line.substr(0, equals), quantity_to_double(value));
    return true;
}

std::size_t apply_lines(Inventory& inventory, std::string_view text, bool read_tail)
{
    // A first pass sizes the inventory for every line that has a name, as if
    // each were a new item (exactly so when the names are all new), so that
    // the records and the index grow once; trim() hands back what is left.
    std::size_t items = 0, record_bytes = 0;
    for_each_line(text, read_tail, [&](std::string_view line) {
        if (const std::size_t length = name_length(line); length != std::string_view::npos) {
            ++items;
            record_bytes += Inventory::record_size(length);
        }
    });
    inventory.reserve(items, record_bytes);

    std::size_t added = 0;
    for_each_line(text, read_tail, [&](std::string_view line) {
        if (apply_line(inventory, line))
            ++added;
    });
    inventory.trim();
    return added;
}

} // namespace zyn::inventory::text

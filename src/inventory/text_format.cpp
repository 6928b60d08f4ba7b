// Parsing and writing the inventory text, one "name=quantity" a line.
#include "inventory/text_format.h"

#include "inventory/quantity.h"

#include "base/ascii.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace zyn::inventory::text {

void append_line(std::string& out, const Item& item)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, item.quantity).ptr;
    out.append(item.name).append(1, '=').append(digits, end).append(1, '\n');
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

bool apply_line(Inventory& inventory, std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals < 2)
        return false; // no "=", or a name of fewer than 2 bytes
    const int64_t value = parse_value(line.substr(equals + 1));
    if (value <= 0)
        return false;
    inventory.add(line.substr(0, equals), quantity_to_double(value));
    return true;
}

std::size_t apply_lines(Inventory& inventory, std::string_view text, bool read_tail)
{
    inventory.reserve(inventory.item_count() + std::size_t(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t added = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            if (read_tail && apply_line(inventory, text))
                ++added;
            break;
        }
        if (apply_line(inventory, text.substr(0, end)))
            ++added;
        text.remove_prefix(end + 1);
    }
    return added;
}

} // namespace zyn::inventory::text

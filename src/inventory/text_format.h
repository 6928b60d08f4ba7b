// The inventory text: one item per line, name "=" decimal quantity.
#pragma once

#include "inventory/inventory.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zyn::inventory::text {

// Appends "name=quantity" and a LF (the file writer puts the platform's line
// end in its place).
void append_line(std::string& out, std::string_view name, int64_t quantity);

// Reads a line's value: leading white space skipped, one optional sign, then
// digits up to the first other byte. No digits give 0; numbers beyond the
// 64-bit range saturate at the largest or smallest value.
int64_t parse_value(std::string_view value) noexcept;

// The line rule: the name is what comes before the first "=", the value what
// follows it. A line whose name has at least 2 bytes and whose value is above
// 0 goes to the add step; any other line is skipped. True when it was added.
bool apply_line(Inventory& inventory, std::string_view line);

// Applies every LF-ended line of `text` (a CR before the LF stays in the line,
// behind the value). With `read_tail`, the bytes after the last LF form one
// more line. Returns the number of lines that were added. The inventory is
// sized for the text first and trimmed to what it holds afterwards.
std::size_t apply_lines(Inventory& inventory, std::string_view text, bool read_tail);

} // namespace zyn::inventory::text

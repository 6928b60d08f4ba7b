// An inventory's text file: reading it whole, writing its items.
#pragma once

#include "inventory/inventory.h"

#include <optional>
#include <string>
#include <vector>

namespace zyn::inventory::file {

// The whole file, read as bytes (line ends are sorted out by the line reader,
// which accepts LF and CR LF alike). Empty when it cannot be opened or read.
std::optional<std::string> read_all(const std::string& path);

enum class WriteOutcome { not_opened, failed, written };

// Creates or truncates the file in the platform's text mode (CR LF line ends
// on Windows, LF elsewhere) and writes one "name=quantity" line per item whose
// quantity is above 0, flushing after each line.
WriteOutcome write_items(const std::string& path, const std::vector<Item>& items);

} // namespace zyn::inventory::file

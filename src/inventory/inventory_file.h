// An inventory's text file: reading it whole, writing its items.
#pragma once

#include "files/save.h"
#include "inventory/inventory.h"

#include <optional>
#include <string>

namespace zyn::inventory::file {

// The whole file, read as bytes (line ends are sorted out by the line reader,
// which accepts LF and CR LF alike). Empty when it cannot be opened or read.
std::optional<std::string> read_all(const std::string& path);

// Saves one "name=quantity" line per item whose quantity is above 0, with the
// platform's line ends (CR LF on Windows, LF elsewhere), replacing the file in
// one step: a failed save leaves the previous file as it was.
files::SaveOutcome write_items(const std::string& path, const Inventory& inventory);

} // namespace zyn::inventory::file

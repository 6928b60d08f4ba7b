#include "support/inventory_helpers.h"

#include <fstream>

namespace test {

bool file_exists(const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

} // namespace test

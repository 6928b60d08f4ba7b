// Small helpers shared by the inventory tests.
#pragma once

#include "support/loaded_library.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <string>

namespace test {

// The inventory's list text, read through the pointer and length it returns.
inline std::string inventory_list(int handle)
{
    int32_t length = -1;
    const char* text = zyn_inventory_item_list(handle, &length);
    if (!text)
        return "<null>";
    return std::string(text, static_cast<std::size_t>(length));
}

// The platform's text-mode line end, as the save step writes it.
#if defined(_WIN32)
constexpr const char* kLineEnd = "\r\n";
#else
constexpr const char* kLineEnd = "\n";
#endif

// Whether a file can be opened for reading (the file tests' helpers read and
// write whole files in binary, so line ends are seen as written).
bool file_exists(const std::string& path);

} // namespace test

// The platform's answer to "one property of every object of a class".
#pragma once

#include <zyn/zyn.h>

#include <cstdint>

namespace zyn::system::sys {

// WMI's result for a class it does not know.
constexpr int32_t kInvalidClass = int32_t(0x80041010u);

// The query text is built in 256 units: "SELECT * FROM " and up to 241 of the class name.
constexpr size_t kMaxClassName = 241;

// Runs "SELECT * FROM <class>" and appends, for every object in the order the
// source gives them, the text of the property by the value kind (11 "true" or
// "false", 12 the string; any other kind and a missing property add nothing).
// Returns 0, or the failing call's result code.
int32_t query_machine_property(const zyn_wstring& class_name, const zyn_wstring& property, int kind,
                               zyn_wstring& gathered);

} // namespace zyn::system::sys

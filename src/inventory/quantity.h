// Turning a double amount into a whole-number quantity.
#pragma once

#include <cstdint>

namespace zyn::inventory {

// Truncates toward zero to a signed 64-bit integer. Values beyond the 64-bit
// range (infinities included) saturate at the nearest limit. NaN has no
// quantity: callers test for it first (see Inventory::add).
int64_t truncate_to_quantity(double amount) noexcept;

} // namespace zyn::inventory

// Turning amounts into whole-number quantities and quantities into doubles.
#pragma once

#include <cstdint>

namespace zyn::inventory {

// Truncates toward zero to a signed 64-bit integer. Values beyond the 64-bit
// range (infinities included) saturate at the nearest limit. NaN has no
// quantity: callers test for it first (see Inventory::add).
int64_t truncate_to_quantity(double amount) noexcept;

// The quantity as a double, rounded to the nearest double on every platform.
double quantity_to_double(int64_t quantity) noexcept;

// The quantity as a double plus the amount, each step rounded to double
// precision (the sum of the add step, before truncation).
double add_in_double(int64_t quantity, double amount) noexcept;

} // namespace zyn::inventory

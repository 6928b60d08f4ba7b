#include "inventory/quantity.h"

#include <limits>

namespace zyn::inventory {

int64_t truncate_to_quantity(double amount) noexcept
{
    constexpr double kTwoTo63 = 9223372036854775808.0; // first double above INT64_MAX
    if (amount >= kTwoTo63)
        return std::numeric_limits<int64_t>::max();
    if (amount <= -kTwoTo63)
        return std::numeric_limits<int64_t>::min();
    if (amount != amount)
        return 0; // NaN: never reached through Inventory::add, kept defined anyway
    return static_cast<int64_t>(amount); // in range: the cast truncates toward zero
}

} // namespace zyn::inventory

// Whole-number quantities and the double arithmetic of the add step.
#include "inventory/quantity.h"

#include "base/saturate.h"

// The sums below must be rounded to double once per step: the 32-bit build
// computes with SSE2 for that (see the i686 toolchain), not on the x87 unit,
// which would round a sum twice (2^60 + 128.000244 gave 2^60, not 2^60 + 256).

namespace zyn::inventory {

int64_t truncate_to_quantity(double amount) noexcept
{
    // NaN gives 0: never reached through Inventory::add, kept defined anyway.
    return base::double_to_int64(amount);
}

double quantity_to_double(int64_t quantity) noexcept
{
    // Stored once, so the value handed back is a double even where the
    // conversion itself runs in extended precision.
    volatile double rounded = static_cast<double>(quantity);
    return rounded;
}

double add_in_double(int64_t quantity, double amount) noexcept
{
    volatile double sum = quantity_to_double(quantity) + amount;
    return sum;
}

} // namespace zyn::inventory

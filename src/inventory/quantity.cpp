#include "inventory/quantity.h"

#include <limits>

// A 32-bit x86 build computes with the x87 unit in extended precision and
// rounds to double only when a value is stored: a sum would then be rounded
// twice, and a converted quantity would leave a function unrounded (the
// largest quantity as 2^63 - 1 rather than 2^63). The two conversions below
// therefore do their arithmetic in SSE2 registers there, where every step is
// a double step, so the shipping build gives the same results as the others.
#if defined(__i386__) && !defined(__SSE2_MATH__)
#define ZYN_DOUBLE_STEPS __attribute__((target("sse2,fpmath=sse")))
#else
#define ZYN_DOUBLE_STEPS
#endif

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

ZYN_DOUBLE_STEPS double quantity_to_double(int64_t quantity) noexcept
{
    // Stored once, so the value handed back is a double even where the
    // conversion itself runs in extended precision.
    volatile double rounded = static_cast<double>(quantity);
    return rounded;
}

ZYN_DOUBLE_STEPS double add_in_double(int64_t quantity, double amount) noexcept
{
    volatile double sum = quantity_to_double(quantity) + amount;
    return sum;
}

} // namespace zyn::inventory

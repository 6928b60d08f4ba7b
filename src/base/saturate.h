// Conversion of a double to a signed 64-bit integer that is defined for
// every input: the plain cast is undefined for NaN and magnitudes of 2^63 or more.
#pragma once

#include <cstdint>
#include <limits>

namespace zyn::base {

// Truncates toward zero; values beyond the range saturate to its ends, NaN gives 0.
inline int64_t double_to_int64(double value) noexcept
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (value != value)
        return 0;
    if (value >= kTwoTo63)
        return std::numeric_limits<int64_t>::max();
    if (value < -kTwoTo63)
        return std::numeric_limits<int64_t>::min();
    return int64_t(value);
}

// True when the value converts exactly by truncation (finite, below 2^63 in magnitude).
inline bool fits_int64(double value) noexcept
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    return value > -kTwoTo63 && value < kTwoTo63; // false for NaN too
}

} // namespace zyn::base

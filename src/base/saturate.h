// Narrowing that saturates instead of wrapping or being undefined: doubles to
// 64-bit integers (the plain cast is undefined for NaN and magnitudes of 2^63
// or more) and counts and sizes to the 32-bit results of the exports.
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

// A count or size as a 32-bit result: values past the range give its largest value.
constexpr uint32_t saturate_u32(uint64_t value) noexcept
{
    return value > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max() : uint32_t(value);
}
constexpr int32_t saturate_i32(uint64_t value) noexcept
{
    return value > uint64_t(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                    : int32_t(value);
}

} // namespace zyn::base

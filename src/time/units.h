// Time unit codes and their size in nanoseconds.
#pragma once

#include <zyn/zyn.h>

#include <cstdint>

namespace zyn::time {

// Nanoseconds in one unit, or 0 for a code that names no unit.
constexpr int64_t nanoseconds_per_unit(int unit) noexcept
{
    switch (unit) {
    case ZYN_UNIT_NANOSECONDS: return 1;
    case ZYN_UNIT_MICROSECONDS: return 1000;
    case ZYN_UNIT_MILLISECONDS: return 1000000;
    case ZYN_UNIT_SECONDS: return 1000000000;
    case ZYN_UNIT_MINUTES: return 60000000000LL;
    default: return 0;
    }
}

// Minutes travel as a 32-bit signed count: cut to the low 32 bits, read signed.
constexpr int64_t as_minute_count(int64_t value) noexcept
{
    return int64_t(int32_t(uint32_t(uint64_t(value))));
}

// Two's-complement arithmetic that wraps instead of overflowing.
constexpr int64_t wrapping_mul(int64_t a, int64_t b) noexcept
{
    return int64_t(uint64_t(a) * uint64_t(b));
}
constexpr int64_t wrapping_sub(int64_t a, int64_t b) noexcept
{
    return int64_t(uint64_t(a) - uint64_t(b));
}

} // namespace zyn::time

// The busy fraction between two samples of the system's idle and total times.
#pragma once

#include <cstdint>

namespace zyn::time {

// 1 - idle/total over the interval, in single precision; 1.0 when no time
// passed. Counters that run backwards (Linux's I/O-wait figure may, and the
// unsigned difference then wraps) would give values far outside the fraction,
// so the result is kept within 0.0 to 1.0.
inline float busy_fraction(uint64_t delta_idle, uint64_t delta_total) noexcept
{
    if (delta_total == 0)
        return 1.0f;
    const float load = 1.0f - float(delta_idle) / float(delta_total);
    return load < 0.0f ? 0.0f : (load > 1.0f ? 1.0f : load);
}

} // namespace zyn::time

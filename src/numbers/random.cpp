// Random draws between inclusive bounds and the percentage chance. Each draw
// seeds its own generator from the system clock, so calls share no state.
#include "base/saturate.h"
#include "core/frame.h"
#include "numbers/mt19937_draw.h"

using namespace zyn;

ZYN_EXPORT int32_t ZYN_CALL zyn_random_int32(int32_t min, int32_t max)
{
    return frame::full(int32_t(-1), [&] { return numbers::draw_int32(numbers::clock_seed(), min, max); });
}

ZYN_EXPORT int64_t ZYN_CALL zyn_random_int64(int64_t min, int64_t max)
{
    return frame::full(int64_t(-1), [&] { return numbers::draw_int64(numbers::clock_seed(), min, max); });
}

ZYN_EXPORT double ZYN_CALL zyn_random_int64_bgt_compatibility(double min, double max)
{
    return frame::full(-1.0, [&] {
        // The bounds are truncated toward zero, then drawn as the 64-bit draw does.
        const int64_t high = base::double_to_int64(max);
        const int64_t low = base::double_to_int64(min);
        return double(numbers::draw_int64(numbers::clock_seed(), low, high));
    });
}

ZYN_EXPORT int ZYN_CALL zyn_getlucky(int32_t chance)
{
    return frame::full(-1, [&] {
        // 101 outcomes, 0 to 100: a chance of 0 still wins one time in 101.
        return numbers::draw_int32(numbers::clock_seed(), 0, 100) <= chance ? 1 : 0;
    });
}

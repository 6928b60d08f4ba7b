// Rounding to decimal places and the conversions between part, whole and percentage.
#include "core/frame.h"
#include "base/saturate.h"

using namespace zyn;

namespace {

// Exact powers of ten up to 10^15. A library pow() may land a hair below an
// exact power, which truncation would turn into 999...9.
constexpr double kPowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr uint32_t kMostPlaces = 15;

// The truncations below rely on each step being done in double precision:
// the 32-bit build computes with SSE2 (see the i686 toolchain), not on the x87
// unit, whose precision the game may have lowered.
double round_to_places(double value, uint32_t places) noexcept
{
    // NaN, infinities and magnitudes of 2^63 or more have no fraction to round.
    if (!base::fits_int64(value))
        return value;
    const double whole = double(int64_t(value));
    const double factor = kPowersOfTen[places > kMostPlaces ? kMostPlaces : places];
    const double fraction = value - whole;
    // Truncation toward zero: positive values round half up, negative
    // fractions move toward zero.
    const double scaled = double(int64_t(factor * fraction + 0.5));
    return scaled / factor + whole;
}

// a * b / c in double precision, returned in single precision.
float product_over(float a, float b, double c) noexcept
{
    return float(double(a) * double(b) / c);
}

} // namespace

ZYN_EXPORT double ZYN_CALL zyn_round(double value, uint32_t places)
{
    return frame::full(-1.0, [&] { return round_to_places(value, places); });
}

ZYN_EXPORT float ZYN_CALL zyn_percent_to_number(float number, float percent)
{
    return frame::full(-1.0f, [&] {
        if (percent <= 0.0f || percent > 100.0f) // NaN passes, as documented
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, -1.0f);
        return product_over(percent, number, 100.0);
    });
}

ZYN_EXPORT float ZYN_CALL zyn_number_to_percent(float total, float part)
{
    return frame::full(-1.0f, [&] {
        if (total == 0.0f || part > total) // NaN arguments pass both tests
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, -1.0f);
        return product_over(part, 100.0f, double(total));
    });
}

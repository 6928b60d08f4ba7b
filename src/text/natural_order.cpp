// The natural order of zyn_string_sort: digit runs compare as numbers.
#include "text/natural_order.h"

#include "base/ascii.h"
#include "base/saturate.h"

#include <cstdint>

namespace zyn::text {

namespace {

// Reads the digit run at i, advancing i past all of it; the value is clamped.
int32_t read_run(std::string_view s, size_t& i) noexcept
{
    uint64_t value = 0;
    for (; i < s.size() && base::is_ascii_digit(s[i]); ++i)
        value = base::saturate_i32(value * 10 + uint64_t(s[i] - '0'));
    return static_cast<int32_t>(value);
}

// After a number, the comparison goes on up to the next line feed only.
std::string_view up_to_line_end(std::string_view s, size_t i) noexcept
{
    const size_t feed = s.find('\n', i);
    return feed == std::string_view::npos ? s : s.substr(0, feed);
}

} // namespace

int natural_compare(std::string_view a, std::string_view b) noexcept
{
    size_t i = 0, j = 0;
    for (;;) {
        if (i == a.size())
            return j == b.size() ? 0 : -1;
        if (j == b.size())
            return 1;
        const bool digit_a = base::is_ascii_digit(a[i]);
        const bool digit_b = base::is_ascii_digit(b[j]);
        if (digit_a != digit_b)
            return digit_a ? -1 : 1;
        if (!digit_a) {
            const int ca = static_cast<signed char>(base::ascii_to_upper(a[i]));
            const int cb = static_cast<signed char>(base::ascii_to_upper(b[j]));
            if (ca != cb)
                return ca < cb ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        const int32_t na = read_run(a, i);
        const int32_t nb = read_run(b, j);
        if (na != nb)
            return na < nb ? -1 : 1;
        a = up_to_line_end(a, i);
        b = up_to_line_end(b, j);
    }
}

} // namespace zyn::text

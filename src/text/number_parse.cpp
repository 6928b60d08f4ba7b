// Reading the number a narrow or wide text begins with.
#include "text/number_parse.h"

#include "base/ascii.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <limits>
#include <string>

namespace zyn::text {

namespace {

// Length of the longest number prefix of text (0 when there is none), and the
// decimal exponent of its leading significant digit, for telling overflow
// from underflow when the conversion reports the value out of range.
template <class C>
size_t number_prefix(std::basic_string_view<C> text, int64_t& magnitude)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == C('+') || text[i] == C('-')))
        ++i;
    size_t digits = 0;
    // 64-bit counts: a text of more than 2^31 digits must not overflow a 32-bit long.
    int64_t leading = 0;      // digits before the point, after leading zeros
    int64_t zeros_after = 0;  // zeros after the point before the first significant digit
    bool significant = false;
    for (; i < text.size() && base::is_ascii_digit(text[i]); ++i, ++digits) {
        if (significant || text[i] != C('0')) {
            significant = true;
            ++leading;
        }
    }
    if (i < text.size() && text[i] == C('.')) {
        ++i;
        for (; i < text.size() && base::is_ascii_digit(text[i]); ++i, ++digits) {
            if (!significant) {
                if (text[i] == C('0'))
                    ++zeros_after;
                else
                    significant = true;
            }
        }
    }
    if (digits == 0)
        return 0;
    size_t end = i;
    int64_t exponent = 0;
    if (i < text.size() && (text[i] == C('e') || text[i] == C('E'))) {
        size_t j = i + 1;
        bool negative = false;
        if (j < text.size() && (text[j] == C('+') || text[j] == C('-'))) {
            negative = text[j] == C('-');
            ++j;
        }
        if (j < text.size() && base::is_ascii_digit(text[j])) {
            for (; j < text.size() && base::is_ascii_digit(text[j]); ++j)
                if (exponent < 100000000)
                    exponent = exponent * 10 + int64_t(base::unit_value(text[j]) - '0');
            if (negative)
                exponent = -exponent;
            end = j;
        }
    }
    magnitude = (leading > 0 ? leading : -zeros_after) + exponent;
    return end;
}

} // namespace

template <class C>
double read_number(std::basic_string_view<C> text)
{
    size_t start = 0;
    while (start < text.size() && base::is_ascii_space(text[start]))
        ++start;
    text.remove_prefix(start);
    int64_t magnitude = 0;
    const size_t length = number_prefix(text, magnitude);
    if (length == 0)
        return 0.0;

    // The prefix is ASCII by construction; from_chars wants bytes without a '+'.
    std::string ascii;
    ascii.reserve(length);
    for (size_t i = 0; i < length; ++i)
        ascii.push_back(static_cast<char>(base::unit_value(text[i])));
    const bool negative = ascii[0] == '-';
    const size_t skip = (ascii[0] == '+' || ascii[0] == '-') ? 1 : 0;

    double value = 0.0;
    const auto [end, ec] = std::from_chars(ascii.data() + skip, ascii.data() + ascii.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

template double read_number<char>(std::basic_string_view<char>);
template double read_number<zyn_wchar>(std::basic_string_view<zyn_wchar>);

} // namespace zyn::text

// Fixed ASCII character classes on byte or 16-bit unit values, independent of
// any locale: one definition serves the narrow and the wide text operations.
#pragma once

#include <type_traits>

namespace zyn::base {

// The unit's value as an unsigned number: bytes 0 to 255, wide units 0 to 65535.
template <class C>
constexpr unsigned unit_value(C c) noexcept
{
    return static_cast<unsigned>(static_cast<std::make_unsigned_t<C>>(c));
}

template <class C> constexpr bool is_ascii_digit(C c) noexcept { return unit_value(c) - '0' <= 9u; }
template <class C> constexpr bool is_ascii_upper(C c) noexcept { return unit_value(c) - 'A' <= 25u; }
template <class C> constexpr bool is_ascii_lower(C c) noexcept { return unit_value(c) - 'a' <= 25u; }

// White space of the classic locale: space, tab, line feed, vertical tab, form feed, carriage return.
template <class C> constexpr bool is_ascii_space(C c) noexcept
{
    const unsigned v = unit_value(c);
    return v == ' ' || (v >= '\t' && v <= '\r');
}

template <class C> constexpr C ascii_to_upper(C c) noexcept
{
    return is_ascii_lower(c) ? static_cast<C>(unit_value(c) - 32u) : c;
}
template <class C> constexpr C ascii_to_lower(C c) noexcept
{
    return is_ascii_upper(c) ? static_cast<C>(unit_value(c) + 32u) : c;
}

} // namespace zyn::base

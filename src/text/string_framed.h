// The framed text exports, written once for the narrow and the wide family:
// each runs the calling frame, rejects the arguments its family rejects with
// error 5, and hands the work to the shared operations of string_ops.h.
#pragma once

#include "core/frame.h"
#include "text/number_parse.h"
#include "text/string_ops.h"
#include "text/wstring_list_ops.h"

#include <utility>

namespace zyn::text::framed {

template <class C>
uint32_t contains(const Text<C>& text, const Text<C>& search, uint32_t start)
{
    return frame::full(0u, [&] {
        if (text.empty() || search.empty() || start >= text.size())
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0u);
        const size_t at = find_from<C>(text, search, start);
        // A position that does not fit the 32-bit result is reported as not found.
        if (at == View<C>::npos || at >= UINT32_MAX)
            return frame::fail(ZYN_ERR_NOT_FOUND, 0u);
        return static_cast<uint32_t>(at + 1);
    });
}

template <class C>
Text<C> reverse(const Text<C>& text)
{
    return frame::full(Text<C>(), [&] {
        if (text.size() < 2)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, Text<C>());
        return reversed<C>(text);
    });
}

template <class C>
Text<C> extract(const Text<C>& text, uint32_t start, uint32_t count)
{
    return frame::full(Text<C>(), [&] { return text::extract<C>(text, start, count); });
}

template <class C, class Pred>
int is_class(const Text<C>& text, Pred in_class)
{
    return frame::full(0, [&] {
        if (text.empty())
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        return all_of_class<C>(text, in_class) ? 1 : 0;
    });
}

template <class C, class Map>
Text<C> map_case(const Text<C>& text, Map map)
{
    return frame::full(Text<C>(), [&] {
        if (text.empty())
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, Text<C>());
        return mapped<C>(text, map);
    });
}

template <class C>
Text<C> replace(const Text<C>& text, const Text<C>& search, const Text<C>& replacement, zyn_bool all)
{
    return frame::full(Text<C>(), [&] {
        if (text.empty() || search.empty())
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, Text<C>());
        return text::replace<C>(text, search, replacement, all != 0);
    });
}

inline void append_piece(zyn_string_list& list, std::string_view piece) { list.emplace_back(piece); }
inline void append_piece(wstring_list& list, std::basic_string_view<zyn_wchar> piece)
{
    list_append(list, zyn_wstring(piece));
}
inline void take_pieces(zyn_string_list& list, zyn_string_list& pieces) { list.swap(pieces); }
inline void take_pieces(wstring_list& list, wstring_list& pieces) { list.swap(pieces); }

// The pieces are gathered in a fresh list that then replaces the caller's, so
// the caller's list is left as it was on error, and a text or delimiter that
// lives inside that list stays valid while it is read.
template <class C, class List>
int split(const Text<C>& text, const Text<C>& delimiter, zyn_bool whole, List& list)
{
    return frame::full(0, [&] {
        if (text.empty() || delimiter.empty())
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        List pieces;
        text::split<C>(text, delimiter, whole != 0, [&](View<C> piece) { append_piece(pieces, piece); });
        take_pieces(list, pieces);
        return 1;
    });
}

template <class C>
Text<C> smash(const Text<C>& text, const Text<C>& characters)
{
    return frame::full(Text<C>(), [&] {
        if (text.empty() || characters.empty())
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, Text<C>());
        return text::smash<C>(text, characters);
    });
}

template <class C>
double to_number(const Text<C>& text)
{
    return frame::full(-1.0, [&] { return read_number<C>(text); });
}

} // namespace zyn::text::framed

// The framed text exports, written once for the narrow and the wide family:
// each runs the calling frame, rejects the arguments its family rejects with
// error 5, and hands the work to the shared operations of string_ops.h.
#pragma once

#include "core/frame.h"
#include "text/number_parse.h"
#include "text/string_ops.h"
#include "base/wstring_list.h"

#include <mutex>
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

// Refilling a list of pieces: the strings it holds take the new pieces in
// their own storage, and the list ends with exactly the pieces.
inline void refill_start(zyn_string_list&) {}
inline void refill_put(zyn_string_list& list, std::size_t n, std::string_view piece)
{
    if (n < list.size())
        list[n].assign(piece.data(), piece.size());
    else
        list.emplace_back(piece);
}
inline void refill_end(zyn_string_list& list, std::size_t count) { list.resize(count); }
inline void refill_start(wstring_list& list) { base::list_refill_start(list); }
inline void refill_put(wstring_list& list, std::size_t, std::basic_string_view<zyn_wchar> piece)
{
    base::list_refill_put(list, piece);
}
inline void refill_end(wstring_list& list, std::size_t) { base::list_refill_end(list); }

// Pieces are gathered in a spare list, kept from the last split, which then
// changes places with the caller's list. The caller's list is untouched until
// every piece is in (so it is as it was when a call fails, and a text or
// delimiter that is one of its items stays valid while it is read), and the
// storage of the list that comes back serves the next split instead of being
// freed and allocated again. The spare is the process's own (no per-thread
// object outlives an unloaded module); a split that finds it in use on
// another thread gathers in a fresh list. The pieces of a very large text are
// not kept beyond the split after it.
template <class List>
struct SparePieces {
    std::mutex lock;
    List list;
    bool large = false; // the caller's list now holds the pieces of a very large text
};

template <class List>
SparePieces<List>& spare_pieces()
{
    static SparePieces<List> spare;
    return spare;
}

// The split inside a frame: 1, or 0 with error 5 for an empty text or delimiter.
template <class C, class List>
int split_unframed(const Text<C>& text, const Text<C>& delimiter, zyn_bool whole, List& list)
{
    if (text.empty() || delimiter.empty())
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    SparePieces<List>& spare = spare_pieces<List>();
    const std::unique_lock<std::mutex> held(spare.lock, std::try_to_lock);
    List fresh;
    List& pieces = held ? spare.list : fresh;
    refill_start(pieces);
    std::size_t count = 0;
    text::split<C>(text, delimiter, whole != 0, [&](View<C> piece) { refill_put(pieces, count++, piece); });
    refill_end(pieces, count);
    pieces.swap(list);
    if (held) {
        constexpr std::size_t kLargestKept = std::size_t(1) << 24;
        if (spare.large)
            List().swap(pieces); // the earlier pieces of a very large text
        spare.large = text.size() > kLargestKept;
    }
    return 1;
}

template <class C, class List>
int split(const Text<C>& text, const Text<C>& delimiter, zyn_bool whole, List& list)
{
    return frame::full(0, [&] { return split_unframed<C>(text, delimiter, whole, list); });
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

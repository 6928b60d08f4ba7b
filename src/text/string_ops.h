// The text operations shared by the narrow and the wide exports, written once
// over the character type: bytes for std::string, 16-bit units for zyn_wstring.
// Each works on validated arguments; the exports check them and run the frame.
#pragma once

#include "base/ascii.h"

#include <bitset>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zyn::text {

template <class C> using Text = std::basic_string<C>;
template <class C> using View = std::basic_string_view<C>;

// 0-based index of the first whole occurrence of search at or after start, or npos.
template <class C>
size_t find_from(View<C> text, View<C> search, size_t start) noexcept
{
    return text.find(search, start);
}

template <class C>
Text<C> reversed(View<C> text)
{
    return Text<C>(text.rbegin(), text.rend());
}

// The whole text when it is no longer than count; otherwise at most count units
// from start, empty when start is past the end or start + count wraps 32 bits.
template <class C>
Text<C> extract(View<C> text, uint32_t start, uint32_t count)
{
    if (text.size() <= count)
        return Text<C>(text);
    const uint32_t end = start + count;
    if (start >= text.size() || end < start)
        return Text<C>();
    return Text<C>(text.substr(start, count));
}

template <class C, class Pred>
bool all_of_class(View<C> text, Pred in_class) noexcept
{
    for (C c : text)
        if (!in_class(c))
            return false;
    return true;
}

template <class C, class Map>
Text<C> mapped(View<C> text, Map map)
{
    Text<C> out(text);
    for (C& c : out)
        c = map(c);
    return out;
}

// Finds each next unit equal to one unit, from a position on. The generic
// form asks the view; narrow text with SSE2 compares sixteen bytes at once
// and keeps the block's mask between calls, so a unit that occurs every few
// bytes costs a bit scan rather than a search call.
template <class C>
class UnitFinder {
public:
    UnitFinder(View<C> text, C unit) : text_(text), unit_(unit) {}
    size_t next(size_t from) const noexcept { return text_.find(unit_, from); }

private:
    View<C> text_;
    C unit_;
};

#if defined(__SSE2__)
template <>
class UnitFinder<char> {
public:
    UnitFinder(View<char> text, char unit) : text_(text), unit_(unit), wanted_(_mm_set1_epi8(unit)) {}

    size_t next(size_t from) noexcept
    {
        for (;;) {
            if (from < block_ || from >= block_ + 16) {
                if (from >= text_.size() || text_.size() - from < 16)
                    return text_.find(unit_, from);
                block_ = from;
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text_.data() + from));
                mask_ = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted_)));
            }
            const unsigned ahead = mask_ & (~0u << (from - block_));
            if (ahead != 0)
                return block_ + size_t(__builtin_ctz(ahead));
            from = block_ + 16;
        }
    }

private:
    View<char> text_;
    char unit_;
    __m128i wanted_;
    size_t block_ = size_t(-1) / 2; // no block loaded yet
    unsigned mask_ = 0;
};
#endif

// Window scan: the next unit equal to the first of search opens a window as
// long as search (cut at the end of the text). A matching window is replaced
// and skipped; a failed one is kept whole and skipped, so no occurrence that
// begins inside it is found. After the first replacement with all false, the
// rest is kept unchanged. Text between replacements is copied in one piece.
template <class C>
Text<C> replace(View<C> text, View<C> search, View<C> replacement, bool all)
{
    Text<C> out;
    out.reserve(text.size());
    UnitFinder<C> first(text, search.front());
    size_t copied = 0; // text before this index is in out
    size_t i = 0;
    while (i < text.size()) {
        const size_t hit = first.next(i);
        if (hit == View<C>::npos)
            break;
        const View<C> window = text.substr(hit, search.size());
        i = hit + window.size();
        // The second unit first: most windows fail there, without a compare call.
        if (window.size() == search.size() && (search.size() == 1 || window[1] == search[1]) && window == search) {
            out.append(text.data() + copied, hit - copied);
            out.append(replacement);
            copied = i;
            if (!all)
                break;
        }
    }
    out.append(text.data() + copied, text.size() - copied);
    return out;
}

// Cuts text into pieces, handing each to emit(View). With whole, a piece ends
// at each whole occurrence of the delimiter; without it, at each occurrence of
// the delimiter's first unit, and only that unit is consumed (what follows it
// opens the next piece, so no text is lost). Empty pieces are kept, except a
// trailing one.
template <class C, class Emit>
void split(View<C> text, View<C> delimiter, bool whole, Emit&& emit)
{
    const C first = delimiter.front();
    size_t piece = 0;
    size_t i = 0;
    while (i < text.size()) {
        const size_t hit = text.find(first, i);
        if (hit == View<C>::npos)
            break;
        if (!whole) {
            emit(text.substr(piece, hit - piece));
            piece = i = hit + 1;
        } else if (text.substr(hit, delimiter.size()) == delimiter) {
            emit(text.substr(piece, hit - piece));
            piece = i = hit + delimiter.size();
        } else {
            i = hit + 1;
        }
    }
    if (piece < text.size())
        emit(text.substr(piece));
}

// The text without any unit that occurs in the set.
template <class C>
Text<C> smash(View<C> text, View<C> set)
{
    constexpr size_t kUnits = size_t(1) << (CHAR_BIT * sizeof(C));
    static_assert(kUnits <= 65536, "one bit per possible unit");
    std::bitset<kUnits> drop;
    for (C c : set)
        drop.set(base::unit_value(c));
    Text<C> out;
    out.reserve(text.size());
    for (C c : text)
        if (!drop.test(base::unit_value(c)))
            out.push_back(c);
    return out;
}

} // namespace zyn::text

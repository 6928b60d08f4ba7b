// Filling a wstring_list: emptied first, then grown from 64 items by doubling.
#pragma once

#include <zyn/zyn.h>

#include <string_view>

namespace zyn::base {

// Releases the whole array; count and capacity become 0, items null.
void list_clear(wstring_list& list);

// Appends a copy of the text, growing the array when it is full.
void list_append(wstring_list& list, const zyn_wstring& text);

// Refilling a list that held an earlier content, so that its array and the
// storage of each of its strings serve again: list_refill_start empties the
// count only, list_refill_put writes the next item, and list_refill_end leaves
// the array with the capacity that emptying and appending would have given
// (none for no item, else 64 doubled as often as needed).
void list_refill_start(wstring_list& list);
void list_refill_put(wstring_list& list, std::basic_string_view<zyn_wchar> text);
void list_refill_end(wstring_list& list);

} // namespace zyn::base

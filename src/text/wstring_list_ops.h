// Filling a wstring_list: emptied first, then grown from 64 items by doubling.
#pragma once

#include <zyn/zyn.h>

namespace zyn::text {

// Releases the whole array; count and capacity become 0, items null.
void list_clear(wstring_list& list);

// Appends a copy of the text, growing the array when it is full.
void list_append(wstring_list& list, const zyn_wstring& text);

} // namespace zyn::text

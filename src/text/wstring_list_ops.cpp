#include "text/wstring_list_ops.h"

#include <utility>

namespace zyn::text {

void list_clear(wstring_list& list)
{
    delete[] list.items;
    list.items = nullptr;
    list.count = 0;
    list.capacity = 0;
}

void list_append(wstring_list& list, const zyn_wstring& text)
{
    if (list.count == list.capacity) {
        const uint32_t grown = list.count == 0 ? 64u : list.count * 2u;
        auto* bigger = new zyn_wstring[grown];
        // The text is copied before the old array goes: it may be one of its items.
        bigger[list.count] = text;
        for (uint32_t n = 0; n < list.count; ++n)
            bigger[n] = std::move(list.items[n]);
        delete[] list.items;
        list.items = bigger;
        list.capacity = grown;
        ++list.count;
        return;
    }
    list.items[list.count++] = text;
}

} // namespace zyn::text

// Filling and emptying a wstring_list.
#include "base/wstring_list.h"

#include <utility>

namespace zyn::base {

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

void list_refill_start(wstring_list& list) { list.count = 0; }

void list_refill_put(wstring_list& list, std::basic_string_view<zyn_wchar> text)
{
    if (list.count < list.capacity)
        list.items[list.count++].assign(text.data(), text.size());
    else
        list_append(list, zyn_wstring(text));
}

void list_refill_end(wstring_list& list)
{
    uint32_t fitting = list.count == 0 ? 0 : 64;
    while (fitting != 0 && fitting < list.count)
        fitting *= 2;
    if (fitting == list.capacity)
        return;
    if (fitting == 0) {
        list_clear(list);
        return;
    }
    auto* fitted = new zyn_wstring[fitting];
    for (uint32_t n = 0; n < list.count; ++n)
        fitted[n] = std::move(list.items[n]);
    delete[] list.items;
    list.items = fitted;
    list.capacity = fitting;
}

} // namespace zyn::base

// What every inventory fuzz input must leave behind: no quantity below 0, no
// name held twice, every item found by its name and the count matching the
// items. Aborts otherwise, so libFuzzer reports the input.
#pragma once

#include "inventory/registry.h"

#include <zyn/zyn.h>

#include <cstdlib>
#include <string_view>
#include <unordered_set>

namespace fuzz {

inline void check_inventory(int handle, int reported_count)
{
    const zyn::inventory::Inventory* inv = zyn::inventory::registry().find(handle);
    if (!inv)
        std::abort();
    if (reported_count != 0 && std::size_t(reported_count) != inv->item_count())
        std::abort();
    std::unordered_set<std::string_view> names;
    std::size_t listed = 0;
    inv->for_each_item([&](std::string_view name, int64_t quantity) {
        if (quantity < 0 || !names.insert(name).second || inv->find(name) != quantity)
            std::abort();
        ++listed;
    });
    if (listed != inv->item_count())
        std::abort();
}

// One inventory for the whole run (loading the library first), emptied for
// each input, so that long runs never use up the handles.
inline int empty_inventory()
{
    static const int handle = (zyn_init("fuzz"), zyn_inventory_create());
    zyn::inventory::Inventory* inv = zyn::inventory::registry().find(handle);
    if (!inv)
        std::abort();
    inv->clear_items();
    inv->dirty = false;
    return handle;
}

} // namespace fuzz

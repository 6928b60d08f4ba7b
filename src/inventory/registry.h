// The process-wide registry of inventories, addressed by handle.
#pragma once

#include "inventory/inventory.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace zyn::inventory {

class Registry {
public:
    // `last_id` is the handle counter's starting value (0 for the process-wide registry).
    explicit Registry(int32_t last_id = 0) : last_id_(last_id) {}

    // A new empty inventory under the next handle (1, 2, ...). Handles are never
    // given out twice: once the counter has reached the largest 32-bit value,
    // no handle is left and 0 is returned.
    int32_t create();

    // The inventory under `handle`, or null.
    Inventory* find(int32_t handle);

    // Releases one inventory, unsaved; false when the handle is unknown.
    bool destroy(int32_t handle);

    // Releases every inventory, unsaved, and returns how many there were.
    // The handle counter keeps counting.
    std::size_t destroy_all();

    std::size_t size() const { return inventories_.size(); }

    // Calls fn(Inventory&) for each inventory, in the registry's own order.
    template <class Fn>
    void for_each(Fn&& fn)
    {
        for (auto& entry : inventories_)
            fn(entry.second);
    }

private:
    int32_t last_id_;
    std::unordered_map<int32_t, Inventory> inventories_;
};

// The one registry of the process: empty when the module is loaded.
Registry& registry();

} // namespace zyn::inventory

// The registry of inventories by handle, and zyn_unload's inventory step.
#include "inventory/registry.h"

#include "core/release.h"

#include <limits>

namespace zyn::inventory {

int32_t Registry::create()
{
    if (last_id_ == std::numeric_limits<int32_t>::max())
        return 0;
    const int32_t handle = ++last_id_;
    inventories_.emplace(handle, Inventory(handle));
    return handle;
}

Inventory* Registry::find(int32_t handle)
{
    const auto it = inventories_.find(handle);
    return it == inventories_.end() ? nullptr : &it->second;
}

bool Registry::destroy(int32_t handle) { return inventories_.erase(handle) != 0; }

std::size_t Registry::destroy_all()
{
    const std::size_t count = inventories_.size();
    inventories_.clear();
    return count;
}

Registry& registry()
{
    static Registry the_registry;
    return the_registry;
}

} // namespace zyn::inventory

// zyn_unload's inventory step: every inventory goes, none is saved.
void zyn::release::inventories() { zyn::inventory::registry().destroy_all(); }

// Looking up an HTML entity name in the sorted table.
#include "text/entity_table.h"

#include <algorithm>

namespace zyn::text {

const Entity* find_entity(std::string_view name) noexcept
{
    const auto it = std::lower_bound(kEntities.begin(), kEntities.end(), name,
                                     [](const Entity& e, std::string_view n) { return e.name < n; });
    return it != kEntities.end() && it->name == name ? &*it : nullptr;
}

} // namespace zyn::text

// One inventory: the add step, lookups, removal and the list text.
#include "inventory/inventory.h"

#include "inventory/quantity.h"
#include "inventory/text_format.h"

#include <cmath>
#include <iterator>

namespace zyn::inventory {

const Item* Inventory::find(std::string_view name) const
{
    const auto found = index_.find(name);
    return found == index_.end() ? nullptr : &*found->second;
}

void Inventory::add(std::string_view name, double amount)
{
    dirty = true; // first, so that even an add that changes nothing counts as a change
    if (std::isnan(amount))
        return; // not an amount: nothing to add or take away, no item is touched

    const auto found = index_.find(name);
    if (found == index_.end()) {
        if (amount > 0) {
            // An amount below 1 makes an item of quantity 0. The item goes in
            // first and is taken back should its index entry fail to go in
            // (memory exhausted), so the two never fall out of step.
            items_.push_back(Item{std::string(name), truncate_to_quantity(amount)});
            try {
                index_.emplace(items_.back().name, std::prev(items_.end()));
            } catch (...) {
                items_.pop_back();
                throw;
            }
        }
        return;
    }

    Item& item = *found->second;
    // The sum is formed in double precision: quantities above 2^53 lose their
    // lowest digits here. A finite quantity plus a non-NaN amount is never NaN.
    const int64_t result = truncate_to_quantity(add_in_double(item.quantity, amount));
    if (result <= 0) {
        const auto at = found->second;
        index_.erase(found); // the key views the item's name: it goes first
        items_.erase(at);
    } else {
        item.quantity = result;
    }
}

void Inventory::clear_items()
{
    index_.clear();
    items_.clear();
}

const std::string& Inventory::rebuild_list_text()
{
    list_text_.clear();
    for (const Item& item : items_)
        text::append_line(list_text_, item);
    return list_text_;
}

} // namespace zyn::inventory

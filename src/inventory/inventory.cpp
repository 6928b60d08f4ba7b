#include "inventory/inventory.h"

#include "inventory/quantity.h"
#include "inventory/text_format.h"

#include <cmath>
#include <functional>

namespace zyn::inventory {

namespace {
std::size_t key_of(std::string_view name) { return std::hash<std::string_view>{}(name); }
} // namespace

std::ptrdiff_t Inventory::index_of(std::string_view name, std::size_t key) const
{
    const std::size_t n = keys_.size();
    for (std::size_t i = 0; i < n; ++i)
        if (keys_[i] == key && items_[i].name == name)
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

const Item* Inventory::find(std::string_view name) const
{
    const std::ptrdiff_t i = index_of(name, key_of(name));
    return i < 0 ? nullptr : &items_[static_cast<std::size_t>(i)];
}

void Inventory::add(std::string_view name, double amount)
{
    dirty = true; // first, so that even an add that changes nothing counts as a change
    if (std::isnan(amount))
        return; // not an amount: nothing to add or take away, no item is touched

    const std::size_t key = key_of(name);
    const std::ptrdiff_t found = index_of(name, key);
    if (found < 0) {
        if (amount > 0) {
            // An amount below 1 makes an item of quantity 0. The key goes in
            // first and is taken back should the item fail to go in (memory
            // exhausted), so the two sequences never fall out of step.
            keys_.push_back(key);
            try {
                items_.push_back(Item{std::string(name), truncate_to_quantity(amount)});
            } catch (...) {
                keys_.pop_back();
                throw;
            }
        }
        return;
    }

    const std::size_t i = static_cast<std::size_t>(found);
    // The sum is formed in double precision: quantities above 2^53 lose their
    // lowest digits here. A finite quantity plus a non-NaN amount is never NaN.
    const int64_t result = truncate_to_quantity(add_in_double(items_[i].quantity, amount));
    if (result <= 0)
        erase_at(i);
    else
        items_[i].quantity = result;
}

void Inventory::erase_at(std::size_t index)
{
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Inventory::clear_items()
{
    items_.clear();
    keys_.clear();
}

const std::string& Inventory::rebuild_list_text()
{
    list_text_.clear();
    for (const Item& item : items_)
        text::append_line(list_text_, item);
    return list_text_;
}

} // namespace zyn::inventory

// One inventory: an ordered set of named items with whole-number quantities,
// plus the file name it carries, its changed flag and its last list text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zyn::inventory {

struct Item {
    std::string name;  // any bytes; compared exactly, case-sensitive
    int64_t quantity;  // 0 or more
};

class Inventory {
public:
    explicit Inventory(int32_t id) : id_(id) {}

    int32_t id() const { return id_; }

    // The add step: marks the inventory changed, then adds (or, when negative,
    // takes away) the amount. See the .cpp for the truncation rules.
    void add(std::string_view name, double amount);

    // The item with exactly this name, or null.
    const Item* find(std::string_view name) const;

    const std::vector<Item>& items() const { return items_; }
    std::size_t item_count() const { return items_.size(); }

    // Removes every item; the changed flag is left alone.
    void clear_items();

    // Rebuilds the list text ("name=quantity\n" per item) and returns it. The
    // text stays as it is until the next call, whatever is added meanwhile.
    const std::string& rebuild_list_text();

    bool dirty = false;    // set by every add, cleared by a save or a string load
    std::string file_name; // empty: save and load use the name passed to them

private:
    // Index of the item named `name` (searched from the front), or -1.
    std::ptrdiff_t index_of(std::string_view name, std::size_t key) const;
    void erase_at(std::size_t index);

    int32_t id_;
    std::string list_text_;
    std::vector<Item> items_;
    // A hash of each item's name, kept beside items_ in the same order, so the
    // front-to-back search compares one integer per item before any bytes.
    std::vector<std::size_t> keys_;
};

} // namespace zyn::inventory

// One inventory: an ordered set of named items with whole-number quantities,
// plus the file name it carries, its changed flag and its last list text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zyn::inventory {

struct Item {
    std::string name;  // any bytes; compared exactly, case-sensitive
    int64_t quantity;  // 0 or more
};

class Inventory {
public:
    explicit Inventory(int32_t id) : id_(id) {}
    // The index holds views of the items' own names: an inventory is moved,
    // never copied (moving a list keeps its items where they are).
    Inventory(Inventory&&) = default;
    Inventory(const Inventory&) = delete;
    Inventory& operator=(const Inventory&) = delete;

    int32_t id() const { return id_; }

    // The add step: marks the inventory changed, then adds (or, when negative,
    // takes away) the amount. See the .cpp for the truncation rules.
    void add(std::string_view name, double amount);

    // The item with exactly this name, or null. The pointer stays valid until
    // that item is removed.
    const Item* find(std::string_view name) const;

    // The items in the order they were first added.
    const std::list<Item>& items() const { return items_; }
    std::size_t item_count() const { return items_.size(); }

    // Makes room in the index for this many items, so a load of many new
    // names does not grow it step by step.
    void reserve(std::size_t items) { index_.reserve(items); }

    // Removes every item; the changed flag is left alone.
    void clear_items();

    // Rebuilds the list text ("name=quantity\n" per item) and returns it. The
    // text stays as it is until the next call, whatever is added meanwhile.
    const std::string& rebuild_list_text();

    bool dirty = false;    // set by every add, cleared by a save or a string load
    std::string file_name; // empty: save and load use the name passed to them

private:
    int32_t id_;
    std::string list_text_;
    // The items in order, and beside them an index from each name (a view of
    // the item's own name) to its item: finding, adding and removing an item
    // take the same time however many items there are.
    std::list<Item> items_;
    std::unordered_map<std::string_view, std::list<Item>::iterator> index_;
};

} // namespace zyn::inventory

// One inventory: an ordered set of named items with whole-number quantities,
// plus the file name it carries, its changed flag and its last list text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zyn::inventory {

class Inventory {
public:
    explicit Inventory(int32_t id) : id_(id) {}
    Inventory(Inventory&&) noexcept = default;
    Inventory(const Inventory&) = delete;
    Inventory& operator=(const Inventory&) = delete;

    int32_t id() const { return id_; }

    // The add step: marks the inventory changed, then adds (or, when negative,
    // takes away) the amount. See the .cpp for the truncation rules. Should
    // memory run out, it throws and the items are left as they were.
    void add(std::string_view name, double amount);

    // The quantity of the item with exactly this name (any bytes, compared
    // exactly, case-sensitive); nothing when no such item is held.
    std::optional<int64_t> find(std::string_view name) const;

    // Calls fn(std::string_view name, int64_t quantity) for each item, in the
    // order they were first added. The name views last until the next change.
    template <class Fn>
    void for_each_item(Fn&& fn) const
    {
        for (std::size_t at = 0; at < records_.size();) {
            const Record record = record_at(at);
            const int64_t quantity = quantity_at(record);
            if (quantity != kRemoved)
                fn(record.name, quantity);
            at = record.end();
        }
    }

    std::size_t item_count() const { return count_; }

    // The bytes an item of a name this long takes in the record block.
    static std::size_t record_size(std::size_t name_length);

    // Makes room for this many more items, whose records take this many
    // bytes, so a load of many new names grows the block and the index once.
    // Room is only asked for: should memory run short, nothing is reserved.
    void reserve(std::size_t items, std::size_t record_bytes) noexcept;

    // Hands back the room a load reserved but did not use.
    void trim() noexcept;

    // Removes every item and frees their memory; the changed flag is left alone.
    void clear_items() noexcept;

    // Rebuilds the list text ("name=quantity\n" per item) and returns it. The
    // text stays as it is until the next call, whatever is added meanwhile.
    const std::string& rebuild_list_text();

    bool dirty = false;    // set by every add, cleared by a save or a string load
    std::string file_name; // empty: save and load use the name passed to them

private:
    // The items live packed in one block, one record each, in item order:
    // the name's length (7 bits a byte, low bits first, the top bit set on
    // every byte but the last), the name's bytes, then the quantity (8 bytes,
    // the machine's order). A removed item keeps its record, its quantity set
    // to kRemoved, until the dead records make up more than half the block.
    static constexpr int64_t kRemoved = -1;

    struct Record {
        std::size_t start;       // where the record begins in the block
        std::string_view name;
        std::size_t quantity_at; // where its quantity begins
        std::size_t end() const { return quantity_at + sizeof(int64_t); }
    };

    Record record_at(std::size_t start) const
    {
        const char* p = records_.data() + start;
        std::size_t length = 0;
        unsigned shift = 0;
        unsigned char byte;
        do {
            byte = static_cast<unsigned char>(*p++);
            length |= std::size_t(byte & 0x7f) << shift;
            shift += 7;
        } while (byte & 0x80);
        return {start, std::string_view(p, length), std::size_t(p - records_.data()) + length};
    }

    int64_t quantity_at(const Record& record) const
    {
        int64_t quantity;
        std::memcpy(&quantity, records_.data() + record.quantity_at, sizeof quantity);
        return quantity;
    }
    void set_quantity(const Record& record, int64_t quantity)
    {
        std::memcpy(&records_[record.quantity_at], &quantity, sizeof quantity);
    }

    // The index: an open-addressing table of the records' starts (linear
    // probing, a power of two of slots, at most half full while small, three
    // quarters beyond), kEmpty in a free slot. It holds the live items only.
    static constexpr uint32_t kEmpty = UINT32_MAX;
    std::size_t slot_of(std::string_view name, std::size_t hash) const;
    std::size_t free_slot(std::size_t hash) const;
    void rehash(std::size_t slots);
    void erase_slot(std::size_t slot) noexcept;

    void append(std::string_view name, std::size_t hash, int64_t quantity);
    void remove(std::size_t slot, const Record& record) noexcept;
    void compact() noexcept;

    int32_t id_;
    std::string list_text_;
    std::vector<char> records_;
    std::size_t dead_bytes_ = 0; // the bytes of removed items' records
    std::size_t count_ = 0;      // live items
    std::unique_ptr<uint32_t[]> slots_;
    std::size_t slot_count_ = 0; // 0 until the first item comes
};

} // namespace zyn::inventory

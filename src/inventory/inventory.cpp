// One inventory: the add step, lookups, removal and the list text.
#include "inventory/inventory.h"

#include "inventory/quantity.h"
#include "inventory/text_format.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <limits>
#include <new>
#include <utility>

namespace zyn::inventory {

namespace {

// Record starts are 32-bit, and kEmpty is none of them.
std::size_t max_block(const std::vector<char>& block) { return std::min<std::size_t>(UINT32_MAX - 1, block.max_size()); }

std::size_t hash_name(std::string_view name) { return std::hash<std::string_view>{}(name); }

// How many items a table of this many slots takes: up to half of a small
// one (a few KiB at most, and fewer slots to pass on the way to an item),
// three quarters of a larger one, where the index is a good part of the
// inventory's memory.
std::size_t items_held(std::size_t slots) { return slots <= 1024 ? slots / 2 : slots / 4 * 3; }

// The smallest table that takes this many items.
std::size_t slots_for(std::size_t items)
{
    std::size_t slots = 8;
    while (items_held(slots) < items) {
        if (slots > std::numeric_limits<std::size_t>::max() / 2 / sizeof(uint32_t))
            throw std::bad_alloc();
        slots *= 2;
    }
    return slots;
}

} // namespace

std::size_t Inventory::slot_of(std::string_view name, std::size_t hash) const
{
    const std::size_t mask = slot_count_ - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const uint32_t start = slots_[i];
        if (start == kEmpty || record_at(start).name == name)
            return i;
    }
}

std::size_t Inventory::free_slot(std::size_t hash) const
{
    const std::size_t mask = slot_count_ - 1;
    std::size_t i = hash & mask;
    while (slots_[i] != kEmpty)
        i = (i + 1) & mask;
    return i;
}

void Inventory::rehash(std::size_t slots)
{
    std::unique_ptr<uint32_t[]> old(new uint32_t[slots]);
    std::fill_n(old.get(), slots, kEmpty);
    old.swap(slots_);
    const std::size_t old_count = std::exchange(slot_count_, slots);
    for (std::size_t i = 0; i < old_count; ++i) {
        if (const uint32_t start = old[i]; start != kEmpty)
            slots_[free_slot(hash_name(record_at(start).name))] = start;
    }
}

void Inventory::erase_slot(std::size_t slot) noexcept
{
    // Linear probing without tombstones: each entry after the hole, up to the
    // next free slot, moves into the hole when the hole lies between its home
    // slot and where it is, so that every entry stays reachable from its home.
    const std::size_t mask = slot_count_ - 1;
    std::size_t hole = slot;
    for (std::size_t i = (slot + 1) & mask; slots_[i] != kEmpty; i = (i + 1) & mask) {
        const std::size_t home = hash_name(record_at(slots_[i]).name) & mask;
        if (((i - home) & mask) >= ((i - hole) & mask)) {
            slots_[hole] = slots_[i];
            hole = i;
        }
    }
    slots_[hole] = kEmpty;
}

std::optional<int64_t> Inventory::find(std::string_view name) const
{
    if (count_ == 0)
        return std::nullopt;
    const uint32_t start = slots_[slot_of(name, hash_name(name))];
    if (start == kEmpty)
        return std::nullopt;
    return quantity_at(record_at(start));
}

void Inventory::add(std::string_view name, double amount)
{
    dirty = true; // first, so that even an add that changes nothing counts as a change
    if (std::isnan(amount))
        return; // not an amount: nothing to add or take away, no item is touched

    const std::size_t hash = hash_name(name);
    const std::size_t slot = count_ == 0 ? 0 : slot_of(name, hash);
    if (count_ == 0 || slots_[slot] == kEmpty) {
        if (amount > 0)
            append(name, hash, truncate_to_quantity(amount)); // below 1: an item of quantity 0
        return;
    }

    const Record record = record_at(slots_[slot]);
    // The sum is formed in double precision: quantities above 2^53 lose their
    // lowest digits here. A finite quantity plus a non-NaN amount is never NaN.
    const int64_t result = truncate_to_quantity(add_in_double(quantity_at(record), amount));
    if (result <= 0)
        remove(slot, record);
    else
        set_quantity(record, result);
}

void Inventory::append(std::string_view name, std::size_t hash, int64_t quantity)
{
    // Room first, in the block and in the index: once both are there nothing
    // below can fail, so running out of memory leaves the items as they were.
    const std::size_t limit = max_block(records_);
    if (name.size() > limit)
        throw std::bad_alloc();
    const std::size_t size = record_size(name.size());
    if (size > limit - records_.size())
        throw std::bad_alloc();
    if (records_.size() + size > records_.capacity()) {
        const std::size_t doubled = records_.capacity() > limit / 2 ? limit : records_.capacity() * 2;
        records_.reserve(std::max(records_.size() + size, doubled));
    }
    if (items_held(slot_count_) < count_ + 1)
        rehash(slots_for(count_ + 1));

    const std::size_t start = records_.size();
    std::size_t length = name.size();
    for (; length >= 0x80; length >>= 7)
        records_.push_back(static_cast<char>(0x80 | (length & 0x7f)));
    records_.push_back(static_cast<char>(length));
    records_.insert(records_.end(), name.begin(), name.end());
    const char* bytes = reinterpret_cast<const char*>(&quantity);
    records_.insert(records_.end(), bytes, bytes + sizeof quantity);
    slots_[free_slot(hash)] = static_cast<uint32_t>(start);
    ++count_;
}

void Inventory::remove(std::size_t slot, const Record& record) noexcept
{
    set_quantity(record, kRemoved);
    dead_bytes_ += record.end() - record.start;
    --count_;
    erase_slot(slot);
    if (dead_bytes_ > records_.size() - dead_bytes_)
        compact();
}

void Inventory::compact() noexcept
{
    // The live records move down over the dead ones, in order; each moved
    // record's index entry is found by its old start and given the new one.
    // (Moved records only go down, so no new start equals a start still
    // looked for.) The work is paid for by the dead bytes it drops.
    const std::size_t mask = slot_count_ - 1;
    std::size_t kept = 0;
    for (std::size_t at = 0; at < records_.size();) {
        const Record record = record_at(at);
        const std::size_t size = record.end() - record.start;
        if (quantity_at(record) != kRemoved) {
            if (kept != at) {
                std::size_t i = hash_name(record.name) & mask;
                while (slots_[i] != at)
                    i = (i + 1) & mask;
                slots_[i] = static_cast<uint32_t>(kept);
                std::memmove(&records_[kept], records_.data() + at, size);
            }
            kept += size;
        }
        at += size;
    }
    records_.resize(kept);
    dead_bytes_ = 0;
}

std::size_t Inventory::record_size(std::size_t name_length)
{
    std::size_t length_bytes = 1;
    for (std::size_t rest = name_length >> 7; rest != 0; rest >>= 7)
        ++length_bytes;
    return length_bytes + name_length + sizeof(int64_t);
}

void Inventory::reserve(std::size_t items, std::size_t record_bytes) noexcept
{
    try {
        if (record_bytes <= max_block(records_) - records_.size())
            records_.reserve(records_.size() + record_bytes);
        if (slots_for(count_ + items) > slot_count_)
            rehash(slots_for(count_ + items));
    } catch (const std::exception&) {
        // no room ahead: the adds grow what they need, or fail themselves
    }
}

void Inventory::trim() noexcept
{
    try {
        if (records_.capacity() - records_.size() > records_.size() / 8)
            records_.shrink_to_fit();
        if (slots_for(count_) < slot_count_)
            rehash(slots_for(count_));
    } catch (const std::exception&) {
        // keeps the larger room it has
    }
}

void Inventory::clear_items() noexcept
{
    std::vector<char>().swap(records_);
    slots_.reset();
    slot_count_ = 0;
    count_ = 0;
    dead_bytes_ = 0;
}

const std::string& Inventory::rebuild_list_text()
{
    list_text_.clear();
    for_each_item([&](std::string_view name, int64_t quantity) { text::append_line(list_text_, name, quantity); });
    return list_text_;
}

} // namespace zyn::inventory

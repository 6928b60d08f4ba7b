// What the exports cannot reach: the handle counter's end, adds out of memory, the item store against a plain list.
#include "inventory/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>
#include <optional>

namespace {

int g_allocations_left = -1; // allocations still allowed before the next one fails; negative: no limit

} // namespace

// Every allocation of this program comes here, so a test can make one fail as an exhausted heap does.
void* operator new(std::size_t size)
{
    if (g_allocations_left >= 0 && g_allocations_left-- == 0) // fails once, then the limit is gone
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// The array forms too: where the runtime is a DLL (MinGW), its own array new would not come here.
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace zyn::inventory;
using Items = std::vector<std::pair<std::string, int64_t>>;

TEST(InventoryInner, HandlesRunOutInsteadOfWrapping)
{
    Registry fresh, nearly_full(std::numeric_limits<int32_t>::max() - 1);
    EXPECT_EQ(fresh.create() + fresh.create(), 3);
    EXPECT_EQ(nearly_full.create(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(nearly_full.create(), 0);
    EXPECT_EQ(nearly_full.destroy_all(), 1u);
    EXPECT_EQ(nearly_full.create(), 0); // destroying frees no handle for reuse
    EXPECT_EQ(nearly_full.find(0), nullptr);
}

// The items in list order, each checked to be found by its name with its quantity, none twice, the count matching.
Items listed_consistently(const Inventory& inv)
{
    Items items;
    inv.for_each_item([&](std::string_view name, int64_t quantity) {
        EXPECT_EQ(inv.find(name), quantity) << name;
        EXPECT_EQ(std::count_if(items.begin(), items.end(), [&](const auto& seen) { return seen.first == name; }), 0);
        items.emplace_back(name, quantity);
    });
    EXPECT_EQ(items.size(), inv.item_count());
    return items;
}

TEST(InventoryInner, AddsRemovalsAndAddsOutOfMemoryKeepTheOrderOfAPlainList)
{
    // Dead records are packed away past half of the block; name lengths cross the one-byte length (127/128); an
    // add that runs out of memory (record block or index grown now and then) must change nothing.
    std::vector<std::string> names = {"", std::string(1, '\0'), std::string(127, 'x'), std::string(128, 'x'),
                                      std::string(300, 'y')};
    for (int i = 0; i < 60; ++i)
        names.push_back("n" + std::to_string(i * 7919 % 1000));
    for (const auto& [modulo, offset] : {std::pair{7, 3}, {5, 3}, {9, 2}, {3, 1}}) {
        SCOPED_TRACE(modulo);
        Inventory inv(1);
        Items model;
        uint32_t seed = 12345;
        const auto held = [&](const std::string& name) {
            return std::find_if(model.begin(), model.end(), [&](const auto& item) { return item.first == name; });
        };
        for (int step = 0; step < 6000; ++step) {
            seed = seed * 1103515245u + 12345u;
            const std::string& name = names[(seed >> 8) % names.size()];
            const int64_t amount = int(seed >> 20) % modulo - offset;
#if !defined(_WIN32) // under Wine a failure thrown from inside an add never comes back
            g_allocations_left = int(seed >> 31); // the first or the second allocation of the add fails
#endif
            try {
                inv.add(name, double(amount));
            } catch (const std::bad_alloc&) {
                g_allocations_left = -1;
                continue;
            }
            g_allocations_left = -1;
            if (const auto at = held(name); at == model.end() && amount > 0)
                model.emplace_back(name, amount);
            else if (at != model.end() && at->second + amount <= 0)
                model.erase(at);
            else if (at != model.end())
                at->second += amount;
            if (step % 97 == 0 || step > 5900) {
                ASSERT_EQ(listed_consistently(inv), model) << "step " << step;
            }
            ASSERT_EQ(inv.item_count(), model.size());
        }
        for (const std::string& name : names)
            EXPECT_EQ(inv.find(name), held(name) == model.end() ? std::nullopt : std::optional(held(name)->second));
        inv.clear_items();
        EXPECT_TRUE(inv.item_count() == 0 && inv.find("") == std::nullopt && inv.rebuild_list_text().empty());
    }
}

} // namespace

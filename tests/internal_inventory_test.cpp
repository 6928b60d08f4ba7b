// Inner pieces of the inventory store: the handle counter's end, value
// parsing at the 64-bit limits, the amount-to-quantity conversion, an
// inventory that stays whole when memory runs out in the middle of an add,
// and the packed item store against a plain list through adds and removals.
#include "inventory/quantity.h"
#include "inventory/registry.h"
#include "inventory/text_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Allocations still allowed before the next one fails; negative: no limit.
int g_allocations_left = -1;

} // namespace

// This program's allocations go through here, so a test can make the n-th
// next one fail the way an exhausted heap does.
void* operator new(std::size_t size)
{
    if (g_allocations_left == 0) {
        g_allocations_left = -1;
        throw std::bad_alloc();
    }
    if (g_allocations_left > 0)
        --g_allocations_left;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// The array forms too: where the runtime is a DLL (MinGW), its own array new
// would not come here.
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace zyn::inventory;

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(InventoryRegistry, HandlesStartAtOneAndRunOutInsteadOfWrapping)
{
    Registry fresh, nearly_full(std::numeric_limits<int32_t>::max() - 1);
    EXPECT_EQ(fresh.create() + fresh.create(), 3);
    EXPECT_EQ(nearly_full.create(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(nearly_full.create(), 0);
    EXPECT_EQ(nearly_full.destroy_all(), 1u);
    EXPECT_EQ(nearly_full.create(), 0); // destroying frees no handle for reuse
    EXPECT_EQ(nearly_full.find(0), nullptr);
}

TEST(InventoryText, ValuesParseLikeBaseTenWithSaturationAndAmountsTruncateTowardZero)
{
    const std::pair<const char*, int64_t> values[] = {{"5", 5}, {"+5", 5}, {"-5", -5}, {" \t\v\f\r5", 5}, {"5\r", 5},
        {"5 6", 5}, {"12abc", 12}, {"", 0}, {"abc", 0}, {"+", 0}, {"-", 0}, {"+-5", 0}, {"- 5", 0}, {"0x10", 0}, {"007", 7},
        {"9223372036854775807", kMax}, {"9223372036854775808", kMax}, {"99999999999999999999999", kMax},
        {"-9223372036854775807", kMin + 1}, {"-9223372036854775808", kMin}, {"-9223372036854775809", kMin},
        {"000000000000000000000000000042", 42}};
    for (const auto& [written, value] : values)
        EXPECT_EQ(text::parse_value(written), value) << '"' << written << '"';
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::pair<double, int64_t> amounts[] = {{2.9, 2}, {-2.9, -2}, {0.999, 0}, {1e-300, 0},
        {9223372036854774784.0, 9223372036854774784}, // the largest double below 2^63
        {9223372036854775808.0, kMax}, {kInf, kMax}, {-9223372036854775808.0, kMin}, {-kInf, kMin},
        {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const auto& [amount, quantity] : amounts)
        EXPECT_EQ(truncate_to_quantity(amount), quantity) << amount;
}

TEST(InventoryText, LinesEndAtLfAndTheTailIsReadOnlyWhenAsked)
{
    Inventory inv(1);
    EXPECT_EQ(text::apply_lines(inv, "ab=1\ncd=2\r\nef=3", false), 2u);
    EXPECT_EQ(inv.rebuild_list_text(), "ab=1\ncd=2\n");
    EXPECT_EQ(text::apply_lines(inv, "ab=1\ncd=2\r\nef=3", true), 3u);
    EXPECT_EQ(inv.rebuild_list_text(), "ab=2\ncd=4\nef=3\n");
    EXPECT_EQ(text::apply_lines(inv, std::string_view("nu\0l=4\n", 7), false), 1u); // a zero byte is just a byte
    EXPECT_EQ(inv.item_count(), 4u);
}

// Every item listed is found by its name with the quantity listed, no name
// is listed twice, and the list holds as many items as the inventory counts.
std::vector<std::pair<std::string, int64_t>> listed_consistently(const Inventory& inv)
{
    std::vector<std::pair<std::string, int64_t>> items;
    inv.for_each_item([&](std::string_view name, int64_t quantity) {
        EXPECT_EQ(inv.find(name), quantity) << name;
        for (const auto& seen : items)
            EXPECT_NE(seen.first, name);
        items.emplace_back(name, quantity);
    });
    EXPECT_EQ(items.size(), inv.item_count());
    return items;
}

TEST(InventoryItems, AnAddThatRunsOutOfMemoryLeavesTheInventoryWhole)
{
    // A new item takes room in the record block and in the index, each grown
    // now and then: whichever allocation fails, that add changes nothing. The
    // first, second, ... allocation of the adds fails in turn, until the adds
    // need no more than are allowed.
    const char* names[] = {"aa", "bb", "cc", "dd", "ee", "ff", "gg", "hh", "ii", "a name longer than the rest"};
    for (int allowed = 0;; ++allowed) {
        SCOPED_TRACE(allowed);
        Inventory inv(1);
        std::vector<std::pair<std::string, int64_t>> expected;
        bool added[std::size(names)] = {};
        g_allocations_left = allowed; // the next allocation after these fails, once
        for (std::size_t i = 0; i < std::size(names); ++i) {
            try {
                inv.add(names[i], 1);
                added[i] = true;
            } catch (const std::bad_alloc&) {
            }
        }
        g_allocations_left = -1;
        for (std::size_t i = 0; i < std::size(names); ++i) {
            if (added[i])
                expected.emplace_back(names[i], 1);
        }
        const bool failed = expected.size() < std::size(names);
        EXPECT_GE(expected.size(), std::size(names) - 1); // only the add whose allocation failed is missing
        EXPECT_EQ(listed_consistently(inv), expected);
        for (const char* name : names)
            inv.add(name, 1);
        EXPECT_EQ(inv.item_count(), std::size(names));
        inv.add("aa", -5);
        EXPECT_EQ(inv.find("aa"), std::nullopt);
        for (std::size_t i = 1; i < std::size(names); ++i)
            EXPECT_NE(inv.find(names[i]), std::nullopt) << names[i];
        if (!failed) {
            EXPECT_GE(allowed, 3); // the block and the index both grew on the way
            break;
        }
    }
}

TEST(InventoryItems, RemovalsAndReaddsKeepTheOrderOfAPlainList)
{
    // Long runs of adds and removals (which leave dead records behind, and
    // past half of the block pack them away) checked step by step against a
    // plain list of (name, quantity) pairs in item order. The names share
    // few bytes, lengths cross the one-byte length (127/128) and include the
    // empty name and a zero byte.
    std::vector<std::string> names = {"", std::string(1, '\0'), std::string(127, 'x'), std::string(128, 'x'),
                                      std::string(300, 'y')};
    for (int i = 0; i < 60; ++i)
        names.push_back("n" + std::to_string(i * 7919 % 1000));
    struct Pattern {
        int amount_mod;  // amounts come from (step * 31) % amount_mod - offset
        int offset;
    } patterns[] = {{7, 3}, {5, 3}, {9, 2}, {3, 1}};
    for (const Pattern& pattern : patterns) {
        SCOPED_TRACE(pattern.amount_mod);
        Inventory inv(1);
        std::vector<std::pair<std::string, int64_t>> model;
        uint32_t seed = 12345;
        for (int step = 0; step < 6000; ++step) {
            seed = seed * 1103515245u + 12345u;
            const std::string& name = names[(seed >> 8) % names.size()];
            const double amount = double(int(seed >> 20) % pattern.amount_mod - pattern.offset);
            inv.add(name, amount);
            auto at = std::find_if(model.begin(), model.end(), [&](const auto& item) { return item.first == name; });
            if (at == model.end()) {
                if (amount > 0)
                    model.emplace_back(name, int64_t(amount));
            } else if (at->second + int64_t(amount) <= 0) {
                model.erase(at);
            } else {
                at->second += int64_t(amount);
            }
            if (step % 97 == 0 || step > 5900) {
                ASSERT_EQ(listed_consistently(inv), model) << "step " << step;
            }
            ASSERT_EQ(inv.item_count(), model.size());
        }
        for (const std::string& name : names) {
            auto at = std::find_if(model.begin(), model.end(), [&](const auto& item) { return item.first == name; });
            EXPECT_EQ(inv.find(name), at == model.end() ? std::nullopt : std::optional<int64_t>(at->second));
        }
        inv.clear_items();
        EXPECT_EQ(inv.item_count(), 0u);
        EXPECT_EQ(inv.find(""), std::nullopt);
        EXPECT_EQ(inv.rebuild_list_text(), "");
    }
}

} // namespace

// Inner pieces of the inventory store: the handle counter's end, value
// parsing at the 64-bit limits, the amount-to-quantity conversion, and an
// inventory that stays whole when memory runs out in the middle of an add.
#include "inventory/quantity.h"
#include "inventory/registry.h"
#include "inventory/text_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <new>

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

TEST(InventoryItems, AnAddThatRunsOutOfMemoryLeavesTheInventoryWhole)
{
    // A new item takes its place in the order, its index entry and at times a
    // larger index: whichever allocation fails, the add changes nothing.
    for (int allowed : {0, 1, 2}) {
        SCOPED_TRACE(allowed);
        Inventory inv(1);
        const char* names[] = {"aa", "bb", "cc", "dd", "ee", "ff", "gg", "hh", "ii"};
        int thrown = 0;
        for (const char* name : names) {
            g_allocations_left = allowed;
            try {
                inv.add(name, 1);
            } catch (const std::bad_alloc&) {
                ++thrown;
            }
            g_allocations_left = -1;
        }
        EXPECT_GT(thrown, 0);
        // Every item held is found where it is, and a name is never held twice.
        for (const Item& item : inv.items())
            EXPECT_EQ(inv.find(item.name), &item) << item.name;
        for (const char* name : names)
            inv.add(name, 1);
        EXPECT_EQ(inv.item_count(), std::size(names));
        inv.add("aa", -5);
        EXPECT_EQ(inv.find("aa"), nullptr);
        for (std::size_t i = 1; i < std::size(names); ++i)
            EXPECT_NE(inv.find(names[i]), nullptr) << names[i];
    }
}

} // namespace

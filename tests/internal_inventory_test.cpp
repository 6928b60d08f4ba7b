// Inner pieces of the inventory store: the handle counter's end, value
// parsing at the 64-bit limits, and the amount-to-quantity conversion.
#include "inventory/quantity.h"
#include "inventory/registry.h"
#include "inventory/text_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using namespace zyn::inventory;

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(InventoryRegistry, HandlesStartAtOneAndRunOutInsteadOfWrapping)
{
    Registry fresh;
    EXPECT_EQ(fresh.create(), 1);
    EXPECT_EQ(fresh.create(), 2);

    Registry nearly_full(std::numeric_limits<int32_t>::max() - 1);
    EXPECT_EQ(nearly_full.create(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(nearly_full.create(), 0);
    EXPECT_EQ(nearly_full.size(), 1u);
    EXPECT_EQ(nearly_full.destroy_all(), 1u);
    EXPECT_EQ(nearly_full.create(), 0); // destroying frees no handle for reuse
    EXPECT_EQ(nearly_full.find(0), nullptr);
}

TEST(InventoryText, ValuesParseLikeBaseTenWithSaturation)
{
    struct Case {
        const char* text;
        int64_t value;
    } cases[] = {
        {"5", 5}, {"+5", 5}, {"-5", -5}, {" \t\v\f\r5", 5}, {"5\r", 5}, {"5 6", 5}, {"12abc", 12},
        {"", 0}, {"abc", 0}, {"+", 0}, {"-", 0}, {"+-5", 0}, {"- 5", 0}, {"0x10", 0}, {"007", 7},
        {"9223372036854775807", kMax}, {"9223372036854775808", kMax}, {"99999999999999999999999", kMax},
        {"-9223372036854775807", kMin + 1}, {"-9223372036854775808", kMin}, {"-9223372036854775809", kMin},
        {"000000000000000000000000000042", 42},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::parse_value(c.text), c.value) << '"' << c.text << '"';
}

TEST(InventoryText, AmountsTruncateTowardZeroAndSaturate)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(truncate_to_quantity(2.9), 2);
    EXPECT_EQ(truncate_to_quantity(-2.9), -2);
    EXPECT_EQ(truncate_to_quantity(0.999), 0);
    EXPECT_EQ(truncate_to_quantity(1e-300), 0);
    EXPECT_EQ(truncate_to_quantity(9223372036854774784.0), 9223372036854774784); // largest double below 2^63
    EXPECT_EQ(truncate_to_quantity(9223372036854775808.0), kMax);
    EXPECT_EQ(truncate_to_quantity(kInf), kMax);
    EXPECT_EQ(truncate_to_quantity(-9223372036854775808.0), kMin);
    EXPECT_EQ(truncate_to_quantity(-kInf), kMin);
    EXPECT_EQ(truncate_to_quantity(std::numeric_limits<double>::quiet_NaN()), 0);
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

} // namespace

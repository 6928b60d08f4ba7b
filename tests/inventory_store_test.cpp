// Inventories in memory: handles, the add step and its truncation rules,
// lookups and the list text.
#include "support/inventory_helpers.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

using test::inventory_list;
using Inventories = test::LoadedLibrary;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(InventoriesNotLoaded, EveryExportRefusesWithErrorOne)
{
    zyn_unload();
    auto refused = [](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
        EXPECT_EQ(zyn_get_extendederror(), 0);
    };
    EXPECT_EQ(zyn_inventory_create(), 0);
    refused("create");
    EXPECT_EQ(zyn_inventory_exists(1), 0);
    refused("exists");
    EXPECT_EQ(zyn_inventory_destroy(1), 0);
    refused("destroy");
    EXPECT_EQ(zyn_inventory_destroy_all(), 0);
    refused("destroy_all");
    EXPECT_EQ(zyn_inventory_add_item(1, "arrows", 3), 0);
    refused("add_item");
    EXPECT_EQ(zyn_inventory_item_exists(1, "arrows"), 0);
    refused("item_exists");
    int32_t length = 77;
    EXPECT_EQ(zyn_inventory_item_list(1, &length), nullptr);
    refused("item_list");
    EXPECT_EQ(length, 0);
    EXPECT_EQ(zyn_inventory_get_quantidade(1, "arrows"), 0.0);
    refused("get_quantidade");
    EXPECT_EQ(zyn_inventory_setfilename(1, "x.txt"), 0);
    refused("setfilename");
    EXPECT_EQ(zyn_inventory_save(1, "x.txt"), 0);
    refused("save");
    EXPECT_EQ(zyn_inventory_save_all(), 0);
    refused("save_all");
    EXPECT_EQ(zyn_inventory_loadfromfile(1, "x.txt"), 0);
    refused("loadfromfile");
    EXPECT_EQ(zyn_inventory_loadfromstring(1, "arrows=3\n"), 0);
    refused("loadfromstring");
}

TEST_F(Inventories, HandlesCountUpAndAreNeverGivenOutTwice)
{
    const int a = zyn_inventory_create();
    EXPECT_GE(a, 1);
    EXPECT_EQ(zyn_inventory_create(), a + 1);
    EXPECT_EQ(zyn_inventory_create(), a + 2);
    EXPECT_EQ(zyn_inventory_exists(a + 1), 1);
    EXPECT_EQ(zyn_inventory_destroy_all(), 3);
    EXPECT_EQ(zyn_inventory_exists(a + 1), 0);
    EXPECT_EQ(zyn_geterror(), 0); // an unknown handle is not an error for exists
    EXPECT_EQ(zyn_inventory_create(), a + 3);
    EXPECT_EQ(zyn_inventory_destroy(a + 3), 1);
    EXPECT_EQ(zyn_inventory_destroy(a + 3), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    EXPECT_EQ(zyn_inventory_destroy_all(), 0);
    EXPECT_EQ(zyn_geterror(), 0);

    // zyn_unload empties the registry but the counter keeps counting.
    const int b = zyn_inventory_create();
    EXPECT_EQ(b, a + 4);
    ASSERT_EQ(zyn_unload(), 1);
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_inventory_exists(b), 0);
    EXPECT_EQ(zyn_inventory_destroy_all(), 0);
    EXPECT_EQ(zyn_inventory_create(), b + 1);

    for (int bad : {0, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        EXPECT_EQ(zyn_inventory_exists(bad), 0);
        EXPECT_EQ(zyn_geterror(), 0);
        EXPECT_EQ(zyn_inventory_destroy(bad), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    }
}

TEST_F(Inventories, UnknownHandleGivesNotFoundAndChangesNothing)
{
    const int h = zyn_inventory_create();
    ASSERT_EQ(zyn_inventory_add_item(h, "arrows", 3), 1);
    const int gone = h + 100;
    auto not_found = [](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
        EXPECT_EQ(zyn_get_extendederror(), 0);
    };
    EXPECT_EQ(zyn_inventory_add_item(gone, "arrows", 3), 0);
    not_found("add_item");
    EXPECT_EQ(zyn_inventory_add_item(gone, nullptr, 3), 0);
    not_found("add_item, null name");
    EXPECT_EQ(zyn_inventory_item_exists(gone, "arrows"), 0);
    not_found("item_exists");
    int32_t length = 5;
    EXPECT_EQ(zyn_inventory_item_list(gone, &length), nullptr);
    not_found("item_list");
    EXPECT_EQ(length, 0);
    EXPECT_EQ(zyn_inventory_get_quantidade(gone, "arrows"), 0.0);
    not_found("get_quantidade");
    EXPECT_EQ(zyn_inventory_exists(gone), 0);
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "arrows"), 3.0);
}

TEST_F(Inventories, AddTruncatesTowardZeroAndRemovesAtZero)
{
    const int h = zyn_inventory_create();
    // The worked example: 2.9 -> 2, +0.9 -> 2, -0.5 -> 1, -0.6 -> removed.
    EXPECT_EQ(zyn_inventory_add_item(h, "gem", 2.9), 1);
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "gem"), 2.0);
    zyn_inventory_add_item(h, "gem", 0.9);
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "gem"), 2.0);
    zyn_inventory_add_item(h, "gem", -0.5);
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "gem"), 1.0);
    zyn_inventory_add_item(h, "gem", -0.6);
    EXPECT_EQ(zyn_inventory_item_exists(h, "gem"), 0);
    EXPECT_EQ(zyn_geterror(), 0);

    // Nothing is made from an amount of 0 or less; the add still succeeds.
    EXPECT_EQ(zyn_inventory_add_item(h, "ghost", 0), 1);
    EXPECT_EQ(zyn_inventory_add_item(h, "ghost", -5), 1);
    EXPECT_EQ(zyn_inventory_add_item(h, "ghost", -0.0), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_inventory_item_exists(h, "ghost"), 0);

    // 0.5 makes an item of quantity 0, listed and counted as held.
    EXPECT_EQ(zyn_inventory_add_item(h, "crumb", 0.5), 1);
    EXPECT_EQ(zyn_inventory_item_exists(h, "crumb"), 1);
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "crumb"), 0.0);
    EXPECT_EQ(inventory_list(h), "crumb=0\n");
    // ... and any add below 1 removes it again, even a positive one.
    zyn_inventory_add_item(h, "crumb", 0.7);
    EXPECT_EQ(zyn_inventory_item_exists(h, "crumb"), 0);

    // A missing item reads as 0.0 without an error.
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "nothing"), 0.0);
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(Inventories, RemovalKeepsTheOrderAndReAddingAppends)
{
    const int h = zyn_inventory_create();
    zyn_inventory_add_item(h, "axe", 1);
    zyn_inventory_add_item(h, "bow", 3);
    zyn_inventory_add_item(h, "cap", 2);
    zyn_inventory_add_item(h, "axe", 4); // merging keeps the first place
    EXPECT_EQ(inventory_list(h), "axe=5\nbow=3\ncap=2\n");
    zyn_inventory_add_item(h, "bow", -5);
    EXPECT_EQ(inventory_list(h), "axe=5\ncap=2\n");
    zyn_inventory_add_item(h, "bow", 1);
    EXPECT_EQ(inventory_list(h), "axe=5\ncap=2\nbow=1\n");
    zyn_inventory_add_item(h, "axe", -5);
    EXPECT_EQ(inventory_list(h), "cap=2\nbow=1\n");
}

TEST_F(Inventories, NamesAreComparedByteForByte)
{
    const int h = zyn_inventory_create();
    const char* names[] = {"Sword", "sword", " sword", "sword ", "", "=", "\xc3\xa9p\xc3\xa9\x65", "a=b", "\x1a\x7f\xff"};
    double amount = 1;
    for (const char* name : names)
        EXPECT_EQ(zyn_inventory_add_item(h, name, amount++), 1) << name;
    amount = 1;
    for (const char* name : names) {
        EXPECT_EQ(zyn_inventory_item_exists(h, name), 1) << name;
        EXPECT_EQ(zyn_inventory_get_quantidade(h, name), amount++) << name;
    }
    EXPECT_EQ(zyn_inventory_item_exists(h, "SWORD"), 0);
    EXPECT_EQ(zyn_inventory_item_exists(h, "Swor"), 0);
    EXPECT_EQ(inventory_list(h),
              "Sword=1\nsword=2\n sword=3\nsword =4\n=5\n==6\n\xc3\xa9p\xc3\xa9\x65=7\na=b=8\n\x1a\x7f\xff=9\n");
}

TEST_F(Inventories, ListTextBelongsToTheInventoryUntilTheNextListCall)
{
    const int h = zyn_inventory_create();
    int32_t length = -1;
    const char* empty = zyn_inventory_item_list(h, &length);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(empty[0], '\0');

    zyn_inventory_add_item(h, "arrows", 3);
    zyn_inventory_add_item(h, "key", 1);
    const char* text = zyn_inventory_item_list(h, &length);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(length, 15);
    EXPECT_STREQ(text, "arrows=3\nkey=1\n"); // zero byte right after the text

    // Later adds, other inventories and other calls leave the text alone.
    zyn_inventory_add_item(h, "arrows", 100);
    zyn_inventory_add_item(h, "key", -1);
    const int other = zyn_inventory_create();
    zyn_inventory_add_item(other, "rope", 2);
    EXPECT_NE(zyn_inventory_item_list(other, &length), nullptr);
    EXPECT_STREQ(text, "arrows=3\nkey=1\n");

    // A null length pointer is allowed: only the text comes back.
    const char* again = zyn_inventory_item_list(h, nullptr);
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again, "arrows=103\n");
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(Inventories, QuantitiesStayAtZeroOrMoreForAnyAmount)
{
    const int h = zyn_inventory_create();
    const double kMaxAsDouble = 9223372036854775807.0; // rounds to 2^63

    // Not a number: the add succeeds but touches no item.
    EXPECT_EQ(zyn_inventory_add_item(h, "nan", kNaN), 1);
    EXPECT_EQ(zyn_inventory_item_exists(h, "nan"), 0);
    zyn_inventory_add_item(h, "coins", 7);
    EXPECT_EQ(zyn_inventory_add_item(h, "coins", kNaN), 1);
    EXPECT_EQ(zyn_inventory_add_item(h, "coins", -kNaN), 1);
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "coins"), 7.0);

    // Beyond 64 bits and infinity saturate at the largest quantity.
    zyn_inventory_add_item(h, "stars", kInf);
    zyn_inventory_add_item(h, "sand", 1e300);
    zyn_inventory_add_item(h, "coins", 1e19);
    EXPECT_EQ(inventory_list(h), "coins=9223372036854775807\nstars=9223372036854775807\nsand=9223372036854775807\n");
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "stars"), kMaxAsDouble);
    zyn_inventory_add_item(h, "stars", 1e300); // stays at the top instead of wrapping
    zyn_inventory_add_item(h, "stars", -1);    // the double sum cannot see a step of 1 up there
    zyn_inventory_add_item(h, "stars", -512);  // the quantity counts as 2^63 in the sum: a tie that rounds up again
    EXPECT_EQ(inventory_list(h), "coins=9223372036854775807\nstars=9223372036854775807\nsand=9223372036854775807\n");
    zyn_inventory_add_item(h, "stars", -4096.0);
    EXPECT_EQ(inventory_list(h), "coins=9223372036854775807\nstars=9223372036854771712\nsand=9223372036854775807\n");

    // Taking away more than 64 bits can hold removes the item, never wraps to positive.
    zyn_inventory_add_item(h, "sand", -kInf);
    zyn_inventory_add_item(h, "coins", -1e300);
    zyn_inventory_add_item(h, "stars", -1.8446744073709552e19);
    EXPECT_EQ(inventory_list(h), "");

    // Tiny positive amounts make a quantity-0 item; above 2^53 the add rounds.
    zyn_inventory_add_item(h, "dust", std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(zyn_inventory_item_exists(h, "dust"), 1);
    EXPECT_EQ(zyn_inventory_get_quantidade(h, "dust"), 0.0);
    zyn_inventory_add_item(h, "big", 9007199254740992.0); // 2^53
    zyn_inventory_add_item(h, "big", 1.0);                // 2^53 + 1 rounds back to 2^53
    EXPECT_EQ(inventory_list(h), "dust=0\nbig=9007199254740992\n");
    zyn_inventory_add_item(h, "big", 2.0);
    EXPECT_EQ(inventory_list(h), "dust=0\nbig=9007199254740994\n");
    // The sum is rounded once, to a double: 2^60 + 128 + 2^-12 lies just above
    // the midpoint of 2^60 and 2^60 + 256, so it gives the upper one (a sum
    // first rounded to a longer format would sit on the midpoint and go down).
    zyn_inventory_add_item(h, "vast", 1152921504606846976.0); // 2^60
    zyn_inventory_add_item(h, "vast", 128.0 + 1.0 / 4096.0);
    EXPECT_EQ(inventory_list(h), "dust=0\nbig=9007199254740994\nvast=1152921504606847232\n");
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(Inventories, MissingNamesAndNamesWithLineEndsAreRejectedWithInvalidArgument)
{
    const int h = zyn_inventory_create();
    zyn_inventory_add_item(h, "arrows", 3);
    EXPECT_EQ(zyn_inventory_add_item(h, nullptr, 5), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    // Saved, such a name would load back as another item ("Gold=5").
    for (const char* name : {"x\nGold", "x\rGold", "\n", "arrows\r\n"}) {
        EXPECT_EQ(zyn_inventory_add_item(h, name, 5), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    }
    EXPECT_EQ(zyn_inventory_item_exists(h, nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_inventory_get_quantidade(h, nullptr), 0.0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(inventory_list(h), "arrows=3\n");
    EXPECT_EQ(zyn_geterror(), 0);
}

} // namespace

// The natural order behind zyn_string_sort must be a strict weak ordering for
// every input, or a sort may run off its range. Random texts rich in the
// troublesome parts (long digit runs, line feeds, bytes above 127, both
// cases) are checked against the axioms, then sorted through the export.
#include "text/entity_table.h"
#include "text/natural_order.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using zyn::text::natural_compare;
using zyn::text::natural_less;

std::string random_text(std::mt19937& rng)
{
    static const std::string pieces[] = {"a", "A", "b", "B", "z", "0", "00", "7", "007", "10", "2147483647",
                                         "2147483648", "99999999999999999999", "\n", " ", "-", "\x80", "\xFF",
                                         "item", "Item", "9"};
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 6);
    std::string s;
    for (int n = length(rng); n > 0; --n)
        s += pieces[pick(rng)];
    return s;
}

TEST(NaturalOrder, KnownPairs)
{
    EXPECT_TRUE(natural_less("item2", "item10"));
    EXPECT_FALSE(natural_less("item10", "item2"));
    EXPECT_EQ(natural_compare("Apple", "apple"), 0);
    EXPECT_EQ(natural_compare("007", "7"), 0);
    EXPECT_TRUE(natural_less("9z", "a"));
    EXPECT_TRUE(natural_less("", "a"));
    EXPECT_FALSE(natural_less("", ""));
    EXPECT_TRUE(natural_less("\xE9", "a")); // bytes above 127 come before ASCII
    EXPECT_TRUE(natural_less("a", "_"));     // "a" compares as "A", below "_"
    EXPECT_EQ(natural_compare("1a\nzzz", "1a\nbbb"), 0); // after a number only the rest of the line counts
    EXPECT_TRUE(natural_less("a\nb1", "a\nc1"));        // before any number the line feed is a byte
    EXPECT_EQ(natural_compare("x2147483648", "x99999999999"), 0);
    EXPECT_TRUE(natural_less("x2147483646", "x99999999999"));
}

TEST(NaturalOrder, IsAStrictWeakOrderingOnRandomTexts)
{
    std::mt19937 rng(20261206);
    std::vector<std::string> texts;
    for (int n = 0; n < 140; ++n)
        texts.push_back(random_text(rng));

    for (const auto& a : texts) {
        EXPECT_EQ(natural_compare(a, a), 0) << a;
        for (const auto& b : texts) {
            const int ab = natural_compare(a, b);
            const int ba = natural_compare(b, a);
            ASSERT_EQ(ab < 0, ba > 0) << a << " | " << b;
            ASSERT_EQ(ab == 0, ba == 0) << a << " | " << b;
        }
    }
    for (const auto& a : texts)
        for (const auto& b : texts)
            for (const auto& c : texts) {
                const int ab = natural_compare(a, b);
                const int bc = natural_compare(b, c);
                const int ac = natural_compare(a, c);
                if (ab < 0 && bc < 0) {
                    ASSERT_LT(ac, 0) << a << " | " << b << " | " << c;
                }
                if (ab == 0 && bc == 0) {
                    ASSERT_EQ(ac, 0) << a << " | " << b << " | " << c;
                }
                if (ab == 0 && bc < 0) {
                    ASSERT_LT(ac, 0) << a << " | " << b << " | " << c;
                }
            }
}

TEST(NaturalOrder, TheSortExportOrdersManyRandomTexts)
{
    ASSERT_EQ(zyn_init(""), 1);
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> pieces;
        std::string text;
        for (int n = 0; n < 2000; ++n) {
            std::string piece = random_text(rng);
            piece.erase(std::remove(piece.begin(), piece.end(), ','), piece.end());
            pieces.push_back(piece);
            text += piece + ",";
        }
        std::vector<char> output(text.size() + 2, '\0');
        ASSERT_EQ(zyn_string_sort(text.c_str(), ",", output.data()), 1);

        std::vector<std::string> sorted;
        std::string all(output.data());
        for (size_t start = 0, comma; (comma = all.find(',', start)) != std::string::npos; start = comma + 1)
            sorted.push_back(all.substr(start, comma - start));
        // The text's trailing delimiter adds no piece, but every piece gets one.
        ASSERT_EQ(all.size(), text.size());
        ASSERT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), natural_less));
        std::sort(pieces.begin(), pieces.end());
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted, pieces);
    }
    zyn_unload();
}

TEST(EntityTable, HoldsEveryEntryOnceAndFindsItByItsWholeName)
{
    ASSERT_EQ(zyn::text::kEntities.size(), 253u);
    for (const auto& e : zyn::text::kEntities) {
        ASSERT_EQ(e.name.back(), ';');
        EXPECT_EQ(zyn::text::find_entity(e.name), &e);
        EXPECT_EQ(zyn::text::find_entity(e.name.substr(0, e.name.size() - 1)), nullptr);
    }
    EXPECT_EQ(zyn::text::find_entity("AElig;"), &zyn::text::kEntities.front());
    EXPECT_EQ(zyn::text::find_entity("zwnj;"), &zyn::text::kEntities.back());
    EXPECT_EQ(zyn::text::find_entity("apos;")->bytes[0], '\'');
    EXPECT_EQ(zyn::text::find_entity(";"), nullptr);
    EXPECT_EQ(zyn::text::find_entity(""), nullptr);
}

} // namespace

// Inner text pieces: the natural order behind zyn_string_sort is a strict weak ordering for every input (or a
// sort may run off its range), on random texts rich in long digit runs, line feeds, bytes above 127 and both
// cases; the entity table finds every entry by its whole name only; the shared UTF-16 <-> UTF-8 conversion and
// wstring_list's append of its own item.
#include "base/utf16.h"
#include "base/wstring_list.h"
#include "support/library.h"
#include "text/entity_table.h"
#include "text/natural_order.h"

#include <random>

int order(std::string_view a, std::string_view b) { return (zyn::text::natural_compare(a, b) > 0) - (zyn::text::natural_compare(a, b) < 0); }

std::string random_text(std::mt19937& rng)
{
    static const char* pieces[] = {"a", "A", "b", "B", "z", "0", "00", "7", "007", "10", "2147483647", "2147483648",
                                   "99999999999999999999", "\n", " ", "-", "\x80", "\xFF", "item", "Item", "9"};
    std::string s;
    for (size_t n = rng() % 7; n > 0; --n) s += pieces[rng() % std::size(pieces)];
    return s;
}

TEST(NaturalOrder, KnownPairsAndTheAxiomsOnRandomTexts)
{
    const struct { const char *a, *b; int order; } pairs[] = {
        {"item2", "item10", -1}, {"Apple", "apple", 0}, {"007", "7", 0}, {"9z", "a", -1}, {"", "a", -1}, {"", "", 0},
        {"\xE9", "a", -1}, {"a", "_", -1}, // bytes above 127 come first; "a" compares as "A", below "_"
        {"1a\nzzz", "1a\nbbb", 0},         // after a number only the rest of the line counts
        {"a\nb1", "a\nc1", -1},            // before any number the line feed is a byte
        {"x2147483648", "x99999999999", 0}, {"x2147483646", "x99999999999", -1}};
    for (const auto& p : pairs)
        EXPECT_TRUE(order(p.a, p.b) == p.order && order(p.b, p.a) == -p.order) << p.a << " | " << p.b;
    std::mt19937 rng(20261206);
    std::vector<std::string> texts(140);
    for (auto& t : texts) t = random_text(rng);
    for (const auto& a : texts)
        for (const auto& b : texts) {
            ASSERT_EQ(order(a, b), -order(b, a)) << a << " | " << b;
            for (const auto& c : texts) // a <= b <= c: a < c when either step is strict, else a ~ c
                ASSERT_TRUE(order(a, b) > 0 || order(b, c) > 0 || order(a, c) == -int(order(a, b) < 0 || order(b, c) < 0))
                    << a << " | " << b << " | " << c;
        }
}

TEST(EntityTable, FindsEveryEntryByItsWholeNameOnly)
{
    for (const auto& e : zyn::text::kEntities)
        EXPECT_TRUE(zyn::text::find_entity(e.name) == &e && !zyn::text::find_entity(e.name.substr(0, e.name.size() - 1))) << e.name;
    EXPECT_TRUE(!zyn::text::find_entity(";") && !zyn::text::find_entity(""));
}

TEST(Utf16, RoundTripsEveryPlaneAndReplacesWhatIsMalformed)
{
    const zyn_wstring text = ZW("A\u00e9\u20ac\U0001F600\uE000\U0010FFFFz");
    const std::string utf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEE\x80\x80\xF4\x8F\xBF\xBFz";
    EXPECT_TRUE(zyn::base::to_utf8(text) == utf8 && zyn::base::from_utf8(utf8) == text);
    const auto unit = [](unsigned u) { return zyn_wstring(1, zyn_wchar(u)); };
    EXPECT_TRUE(zyn::base::to_utf8(unit(0xD800) + ZW("x")) == "\xEF\xBF\xBDx" && zyn::base::to_utf8(unit(0xDC00)) == "\xEF\xBF\xBD");
    // Cut sequence, overlong slash, encoded surrogate, stray continuation.
    EXPECT_EQ(zyn::base::from_utf8("\xE2\x82" "a\xC0\xAF" "b\xED\xA0\x80\x80"), ZW("\uFFFD\uFFFDa\uFFFD\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD"));
}

TEST(WstringList, AppendingItsOwnItemWhileGrowingCopiesItFirst)
{
    wstring_list own;
    for (int i = 0; i < 64; ++i) zyn::base::list_append(own, test::widen_ascii("item " + std::to_string(i)));
    zyn::base::list_append(own, own.items[3]);
    zyn::base::list_append(own, own.items[64]); // no growth this time
    EXPECT_TRUE(own.capacity == 128 && own.items[64] == ZW("item 3") && own.items[65] == ZW("item 3"));
    zyn::base::list_clear(own);
    EXPECT_TRUE(own.items == nullptr && own.count == 0 && own.capacity == 0);
}

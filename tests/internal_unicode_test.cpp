// The internal UTF-16 <-> UTF-8 conversion used for paths and system texts,
// and the growth rules of wstring_list.
#include "base/utf16.h"
#include "support/wide.h"
#include "base/wstring_list.h"

#include <gtest/gtest.h>

namespace {

TEST(UnicodeSeam, RoundTripsEveryPlane)
{
    const zyn_wstring text = ZW("A\u00e9\u20ac\U0001F600z");
    const std::string utf8 = zyn::base::to_utf8(text);
    EXPECT_EQ(utf8, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(zyn::base::from_utf8(utf8), text);
}

TEST(UnicodeSeam, MalformedInputBecomesReplacementCharacters)
{
    zyn_wstring lone;
    lone += zyn_wchar(0xD800);
    lone += zyn_wchar('x');
    EXPECT_EQ(zyn::base::to_utf8(lone), "\xEF\xBF\xBDx");
    EXPECT_EQ(zyn::base::to_utf8(zyn_wstring(1, zyn_wchar(0xDC00))), "\xEF\xBF\xBD");
    // Truncated sequence, overlong slash, encoded surrogate, stray continuation.
    EXPECT_EQ(zyn::base::from_utf8("\xE2\x82"), zyn_wstring(2, zyn_wchar(0xFFFD)));
    EXPECT_EQ(zyn::base::from_utf8("\xC0\xAF").size(), 2u);
    EXPECT_EQ(zyn::base::from_utf8("\xED\xA0\x80").size(), 3u);
    EXPECT_EQ(zyn::base::from_utf8("\x80" "a"), ZW("\uFFFDa"));
}

TEST(WstringList, GrowsFrom64ByDoublingAndCopiesDeeply)
{
    wstring_list list;
    zyn::base::list_append(list, ZW("first"));
    EXPECT_EQ(list.count, 1u);
    EXPECT_EQ(list.capacity, 64u);
    for (int i = 1; i < 65; ++i)
        zyn::base::list_append(list, test::widen_ascii(std::to_string(i)));
    EXPECT_EQ(list.count, 65u);
    EXPECT_EQ(list.capacity, 128u);
    EXPECT_EQ(list.items[0], ZW("first"));
    EXPECT_EQ(list.items[64], ZW("64"));

    wstring_list copy = list;
    ASSERT_NE(copy.items, list.items);
    copy.items[0] = ZW("changed");
    EXPECT_EQ(list.items[0], ZW("first"));

    wstring_list moved = std::move(copy);
    EXPECT_EQ(copy.items, nullptr);
    EXPECT_EQ(moved.count, 65u);

    // Appending one of the list's own items while it grows copies it first.
    wstring_list own;
    for (int i = 0; i < 64; ++i)
        zyn::base::list_append(own, test::widen_ascii("item " + std::to_string(i)));
    zyn::base::list_append(own, own.items[3]);
    EXPECT_EQ(own.capacity, 128u);
    EXPECT_EQ(own.items[64], ZW("item 3"));
    zyn::base::list_append(own, own.items[64]); // no growth this time
    EXPECT_EQ(own.items[65], ZW("item 3"));

    zyn::base::list_clear(list);
    EXPECT_EQ(list.items, nullptr);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.capacity, 0u);
}

} // namespace

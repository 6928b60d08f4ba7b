// The helpers several families share: UTF-16 <-> UTF-8 conversion, the
// growth rules of wstring_list, saturating narrowing, ASCII classes and owned
// resources.
#include "base/ascii.h"
#include "base/owned.h"
#include "base/saturate.h"
#include "base/utf16.h"
#include "base/wstring_list.h"
#include "support/wide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

TEST(Saturate, NarrowingKeepsTheEndsOfTheRange)
{
    using L64 = std::numeric_limits<int64_t>;
    const struct {
        double in;
        int64_t out;
    } doubles[] = {{std::nan(""), 0},      {-0.9, 0},           {2.9, 2},
                   {-2.9, -2},            {0x1p63, L64::max()}, {-0x1p63, L64::min()},
                   {HUGE_VAL, L64::max()}, {-HUGE_VAL, L64::min()}, {0x1.fffffffffffffp62, 9223372036854774784LL}};
    for (const auto& c : doubles)
        EXPECT_EQ(zyn::base::double_to_int64(c.in), c.out) << c.in;
    EXPECT_FALSE(zyn::base::fits_int64(0x1p63) || zyn::base::fits_int64(-0x1p63));
    EXPECT_TRUE(zyn::base::fits_int64(-0x1.fffffffffffffp62));

    EXPECT_EQ(zyn::base::saturate_u32(0xFFFFFFFFull), 0xFFFFFFFFu);
    EXPECT_EQ(zyn::base::saturate_u32(0x100000000ull), 0xFFFFFFFFu);
    EXPECT_EQ(zyn::base::saturate_i32(0x7FFFFFFFull), 0x7FFFFFFF);
    EXPECT_EQ(zyn::base::saturate_i32(0x80000000ull), 0x7FFFFFFF);
    EXPECT_EQ(zyn::base::saturate_i32(~0ull), 0x7FFFFFFF);
}

TEST(Ascii, ClassesIgnoreEveryByteAbove127AndEveryWideUnit)
{
    for (unsigned v = 0; v < 0x10000; ++v) {
        const bool space = v == ' ' || (v >= 9 && v <= 13);
        EXPECT_EQ(zyn::base::is_ascii_space(char16_t(v)), space) << v;
        EXPECT_EQ(zyn::base::is_ascii_digit(char16_t(v)), v >= '0' && v <= '9') << v;
        if (v < 256) {
            EXPECT_EQ(zyn::base::is_ascii_space(char(v)), space) << v;
            EXPECT_EQ(zyn::base::ascii_to_upper(char(v)), v >= 'a' && v <= 'z' ? char(v - 32) : char(v)) << v;
        }
    }
    EXPECT_TRUE(zyn::base::is_high_surrogate(0xDBFF) && !zyn::base::is_high_surrogate(0xDC00));
    EXPECT_TRUE(zyn::base::is_low_surrogate(0xDFFF) && !zyn::base::is_low_surrogate(0xE000));
    EXPECT_EQ(zyn::base::combine_surrogates(0xD83D, 0xDE00), char32_t(0x1F600));
}

int g_released = 0;
struct CountingTraits {
    using Value = int;
    static int empty() { return -1; }
    static void release(int) { ++g_released; }
};

TEST(Owned, ReleasesOnceUnlessGivenUp)
{
    g_released = 0;
    {
        zyn::base::Owned<CountingTraits> none;
        zyn::base::Owned<CountingTraits> held(3);
        zyn::base::Owned<CountingTraits> kept(4);
        EXPECT_EQ(kept.release(), 4);
        held.reset(5); // releases 3, holds 5
        EXPECT_EQ(g_released, 1);
    }
    EXPECT_EQ(g_released, 2); // 5 at the end of the scope; 4 and the empty one never
}

} // namespace

// The helpers several families share: UTF-16 <-> UTF-8 conversion and wstring_list's append of its own item.
#include "base/utf16.h"
#include "base/wstring_list.h"
#include "support/wide.h"

#include <gtest/gtest.h>


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

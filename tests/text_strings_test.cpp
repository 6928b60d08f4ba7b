// The narrow and wide string exports. Every rule the two families share is
// checked once for each of them through a typed test; what only one family
// has (the narrow sort, wstring_list) has tests of its own.
#include <zyn/zyn.h>

#include "support/loaded_library.h"
#include "support/wide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

// One family of exports, with its text type and list type.
template <class C> struct Family;

template <> struct Family<char> {
    using Text = std::string;
    using List = zyn_string_list;
    static Text t(const std::string& ascii) { return ascii; }
    static uint32_t contains(const Text& a, const Text& b, uint32_t s) { return zyn_string_contains(a, b, s); }
    static Text reverse(const Text& a) { return zyn_string_reverse(a); }
    static Text extract(const Text& a, uint32_t s, uint32_t c) { return zyn_string_extract(a, s, c); }
    static int is_digits(const Text& a) { return zyn_string_is_digits(a); }
    static int is_upper(const Text& a) { return zyn_string_is_upper_case(a); }
    static int is_lower(const Text& a) { return zyn_string_is_lower_case(a); }
    static Text to_upper(const Text& a) { return zyn_string_to_upper_case(a); }
    static Text to_lower(const Text& a) { return zyn_string_to_lower_case(a); }
    static Text replace(const Text& a, const Text& s, const Text& r, uint8_t all) { return zyn_string_replace(a, s, r, all); }
    static int split(const Text& a, const Text& d, uint8_t whole, List& l) { return zyn_string_split(a, d, whole, l); }
    static Text smash(const Text& a, const Text& s) { return zyn_string_smash(a, s); }
    static double number(const Text& a) { return zyn_string_to_number(a); }
    static std::vector<Text> items(const List& l) { return l; }
};

template <> struct Family<zyn_wchar> {
    using Text = zyn_wstring;
    using List = wstring_list;
    static Text t(const std::string& ascii) { return test::widen_ascii(ascii); }
    static uint32_t contains(const Text& a, const Text& b, uint32_t s) { return zyn_wstring_contains(a, b, s); }
    static Text reverse(const Text& a) { return zyn_wstring_reverse(a); }
    static Text extract(const Text& a, uint32_t s, uint32_t c) { return zyn_wstring_extract(a, s, c); }
    static int is_digits(const Text& a) { return zyn_wstring_is_digits(a); }
    static int is_upper(const Text& a) { return zyn_wstring_is_upper_case(a); }
    static int is_lower(const Text& a) { return zyn_wstring_is_lower_case(a); }
    static Text to_upper(const Text& a) { return zyn_wstring_to_upper_case(a); }
    static Text to_lower(const Text& a) { return zyn_wstring_to_lower_case(a); }
    static Text replace(const Text& a, const Text& s, const Text& r, uint8_t all) { return zyn_wstring_replace(a, s, r, all); }
    static int split(const Text& a, const Text& d, uint8_t whole, List& l) { return zyn_wstring_split(a, d, whole, l); }
    static Text smash(const Text& a, const Text& s) { return zyn_wstring_smash(a, s); }
    static double number(const Text& a) { return zyn_wstring_to_number(a); }
    static std::vector<Text> items(const List& l) { return std::vector<Text>(l.items, l.items + l.count); }
};

template <class C>
class StringFamily : public test::LoadedLibrary {
protected:
    using F = Family<C>;
    using Text = typename F::Text;
    static Text t(const std::string& s) { return F::t(s); }
    std::vector<Text> list(std::initializer_list<const char*> texts)
    {
        std::vector<Text> out;
        for (const char* s : texts)
            out.push_back(t(s));
        return out;
    }
};

using CharTypes = ::testing::Types<char, zyn_wchar>;
TYPED_TEST_SUITE(StringFamily, CharTypes);

TYPED_TEST(StringFamily, ContainsReturnsOneBasedPositionsAndReportsMisses)
{
    using F = typename TestFixture::F;
    const auto hello = this->t("hello");
    EXPECT_EQ(F::contains(hello, this->t("l"), 0), 3u);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(F::contains(hello, this->t("l"), 3), 4u);
    EXPECT_EQ(F::contains(hello, this->t("l"), 4), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    EXPECT_EQ(F::contains(hello, this->t("l"), 5), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(F::contains(this->t("abc"), this->t("bcd"), 0), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    EXPECT_EQ(F::contains(this->t("ababc"), this->t("abc"), 0), 3u);
    EXPECT_EQ(F::contains(this->t(""), this->t("a"), 0), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(F::contains(hello, this->t(""), 0), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TYPED_TEST(StringFamily, ReverseAndExtractFollowTheirLengthRules)
{
    using F = typename TestFixture::F;
    EXPECT_EQ(F::reverse(this->t("a")), this->t(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(F::reverse(this->t("ab")), this->t("ba"));
    EXPECT_EQ(zyn_geterror(), 0);
    const auto with_zero = typename TestFixture::Text(this->t("a")) + typename TestFixture::Text(1, 0) + this->t("b");
    EXPECT_EQ(F::reverse(with_zero).size(), 3u);
    EXPECT_EQ(F::reverse(with_zero)[0], with_zero[2]);

    const auto hello = this->t("hello");
    EXPECT_EQ(F::extract(hello, 3, 5), hello);
    EXPECT_EQ(F::extract(hello, 3, 4), this->t("lo"));
    EXPECT_EQ(F::extract(hello, 1, 3), this->t("ell"));
    EXPECT_EQ(F::extract(hello, 7, 2), this->t(""));
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(F::extract(hello, 0xFFFFFFFFu, 2), this->t(""));
    EXPECT_EQ(F::extract(hello, 2, 0xFFFFFFFFu), hello);
    EXPECT_EQ(F::extract(this->t("helloworld"), 3, 0xFFFFFFFFu - 1), this->t("helloworld"));
    EXPECT_EQ(F::extract(this->t(""), 0, 0), this->t(""));
    EXPECT_EQ(zyn_geterror(), 0);
}

TYPED_TEST(StringFamily, ClassTestsAndCaseMappingUseAsciiRangesOnly)
{
    using F = typename TestFixture::F;
    using Text = typename TestFixture::Text;
    EXPECT_EQ(F::is_digits(this->t("0123456789")), 1);
    EXPECT_EQ(F::is_digits(this->t("-12")), 0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(F::is_digits(this->t("1.5")), 0);
    EXPECT_EQ(F::is_digits(this->t("")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(F::is_upper(this->t("ABC D")), 0);
    EXPECT_EQ(F::is_upper(this->t("AZ")), 1);
    EXPECT_EQ(F::is_lower(this->t("az")), 1);
    EXPECT_EQ(F::is_lower(this->t("a@")), 0); // '@' and '[' lie next to the letters
    EXPECT_EQ(F::is_upper(this->t("A[")), 0);
    EXPECT_EQ(F::is_lower(this->t("")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);

    // 0xE4 is a-umlaut, 0xC4 A-umlaut: neither is a letter here, and neither changes.
    Text mixed = this->t("abc-") + Text(1, static_cast<typename TestFixture::Text::value_type>(0xE4));
    Text expected = this->t("ABC-") + Text(1, mixed.back());
    EXPECT_EQ(F::to_upper(mixed), expected);
    EXPECT_EQ(F::to_lower(this->t("Hello, World 1@[`{")), this->t("hello, world 1@[`{"));
    EXPECT_EQ(F::to_upper(this->t("Hello, World 1@[`{")), this->t("HELLO, WORLD 1@[`{"));
    EXPECT_EQ(F::is_upper(Text(1, static_cast<typename Text::value_type>(0xC4)) + this->t("B")), 0);
    EXPECT_EQ(F::to_upper(this->t("")), this->t(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TYPED_TEST(StringFamily, ReplaceScansWindowsWithoutOverlap)
{
    using F = typename TestFixture::F;
    EXPECT_EQ(F::replace(this->t("a.b.c"), this->t("."), this->t(""), 1), this->t("abc"));
    EXPECT_EQ(F::replace(this->t("a.b.c"), this->t("."), this->t(""), 0), this->t("ab.c"));
    EXPECT_EQ(F::replace(this->t("aab"), this->t("ab"), this->t("X"), 1), this->t("aab"));
    EXPECT_EQ(F::replace(this->t("aaa"), this->t("aa"), this->t("b"), 1), this->t("ba"));
    EXPECT_EQ(F::replace(this->t("xyxyx"), this->t("xy"), this->t("xyxy"), 1), this->t("xyxyxyxyx"));
    EXPECT_EQ(F::replace(this->t("ab"), this->t("abc"), this->t("Z"), 1), this->t("ab"));
    EXPECT_EQ(F::replace(this->t("one two two"), this->t("two"), this->t("2"), 2), this->t("one 2 2"));
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(F::replace(this->t(""), this->t("a"), this->t("b"), 1), this->t(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(F::replace(this->t("abc"), this->t(""), this->t("b"), 1), this->t(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TYPED_TEST(StringFamily, SplitKeepsEmptyPiecesButNotATrailingOne)
{
    using F = typename TestFixture::F;
    typename F::List list;
    EXPECT_EQ(F::split(this->t(",a,,b,"), this->t(","), 1, list), 1);
    EXPECT_EQ(F::items(list), this->list({"", "a", "", "b"}));
    EXPECT_EQ(F::split(this->t(",a,,b,"), this->t(","), 0, list), 1);
    EXPECT_EQ(F::items(list), this->list({"", "a", "", "b"}));
    EXPECT_EQ(F::split(this->t("a-b--c"), this->t("--"), 1, list), 1);
    EXPECT_EQ(F::items(list), this->list({"a-b", "c"}));
    EXPECT_EQ(F::split(this->t(","), this->t(","), 1, list), 1);
    EXPECT_EQ(F::items(list), this->list({""}));
    EXPECT_EQ(F::split(this->t("abc"), this->t(";"), 1, list), 1);
    EXPECT_EQ(F::items(list), this->list({"abc"}));
    // Without whole, the delimiter's first unit alone cuts, and what follows it is kept.
    EXPECT_EQ(F::split(this->t("a-b--c"), this->t("--"), 0, list), 1);
    EXPECT_EQ(F::items(list), this->list({"a", "b", "", "c"}));
    EXPECT_EQ(F::split(this->t("k=v"), this->t("=>"), 0, list), 1);
    EXPECT_EQ(F::items(list), this->list({"k", "v"}));

    // Refused splits leave the previous content in place.
    EXPECT_EQ(F::split(this->t("x;y"), this->t(""), 1, list), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(F::split(this->t(""), this->t(";"), 1, list), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(F::items(list), this->list({"k", "v"}));
}

// The window scans of replace and split, one unit at a time exactly as
// documented, to hold the exports' faster searches against.
template <class Text>
Text scan_replace(const Text& text, const Text& search, const Text& replacement, bool all)
{
    Text out;
    bool replaced = false;
    for (size_t i = 0; i < text.size();) {
        if (text[i] != search[0] || (!all && replaced)) {
            out += text[i++];
            continue;
        }
        const Text window = text.substr(i, search.size());
        out += window == search ? replacement : window;
        replaced = replaced || window == search;
        i += window.size();
    }
    return out;
}

template <class Text>
std::vector<Text> scan_split(const Text& text, const Text& delimiter)
{
    std::vector<Text> pieces;
    Text piece;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == delimiter[0] && text.compare(i, delimiter.size(), delimiter) == 0) {
            pieces.push_back(piece);
            piece.clear();
            i += delimiter.size();
        } else {
            piece += text[i++];
        }
    }
    if (!piece.empty())
        pieces.push_back(piece);
    return pieces;
}

TYPED_TEST(StringFamily, ReplaceSplitAndContainsAgreeWithAUnitByUnitScan)
{
    using F = typename TestFixture::F;
    using Text = typename TestFixture::Text;
    // Few distinct units, so windows fail and matches touch all the time.
    std::mt19937 rng(2026);
    auto random = [&](size_t longest, const char* units) {
        std::string ascii(rng() % (longest + 1), ' ');
        for (char& c : ascii)
            c = units[rng() % std::strlen(units)];
        return this->t(ascii);
    };
    typename F::List list;
    for (int round = 0; round < 20000; ++round) {
        const Text text = random(14, "aab-");
        const Text search = random(3, "ab-");
        if (text.empty() || search.empty())
            continue;
        const Text replacement = random(2, "XY");
        const bool all = rng() & 1;
        ASSERT_EQ(F::replace(text, search, replacement, all ? 0x80 : 0), scan_replace(text, search, replacement, all));
        ASSERT_EQ(F::split(text, search, 0x40, list), 1);
        ASSERT_EQ(F::items(list), scan_split(text, search));
        const uint32_t start = rng() % text.size();
        const size_t at = text.find(search, start);
        ASSERT_EQ(F::contains(text, search, start), at == Text::npos ? 0u : uint32_t(at + 1));
    }
}

TYPED_TEST(StringFamily, SplitMayReadTextHeldByTheListItFills)
{
    using F = typename TestFixture::F;
    typename F::List list;
    ASSERT_EQ(F::split(this->t("a b,c d|,"), this->t("|"), 1, list), 1);
    ASSERT_EQ(F::items(list).size(), 2u);
    if constexpr (std::is_same_v<TypeParam, char>) {
        EXPECT_EQ(F::split(list[0], list[1], 1, list), 1);
    } else {
        EXPECT_EQ(F::split(list.items[0], list.items[1], 1, list), 1);
    }
    EXPECT_EQ(F::items(list), this->list({"a b", "c d"}));
}

TYPED_TEST(StringFamily, SmashRemovesEveryUnitOfTheSet)
{
    using F = typename TestFixture::F;
    EXPECT_EQ(F::smash(this->t("hello world"), this->t("lo")), this->t("he wrd"));
    EXPECT_EQ(F::smash(this->t("hello world"), this->t("ollo")), this->t("he wrd"));
    EXPECT_EQ(F::smash(this->t("aaa"), this->t("a")), this->t(""));
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(F::smash(this->t(""), this->t("a")), this->t(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(F::smash(this->t("abc"), this->t("")), this->t(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TYPED_TEST(StringFamily, ToNumberReadsTheLeadingNumberWithoutErrors)
{
    using F = typename TestFixture::F;
    EXPECT_DOUBLE_EQ(F::number(this->t("  3.5kg")), 3.5);
    EXPECT_DOUBLE_EQ(F::number(this->t(" -2.5e1x")), -25.0);
    EXPECT_DOUBLE_EQ(F::number(this->t("+.5")), 0.5);
    EXPECT_DOUBLE_EQ(F::number(this->t("7.")), 7.0);
    EXPECT_DOUBLE_EQ(F::number(this->t("3e")), 3.0);
    EXPECT_DOUBLE_EQ(F::number(this->t("3e+x")), 3.0);
    EXPECT_DOUBLE_EQ(F::number(this->t("12,5")), 12.0);
    EXPECT_DOUBLE_EQ(F::number(this->t("0x1A")), 0.0);
    EXPECT_DOUBLE_EQ(F::number(this->t("\t\n1e3")), 1000.0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(F::number(this->t("kg")), 0.0);
    EXPECT_EQ(F::number(this->t("")), 0.0);
    EXPECT_EQ(F::number(this->t("-")), 0.0);
    EXPECT_EQ(F::number(this->t(".")), 0.0);
    EXPECT_EQ(F::number(this->t("inf")), 0.0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(F::number(this->t("1e400")), std::numeric_limits<double>::infinity());
    EXPECT_EQ(F::number(this->t("-1e400")), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(F::number(this->t("1e-400")), 0.0);
    EXPECT_EQ(F::number(this->t("0.000000000000000000000000000001e-300")), 0.0);
    EXPECT_EQ(F::number(this->t("1000000000000000000000e300")), std::numeric_limits<double>::infinity());
    EXPECT_EQ(zyn_geterror(), 0);
}

TYPED_TEST(StringFamily, EveryExportRefusesWhileNotLoaded)
{
    using F = typename TestFixture::F;
    zyn_unload();
    typename F::List list;
    const auto a = this->t("a,b");
    EXPECT_EQ(F::contains(a, this->t(","), 0), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    zyn_seterror(0, 0);
    EXPECT_EQ(F::reverse(a), this->t(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    zyn_seterror(0, 0);
    EXPECT_EQ(F::extract(a, 0, 1), this->t(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(F::is_digits(this->t("1")), 0);
    EXPECT_EQ(F::replace(a, this->t(","), this->t(";"), 1), this->t(""));
    EXPECT_EQ(F::smash(a, this->t(",")), this->t(""));
    EXPECT_EQ(F::to_upper(a), this->t(""));
    EXPECT_EQ(F::number(this->t("5")), -1.0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    ASSERT_EQ(zyn_init(""), 1);
    ASSERT_EQ(F::split(a, this->t(","), 1, list), 1);
    zyn_unload();
    EXPECT_EQ(F::split(this->t("x;y;z"), this->t(";"), 1, list), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(F::items(list), this->list({"a", "b"}));
}

TEST(WideStrings, UnitsAreCharactersEvenInsideSurrogatePairs)
{
    ASSERT_EQ(zyn_init(""), 1);
    const zyn_wstring pair = {zyn_wchar(0xD83D), zyn_wchar(0xDE00)}; // U+1F600
    EXPECT_EQ(zyn_wstring_reverse(pair), (zyn_wstring{zyn_wchar(0xDE00), zyn_wchar(0xD83D)}));
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_wstring_extract(ZW("a") + pair, 0, 2), ZW("a") + zyn_wstring(1, pair[0]));
    EXPECT_EQ(zyn_wstring_contains(ZW("x") + pair, zyn_wstring(1, pair[1]), 0), 3u);
    EXPECT_EQ(zyn_wstring_to_lower_case(ZW("\u00C4B")), ZW("\u00C4b"));
    EXPECT_EQ(zyn_wstring_is_upper_case(ZW("\u00C4B")), 0);
    EXPECT_EQ(zyn_wstring_is_digits(ZW("\uFF11")), 0);                  // full-width digit one
    EXPECT_EQ(zyn_wstring_to_upper_case(ZW("\u0161x")), ZW("\u0161X")); // only ASCII letters map
    // A unit whose low byte is a digit or a letter is still neither.
    EXPECT_EQ(zyn_wstring_is_digits(zyn_wstring(1, zyn_wchar(0x0131))), 0);
    EXPECT_EQ(zyn_wstring_to_upper_case(zyn_wstring(1, zyn_wchar(0x0161))), zyn_wstring(1, zyn_wchar(0x0161)));
    EXPECT_EQ(zyn_wstring_smash(ZW("a\u0161b\u0061"), zyn_wstring(1, zyn_wchar(0x0161))), ZW("aba"));
    EXPECT_DOUBLE_EQ(zyn_wstring_to_number(ZW("\u0661")), 0.0); // Arabic-Indic digit one
    zyn_unload();
}

TEST(WideStrings, SplitGrowsTheListFrom64ByDoubling)
{
    ASSERT_EQ(zyn_init(""), 1);
    wstring_list list;
    ASSERT_EQ(zyn_wstring_split(ZW("a;b"), ZW(";"), 1, list), 1);
    EXPECT_EQ(list.count, 2u);
    EXPECT_EQ(list.capacity, 64u);
    EXPECT_EQ(zyn_wstring_split(ZW(""), ZW(";"), 1, list), 0);
    EXPECT_EQ(list.count, 2u);
    EXPECT_EQ(list.items[1], ZW("b"));

    zyn_wstring many;
    for (int n = 0; n < 65; ++n)
        many += test::widen_ascii(std::to_string(n)) + ZW(",");
    ASSERT_EQ(zyn_wstring_split(many, ZW(","), 1, list), 1);
    EXPECT_EQ(list.count, 65u);
    EXPECT_EQ(list.capacity, 128u);
    EXPECT_EQ(list.items[64], ZW("64"));

    // Copies are deep: each list owns its array.
    wstring_list copy = list;
    ASSERT_NE(copy.items, list.items);
    ASSERT_EQ(zyn_wstring_split(ZW("z"), ZW(","), 1, list), 1);
    EXPECT_EQ(list.count, 1u);
    EXPECT_EQ(list.capacity, 64u);
    EXPECT_EQ(copy.count, 65u);
    EXPECT_EQ(copy.items[64], ZW("64"));
    zyn_unload();
}

TEST(NaturalSort, SortsPiecesAndAppendsEachWithTheDelimiter)
{
    ASSERT_EQ(zyn_init(""), 1);
    char buffer[256] = "";
    EXPECT_EQ(zyn_string_sort("b10,a,b2,B1", ",", buffer), 1);
    EXPECT_STREQ(buffer, "a,B1,b2,b10,");
    EXPECT_EQ(zyn_string_sort("b10,a,b2,B1", ",", buffer), 1);
    EXPECT_STREQ(buffer, "a,B1,b2,b10,a,B1,b2,b10,");

    char saves[256] = "";
    EXPECT_EQ(zyn_string_sort("save10.dat||save9.dat||Save1.dat||auto.dat||2.dat", "||", saves), 1);
    EXPECT_STREQ(saves, "2.dat||auto.dat||Save1.dat||save9.dat||save10.dat||");

    // Digit runs beyond 32 bits compare as the largest value, then by what follows.
    char big[256] = "";
    EXPECT_EQ(zyn_string_sort("x99999999999b;x2147483647a;x5", ";", big), 1);
    EXPECT_STREQ(big, "x5;x2147483647a;x99999999999b;");

    char untouched[16] = "keep";
    EXPECT_EQ(zyn_string_sort("", ",", untouched), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_string_sort("a,b", "", untouched), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_string_sort(nullptr, ",", untouched), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_string_sort("a,b", ",", nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_STREQ(untouched, "keep");
    zyn_unload();
    EXPECT_EQ(zyn_string_sort("a,b", ",", untouched), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_STREQ(untouched, "keep");
}

} // namespace

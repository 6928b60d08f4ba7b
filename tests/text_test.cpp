// The text exports: strings (both twins through a typed test), natural sort, Base64, Latin-1/UTF-8, HTML entities.
#include "support/library.h"

#include <cmath>
#include <cstring>
#include <random>

// One overload set per operation, so a typed test calls either twin by its text type.
#define ZYN_TWINS(op)                                                                                   \
    template <class... A> auto op(const std::string& s, A&&... a) { return zyn_string_##op(s, a...); } \
    template <class... A> auto op(const zyn_wstring& s, A&&... a) { return zyn_wstring_##op(s, a...); }
ZYN_TWINS(contains) ZYN_TWINS(reverse) ZYN_TWINS(extract) ZYN_TWINS(is_digits) ZYN_TWINS(is_upper_case)
ZYN_TWINS(is_lower_case) ZYN_TWINS(to_upper_case) ZYN_TWINS(to_lower_case) ZYN_TWINS(replace) ZYN_TWINS(split)
ZYN_TWINS(smash) ZYN_TWINS(to_number) ZYN_TWINS(base64_encode) ZYN_TWINS(base64_decode)
#undef ZYN_TWINS
const std::string& item(const zyn_string_list& l, size_t i) { return l[i]; }
const zyn_wstring& item(const wstring_list& l, size_t i) { return l.items[i]; }
std::vector<std::string> items(const zyn_string_list& l) { return l; }
std::vector<zyn_wstring> items(const wstring_list& l) { return {l.items, l.items + l.count}; }

// Whether the call gave its neutral result and set exactly this error (which is then cleared).
bool failed(bool neutral, int code) { const bool as_expected = neutral && zyn_geterror() == code; return zyn_seterror(0, 0), as_expected; }

template <class C> struct Text : test::LoadedLibrary {
    using T = std::basic_string<C>;
    using List = std::conditional_t<sizeof(C) == 1, zyn_string_list, wstring_list>;
    static T t(const std::string& s) { const auto* u = reinterpret_cast<const unsigned char*>(s.data()); return T(u, u + s.size()); }
    static T joined(const List& list) { T out; for (const T& piece : items(list)) out += piece + C('|'); return out; }
};
using Twins = ::testing::Types<char, zyn_wchar>;
TYPED_TEST_SUITE(Text, Twins);

TYPED_TEST(Text, ContainsReverseExtractAsciiClassesReplaceSplitAndSmash)
{
    const auto t = TestFixture::t;
    const struct { const char *text, *search; uint32_t start, at; int error; } finds[] = {
        {"hello", "l", 0, 3, 0}, {"hello", "l", 3, 4, 0}, {"hello", "l", 4, 0, ZYN_ERR_NOT_FOUND}, {"ababc", "abc", 0, 3, 0},
        {"hello", "l", 5, 0, ZYN_ERR_INVALID_ARGUMENT}, {"abc", "bcd", 0, 0, ZYN_ERR_NOT_FOUND}};
    for (const auto& f : finds)
        EXPECT_TRUE(failed(contains(t(f.text), t(f.search), f.start) == f.at, f.error)) << f.text << " " << f.start;
    EXPECT_EQ(reverse(t(std::string("ab\0c", 4))), t(std::string("c\0ba", 4)));
    const uint32_t top = 0xFFFFFFFFu;
    const struct { const char* text; uint32_t start, count; const char* piece; } pieces[] = {
        {"hello", 3, 5, "hello"}, {"hello", 3, 4, "lo"}, {"hello", 1, 3, "ell"}, {"hello", 7, 2, ""}, {"hello", top, 2, ""},
        {"hello", 2, top, "hello"}, {"helloworld", 3, top - 1, "helloworld"}, {"", 0, 0, ""}};
    for (const auto& p : pieces)
        EXPECT_TRUE(failed(extract(t(p.text), p.start, p.count) == t(p.piece), 0)) << p.text << " " << p.start << " " << p.count;
    // Digits, upper, lower: the neighbours of each range are none of them.
    const struct { const char *text, *classes; } rows[] = {
        {"0123456789", "100"}, {"-12", "000"}, {"1.5", "000"}, {"/", "000"}, {":", "000"}, {"AZ", "010"}, {"ABC D", "000"},
        {"@", "000"}, {"A[", "000"}, {"az", "001"}, {"a`", "000"}, {"{", "000"}, {"\xC4" "B", "000"}};
    for (const auto& r : rows)
        EXPECT_EQ(std::to_string(is_digits(t(r.text))) + std::to_string(is_upper_case(t(r.text))) +
                      std::to_string(is_lower_case(t(r.text))), r.classes) << r.text;
    EXPECT_EQ(to_upper_case(t("Hello, World 1@[`{\xE4")), t("HELLO, WORLD 1@[`{\xE4"));
    EXPECT_TRUE(failed(to_lower_case(t("Hello, World 1@[`{\xC4")) == t("hello, world 1@[`{\xC4"), 0));

    const struct { const char *text, *search, *with; zyn_bool all; const char* out; } replaced[] = {
        {"a.b.c", ".", "", 1, "abc"}, {"a.b.c", ".", "", 0, "ab.c"}, {"aab", "ab", "X", 1, "aab"}, {"aaa", "aa", "b", 1, "ba"},
        {"xyxyx", "xy", "xyxy", 1, "xyxyxyxyx"}, {"ab", "abc", "Z", 1, "ab"}, {"one two two", "two", "2", 2, "one 2 2"}};
    for (const auto& r : replaced) EXPECT_EQ(replace(t(r.text), t(r.search), t(r.with), r.all), t(r.out)) << r.text;
    // Without whole, the delimiter's first unit alone cuts; no piece follows a trailing one.
    const struct { const char *text, *delimiter; zyn_bool whole; const char* pieces; } splits[] = {
        {",a,,b,", ",", 1, "|a||b|"}, {",a,,b,", ",", 0, "|a||b|"}, {"a-b--c", "--", 1, "a-b|c|"}, {",", ",", 1, "|"},
        {"abc", ";", 1, "abc|"}, {"a-b--c", "--", 0, "a|b||c|"}, {"k=v", "=>", 0, "k|v|"}};
    typename TestFixture::List list;
    for (const auto& s : splits)
        EXPECT_TRUE(split(t(s.text), t(s.delimiter), s.whole, list) == 1 && TestFixture::joined(list) == t(s.pieces)) << s.text;
    ASSERT_EQ(split(t("a b,c d|,"), t("|"), zyn_bool(1), list), 1); // text and delimiter may be items of the list filled
    EXPECT_TRUE(split(item(list, 0), item(list, 1), zyn_bool(1), list) == 1 && TestFixture::joined(list) == t("a b|c d|"));
    EXPECT_TRUE(smash(t("hello world"), t("lo")) == t("he wrd") && smash(t("hello world"), t("ollo")) == t("he wrd"));
    EXPECT_TRUE(failed(smash(t("aaa"), t("a")).empty(), 0));
}

TYPED_TEST(Text, EmptyArgumentsAreRefusedAndNothingWorksWhileNotLoaded)
{
    const auto t = TestFixture::t;
    const auto e = t(""), a = t("ab");
    typename TestFixture::List list;
    ASSERT_EQ(split(t("k,v"), t(","), zyn_bool(1), list), 1);
    for (int code : {ZYN_ERR_INVALID_ARGUMENT, ZYN_ERR_NOT_LOADED}) {
        const auto f = [code](bool neutral) { return failed(neutral, code); };
        if (code == ZYN_ERR_NOT_LOADED) {
            zyn_unload();
            EXPECT_TRUE(f(extract(a, 0u, 1u).empty()) && f(to_number(t("5")) == -1.0) && f(contains(a, t("b"), 0u) == 0));
            EXPECT_TRUE(f(reverse(a).empty()));
        }
        EXPECT_TRUE(f(contains(e, a, 0u) == 0) && f(contains(a, e, 0u) == 0) && f(reverse(t("a")).empty()) && f(is_digits(e) == 0));
        EXPECT_TRUE(f(is_upper_case(e) == 0) && f(is_lower_case(e) == 0) && f(to_upper_case(e).empty()) && f(to_lower_case(e).empty()));
        EXPECT_TRUE(f(replace(e, a, a, zyn_bool(1)).empty()) && f(replace(a, e, a, zyn_bool(1)).empty()) && f(smash(e, a).empty()));
        EXPECT_TRUE(f(smash(a, e).empty()) && f(base64_encode(e).empty()) && f(base64_decode(e).empty()));
        EXPECT_TRUE(f(split(e, a, zyn_bool(1), list) == 0) && f(split(a, e, zyn_bool(1), list) == 0));
        EXPECT_EQ(TestFixture::joined(list), t("k|v|")); // a refused split leaves the list as it was
    }
}

// Replace, split and contains held against plain scans, on random texts of few distinct units
// (so that windows fail and matches touch all the time), long enough for the block searches.
TYPED_TEST(Text, ReplaceSplitAndContainsAgreeWithAUnitByUnitScan)
{
    using T = typename TestFixture::T;
    std::mt19937 rng(2026);
    const auto random = [&](size_t longest, const char* units) { // units[0] twice as often
        T s(rng() % (longest + 1), TypeParam(' '));
        for (auto& c : s) c = TypeParam(units[rng() % 4]);
        return s;
    };
    typename TestFixture::List list;
    for (int round = 0; round < 20000; ++round) {
        const T text = random(40, "aab-"), search = random(3, "aab-"), with = random(2, "XYXY");
        if (text.empty() || search.empty()) continue;
        const bool all = rng() & 1;
        T replaced;
        std::vector<T> pieces;
        for (size_t i = 0, done = 0; i < text.size();) {
            const bool scan = text[i] == search[0] && (all || !done);
            const T window = text.substr(i, scan ? search.size() : 1);
            replaced += scan && window == search ? with : window;
            done += scan && window == search;
            i += window.size();
        }
        for (size_t from = 0, at; from < text.size(); from = at + search.size()) {
            at = std::min(text.find(search, from), text.size());
            pieces.push_back(text.substr(from, at - from));
        }
        const uint32_t start = uint32_t(rng() % text.size());
        const size_t at = text.find(search, start);
        ASSERT_EQ(replace(text, search, with, zyn_bool(all ? 0x80 : 0)), replaced);
        ASSERT_TRUE(split(text, search, zyn_bool(0x40), list) == 1 && items(list) == pieces);
        ASSERT_EQ(contains(text, search, start), at == T::npos ? 0u : uint32_t(at + 1));
    }
}

TYPED_TEST(Text, ToNumberReadsTheLeadingNumberWithoutErrors)
{
    const std::string zeros(400, '0');
    const double inf = HUGE_VAL;
    const struct { std::string text; double value; } rows[] = {
        {"  3.5kg", 3.5}, {" -2.5e1x", -25.0}, {"+.5", 0.5}, {"+5", 5.0}, {"7.", 7.0}, {"3e", 3.0}, {"3e+x", 3.0},
        {"3e+2x", 300.0}, {"2E2", 200.0}, {"12,5", 12.0}, {"0x1A", 0.0}, {"\t\n\v\f\r 1e3", 1000.0}, {"\b1", 0.0},
        {"\x0E" "1", 0.0}, {"kg", 0.0}, {"", 0.0}, {"-", 0.0}, {".", 0.0}, {"-.e1", 0.0}, {"inf", 0.0},
        {"1e400", inf}, {"-1e400", -inf}, {"1e-400", 0.0}, {"1e99999999999", inf}, {"1e-99999999999", 0.0},
        {"0.000000000000000000000000000001e-300", 0.0}, {"1000000000000000000000e300", inf}, {"0.1e400", inf},
        // Out of range either way: the leading digit's place and an exponent after 'e' only decide.
        {"1" + zeros + "e-50", inf}, {zeros + "1e-400", 0.0}, {"0." + zeros + "1e10", 0.0}, {"1" + zeros + "x-500", inf}};
    for (const auto& r : rows) { // +0.0 where there is no number
        const double v = to_number(TestFixture::t(r.text));
        EXPECT_TRUE(failed(v == r.value && std::signbit(v) == std::signbit(r.value), 0)) << r.text;
    }
}

TYPED_TEST(Text, Base64KnownVectorsRoundTripsAndRefusals)
{
    const auto t = TestFixture::t;
    const struct { std::string plain; const char* encoded; } vectors[] = {
        {"A", "QQ=="}, {"AB", "QUI="}, {"ABC", "QUJD"}, {"\xFF", "/w=="}, {"A\xFF", "Qf8="}, {"\xE9", "6Q=="},
        {"foobar", "Zm9vYmFy"}, {std::string(1, '\0'), "AA=="}, {"\xFB\xFF\xBF", "+/+/"}};
    for (const auto& v : vectors)
        EXPECT_TRUE(base64_encode(t(v.plain)) == t(v.encoded) && failed(base64_decode(t(v.encoded)) == t(v.plain), 0)) << v.encoded;
    EXPECT_EQ(base64_decode(t("QQ==QUJD")), t("AABC")); // padding may close any group
    std::string data; // every length up to 300, on one line
    while ((data += char(data.size() * 37 + 11)).size() < 300)
        EXPECT_TRUE(base64_encode(t(data)).size() == (data.size() + 2) / 3 * 4 && base64_decode(base64_encode(t(data))) == t(data)) << data.size();
    for (const std::string bad : {"QQ", "QUJDQ", "QQ=", "Q===", "====", "QQ=A", "=QQQ", "QU I", "QUJD\n", "QU-_", "QUJ\x80", "AAA"})
        EXPECT_TRUE(failed(base64_decode(t(bad == "AAA" ? std::string(4, '\0') : bad)).empty(), ZYN_ERR_INVALID_ARGUMENT)) << bad;
}

TEST(WideText, UnitsAreCharactersEvenInsideSurrogatePairsAndAbove255)
{
    ASSERT_EQ(zyn_init(""), 1);
    const auto unit = [](unsigned u) { return zyn_wstring(1, zyn_wchar(u)); };
    const zyn_wstring pair = unit(0xD83D) + unit(0xDE00); // U+1F600
    EXPECT_EQ(zyn_wstring_reverse(pair), unit(0xDE00) + unit(0xD83D));
    EXPECT_EQ(zyn_wstring_extract(ZW("a") + pair, 0, 2), ZW("a") + unit(0xD83D));
    EXPECT_EQ(zyn_wstring_contains(ZW("x") + pair, unit(0xDE00), 0), 3u);
    // Only ASCII letters change case; a unit whose low byte is a digit, a letter or a Base64 character is none.
    EXPECT_TRUE(zyn_wstring_to_lower_case(ZW("\u00C4B")) == ZW("\u00C4b") && zyn_wstring_to_upper_case(ZW("\u0161x")) == ZW("\u0161X"));
    EXPECT_EQ(zyn_wstring_is_digits(unit(0x0131)) + zyn_wstring_is_digits(ZW("\uFF11")), 0);
    EXPECT_EQ(zyn_wstring_is_upper_case(unit(0x0141)) + zyn_wstring_is_lower_case(unit(0x0161)), 0);
    EXPECT_EQ(zyn_wstring_smash(ZW("a\u0161b\u0061"), unit(0x0161)), ZW("aba"));
    EXPECT_TRUE(failed(zyn_wstring_to_number(ZW("\u0661")) + zyn_wstring_to_number(unit(0x0135)) == 0.0, 0));
    EXPECT_TRUE(failed(zyn_wstring_base64_decode(ZW("QUJ") + unit(0x0100 + 'D')).empty(), ZYN_ERR_INVALID_ARGUMENT));
    for (const zyn_wstring& bad : {zyn_wstring(ZW("ab\u0141")), unit(0x0100)}) // refused, never cut to the low byte
        EXPECT_TRUE(failed(zyn_wstring_base64_encode(bad).empty(), ZYN_ERR_INVALID_ARGUMENT));
    wstring_list list; // grown from 64 by doubling, it starts over on each split
    ASSERT_TRUE(zyn_wstring_split(zyn_wstring(200, zyn_wchar(',')), ZW(","), 1, list) && list.count == 200 && list.capacity == 256);
    EXPECT_TRUE(zyn_wstring_split(ZW("z"), ZW(","), 1, list) && list.count == 1 && list.capacity == 64 && list.items[0] == ZW("z"));
    zyn_unload();
}

using Narrow = test::LoadedLibrary;

TEST_F(Narrow, NaturalSortAppendsEachPieceWithTheDelimiter)
{
    char out[256] = "", saves[64] = "", big[64] = "";
    EXPECT_TRUE(zyn_string_sort("b10,a,b2,B1", ",", out) && zyn_string_sort("b10,a,b2,B1", ",", out));
    EXPECT_TRUE(zyn_string_sort("save10.dat||save9.dat||Save1.dat||auto.dat||2.dat", "||", saves));
    EXPECT_TRUE(zyn_string_sort("x99999999999b;x2147483647a;x5", ";", big)); // runs beyond 32 bits: the largest value
    EXPECT_EQ(std::string(out) + saves + big, "a,B1,b2,b10,a,B1,b2,b10,2.dat||auto.dat||Save1.dat||save9.dat||save10.dat||x5;x2147483647a;x99999999999b;");
    std::strcpy(out, "keep");
    for (const auto& [text, delimiter, output] : {std::tuple{"", ",", out}, {"a,b", "", out}, {nullptr, ",", out}, {"a,b", ",", nullptr}})
        EXPECT_TRUE(failed(zyn_string_sort(text, delimiter, output) == 0, ZYN_ERR_INVALID_ARGUMENT));
    zyn_unload();
    EXPECT_TRUE(failed(zyn_string_sort("a,b", ",", out) == 0, ZYN_ERR_NOT_LOADED));
    EXPECT_STREQ(out, "keep");
}

std::string utf8(unsigned char c) { return c < 0x80 ? std::string(1, char(c)) : std::string{char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))}; }

// A conversion into room bytes of 'x' (twice the input and 4 more when none is given),
// returned whole: what was written and that nothing followed.
std::string run(int (*convert)(const char*, uint32_t, char*), const std::string& in, size_t room = 0)
{
    std::string buffer(room ? room : 2 * in.size() + 4, 'x');
    EXPECT_EQ(convert(in.data(), uint32_t(in.size()), &buffer[0]), 1);
    return room ? buffer : buffer.substr(0, buffer.find_last_not_of('x') + 1);
}

TEST_F(Narrow, Latin1AndUtf8ConvertWithoutWritingPastTheResult)
{
    // Not UTF-8 (Latin-1, overlong, surrogate, above U+10FFFF, cut, stray, five bytes, every byte): each byte
    // encoded, none decoded; what the encoder wrote is UTF-8, which it copies and the decoder takes back.
    std::string every;
    for (unsigned v = 1; v < 256; ++v) every += char(v);
    for (const std::string& latin1 : std::vector<std::string>{"caf\xE9", "\xFF", std::string("a\0\x80", 3), "\xC0\xAF", "\xED\xA0\x80",
                                                             "\xF4\x90\x80\x80", "\xE2\x82", "\x80", "\xF8\x88\x80\x80\x80", every}) {
        std::string encoded;
        for (unsigned char c : latin1) encoded += utf8(c);
        EXPECT_TRUE(run(zyn_utf8_encode, latin1) == encoded && run(zyn_utf8_decode, latin1) == latin1) << latin1;
        EXPECT_TRUE(run(zyn_utf8_encode, encoded) == encoded && failed(run(zyn_utf8_decode, encoded) == latin1, 0)) << latin1;
    }
    // UTF-8 is copied when encoding and loses what is above U+00FF when decoding.
    for (const auto& [in, decoded] : {std::pair{"caf\xC3\xA9", "caf\xE9"}, {"A\xE2\x82\xAC" "B", "AB"}, {"\xF0\x9F\x98\x80!", "!"},
                                      {"\xC4\x80\xC3\xBF", "\xFF"}})
        EXPECT_TRUE(run(zyn_utf8_encode, in) == in && run(zyn_utf8_decode, in) == decoded) << in;
    // Nothing follows the result, also at the block sizes the conversions work in.
    for (size_t n : {1, 2, 15, 16, 17, 31, 32, 33, 48}) {
        for (size_t every : {1, 2, 7, 16}) {
            std::string latin1, encoded;
            for (size_t k = 0; k < n; ++k) {
                latin1 += char(k % every == 0 && k + 1 < n ? 0xC0 + k % 64 : 'a' + k % 26);
                encoded += utf8(latin1.back());
            }
            EXPECT_EQ(run(zyn_utf8_encode, latin1, 2 * n + 4), encoded + std::string(2 * n + 4 - encoded.size(), 'x'));
            EXPECT_EQ(run(zyn_utf8_decode, encoded, encoded.size() + 4), latin1 + std::string(encoded.size() + 4 - n, 'x'));
        }
    }
    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(zyn_utf8_encode("", 0, out) + zyn_utf8_decode(nullptr, 0, nullptr), 2);
    EXPECT_TRUE(failed(zyn_utf8_encode(nullptr, 3, out) == 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_TRUE(failed(zyn_utf8_decode("abc", 3, nullptr) == 0, ZYN_ERR_INVALID_ARGUMENT));
    zyn_unload();
    EXPECT_TRUE(failed(zyn_utf8_encode("\xE9", 1, out) == 0, ZYN_ERR_NOT_LOADED));
    EXPECT_TRUE(failed(zyn_utf8_decode("a", 1, out) == 0, ZYN_ERR_NOT_LOADED) && std::string(out, 4) == "xxxx");
}

TEST_F(Narrow, EntitiesDecodeNamedAndNumericReferencesWithinSize)
{
    const auto decode = [](const std::string& source) {
        std::vector<char> buffer(source.size() + 1, 'x');
        EXPECT_EQ(zyn_decode_entite(source.c_str(), uint32_t(buffer.size()), buffer.data()), 1);
        return std::string(buffer.data());
    };
    const struct { const char *in, *out; } rows[] = {
        {"a &lt;b&gt; c", "a <b> c"}, {"&#65;&#x42;&#X43;", "ABC"}, {"&eacute;&Eacute;", "\xC3\xA9\xC3\x89"},
        {"&lang;&rang;", "\xE3\x80\x88\xE3\x80\x89"}, {"&apos;&quot;&amp;", "'\"&"},
        {"&AElig;&zwnj;&sup1;&sup;&thetasym;&euro;&nbsp;", "\xC3\x86\xE2\x80\x8C\xC2\xB9\xE2\x8A\x83\xCF\x91\xE2\x82\xAC\xC2\xA0"},
        {"&#x1F600;&#128512;", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80"}, {"&#x10FFFF;", "\xF4\x8F\xBF\xBF"}, {"&#xD800;", "\xED\xA0\x80"},
        {"&#x0x41;&# 66;&#+67;&#X+a;&#X0X4;", "ABC\n\x04"}, // the prefix, white space and sign strtoul reads
        {"x&#;y", "x"}, {"&#x;;", ""}, {"a&#-0;b", "a"}, // a reference to 0 ends the text
        {"&&amp;&;&lt;", "&&&;<"}};
    for (const auto& r : rows) EXPECT_EQ(decode(r.in), r.out) << r.in;
    for (const char* kept : {"AT&T", "&#x110000;", "&#65 ;", "&# ;", "&#x-;", "&amp", "&AMP;", "&amp x;", "&#-65;", "&#+;", "&# -4;",
                             "&#99999999999999999999;", "&;", "&", "&&", "a&b&c;", "&#1a;", "&#xG;", "&unknown;", "&lt", "&#&#65"})
        EXPECT_TRUE(failed(decode(kept) == kept, 0)) << kept;
    // A reference is written whole or not at all, and the zero always fits.
    const struct { const char* source; uint32_t size; std::string written; } cut[] = {
        {"hello world", 6, std::string("hello\0x", 7)}, {"ab&euro;", 4, std::string("ab\0xx", 5)},
        {"ab&euro;", 6, std::string("ab\xE2\x82\xAC\0x", 7)}, {"abc", 1, std::string("\0x", 2)}, {"abc", 0, "x"}};
    for (const auto& r : cut) {
        std::string buffer(16, 'x');
        EXPECT_TRUE(failed(zyn_decode_entite(r.source, r.size, buffer.data()) == (r.size > 0), r.size > 0 ? 0 : ZYN_ERR_INVALID_ARGUMENT));
        EXPECT_EQ(buffer.substr(0, r.written.size()), r.written) << r.source << " " << r.size;
    }
    EXPECT_TRUE(failed(zyn_decode_entite("abc", 4, nullptr) == 0, ZYN_ERR_INVALID_ARGUMENT));
    // In place, reading no further than size even without a zero inside it.
    char text[] = "&lt;tag&gt; &amp;&#233;", unterminated[8] = {'a', '&', 'l', 't', ';', 'b', 'c', 'd'}, full[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(zyn_decode_entite(nullptr, sizeof text, text) + zyn_decode_entite(nullptr, sizeof unterminated, unterminated) +
                  zyn_decode_entite(nullptr, sizeof full, full), 3);
    EXPECT_TRUE(std::string(text) == "<tag> &\xC3\xA9" && std::string(unterminated) == "a<bcd" && std::string(full) == "abc");
    zyn_unload();
    EXPECT_TRUE(failed(zyn_decode_entite(nullptr, sizeof text, text) == 0, ZYN_ERR_NOT_LOADED) && std::string(text) == "<tag> &\xC3\xA9");
}

TEST_F(Narrow, Base64LongTextIsCheckedAtEveryPosition)
{
    // Every byte at every position of a text long enough for the block decoders: each
    // neighbour of an alphabet range is refused as surely as an alphabet character is accepted.
    std::string data;
    for (int v = 0; v < 150; ++v) data += char(v * 37 + 11);
    const std::string text = zyn_string_base64_encode(data);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    ASSERT_EQ(text.size(), 200u);
    for (size_t pos = 0; pos < text.size(); ++pos) {
        for (int value = 0; value < 256; ++value) {
            std::string changed = text;
            changed[pos] = char(value);
            const bool valid = alphabet.find(char(value)) != std::string::npos, closing = value == '=' && pos % 4 == 3;
            const std::string decoded = zyn_string_base64_decode(changed); // "xxx=" closing a group is valid
            ASSERT_TRUE(valid ? decoded.size() == data.size() : closing || failed(decoded.empty(), ZYN_ERR_INVALID_ARGUMENT)) << pos << " " << value;
        }
    }
    for (size_t group = 0; group <= text.size() / 4; ++group) {
        std::string padded = text, expected = data;
        ASSERT_EQ(zyn_string_base64_decode(padded.insert(group * 4, "QQ==")), expected.insert(group * 3, "A")) << group;
    }
}


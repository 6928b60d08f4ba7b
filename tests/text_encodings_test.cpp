// Latin-1/UTF-8 conversion and HTML entity decoding into caller buffers.
#include "support/loaded_library.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

class Encodings : public test::LoadedLibrary {};

// Runs a conversion into a buffer pre-filled with 'x' and returns all of it,
// so a test sees exactly which bytes were written and that nothing followed.
template <class Convert>
std::string run(Convert convert, const std::string& input, int expect = 1)
{
    std::string buffer(2 * input.size() + 4, 'x');
    EXPECT_EQ(convert(input.data(), static_cast<uint32_t>(input.size()), &buffer[0]), expect);
    return buffer;
}

std::string converted(const std::string& buffer)
{
    return buffer.substr(0, buffer.find_last_not_of('x') + 1);
}

TEST_F(Encodings, Latin1EncodesToUtf8AndValidUtf8PassesThrough)
{
    EXPECT_EQ(converted(run(zyn_utf8_encode, "caf\xE9")), "caf\xC3\xA9");
    EXPECT_EQ(converted(run(zyn_utf8_encode, "caf\xC3\xA9")), "caf\xC3\xA9");
    EXPECT_EQ(converted(run(zyn_utf8_encode, "\xFF")), "\xC3\xBF");
    EXPECT_EQ(converted(run(zyn_utf8_encode, std::string("a\0\x80", 3))), std::string("a\0\xC2\x80", 4));
    // No zero is written after the result.
    EXPECT_EQ(run(zyn_utf8_encode, "ab"), "abxxxxxx");
    EXPECT_EQ(run(zyn_utf8_encode, "\xE9"), "\xC3\xA9xxxx");
    // Nor at the block sizes the conversions work in, however dense the high bytes.
    for (size_t n : {15, 16, 17, 31, 32, 33, 48}) {
        for (size_t every : {1, 2, 7, 16}) {
            std::string latin1, utf8;
            for (size_t k = 0; k < n; ++k) {
                const unsigned char c = k % every == 0 && k + 1 < n ? 0xC0 + k % 64 : 'a' + k % 26;
                latin1 += char(c);
                utf8 += c < 0x80 ? std::string(1, char(c)) : std::string{char(0xC3), char(0x80 | (c & 0x3F))};
            }
            const std::string pad(2 * n + 4 - utf8.size(), 'x');
            EXPECT_EQ(run(zyn_utf8_encode, latin1), utf8 + pad) << n << " " << every;
            EXPECT_EQ(run(zyn_utf8_decode, utf8), latin1 + std::string(2 * utf8.size() + 4 - n, 'x')) << n;
        }
    }
    // Encoding twice changes nothing: the encoder's output is valid UTF-8.
    std::string latin1;
    for (int v = 1; v < 256; ++v)
        latin1.push_back(static_cast<char>(v));
    const std::string once = converted(run(zyn_utf8_encode, latin1));
    EXPECT_EQ(once.size(), 127u + 2u * 128u);
    EXPECT_EQ(converted(run(zyn_utf8_encode, once)), once);
    EXPECT_EQ(converted(run(zyn_utf8_decode, once)), latin1);
    // Forms that are not valid UTF-8 make the whole text Latin-1.
    for (const char* invalid : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80", "\xF8\x88\x80\x80\x80"}) {
        std::string expected;
        for (const char* p = invalid; *p; ++p) {
            const auto b = static_cast<unsigned char>(*p);
            expected += b < 0xC0 ? std::string{'\xC2', static_cast<char>(b)} : std::string{'\xC3', static_cast<char>(b - 0x40)};
        }
        EXPECT_EQ(converted(run(zyn_utf8_encode, invalid)), expected) << invalid;
    }
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(Encodings, Utf8DecodesToLatin1DroppingWhatDoesNotFit)
{
    EXPECT_EQ(converted(run(zyn_utf8_decode, "caf\xC3\xA9")), "caf\xE9");
    EXPECT_EQ(converted(run(zyn_utf8_decode, "A\xE2\x82\xAC" "B")), "AB");
    EXPECT_EQ(converted(run(zyn_utf8_decode, "\xF0\x9F\x98\x80!")), "!");
    EXPECT_EQ(converted(run(zyn_utf8_decode, "\xC4\x80\xC3\xBF")), "\xFF"); // U+0100 dropped, U+00FF kept
    EXPECT_EQ(run(zyn_utf8_decode, "\xE9"), "\xE9xxxxx");                  // not UTF-8: unchanged
    EXPECT_EQ(run(zyn_utf8_decode, "A\xC3\xA9"), "A\xE9xxxxxxxx");          // no zero written
    EXPECT_EQ(converted(run(zyn_utf8_decode, "\xED\xA0\x80")), "\xED\xA0\x80"); // a surrogate is not UTF-8
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(Encodings, ConversionsHandleEmptyAndMissingBuffers)
{
    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(zyn_utf8_encode("", 0, out), 1);
    EXPECT_EQ(zyn_utf8_decode(nullptr, 0, nullptr), 1);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(zyn_utf8_encode(nullptr, 3, out), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_utf8_decode("abc", 3, nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    zyn_unload();
    EXPECT_EQ(zyn_utf8_encode("\xE9", 1, out), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_utf8_decode("a", 1, out), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(std::string(out, 4), "xxxx");
}

std::string decode(const std::string& source)
{
    std::vector<char> buffer(source.size() + 1, 'x');
    EXPECT_EQ(zyn_decode_entite(source.c_str(), static_cast<uint32_t>(buffer.size()), buffer.data()), 1);
    return std::string(buffer.data());
}

TEST_F(Encodings, EntitiesDecodeNamedAndNumericReferences)
{
    EXPECT_EQ(decode("a &lt;b&gt; c"), "a <b> c");
    EXPECT_EQ(decode("AT&T"), "AT&T");
    EXPECT_EQ(decode("&#65;&#x42;&#X43;"), "ABC");
    EXPECT_EQ(decode("&eacute;&Eacute;"), "\xC3\xA9\xC3\x89");
    EXPECT_EQ(decode("&lang;&rang;"), "\xE3\x80\x88\xE3\x80\x89");
    EXPECT_EQ(decode("&apos;&quot;&amp;"), "'\"&");
    EXPECT_EQ(decode("&AElig;&zwnj;&sup1;&sup;&thetasym;&euro;&nbsp;"),
              "\xC3\x86\xE2\x80\x8C\xC2\xB9\xE2\x8A\x83\xCF\x91\xE2\x82\xAC\xC2\xA0");
    EXPECT_EQ(decode("&#x1F600;&#128512;"), "\xF0\x9F\x98\x80\xF0\x9F\x98\x80");
    EXPECT_EQ(decode("&#x10FFFF;"), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(decode("&#xD800;"), "\xED\xA0\x80");
    EXPECT_EQ(decode("&#x0x41;&# 66;&#+67;"), "ABC"); // the prefix, white space and sign strtoul reads
    EXPECT_EQ(decode("x&#;y"), "x");                        // no digits: a zero byte ends the text
    // References that fail stay as written.
    for (const char* kept : {"&#x110000;", "&#65 ;", "&# ;", "&#x-;", "&amp", "&AMP;", "&amp x;", "&#-65;", "&#99999999999999999999;",
                             "&#x;;", "&;", "&", "&&", "a&b&c;", "&#1a;", "&#xG;", "&unknown;", "&lt"}) {
        if (std::string(kept) == "&#x;;")
            EXPECT_EQ(decode(kept), "") << kept;
        else
            EXPECT_EQ(decode(kept), kept) << kept;
    }
    EXPECT_EQ(decode("&&amp;&;&lt;"), "&&&;<");
    EXPECT_EQ(zyn_geterror(), 0);
}

// A numeric reference read with strtoul itself, to hold the decoder's own
// reading against: accepted when the conversion ends at the ';' without
// overflow and gives a code point. The UTF-8 of the value, or nothing.
std::string numeric_reference(const std::string& digits, int base)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(digits.c_str(), &end, base);
    if (errno != 0 || *end != ';' || value >= 0x110000)
        return std::string();
    std::string out;
    if (value < 0x80) {
        out += static_cast<char>(value);
    } else if (value < 0x800) {
        out += static_cast<char>(0xC0 | value >> 6);
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        out += static_cast<char>(0xE0 | value >> 12);
        out += static_cast<char>(0x80 | (value >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | value >> 18);
        out += static_cast<char>(0x80 | (value >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (value >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
    return out;
}

TEST_F(Encodings, NumericReferencesReadAsStrtoulReadsThem)
{
    // Random runs of the pieces a numeric reference is made of. Values stay
    // far below 32 bits and no "0x" prefix stands without digits after it, so
    // every C library's strtoul gives the same answer (the prefix has its own
    // cases above).
    const char* pieces[] = {"&#", "&#x", "&#X", "0", "4", "9", "A", "f", "g", " ", "+", "-", ";", "&", "a"};
    std::mt19937 rng(4);
    for (int round = 0; round < 20000; ++round) {
        std::string source;
        for (int n = 1 + rng() % 6; n > 0; --n)
            source += pieces[rng() % std::size(pieces)];
        std::string expected;
        for (size_t r = 0; r < source.size();) {
            const size_t amp = source.find('&', r);
            expected += source.substr(r, amp - r);
            if (amp == std::string::npos)
                break;
            const size_t semicolon = source.find(';', amp);
            std::string bytes;
            if (semicolon != std::string::npos && source.compare(amp, 2, "&#") == 0) {
                const bool hex = amp + 2 < semicolon && (source[amp + 2] == 'x' || source[amp + 2] == 'X');
                const size_t digits = amp + (hex ? 3 : 2);
                bytes = digits == semicolon ? std::string(1, '\0')
                                            : numeric_reference(source.substr(digits, semicolon + 1 - digits), hex ? 16 : 10);
            }
            if (bytes.empty()) {
                expected += '&';
                r = amp + 1;
            } else {
                expected += bytes;
                r = semicolon + 1;
            }
        }
        // The result ends at its first zero byte, as a reference to 0 ends it.
        expected = expected.substr(0, expected.find('\0'));
        ASSERT_EQ(decode(source), expected) << source;
    }
}

TEST_F(Encodings, EntityDecodingNeverWritesPastSize)
{
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(zyn_decode_entite("hello world", 6, buffer), 1);
    EXPECT_EQ(std::string(buffer, 7), std::string("hello\0x", 7));

    // A reference's bytes are written whole or not at all.
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(zyn_decode_entite("ab&euro;", 4, buffer), 1);
    EXPECT_EQ(std::string(buffer, 5), std::string("ab\0xx", 5));
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(zyn_decode_entite("ab&euro;", 6, buffer), 1);
    EXPECT_EQ(std::string(buffer, 7), std::string("ab\xE2\x82\xAC\0x", 7));
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(zyn_decode_entite("abc", 1, buffer), 1);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0x", 2));

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(zyn_decode_entite("abc", 0, buffer), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(zyn_decode_entite("abc", 4, nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TEST_F(Encodings, EntityDecodingInPlaceReadsNoFurtherThanSize)
{
    char text[] = "&lt;tag&gt; &amp;&#233;";
    EXPECT_EQ(zyn_decode_entite(nullptr, sizeof text, text), 1);
    EXPECT_STREQ(text, "<tag> &\xC3\xA9");

    // A buffer without a zero inside size: only size bytes are read, and the
    // result still ends with a zero inside them.
    char unterminated[8] = {'a', '&', 'l', 't', ';', 'b', 'c', 'd'};
    EXPECT_EQ(zyn_decode_entite(nullptr, sizeof unterminated, unterminated), 1);
    EXPECT_STREQ(unterminated, "a<bcd");
    char full[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(zyn_decode_entite(nullptr, sizeof full, full), 1);
    EXPECT_STREQ(full, "abc");

    zyn_unload();
    char kept[] = "&amp;";
    EXPECT_EQ(zyn_decode_entite(nullptr, sizeof kept, kept), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_STREQ(kept, "&amp;");
}

} // namespace

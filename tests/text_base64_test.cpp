// Base64 on bytes and on 16-bit units: known vectors, round trips of every
// byte value, and the text the decoders refuse.
#include <zyn/zyn.h>

#include "support/loaded_library.h"
#include "support/wide.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

class Base64 : public test::LoadedLibrary {};

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

TEST_F(Base64, KnownVectorsEncodeAndDecodeBothWidths)
{
    const std::pair<std::string, std::string> vectors[] = {
        {"A", "QQ=="}, {"AB", "QUI="}, {"ABC", "QUJD"}, {bytes({255}), "/w=="},
        {bytes({65, 255}), "Qf8="}, {bytes({0xC3, 0xA9}), "w6k="}, {"foobar", "Zm9vYmFy"},
        {bytes({0}), "AA=="}, {bytes({0xFB, 0xFF, 0xBF}), "+/+/"},
    };
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(zyn_string_base64_encode(plain), encoded);
        EXPECT_EQ(zyn_string_base64_decode(encoded), plain);
        zyn_wstring units;
        for (char c : plain)
            units.push_back(static_cast<zyn_wchar>(static_cast<unsigned char>(c)));
        EXPECT_EQ(zyn_wstring_base64_encode(units), test::widen_ascii(encoded));
        EXPECT_EQ(zyn_wstring_base64_decode(test::widen_ascii(encoded)), units);
        EXPECT_EQ(zyn_geterror(), 0);
    }
    EXPECT_EQ(zyn_wstring_base64_encode(zyn_wstring(1, zyn_wchar(0xE9))), ZW("6Q=="));
    EXPECT_EQ(zyn_wstring_base64_decode(ZW("6Q==")), zyn_wstring(1, zyn_wchar(0xE9)));
    EXPECT_EQ(zyn_string_base64_decode("6Q=="), bytes({0xE9}));
    // Each group stands alone, so padding may close any of them.
    EXPECT_EQ(zyn_string_base64_decode("QQ==QQ=="), "AA");
    EXPECT_EQ(zyn_wstring_base64_decode(ZW("QQ==QUJD")), ZW("AABC"));
}

TEST_F(Base64, RoundTripsEveryByteOnOneLine)
{
    std::mt19937 rng(12345);
    for (size_t length : {1u, 2u, 3u, 4u, 57u, 58u, 59u, 1000u, 65537u}) {
        std::string data(length, '\0');
        for (char& c : data)
            c = static_cast<char>(rng());
        const std::string encoded = zyn_string_base64_encode(data);
        EXPECT_EQ(encoded.size(), (length + 2) / 3 * 4);
        EXPECT_EQ(encoded.find_first_of("\r\n "), std::string::npos);
        EXPECT_EQ(zyn_string_base64_decode(encoded), data);

        zyn_wstring units;
        for (char c : data)
            units.push_back(static_cast<zyn_wchar>(static_cast<unsigned char>(c)));
        const zyn_wstring wide = zyn_wstring_base64_encode(units);
        EXPECT_EQ(wide, test::widen_ascii(encoded));
        EXPECT_EQ(zyn_wstring_base64_decode(wide), units);
    }
    std::string all;
    for (int v = 0; v < 256; ++v)
        all.push_back(static_cast<char>(v));
    EXPECT_EQ(zyn_string_base64_decode(zyn_string_base64_encode(all)), all);
}

TEST_F(Base64, MalformedTextIsRefusedWithAnEmptyResult)
{
    const char* refused[] = {
        "QQ",       // not whole groups
        "QUJDQ",    // a stray character after whole groups
        "QQ=",      // cut padding
        "Q===",     // one character cannot make a byte
        "====",     // padding alone
        "QQ=A",     // padding inside a group
        "=QQQ",     // padding first
        "QU I",     // white space
        "QUJD\n",   // a line break
        "QU-_",     // the URL-safe alphabet
        "QUJ\x80",  // a byte outside ASCII
    };
    for (const char* text : refused) {
        EXPECT_EQ(zyn_string_base64_decode(text), "") << text;
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT) << text;
        EXPECT_EQ(zyn_wstring_base64_decode(test::widen_ascii(text)), ZW("")) << text;
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT) << text;
    }
    // A wide unit whose low byte is an alphabet character is still not one.
    zyn_wstring disguised = ZW("QUJ");
    disguised.push_back(zyn_wchar(0x0100 + 'D'));
    EXPECT_EQ(zyn_wstring_base64_decode(disguised), ZW(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);

    EXPECT_EQ(zyn_string_base64_decode(std::string(4, '\0')), "");
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_string_base64_decode(""), "");
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_string_base64_encode(""), "");
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_wstring_base64_encode(ZW("")), ZW(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TEST_F(Base64, LongTextIsCheckedAtEveryPosition)
{
    // Long enough for the block decoders; a bad character or a padded group
    // anywhere must be seen wherever the blocks begin and end.
    std::string data;
    for (int v = 0; v < 150; ++v)
        data.push_back(static_cast<char>(v * 37 + 11));
    const std::string text = zyn_string_base64_encode(data);
    ASSERT_EQ(text.size(), 200u);
    // Every byte value at every position: the block decoders classify
    // characters by table, so each neighbour of an alphabet range ('+' and
    // '/', ':' after '9', '@' and '[' around 'A' to 'Z', and so on) must be
    // refused as surely as an alphabet character is accepted.
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (size_t pos = 0; pos < text.size(); ++pos) {
        for (int value = 0; value < 256; ++value) {
            const char c = static_cast<char>(value);
            std::string changed = text;
            changed[pos] = c;
            if (alphabet.find(c) != std::string::npos) {
                ASSERT_EQ(zyn_string_base64_decode(changed).size(), data.size()) << pos << " " << value;
                continue;
            }
            if (c == '=' && pos % 4 == 3)
                continue; // "xxx=" closing a group is valid
            ASSERT_EQ(zyn_string_base64_decode(changed), "") << pos << " " << value;
            ASSERT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
        }
    }
    for (size_t group = 0; group <= text.size() / 4; ++group) {
        std::string padded = text;
        padded.insert(group * 4, "QQ==");
        std::string expected = data;
        expected.insert(group * 3, "A");
        ASSERT_EQ(zyn_string_base64_decode(padded), expected) << group;
    }
}

TEST_F(Base64, WideUnitsAbove255AreRefusedNotCut)
{
    EXPECT_EQ(zyn_wstring_base64_encode(ZW("ab\u0141")), ZW(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_wstring_base64_encode(zyn_wstring(1, zyn_wchar(0x0100))), ZW(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_wstring_base64_encode(zyn_wstring(1, zyn_wchar(0xFF))), ZW("/w=="));
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(Base64, RefusesWhileNotLoaded)
{
    zyn_unload();
    EXPECT_EQ(zyn_string_base64_encode("A"), "");
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_string_base64_decode("QQ=="), "");
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_wstring_base64_encode(ZW("A")), ZW(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_wstring_base64_decode(ZW("QQ==")), ZW(""));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
}

} // namespace

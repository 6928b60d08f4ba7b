// Inner pieces of the HTTP layer's text handling: URL coding handed to
// libcurl in pieces gives exactly what one call gives, a coder that gives no
// text is reported, and the test for a single header line.
#if !defined(_WIN32)

#include "http/http_url_coding.h"
#include "support/loaded_library.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using zyn::http::CurlApi;

class HttpText : public test::LoadedLibrary {
protected:
    void SetUp() override
    {
        LoadedLibrary::SetUp();
        ASSERT_EQ(zyn_http_init(), 1);
    }
    static const CurlApi& curl() { return *zyn::http::http_layer().curl; }

    static std::string encode(const std::string& text, size_t piece)
    {
        std::string out = "pre-";
        EXPECT_TRUE(zyn::http::url_encode_pieces(curl(), nullptr, text, piece, out));
        return out;
    }
    static std::string decode(const std::string& text, size_t piece)
    {
        std::string out = "pre-";
        EXPECT_TRUE(zyn::http::url_decode_pieces(curl(), nullptr, text, piece, out));
        return out;
    }
};

TEST_F(HttpText, CodingInPiecesGivesWhatOneCallGives)
{
    // Texts full of "%" groups, whole and broken, so that piece ends fall on
    // every position of a group.
    std::vector<std::string> texts = {"", "%", "%4", "%41", "100%", "%%41", "%4%41", "a%41%4a%%4A%zz%", "%41%42%43%44",
                                      std::string("%00\0%ff", 7)};
    std::mt19937 draw(20240611);
    const char alphabet[] = "%%%41aF g\r\n+";
    for (int n = 0; n < 200; ++n) {
        std::string text(draw() % 40, ' ');
        for (char& c : text)
            c = alphabet[draw() % (sizeof alphabet - 1)];
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::string whole_encoded = encode(text, zyn::http::kUrlPiece);
        const std::string whole_decoded = decode(text, zyn::http::kUrlPiece);
        for (size_t piece = 1; piece <= text.size() + 2; ++piece) {
            ASSERT_EQ(encode(text, piece), whole_encoded) << "pieces of " << piece;
            ASSERT_EQ(decode(text, piece), whole_decoded) << "pieces of " << piece;
        }
        ASSERT_EQ(decode(whole_encoded.substr(4), 3), "pre-" + text);
    }
    EXPECT_EQ(decode("a%41%4a%%4A%zz%", 3), "pre-aAJ%J%zz%");
}

// A libcurl whose coders give no text, as when its memory is exhausted.
char* no_escape(CURL*, const char*, int) { return nullptr; }
char* no_unescape(CURL*, const char*, int, int*) { return nullptr; }

TEST_F(HttpText, ACoderThatGivesNoTextIsAFailure)
{
    CurlApi failing = curl();
    failing.easy_escape = no_escape;
    failing.easy_unescape = no_unescape;
    const CurlApi* const real = zyn::http::http_layer().curl;
    zyn::http::http_layer().curl = &failing;

    std::string result = "kept";
    EXPECT_EQ(zyn_http_url_encode("a b", result), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), 27); // CURLE_OUT_OF_MEMORY
    EXPECT_EQ(result, "kept");
    EXPECT_EQ(zyn_http_url_decode("a%20b", result), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), 27);
    EXPECT_EQ(result, "kept");
    // An empty text asks libcurl for nothing.
    EXPECT_EQ(zyn_http_url_encode("", result), 1);
    EXPECT_EQ(result, "");

    zyn::http::http_layer().curl = real;
}

TEST(HttpHeaderLine, OneLineHoldsNoLineEndAndNoZeroByte)
{
    using zyn::http::is_single_header_line;
    EXPECT_TRUE(is_single_header_line("X-A: 1"));
    EXPECT_TRUE(is_single_header_line(""));
    EXPECT_TRUE(is_single_header_line("X-Tab:\tv\x7f\xff"));
    EXPECT_FALSE(is_single_header_line("X-A: 1\r\nX-Injected: 2"));
    EXPECT_FALSE(is_single_header_line("X-A: 1\nX-Injected: 2"));
    EXPECT_FALSE(is_single_header_line("X-A: 1\rX-Injected: 2"));
    EXPECT_FALSE(is_single_header_line("\n"));
    EXPECT_FALSE(is_single_header_line(std::string("X-A: 1\0X-Injected: 2", 21)));
}

} // namespace

#endif

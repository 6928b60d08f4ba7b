// Inner pieces of the HTTP layer: the id counter at the end of its range, the
// room a stepped request sets aside for its body, and (POSIX) URL coding in
// pieces and a libcurl coder that gives no text.
#include "http/http_layer.h"
#include "http/http_url_coding.h"
#include "support/http_fixture.h"

#include <random>

namespace {

using test::gives;
using zyn::http::http_layer;
using zyn::http::kMostRoomAhead;
constexpr size_t kFewMegabytes = size_t(8) << 20; // the most set aside from an announced length alone

class HttpInner : public test::HttpTest {
protected:
    void SetUp() override
    {
        HttpTest::SetUp();
        ASSERT_EQ(zyn_http_init(), 1);
    }
    static const std::string& body(uint32_t id) { return http_layer().requests.at(id).body; }
};

TEST_F(HttpInner, TheIdCounterRunsOutInsteadOfGivingAnIdTwice)
{
    http_layer().last_id = 0xFFFFFFFEu;
    const uint32_t last = zyn_http_create("http://127.0.0.1:9/");
    EXPECT_EQ(last, 0xFFFFFFFFu);
    EXPECT_TRUE(gives(zyn_http_create("http://127.0.0.1:9/"), 0, ZYN_ERR_OPERATION_FAILED));
    http_layer().requests.emplace(1, zyn::http::HttpRequest{}); // a wrap to 1 would name it twice
    EXPECT_TRUE(gives(zyn_http_create("http://127.0.0.1:9/"), 0, ZYN_ERR_OPERATION_FAILED));
    EXPECT_TRUE(gives(zyn_http_add_header(last, "X-A: b"), 1));
    ASSERT_EQ(zyn_http_unload(), 1);
    ASSERT_EQ(zyn_http_init(), 1);
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 1u);
}

TEST_F(HttpInner, RoomAheadIsTheAnnouncedLengthUpToAFewMegabytes)
{
    EXPECT_LE(kMostRoomAhead, kFewMegabytes);
    const struct {
        curl_off_t announced;
        size_t received, room;
    } cases[] = {{-1, 5, 5}, {0, 0, 0}, {0, 7, 7}, {1, 0, 1}, {23, 11, 23}, {100, 200, 200},
                 {curl_off_t(kMostRoomAhead) - 1, 0, kMostRoomAhead - 1}, {curl_off_t(kMostRoomAhead), 0, kMostRoomAhead},
                 {200000000, 11, kMostRoomAhead}, {curl_off_t(1) << 62, kMostRoomAhead + 1, kMostRoomAhead + 1}};
    for (const auto& c : cases)
        EXPECT_EQ(zyn::http::room_ahead(c.announced, c.received), c.room) << c.announced << " " << c.received;

    // Set aside once the first bytes are in: the body is never copied.
    const size_t size = 3u << 20;
    const uint32_t id = zyn_http_create(url("/large/" + std::to_string(size)).c_str());
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) > 0; }));
    ASSERT_LT(body(id).size(), size) << "the whole body came in one step";
    EXPECT_GE(body(id).capacity(), size);
    const char* const where = body(id).data();
    EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE);
    EXPECT_EQ(body(id).data(), where);
    ASSERT_EQ(body(id).size(), size);
    for (size_t i = 0; i < size; i += 65521) // every byte as sent
        ASSERT_EQ(static_cast<unsigned char>(body(id)[i]), i % 251) << "at byte " << i;
    // Without a length the body grows as it comes; an announced length is only a promise.
    const uint32_t chunked = zyn_http_create(url("/slow?chunks=3&ms=1").c_str());
    EXPECT_EQ(run_to_end(chunked), ZYN_ERR_NONE);
    EXPECT_LT(body(chunked).capacity(), 4096u);
    const uint32_t promise = zyn_http_create(url("/hold/promise?announce=200000000").c_str());
    ASSERT_TRUE(step_until(promise, [&] { return body(promise).size() >= 11; }));
    for (int n = 0; n < 3; ++n)
        ASSERT_EQ(zyn_http_request(promise), 1);
    EXPECT_EQ(zyn_http_getinfo(promise, 2), 200000000);
    EXPECT_LE(body(promise).capacity(), kFewMegabytes);
    release("promise");
    EXPECT_EQ(run_to_end(promise), ZYN_ERR_NONE); // cut short, it finishes like any other
    EXPECT_EQ(body(promise), "first part\n");
}

#if !defined(_WIN32)
TEST_F(HttpInner, CodingInPiecesGivesWhatOneCallGives)
{
    const auto coded = [](bool encode, const std::string& text, size_t piece) {
        std::string out = "pre-";
        const zyn::http::CurlApi& curl = *http_layer().curl;
        EXPECT_TRUE(encode ? zyn::http::url_encode_pieces(curl, nullptr, text, piece, out)
                           : zyn::http::url_decode_pieces(curl, nullptr, text, piece, out));
        return out;
    };
    // Texts full of "%" groups, whole and broken, so piece ends fall on every place in a group.
    std::vector<std::string> texts = {"", "%", "%4", "%%41", "%4%41", "a%41%4a%%4A%zz%", std::string("%00\0%ff", 7)};
    std::mt19937 draw(20240611);
    for (int n = 0; n < 200; ++n) {
        std::string text(draw() % 40, ' ');
        for (char& c : text)
            c = "%%%41aF g\r\n+"[draw() % 12];
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        const std::string encoded = coded(true, text, zyn::http::kUrlPiece);
        const std::string decoded = coded(false, text, zyn::http::kUrlPiece);
        for (size_t piece = 1; piece <= text.size() + 2; ++piece) {
            ASSERT_EQ(coded(true, text, piece), encoded) << text << " in pieces of " << piece;
            ASSERT_EQ(coded(false, text, piece), decoded) << text << " in pieces of " << piece;
        }
        ASSERT_EQ(coded(false, encoded.substr(4), 3), "pre-" + text);
    }
    EXPECT_EQ(coded(false, "a%41%4a%%4A%zz%", 3), "pre-aAJ%J%zz%");
}

char* no_escape(CURL*, const char*, int) { return nullptr; }
char* no_unescape(CURL*, const char*, int, int*) { return nullptr; }

TEST_F(HttpInner, ACoderThatGivesNoTextIsAFailure)
{
    zyn::http::CurlApi failing = *http_layer().curl; // as when libcurl's memory is exhausted
    failing.easy_escape = no_escape;
    failing.easy_unescape = no_unescape;
    const zyn::http::CurlApi* const real = http_layer().curl;
    http_layer().curl = &failing;
    std::string result = "kept";
    EXPECT_TRUE(gives(zyn_http_url_encode("a b", result), 0, ZYN_ERR_CALL_FAILED, 27)); // CURLE_OUT_OF_MEMORY
    EXPECT_TRUE(gives(zyn_http_url_decode("a%20b", result), 0, ZYN_ERR_CALL_FAILED, 27));
    EXPECT_EQ(result, "kept");
    EXPECT_TRUE(gives(zyn_http_url_encode("", result), 1)); // an empty text asks libcurl for nothing
    EXPECT_EQ(result, "");
    http_layer().curl = real;
}
#endif

} // namespace

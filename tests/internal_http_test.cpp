// Inner pieces of the HTTP layer: the id counter at the end of its range, the room a
// stepped request sets aside for its body, and (POSIX) a libcurl coder that gives no text.
#include "http/http_layer.h"
#include "http/http_url_coding.h"
#include "support/http_fixture.h"

#include <tuple>
#include <utility>

namespace {

using test::gives;
using zyn::http::http_layer;
using zyn::http::kMostRoomAhead;
constexpr size_t kFewMegabytes = size_t(8) << 20; // the most set aside from an announced length alone

class HttpInner : public test::HttpTest {
protected:
    static const std::string& body(uint32_t id) { return http_layer().requests.at(id).body; }
};

TEST_F(HttpInner, IdsRunOutBodyRoomIsBoundedAndACoderGivingNoTextFails)
{
    ASSERT_EQ(zyn_http_init(), 1);
    http_layer().last_id = 0xFFFFFFFEu;
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 0xFFFFFFFFu);
    EXPECT_TRUE(gives(zyn_http_create("http://127.0.0.1:9/"), 0, ZYN_ERR_OPERATION_FAILED));
    http_layer().requests.emplace(1, zyn::http::HttpRequest{}); // a wrap to 1 would name it twice
    EXPECT_TRUE(gives(zyn_http_create("http://127.0.0.1:9/"), 0, ZYN_ERR_OPERATION_FAILED));
    EXPECT_TRUE(gives(zyn_http_add_header(0xFFFFFFFFu, "X-A: b"), 1));
    ASSERT_TRUE(zyn_http_unload() == 1 && zyn_http_init() == 1);
    // The room set aside for a body: the announced length, up to a few megabytes.
    EXPECT_LE(kMostRoomAhead, kFewMegabytes);
    const curl_off_t most = curl_off_t(kMostRoomAhead);
    const size_t room_most = kMostRoomAhead;
    const std::tuple<curl_off_t, size_t, size_t> cases[] = { // announced, received, room
        {-1, 5, 5}, {0, 0, 0}, {0, 7, 7}, {1, 0, 1}, {23, 11, 23}, {100, 200, 200}, {most - 1, 0, room_most - 1},
        {most, 0, room_most}, {200000000, 11, room_most}, {most << 20, room_most + 1, room_most + 1}};
    for (const auto& [announced, received, room] : cases)
        EXPECT_EQ(zyn::http::room_ahead(announced, received), room) << announced << " " << received;
    // Set aside once the first bytes are in: the body is never copied.
    const size_t size = 3u << 20;
    const uint32_t id = create("/large/" + std::to_string(size));
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) > 0; }));
    ASSERT_LT(body(id).size(), size) << "the whole body came in one step";
    EXPECT_GE(body(id).capacity(), size);
    const char* const where = body(id).data();
    EXPECT_TRUE(run_to_end(id) == ZYN_ERR_NONE && body(id).data() == where);
    ASSERT_EQ(body(id).size(), size);
    for (size_t i = 0; i < size; i += 65521) // every byte as sent
        ASSERT_EQ(static_cast<unsigned char>(body(id)[i]), i % 251) << "at byte " << i;
    // Without a length the body grows as it comes; an announced length is only a promise.
    const uint32_t chunked = create("/slow?chunks=3&ms=1");
    EXPECT_TRUE(run_to_end(chunked) == ZYN_ERR_NONE && body(chunked).capacity() < 4096u);
    const uint32_t promise = create("/hold/promise?announce=200000000");
    ASSERT_TRUE(step_until(promise, [&] { return body(promise).size() >= 11; }));
    for (int n = 0; n < 3; ++n) // every step makes room
        ASSERT_EQ(zyn_http_request(promise), 1);
    EXPECT_TRUE(zyn_http_getinfo(promise, 2) == 200000000 && body(promise).capacity() <= kFewMegabytes);
    release("promise");
    EXPECT_TRUE(run_to_end(promise) == ZYN_ERR_NONE && body(promise) == "first part\n"); // cut short: as any other
#if !defined(_WIN32)
    zyn::http::CurlApi failing = *http_layer().curl; // as when libcurl's memory is exhausted
    failing.easy_escape = [](CURL*, const char*, int) -> char* { return nullptr; };
    failing.easy_unescape = [](CURL*, const char*, int, int*) -> char* { return nullptr; };
    const zyn::http::CurlApi* const real = std::exchange(http_layer().curl, &failing);
    std::string result = "kept";
    EXPECT_TRUE(gives(zyn_http_url_encode("a b", result), 0, ZYN_ERR_CALL_FAILED, 27)); // CURLE_OUT_OF_MEMORY
    EXPECT_TRUE(gives(zyn_http_url_decode("a%20b", result), 0, ZYN_ERR_CALL_FAILED, 27) && result == "kept");
    EXPECT_TRUE(gives(zyn_http_url_encode("", result), 1) && result.empty()); // an empty text asks libcurl for nothing
    http_layer().curl = real;
#endif
}

} // namespace

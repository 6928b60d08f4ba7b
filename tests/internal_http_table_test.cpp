// Inner pieces of the HTTP layer: the write callback, the id counter at the
// end of its range, and the room a stepped request sets aside for its body.
#include "http/http_layer.h"
#include "support/http_fixture.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(HttpBodyWriter, AppendsEveryByteAndNeverEmpties)
{
    std::string body = "abc";
    char block[] = {'x', '\0', 'y'};
    EXPECT_EQ(zyn::http::BodyWriter(block, 1, 3, &body), 3u);
    EXPECT_EQ(zyn::http::BodyWriter(block, 1, 0, &body), 0u);
    EXPECT_EQ(body, std::string("abcx\0y", 6));
}

TEST(HttpIdCounter, RunsOutInsteadOfGivingAnIdTwice)
{
    zyn_unload();
    ASSERT_EQ(zyn_init(""), 1);
    ASSERT_EQ(zyn_http_init(), 1);
    zyn::http::http_layer().last_id = 0xFFFFFFFEu;

    const uint32_t last = zyn_http_create("http://127.0.0.1:9/");
    EXPECT_EQ(last, 0xFFFFFFFFu);
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    // It stays spent: a wrap back to 1 would name a live request twice.
    zyn::http::http_layer().requests.emplace(1, zyn::http::HttpRequest{});
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_http_add_header(last, "X-A: b"), 1);
    EXPECT_EQ(zyn_geterror(), 0);

    // A new initialisation starts the count again.
    EXPECT_EQ(zyn_http_unload(), 1);
    ASSERT_EQ(zyn_http_init(), 1);
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 1u);
    zyn_unload();
}

class HttpBodyRoom : public test::HttpTest {
protected:
    void SetUp() override
    {
        HttpTest::SetUp();
        ASSERT_EQ(zyn_http_init(), 1);
    }
    static const std::string& body(uint32_t id) { return zyn::http::http_layer().requests.at(id).body; }
};

// What a request may set aside from an announced length alone.
constexpr size_t kFewMegabytes = size_t(8) << 20;

TEST(HttpRoomAhead, AnnouncedLengthUpToAFewMegabytes)
{
    using zyn::http::kMostRoomAhead;
    using zyn::http::room_ahead;
    EXPECT_LE(kMostRoomAhead, kFewMegabytes);
    EXPECT_EQ(room_ahead(-1, 5), 5u);              // no length announced
    EXPECT_EQ(room_ahead(0, 0), 0u);
    EXPECT_EQ(room_ahead(23, 11), 23u);            // an honest short body
    EXPECT_EQ(room_ahead(100, 200), 200u);         // more came than was announced
    EXPECT_EQ(room_ahead(200000000, 11), kMostRoomAhead);
    EXPECT_EQ(room_ahead(curl_off_t(1) << 62, 11), kMostRoomAhead);
    EXPECT_EQ(room_ahead(curl_off_t(1) << 62, kMostRoomAhead + 1), kMostRoomAhead + 1);
}

TEST_F(HttpBodyRoom, AnnouncedLengthIsSetAsideOnceSoTheBodyIsNeverCopied)
{
    // A body with a length within the room ahead: once its first bytes are
    // in, the string has room for all of it and stays where it is to the end.
    const size_t size = 3u << 20;
    ASSERT_LE(size, zyn::http::kMostRoomAhead);
    const uint32_t id = zyn_http_create(url("/large/" + std::to_string(size)).c_str());
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) > 0; }));
    ASSERT_LT(zyn_http_get_buffersize(id), size) << "the whole body came in one step";
    EXPECT_GE(body(id).capacity(), size);
    const char* const where = body(id).data();
    EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE);
    ASSERT_EQ(body(id).size(), size);
    EXPECT_EQ(body(id).data(), where);

    // Without an announced length the body simply grows.
    const uint32_t chunked = zyn_http_create(url("/slow?chunks=3&ms=1").c_str());
    EXPECT_EQ(run_to_end(chunked), ZYN_ERR_NONE);
    EXPECT_EQ(body(chunked), "chunk-0\nchunk-1\nchunk-2\n");
    EXPECT_LT(body(chunked).capacity(), 4096u);
}

TEST_F(HttpBodyRoom, AnnouncedLengthIsOnlyAPromise)
{
    // A server that announces 200 MB and sends 11 bytes, then holds the
    // connection open: while the request runs, its body has set aside no
    // more than the room ahead, not the 200 MB announced.
    const uint32_t id = zyn_http_create(url("/hold/promise?announce=200000000").c_str());
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) >= 11; }));
    for (int n = 0; n < 5; ++n)
        ASSERT_EQ(zyn_http_request(id), 1);
    EXPECT_EQ(zyn_http_getinfo(id, 2), 200000000);
    EXPECT_EQ(body(id), "first part\n");
    EXPECT_LE(body(id).capacity(), kFewMegabytes);
    release("promise");
    EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE);
    EXPECT_EQ(body(id), "first part\n");

    // One that announces a terabyte, sends "short" and hangs up.
    const uint32_t lying = zyn_http_create(url("/short/" + std::to_string(1ull << 40)).c_str());
    EXPECT_EQ(run_to_end(lying), ZYN_ERR_NONE);
    EXPECT_EQ(body(lying), "short");
    EXPECT_LE(body(lying).capacity(), kFewMegabytes);
}

TEST_F(HttpBodyRoom, LongerBodiesGrowWithTheDataThatArrives)
{
    // A body longer than the room ahead arrives whole; its string grows as
    // the bytes come in, never ahead of them by more than the room ahead or
    // the string's own doubling.
    const size_t size = 12u << 20;
    ASSERT_GT(size, 2 * zyn::http::kMostRoomAhead);
    const uint32_t id = zyn_http_create(url("/large/" + std::to_string(size)).c_str());
    size_t most = 0;
    ASSERT_FALSE(step_until(id, [&] {
        const std::string& b = body(id);
        EXPECT_LE(b.capacity(), std::max(zyn::http::kMostRoomAhead, 2 * b.size())) << "at " << b.size() << " bytes";
        most = std::max(most, b.capacity());
        return false;
    }));
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
    ASSERT_EQ(body(id).size(), size);
    EXPECT_LE(most, 2 * size);
    for (size_t i = 0; i < size; i += 65521)
        ASSERT_EQ(static_cast<unsigned char>(body(id)[i]), i % 251) << "at byte " << i;
}

} // namespace

// Inner pieces of the HTTP layer: the write callback, the id counter at the
// end of its range, and the room a stepped request sets aside for its body.
#include "net/http_layer.h"
#include "support/http_fixture.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HttpBodyWriter, AppendsEveryByteAndNeverEmpties)
{
    std::string body = "abc";
    char block[] = {'x', '\0', 'y'};
    EXPECT_EQ(zyn::net::BodyWriter(block, 1, 3, &body), 3u);
    EXPECT_EQ(zyn::net::BodyWriter(block, 1, 0, &body), 0u);
    EXPECT_EQ(body, std::string("abcx\0y", 6));
}

TEST(HttpIdCounter, RunsOutInsteadOfGivingAnIdTwice)
{
    zyn_unload();
    ASSERT_EQ(zyn_init(""), 1);
    ASSERT_EQ(zyn_http_init(), 1);
    zyn::net::http_layer().last_id = 0xFFFFFFFEu;

    const uint32_t last = zyn_http_create("http://127.0.0.1:9/");
    EXPECT_EQ(last, 0xFFFFFFFFu);
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    // It stays spent: a wrap back to 1 would name a live request twice.
    zyn::net::http_layer().requests.emplace(1, zyn::net::HttpRequest{});
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
    static const std::string& body(uint32_t id) { return zyn::net::http_layer().requests.at(id).body; }
};

TEST_F(HttpBodyRoom, AnnouncedLengthIsSetAsideOnceSoTheBodyIsNeverCopied)
{
    // A large body with a length: once its first bytes are in, the string has
    // room for all of it and stays where it is to the end.
    const size_t size = 12u << 20;
    const uint32_t id = zyn_http_create(url("/large/" + std::to_string(size)).c_str());
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) > 0; }));
    ASSERT_LT(zyn_http_get_buffersize(id), size) << "the whole body came in one step";
    EXPECT_GE(body(id).capacity(), size);
    const char* const where = body(id).data();
    EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE);
    ASSERT_EQ(body(id).size(), size);
    EXPECT_EQ(body(id).data(), where);
    for (size_t i = 0; i < size; i += 65521)
        ASSERT_EQ(static_cast<unsigned char>(body(id)[i]), i % 251) << "at byte " << i;

    // A server that announces far more than it sends sets aside a bounded
    // room, and the transfer finishes with what arrived.
    const uint32_t lying = zyn_http_create(url("/short/" + std::to_string(1ull << 40)).c_str());
    EXPECT_EQ(run_to_end(lying), ZYN_ERR_NONE);
    EXPECT_EQ(body(lying), "short");
    EXPECT_LE(body(lying).capacity(), size_t(512) << 20);

    // Without an announced length the body simply grows.
    const uint32_t chunked = zyn_http_create(url("/slow?chunks=3&ms=1").c_str());
    EXPECT_EQ(run_to_end(chunked), ZYN_ERR_NONE);
    EXPECT_EQ(body(chunked), "chunk-0\nchunk-1\nchunk-2\n");
    EXPECT_LT(body(chunked).capacity(), 4096u);
}

} // namespace

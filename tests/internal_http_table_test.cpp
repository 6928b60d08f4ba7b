// Inner pieces of the HTTP layer: the write callback and the id counter at
// the end of its range.
#if !defined(_WIN32)

#include "net/http_layer.h"

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

} // namespace

#endif

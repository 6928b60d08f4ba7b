// The blocking transfers against a real HTTP server on loopback: GET, POST
// with header lines, and the batch GET.
#include "support/http_fixture.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <list>
#include <string>

namespace {

using test::HttpTest;

constexpr int kCouldntResolveHost = 6; // CURLE_COULDNT_RESOLVE_HOST
constexpr int kCouldntConnect = 7;     // CURLE_COULDNT_CONNECT
constexpr const char* kUnresolvable = "http://zyn-test.invalid/fixed";
using test::closed_port_url;

class HttpTransfers : public HttpTest {};

TEST_F(HttpTransfers, GetAppendsTheBodyAndLoadsTheLayerOnDemand)
{
    ASSERT_EQ(zyn_http_isloaded(), 0);
    std::string body = "abc";
    EXPECT_EQ(zyn_http_url_get(url("/fixed"), body), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(body, "abcxyz");
    EXPECT_EQ(zyn_http_isloaded(), 1);

    // HTTP error statuses are successful transfers of the error page.
    body.clear();
    EXPECT_EQ(zyn_http_url_get(url("/status/404"), body), 1);
    EXPECT_EQ(body, "status 404");
    body.clear();
    EXPECT_EQ(zyn_http_url_get(url("/status/500"), body), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(body, "status 500");

    // Redirects are not followed; zero bytes in the body are kept.
    body.clear();
    EXPECT_EQ(zyn_http_url_get(url("/redirect"), body), 1);
    EXPECT_EQ(body, "moved");
    body = "-";
    EXPECT_EQ(zyn_http_url_get(url("/binary"), body), 1);
    EXPECT_EQ(body, std::string("-a\0b\0c", 6));

    // The one-shot user agent, and a body sent in chunks without a length.
    body.clear();
    EXPECT_EQ(zyn_http_url_get(url("/echo"), body), 1);
    EXPECT_NE(body.find("User-Agent: libcurl-agent/1.0\n"), std::string::npos) << body;
    body.clear();
    EXPECT_EQ(zyn_http_url_get(url("/slow?chunks=4&ms=20"), body), 1);
    EXPECT_EQ(body, "chunk-0\nchunk-1\nchunk-2\nchunk-3\n");
}

TEST_F(HttpTransfers, GetFailuresKeepTheCallersText)
{
    std::string body = "abc";
    EXPECT_EQ(zyn_http_url_get(kUnresolvable, body), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), kCouldntResolveHost);
    EXPECT_EQ(body, "abc");

    EXPECT_EQ(zyn_http_url_get(closed_port_url(), body), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), kCouldntConnect);
    EXPECT_EQ(body, "abc");

    EXPECT_EQ(zyn_http_url_get("not a url at all", body), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_NE(zyn_get_extendederror(), 0);
    EXPECT_EQ(body, "abc");
}

TEST_F(HttpTransfers, LargeBodyArrivesWhole)
{
    const size_t size = 8u << 20;
    std::string body;
    ASSERT_EQ(zyn_http_url_get(url("/large/" + std::to_string(size)), body), 1);
    ASSERT_EQ(body.size(), size);
    for (size_t i = 0; i < size; i += 4093)
        ASSERT_EQ(static_cast<unsigned char>(body[i]), i % 251) << "at byte " << i;
    EXPECT_EQ(static_cast<unsigned char>(body.back()), (size - 1) % 251);
}

TEST_F(HttpTransfers, PostSendsDataAndHeaderLines)
{
    ASSERT_EQ(zyn_http_isloaded(), 0);
    std::string body = "replaced";
    EXPECT_EQ(zyn_http_url_post(url("/echo"), "name=zyn&level=3", {"X-Game: demo", "X-Build: 7"}, body), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_http_isloaded(), 1);
    EXPECT_EQ(body.rfind("replaced", 0), std::string::npos);
    EXPECT_NE(body.find("X-Game: demo\nX-Build: 7\n"), std::string::npos) << body;
    EXPECT_NE(body.find("Content-Type: application/x-www-form-urlencoded\n"), std::string::npos);
    EXPECT_NE(body.find("User-Agent: libcurl-agent/1.0\n"), std::string::npos);
    EXPECT_EQ(body.substr(body.size() - 17), "\nname=zyn&level=3");

    // A header line names another content type; the data stops at a zero byte.
    EXPECT_EQ(zyn_http_url_post(url("/echo"), std::string("{\"a\":1}\0hidden", 14),
                                {"Content-Type: application/json"}, body), 1);
    EXPECT_NE(body.find("Content-Type: application/json\n"), std::string::npos) << body;
    EXPECT_EQ(body.find("x-www-form-urlencoded"), std::string::npos);
    EXPECT_EQ(body.substr(body.size() - 8), "\n{\"a\":1}");

    // One string as the data and the body: the data is sent, then replaced.
    std::string both = "score=7";
    EXPECT_EQ(zyn_http_url_post(url("/echo"), both, {}, both), 1);
    EXPECT_NE(both.find("Content-Length: 7\n"), std::string::npos) << both;
    EXPECT_EQ(both.substr(both.size() - 8), "\nscore=7");

    // No header lines, empty data.
    EXPECT_EQ(zyn_http_url_post(url("/echo"), "", {}, body), 1);
    EXPECT_NE(body.find("Content-Length: 0\n"), std::string::npos) << body;
    EXPECT_EQ(body.back(), '\n');
}

TEST_F(HttpTransfers, PostWithAHeaderLineHoldingALineEndSendsNothing)
{
    // A header line with CR, LF or a zero byte would go out as more than the
    // one line given (or cut short): the whole POST is refused before
    // anything is sent, the layer is not loaded on demand, the body is kept.
    const auto seen = [](const std::string& token) {
        std::string answer;
        EXPECT_EQ(zyn_http_url_get(url("/seen/" + token), answer), 1);
        return answer;
    };
    int n = 0;
    for (const std::string& bad : {std::string("X-A: 1\r\nX-Injected: 2"), std::string("X-A: 1\nX-Injected: 2"),
                                   std::string("X-A: 1\rX-Injected: 2"), std::string("X-A: 1\0X-Injected: 2", 21)}) {
        SCOPED_TRACE(n);
        ASSERT_EQ(zyn_http_isloaded(), 0);
        const std::string token = "refused-" + std::to_string(n++);
        std::string body = "old";
        EXPECT_EQ(zyn_http_url_post(url("/echo?mark=" + token), "a=1", {"X-Good: 1", bad}, body), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
        EXPECT_EQ(zyn_get_extendederror(), 0);
        EXPECT_EQ(body, "old");
        EXPECT_EQ(zyn_http_isloaded(), 0);
        EXPECT_EQ(seen(token), "no"); // the server never heard of it
        zyn_http_unload();
    }

    // The same request with clean lines arrives, every line as given.
    std::string body;
    EXPECT_EQ(zyn_http_url_post(url("/echo?mark=clean"), "a=1", {"X-Good: 1", "X-A: 1"}, body), 1);
    EXPECT_NE(body.find("X-Good: 1\nX-A: 1\n"), std::string::npos) << body;
    EXPECT_EQ(body.find("X-Injected"), std::string::npos) << body;
    EXPECT_EQ(seen("clean"), "yes");
}

TEST_F(HttpTransfers, PostFailureEmptiesTheBody)
{
    std::string body = "old";
    EXPECT_EQ(zyn_http_url_post(kUnresolvable, "a=1", {"X-A: b"}, body), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), kCouldntResolveHost);
    EXPECT_EQ(body, "");
    EXPECT_EQ(zyn_http_isloaded(), 1);

    body = "old";
    EXPECT_EQ(zyn_http_url_post(closed_port_url(), "a=1", {}, body), 0);
    EXPECT_EQ(zyn_get_extendederror(), kCouldntConnect);
    EXPECT_EQ(body, "");
}

TEST_F(HttpTransfers, BatchFetchesEveryEntryIntoItsOwnString)
{
    std::list<zyn_http_url_entry> batch;
    EXPECT_EQ(zyn_http_url_multiget(batch), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_HTTP_NOT_LOADED); // no loading on demand
    ASSERT_EQ(zyn_http_init(), 1);
    EXPECT_EQ(zyn_http_url_multiget(batch), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_EMPTY_LIST);

    // The handle slot's value on entry is never read.
    void* const junk = reinterpret_cast<void*>(static_cast<uintptr_t>(0x1234));
    batch.push_back({junk, url("/fixed"), "pre-"});
    batch.push_back({junk, kUnresolvable, "unchanged"});
    batch.push_back({junk, url("/status/404"), ""});
    batch.push_back({junk, url("/slow?chunks=3&ms=30"), ""});
    batch.push_back({junk, url("/large/300000"), ""});
    EXPECT_EQ(zyn_http_url_multiget(batch), 1);
    EXPECT_EQ(zyn_geterror(), 0);

    auto entry = batch.begin();
    EXPECT_EQ(entry->data, "pre-xyz");
    EXPECT_EQ((++entry)->data, "unchanged");
    EXPECT_EQ((++entry)->data, "status 404");
    EXPECT_EQ((++entry)->data, "chunk-0\nchunk-1\nchunk-2\n");
    EXPECT_EQ((++entry)->data.size(), 300000u);
    for (const zyn_http_url_entry& e : batch)
        EXPECT_EQ(e.handle, nullptr);
}

} // namespace

// The HTTP layer's global state and what every platform reports without a
// transfer: not loaded, layer not loaded, the load and unload cycle with
// zyn_unload, and the URL coding. (A Windows game without libcurl:
// http_without_libcurl_test.cpp.)
#include "support/http_checks.h"
#include "support/loaded_library.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <list>
#include <string>

namespace {

class HttpLayer : public test::LoadedLibrary {};

using test::expect_last_error;

TEST(HttpBeforeInit, EveryExportRefusesWithError1)
{
    zyn_unload();
    std::string body = "abc";
    std::list<zyn_http_url_entry> batch{{nullptr, "http://127.0.0.1:9/", ""}};
    char buffer[4];

    EXPECT_EQ(zyn_http_init(), 0);
    expect_last_error(ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_http_unload(), 0);
    expect_last_error(ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_http_url_get("http://127.0.0.1:9/", body), 0);
    expect_last_error(ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_http_url_post("http://127.0.0.1:9/", "d", {"A: b"}, body), 0);
    EXPECT_EQ(body, "abc");
    EXPECT_EQ(zyn_http_url_multiget(batch), 0);
    EXPECT_EQ(zyn_http_url_encode("a b", body), 0);
    EXPECT_EQ(zyn_http_url_decode("a%20b", body), 0);
    EXPECT_EQ(body, "abc");
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 0u);
    EXPECT_EQ(zyn_http_destroy(1), 0);
    EXPECT_EQ(zyn_http_setopt_long(1, 52, 1), 0);
    EXPECT_EQ(zyn_http_setopt_string(1, 10018, "agent"), 0);
    EXPECT_EQ(zyn_http_add_header(1, "A: b"), 0);
    EXPECT_EQ(zyn_http_request(1), 0);
    EXPECT_EQ(zyn_http_get_buffersize(1), 0u);
    EXPECT_EQ(zyn_http_get_bufferdata(1, buffer, sizeof buffer), 0u);
    EXPECT_EQ(zyn_http_getinfo(1, 4), 0);
    expect_last_error(ZYN_ERR_NOT_LOADED);

    // zyn_http_isloaded has no frame: the last error stays as it was.
    zyn_seterror(7, -3);
    EXPECT_EQ(zyn_http_isloaded(), 0);
    expect_last_error(7, -3);
}

TEST_F(HttpLayer, OperationsThatNeedTheLayerReportError13)
{
    std::string result = "kept";
    std::list<zyn_http_url_entry> batch{{nullptr, "http://127.0.0.1:9/", "data"}};

    EXPECT_EQ(zyn_http_isloaded(), 0);
    EXPECT_EQ(zyn_http_url_multiget(batch), 0);
    expect_last_error(ZYN_ERR_HTTP_NOT_LOADED);
    EXPECT_EQ(batch.front().data, "data");
    EXPECT_EQ(zyn_http_url_encode("a b", result), 0);
    expect_last_error(ZYN_ERR_HTTP_NOT_LOADED);
    EXPECT_EQ(zyn_http_url_decode("a%20b", result), 0);
    expect_last_error(ZYN_ERR_HTTP_NOT_LOADED);
    EXPECT_EQ(result, "kept");

    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 0u);
    expect_last_error(ZYN_ERR_HTTP_NOT_LOADED);
    // Error 13 comes before the id test, for ids never made as well.
    for (uint32_t id : {0u, 1u, 77u})
        test::expect_id_refused(id, ZYN_ERR_HTTP_NOT_LOADED);

    // A POST whose header line holds a line end is refused before the layer
    // would be loaded on demand (and on Windows before libcurl is looked for).
    std::string body = "kept";
    EXPECT_EQ(zyn_http_url_post("http://127.0.0.1:9/", "d", {"X-A: 1\r\nX-Injected: 2"}, body), 0);
    expect_last_error(ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(body, "kept");
    EXPECT_EQ(zyn_http_isloaded(), 0);

    // Unloading a layer that is not loaded succeeds and changes nothing.
    EXPECT_EQ(zyn_http_unload(), 1);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(zyn_http_isloaded(), 0);
}

TEST_F(HttpLayer, InitialiseTwiceThenUnload)
{
    EXPECT_EQ(zyn_http_init(), 1);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(zyn_http_isloaded(), 1);
    EXPECT_EQ(zyn_http_init(), 0);
    expect_last_error(ZYN_ERR_ALREADY_LOADED);
    EXPECT_EQ(zyn_http_isloaded(), 1);

    EXPECT_EQ(zyn_http_unload(), 1);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(zyn_http_isloaded(), 0);
    EXPECT_EQ(zyn_http_unload(), 1);

    // Loaded again after an unload, with a fresh request table.
    EXPECT_EQ(zyn_http_init(), 1);
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 1u);
}

TEST_F(HttpLayer, LibraryUnloadTakesTheLayerAndItsRequestsDown)
{
    ASSERT_EQ(zyn_http_init(), 1);
    const uint32_t ready = zyn_http_create("http://127.0.0.1:9/");
    const uint32_t started = zyn_http_create("http://zyn-test.invalid/");
    ASSERT_EQ(zyn_http_request(started), 1);

    EXPECT_EQ(zyn_unload(), 1);
    EXPECT_EQ(zyn_http_isloaded(), 0);

    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_http_isloaded(), 0);
    EXPECT_EQ(zyn_http_request(started), 0);
    expect_last_error(ZYN_ERR_HTTP_NOT_LOADED);
    ASSERT_EQ(zyn_http_init(), 1);
    EXPECT_EQ(zyn_http_get_buffersize(ready), 0u);
    expect_last_error(ZYN_ERR_INVALID_HANDLE);
    EXPECT_EQ(zyn_http_request(started), 0);
    expect_last_error(ZYN_ERR_INVALID_HANDLE);
    EXPECT_EQ(zyn_http_create("http://127.0.0.1:9/"), 1u);
}

TEST_F(HttpLayer, UrlEncodingAndDecoding)
{
    ASSERT_EQ(zyn_http_init(), 1);
    std::string out = "old text";
    const auto encode = [&](const std::string& in) {
        EXPECT_EQ(zyn_http_url_encode(in, out), 1);
        EXPECT_EQ(zyn_geterror(), 0);
        return out;
    };
    const auto decode = [&](const std::string& in) {
        EXPECT_EQ(zyn_http_url_decode(in, out), 1);
        EXPECT_EQ(zyn_geterror(), 0);
        return out;
    };

    EXPECT_EQ(encode("a b&c/d"), "a%20b%26c%2Fd");
    EXPECT_EQ(encode("-._~"), "-._~");
    EXPECT_EQ(encode(""), "");
    EXPECT_EQ(encode(std::string("\0\xff+", 3)), "%00%FF%2B");
    EXPECT_EQ(encode("\xc3\xa9t\xc3\xa9"), "%C3%A9t%C3%A9");

    EXPECT_EQ(decode("a%20b+c"), "a b+c");
    EXPECT_EQ(decode("%41%4a%4A"), "AJJ");
    EXPECT_EQ(decode("%00"), std::string(1, '\0'));
    EXPECT_EQ(decode("100%"), "100%");
    EXPECT_EQ(decode("%zz%4"), "%zz%4");
    EXPECT_EQ(decode(""), "");

    // One string as both text and result is coded in place.
    std::string same = "a b/%41";
    EXPECT_EQ(zyn_http_url_encode(same, same), 1);
    EXPECT_EQ(same, "a%20b%2F%2541");
    EXPECT_EQ(zyn_http_url_decode(same, same), 1);
    EXPECT_EQ(same, "a b/%41");

    // Texts longer than libcurl codes in one call (libcurl 7.88 gives no
    // escaped text from 8,000,000 bytes that all need escaping, or from
    // 24,000,000 that need none) are coded whole all the same.
    const std::string spaces((8u << 20) + 1, ' ');
    const std::string escaped = encode(spaces);
    ASSERT_EQ(escaped.size(), 3 * spaces.size());
    for (size_t i = 0; i < escaped.size(); i += 3)
        ASSERT_EQ(escaped.compare(i, 3, "%20"), 0) << "at " << i;
    EXPECT_EQ(decode(escaped), spaces); // "%20" groups across every piece's end
    const std::string letters(24000001, 'a');
    EXPECT_EQ(encode(letters), letters);

    // A round trip of every byte value.
    std::string all;
    for (int c = 0; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    EXPECT_EQ(decode(encode(all)), all);
}

} // namespace

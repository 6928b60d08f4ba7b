// The HTTP family through the exports, against a loopback server of our own:
// the layer's load cycle, URL coding, the blocking transfers and the batch,
// and request handles stepped from a game loop. (Without libcurl on Windows:
// http_without_libcurl_test.cpp.)
#include "support/http_fixture.h"

#include <curl/curl.h>

#include <cstring>
#include <list>

namespace {

using test::gives;
const std::string kNowhere = "http://127.0.0.1:9/";
const std::string kUnresolvable = "http://zyn-test.invalid/";
constexpr int kFailed = ZYN_ERR_CALL_FAILED;
constexpr int kBadArgument = 43; // CURLE_BAD_FUNCTION_ARGUMENT

TEST(HttpBeforeInit, EveryExportRefusesWithError1)
{
    zyn_unload();
    std::string body = "abc";
    std::list<zyn_http_url_entry> batch{{nullptr, kNowhere, ""}};
    const int code = ZYN_ERR_NOT_LOADED;
    EXPECT_TRUE(gives(zyn_http_init(), 0, code));
    EXPECT_TRUE(gives(zyn_http_unload(), 0, code));
    EXPECT_TRUE(gives(zyn_http_url_get(kNowhere, body), 0, code));
    EXPECT_TRUE(gives(zyn_http_url_post(kNowhere, "d", {"A: b"}, body), 0, code));
    EXPECT_TRUE(gives(zyn_http_url_multiget(batch), 0, code));
    EXPECT_TRUE(gives(zyn_http_url_encode("a b", body), 0, code));
    EXPECT_TRUE(gives(zyn_http_url_decode("a%20b", body), 0, code));
    EXPECT_TRUE(gives(zyn_http_create(kNowhere.c_str()), 0, code));
    EXPECT_EQ(body, "abc");
    test::expect_id_refused(1, ZYN_ERR_NOT_LOADED);
    zyn_seterror(7, -3); // no frame: the last error stays
    EXPECT_TRUE(gives(zyn_http_isloaded(), 0, 7, -3));
}

class HttpLayer : public test::LoadedLibrary {};

TEST_F(HttpLayer, NotLoadedThenLoadedOnceThenUnloaded)
{
    std::string result = "kept";
    std::list<zyn_http_url_entry> batch{{nullptr, kNowhere, "data"}}, none;
    EXPECT_TRUE(gives(zyn_http_url_multiget(none), 0, ZYN_ERR_HTTP_NOT_LOADED)); // before the empty list
    EXPECT_TRUE(gives(zyn_http_url_multiget(batch), 0, ZYN_ERR_HTTP_NOT_LOADED));
    EXPECT_TRUE(gives(zyn_http_url_encode("a b", result), 0, ZYN_ERR_HTTP_NOT_LOADED));
    EXPECT_TRUE(gives(zyn_http_url_decode("a%20b", result), 0, ZYN_ERR_HTTP_NOT_LOADED));
    EXPECT_TRUE(gives(zyn_http_create(kNowhere.c_str()), 0, ZYN_ERR_HTTP_NOT_LOADED));
    test::expect_id_refused(1, ZYN_ERR_HTTP_NOT_LOADED);
    // A line end in a POST's header line is refused before any load on demand.
    EXPECT_TRUE(gives(zyn_http_url_post(kNowhere, "d", {"X-A: 1\r\nX-B: 2"}, result), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_EQ(batch.front().data + result, "datakept");
    EXPECT_EQ(zyn_http_isloaded(), 0);
    EXPECT_TRUE(gives(zyn_http_unload(), 1));
    EXPECT_TRUE(gives(zyn_http_init(), 1));
    EXPECT_EQ(zyn_http_isloaded(), 1);
    EXPECT_TRUE(gives(zyn_http_init(), 0, ZYN_ERR_ALREADY_LOADED));
    EXPECT_TRUE(gives(zyn_http_unload(), 1)); // the refusal's error cleared
    EXPECT_EQ(zyn_http_isloaded(), 0);
    // zyn_unload takes the layer and its requests down; ids start again at 1.
    ASSERT_EQ(zyn_http_init(), 1);
    const uint32_t ready = zyn_http_create(kNowhere.c_str()), started = zyn_http_create(kUnresolvable.c_str());
    ASSERT_TRUE(gives(zyn_http_request(started), 1));
    EXPECT_EQ(zyn_unload(), 1);
    EXPECT_EQ(zyn_http_isloaded(), 0);
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_TRUE(gives(zyn_http_request(started), 0, ZYN_ERR_HTTP_NOT_LOADED));
    ASSERT_EQ(zyn_http_init(), 1);
    for (uint32_t id : {ready, started})
        test::expect_id_refused(id, ZYN_ERR_INVALID_HANDLE);
    EXPECT_EQ(zyn_http_create(kNowhere.c_str()), 1u);
}

TEST_F(HttpLayer, UrlEncodingAndDecoding)
{
    ASSERT_EQ(zyn_http_init(), 1);
    std::string out = "old text";
    const auto code = [&](bool encode, const std::string& in) {
        EXPECT_TRUE(gives(encode ? zyn_http_url_encode(in, out) : zyn_http_url_decode(in, out), 1));
        return out;
    };
    const struct {
        bool encode;
        std::string in, out;
    } cases[] = {{true, "a b&c/d", "a%20b%26c%2Fd"}, {true, "-._~09azAZ", "-._~09azAZ"}, {true, "", ""},
                 {true, std::string("\0\xff+\xc3\xa9", 5), "%00%FF%2B%C3%A9"}, {false, "a%20b+c", "a b+c"},
                 {false, "%41%4a%4A%00", std::string("AJJ\0", 4)}, {false, "100%%zz%4", "100%%zz%4"}, {false, "", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(code(c.encode, c.in), c.out) << c.in;
    std::string same = "a b/%41"; // one string as text and result
    EXPECT_EQ(zyn_http_url_encode(same, same), 1);
    EXPECT_EQ(same, "a%20b%2F%2541");
    EXPECT_EQ(zyn_http_url_decode(same, same), 1);
    EXPECT_EQ(same, "a b/%41");
    // Longer than libcurl codes in one call (7.88 gives nothing for 8,000,000
    // bytes that all need escaping, or 24,000,000 that need none): coded whole.
    const std::string spaces((8u << 20) + 1, ' '), letters(24000001, 'a');
    const std::string escaped = code(true, spaces);
    ASSERT_EQ(escaped.size(), 3 * spaces.size());
    for (size_t i = 0; i < escaped.size(); i += 3)
        ASSERT_EQ(escaped.compare(i, 3, "%20"), 0) << "at " << i;
    EXPECT_EQ(code(false, escaped), spaces);
    EXPECT_EQ(code(true, letters), letters);
    std::string all(256, '\0');
    for (int c = 0; c < 256; ++c)
        all[c] = static_cast<char>(c);
    EXPECT_EQ(code(false, code(true, all)), all);
}

class HttpTransfers : public test::HttpTest {};

TEST_F(HttpTransfers, GetAppendsTheBodyAndLoadsTheLayerOnDemand)
{
    std::string body = "abc";
    EXPECT_TRUE(gives(zyn_http_url_get(url("/fixed"), body), 1));
    EXPECT_EQ(body, "abcxyz");
    EXPECT_EQ(zyn_http_isloaded(), 1);
    // Error statuses are transfers like any other; redirects are not followed.
    EXPECT_EQ(get("/status/404") + get("/status/500") + get("/redirect"), "status 404status 500moved");
    EXPECT_NE(get("/echo").find("User-Agent: libcurl-agent/1.0\n"), std::string::npos);
    EXPECT_EQ(get("/slow?chunks=4&ms=20"), "chunk-0\nchunk-1\nchunk-2\nchunk-3\n");
    EXPECT_EQ(get("/large/300").substr(248, 5), std::string("\xf8\xf9\xfa\0\1", 5));
}

TEST_F(HttpTransfers, FailuresKeepTheGetBodyAndEmptyThePostBody)
{
    const std::pair<std::string, int> cases[] = {{kUnresolvable, 6}, {test::closed_port_url(), 7}, {"not a url", 0}};
    for (const auto& c : cases) { // 6 CURLE_COULDNT_RESOLVE_HOST, 7 CURLE_COULDNT_CONNECT, 0 any
        std::string body = "abc";
        EXPECT_EQ(zyn_http_url_get(c.first, body), 0) << c.first;
        const int got = zyn_get_extendederror();
        EXPECT_TRUE(gives(zyn_http_url_post(c.first, "a=1", {"X-A: b"}, body), 0, kFailed, got));
        EXPECT_TRUE(c.second ? got == c.second : got != 0) << got;
        EXPECT_EQ(body, "");
        EXPECT_TRUE(gives(zyn_http_url_get(c.first, body += "abc"), 0, kFailed, got));
        EXPECT_EQ(body, "abc");
    }
}

TEST_F(HttpTransfers, PostSendsDataAndWholeHeaderLinesOnly)
{
    std::string body = "replaced";
    EXPECT_TRUE(gives(zyn_http_url_post(url("/echo"), "name=zyn&level=3", {"X-Game: demo", "X-Build: 7"}, body), 1));
    EXPECT_EQ(zyn_http_isloaded(), 1);
    for (const char* part : {"X-Game: demo\nX-Build: 7\n", "Content-Type: application/x-www-form-urlencoded\n",
                             "User-Agent: libcurl-agent/1.0\n", "\n\nname=zyn&level=3"})
        EXPECT_NE(body.find(part), std::string::npos) << part << " in " << body;
    EXPECT_EQ(body.find("replaced"), std::string::npos);
    // Another content type by a header line; the data stops at a zero byte.
    EXPECT_EQ(zyn_http_url_post(url("/echo"), std::string("{\"a\":1}\0more", 12), {"Content-Type: text/json"}, body), 1);
    EXPECT_NE(body.find("Content-Type: text/json\n"), std::string::npos) << body;
    EXPECT_EQ(body.find("urlencoded"), std::string::npos);
    EXPECT_EQ(body.substr(body.size() - 8), "\n{\"a\":1}");
    body = "score=7"; // one string as the data and the body: sent, then replaced
    EXPECT_EQ(zyn_http_url_post(url("/echo"), body, {}, body), 1);
    EXPECT_NE(body.find("Content-Length: 7\n"), std::string::npos) << body;
    EXPECT_EQ(body.substr(body.size() - 8), "\nscore=7");
    // A line with CR, LF or a zero byte would go out as more lines (or cut
    // short): the POST is refused before anything is loaded or sent.
    zyn_http_unload();
    int n = 0;
    for (const std::string& bad : {std::string("X-A: 1\r\nX-B: 2"), std::string("X-A: 1\nX-B: 2"),
                                   std::string("X-A: 1\rX-B: 2"), std::string("X-A: 1\0X-B: 2", 14)}) {
        const std::string token = "refused-" + std::to_string(n++);
        body = "old";
        EXPECT_TRUE(gives(zyn_http_url_post(url("/echo?mark=" + token), "a", {"X-C: 1", bad}, body), 0, ZYN_ERR_INVALID_ARGUMENT));
        EXPECT_EQ(body + std::to_string(zyn_http_isloaded()), "old0");
        EXPECT_EQ(get("/seen/" + token), "no");
        zyn_http_unload();
    }
    EXPECT_EQ(zyn_http_url_post(url("/echo?mark=clean"), "a", {"X-C: 1", "X-A: 1"}, body), 1);
    EXPECT_NE(body.find("X-C: 1\nX-A: 1\n"), std::string::npos) << body;
    EXPECT_EQ(get("/seen/clean"), "yes");
}

TEST_F(HttpTransfers, BatchFetchesEveryEntryIntoItsOwnString)
{
    std::list<zyn_http_url_entry> batch;
    ASSERT_EQ(zyn_http_init(), 1);
    EXPECT_TRUE(gives(zyn_http_url_multiget(batch), 0, ZYN_ERR_EMPTY_LIST));
    void* const junk = &batch; // the handle's value on entry is never read
    batch = {{junk, url("/fixed"), "pre-"}, {junk, kUnresolvable, "unchanged"}, {junk, url("/status/404"), ""},
             {junk, url("/slow?chunks=3&ms=30"), ""}, {junk, url("/large/300000"), ""}};
    EXPECT_TRUE(gives(zyn_http_url_multiget(batch), 1));
    std::string got;
    for (const zyn_http_url_entry& e : batch) {
        got += (e.data.size() == 300000 ? "300000 bytes" : e.data) + "|";
        EXPECT_EQ(e.handle, nullptr);
    }
    EXPECT_EQ(got, "pre-xyz|unchanged|status 404|chunk-0\nchunk-1\nchunk-2\n|300000 bytes|");
}

class HttpRequests : public test::HttpTest {
protected:
    void SetUp() override
    {
        HttpTest::SetUp();
        ASSERT_EQ(zyn_http_init(), 1);
    }
    static uint32_t create(const std::string& path) { return zyn_http_create(url(path).c_str()); }
};

TEST_F(HttpRequests, IdsCountFromOneAndAreNeverReused)
{
    EXPECT_EQ(create("/fixed"), 1u);
    EXPECT_EQ(create("/fixed"), 2u);
    EXPECT_TRUE(gives(zyn_http_destroy(1), 1));
    EXPECT_EQ(create("/fixed"), 3u);
    for (uint32_t id : {1u, 0u, 4u, 0xFFFFFFFFu})
        test::expect_id_refused(id, ZYN_ERR_INVALID_HANDLE);
}

TEST_F(HttpRequests, SteppedFromFirstStepToFinishedWithTheBodyReadWhileItGrows)
{
    const uint32_t id = create("/hold/grow");
    char buffer[16];
    EXPECT_TRUE(gives(zyn_http_get_bufferdata(id, nullptr, 8) + zyn_http_getinfo(id, 4), 0)); // nothing in, no status
    EXPECT_TRUE(gives(zyn_http_request(id), 1));
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) >= 11; }));
    EXPECT_TRUE(gives(zyn_http_request(id), 1));
    EXPECT_EQ(body_of(id), "first part\n");
    EXPECT_GE(zyn_http_getinfo(id, 3), 0);
    const int items[][2] = {{1, 11}, {2, 0} /* chunked: none announced */, {4, 200}};
    for (const auto& item : items)
        EXPECT_TRUE(gives(zyn_http_getinfo(id, item[0]), item[1])) << item[0];
    for (int item : {0, 5, -1})
        EXPECT_TRUE(gives(zyn_http_getinfo(id, item), 0, ZYN_ERR_OPERATION_FAILED)) << item;
    for (int n = 0; n < 2; ++n) { // not consumed, no terminator
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, 4), 4u);
        EXPECT_EQ(std::string(buffer, 5), "firs#");
    }
    EXPECT_TRUE(gives(zyn_http_get_bufferdata(id, buffer, 0) + zyn_http_get_bufferdata(id, nullptr, 0), 0));
    EXPECT_TRUE(gives(zyn_http_get_bufferdata(id, nullptr, 1), 0, ZYN_ERR_INVALID_ARGUMENT));
    release("grow");
    EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE);
    EXPECT_TRUE(gives(zyn_http_request(id), 0)); // as often as it is called
    EXPECT_TRUE(gives(zyn_http_request(id), 0));
    // Finished: the libcurl handle is gone, the body stays.
    EXPECT_TRUE(gives(zyn_http_getinfo(id, 4), 0, kFailed, kBadArgument));
    EXPECT_TRUE(gives(zyn_http_getinfo(id, 7), 0, ZYN_ERR_OPERATION_FAILED));
    EXPECT_TRUE(gives(zyn_http_setopt_long(id, CURLOPT_FOLLOWLOCATION, 1), 0, kFailed, kBadArgument));
    EXPECT_TRUE(gives(zyn_http_setopt_string(id, CURLOPT_USERAGENT, "x"), 0, kFailed, kBadArgument));
    EXPECT_EQ(zyn_http_get_buffersize(id), 23u);
    EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, sizeof buffer), 16u);
    EXPECT_EQ(std::string(buffer, 16), "first part\nsecon");
}

TEST_F(HttpRequests, FailedTransfersFinishLikeAnyOther)
{
    for (const std::string& target : {std::string(), kUnresolvable, test::closed_port_url()}) {
        const uint32_t id = zyn_http_create(target.empty() ? nullptr : target.c_str());
        EXPECT_TRUE(gives(zyn_http_request(id), 1)) << target;
        EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE) << target;
        EXPECT_TRUE(gives(zyn_http_request(id) + zyn_http_get_buffersize(id), 0));
    }
}

TEST_F(HttpRequests, OptionsPassThroughToLibcurlWhenTheValueFits)
{
    const uint32_t id = create("/redirect");
    // Unknown numbers get libcurl's 48 (CURLE_UNKNOWN_OPTION); a value of the wrong
    // kind for a known option would crash a later step: 43, the request unharmed.
    const struct {
        int option;
        bool text;
        int code;
    } cases[] = {{9999, false, 48}, {19999, true, 48}, {-5, false, 48}, {CURLOPT_WRITEDATA, true, 43},
                 {CURLOPT_WRITEDATA, false, 43}, {CURLOPT_WRITEFUNCTION, false, 43}, {CURLOPT_ERRORBUFFER, true, 43},
                 {CURLOPT_HTTPHEADER, true, 43}, {CURLOPT_MAX_RECV_SPEED_LARGE, false, 43}, {CURLOPT_USERAGENT, false, 43}};
    for (const auto& c : cases) {
        const int result = c.text ? zyn_http_setopt_string(id, c.option, "x") : zyn_http_setopt_long(id, c.option, 0);
        EXPECT_TRUE(gives(result, 0, kFailed, c.code)) << c.option;
    }
    EXPECT_EQ(zyn_http_setopt_long(id, CURLOPT_HTTP_VERSION, 999), 0); // libcurl's own refusal
    const int code = zyn_get_extendederror();
    EXPECT_TRUE(zyn_geterror() == kFailed && code != 0 && code != kBadArgument) << code;
    EXPECT_TRUE(gives(zyn_http_setopt_long(id, CURLOPT_FOLLOWLOCATION, 1), 1));
    const uint32_t plain = create("/redirect"), bare = create("/echo"), post = create("/echo");
    // Texts are copied by libcurl but for the post fields, which (a body) may hold line ends.
    std::string agent = "zyn-game/2";
    EXPECT_TRUE(gives(zyn_http_setopt_string(post, CURLOPT_USERAGENT, nullptr), 1));
    EXPECT_TRUE(gives(zyn_http_setopt_string(post, CURLOPT_USERAGENT, agent.c_str()), 1));
    agent.assign(agent.size(), '?');
    EXPECT_TRUE(gives(zyn_http_setopt_string(post, CURLOPT_COPYPOSTFIELDS, "replaced\r\n"), 1));
    const std::string fields = "score=100\r\nlevel=2";
    EXPECT_TRUE(gives(zyn_http_setopt_string(post, CURLOPT_POSTFIELDS, fields.c_str()), 1));
    for (uint32_t each : {id, plain, bare, post})
        EXPECT_EQ(run_to_end(each), 0);
    EXPECT_EQ(body_of(id) + body_of(plain), "xyzmoved"); // without options: no redirect and no user agent
    EXPECT_EQ(body_of(bare).find("User-Agent"), std::string::npos) << body_of(bare);
    const std::string echoed = body_of(post);
    EXPECT_NE(echoed.find("User-Agent: zyn-game/2\n"), std::string::npos) << echoed;
    EXPECT_EQ(echoed.substr(echoed.size() - 19), "\nscore=100\r\nlevel=2");
}

TEST_F(HttpRequests, OnlyWholeHeaderLinesAddedBeforeTheFirstStepAreSent)
{
    const uint32_t id = create("/echo");
    EXPECT_EQ(zyn_http_add_header(id, "X-Good: 1"), 1);
    for (const char* line : {"X-A: 1\r\nX-Injected: 2", "X-A: 1\nX-Injected: 2", "X-A: 1\rX-Injected: 2", "X-A: 1\r\n",
                             "\r\nX-Injected: 2", "\n", static_cast<const char*>(nullptr)})
        EXPECT_TRUE(gives(zyn_http_add_header(id, line), 0, ZYN_ERR_INVALID_ARGUMENT)) << (line ? line : "null");
    EXPECT_EQ(zyn_http_add_header(id, "X-Also-Good: 2"), 1);
    // Text options that go out in the request's own lines, under the same rule.
    for (int option : {int(CURLOPT_USERAGENT), int(CURLOPT_REFERER), int(CURLOPT_COOKIE)})
        EXPECT_TRUE(gives(zyn_http_setopt_string(id, option, "x\r\nX-Injected: 4"), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_EQ(zyn_http_request(id), 1);
    EXPECT_TRUE(gives(zyn_http_add_header(id, "X-Late: 1\r\nX-Injected: 3"), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_TRUE(gives(zyn_http_add_header(id, "X-Late: three"), 1));
    EXPECT_EQ(run_to_end(id), 0);
    EXPECT_TRUE(gives(zyn_http_add_header(id, "X-After: four"), 1));
    const std::string echoed = body_of(id);
    EXPECT_NE(echoed.find("X-Good: 1\nX-Also-Good: 2\n"), std::string::npos) << echoed;
    for (const char* absent : {"X-Injected", "X-A:", "X-Late"})
        EXPECT_EQ(echoed.find(absent), std::string::npos) << absent << " in " << echoed;
    // Nor does a request libcurl makes again by itself (a followed redirect)
    // carry a line added once the transfer had started.
    const uint32_t followed = create("/hold/late?redirect=/echo");
    EXPECT_EQ(zyn_http_setopt_long(followed, CURLOPT_FOLLOWLOCATION, 1) + zyn_http_add_header(followed, "X-Early: 1"), 2);
    ASSERT_TRUE(step_until(followed, [&] { return get("/seen/late") == "yes"; }));
    EXPECT_EQ(zyn_http_add_header(followed, "X-Late: three"), 1);
    release("late");
    EXPECT_EQ(run_to_end(followed), 0);
    EXPECT_NE(body_of(followed).find("X-Early: 1\n"), std::string::npos) << body_of(followed);
    EXPECT_EQ(body_of(followed).find("X-Late"), std::string::npos) << body_of(followed);
}

TEST_F(HttpRequests, DestroyInEveryStateAndManyRequestsSteppedInTurn)
{
    const uint32_t ready = create("/fixed"), running = create("/hold/abandon");
    ASSERT_TRUE(step_until(running, [&] { return zyn_http_get_buffersize(running) > 0; }));
    const uint32_t resolving = zyn_http_create(kUnresolvable.c_str()), finished = create("/fixed");
    EXPECT_EQ(zyn_http_request(resolving) + run_to_end(finished), 1);
    for (uint32_t id : {ready, running, resolving, finished}) {
        EXPECT_EQ(zyn_http_add_header(id, "X-A: b"), 1);
        EXPECT_TRUE(gives(zyn_http_destroy(id), 1));
        test::expect_id_refused(id, ZYN_ERR_INVALID_HANDLE);
    }
    EXPECT_TRUE(gone("abandon")); // the connection is closed
    // Each body goes to its own record while the table grows around them.
    std::vector<uint32_t> ids;
    for (int n = 0; n < 40; ++n)
        ids.push_back(create(n % 2 ? "/slow?chunks=3&ms=10" : "/large/100000"));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (bool busy = true; busy && std::chrono::steady_clock::now() < limit;) {
        busy = false;
        for (uint32_t id : ids)
            busy |= zyn_http_request(id) == 1;
    }
    for (size_t n = 0; n < ids.size(); ++n)
        EXPECT_EQ(n % 2 ? body_of(ids[n]) : std::to_string(zyn_http_get_buffersize(ids[n])),
                  n % 2 ? "chunk-0\nchunk-1\nchunk-2\n" : "100000");
    const uint32_t held = create("/hold/unload");
    ASSERT_TRUE(step_until(held, [&] { return zyn_http_get_buffersize(held) > 0; }));
    EXPECT_TRUE(gives(zyn_http_unload(), 1)); // abandons what still runs
    EXPECT_TRUE(gone("unload"));
}

} // namespace

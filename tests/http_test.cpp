// The HTTP family through the exports against a loopback server of our own: the layer, URL coding,
// the blocking transfers, the batch, and request handles stepped from a game loop.
#include "support/http_fixture.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

using test::gives;
const std::string kNowhere = "http://127.0.0.1:9/";
const std::string kUnresolvable = "http://zyn-test.invalid/";
const std::string kClosed = "http://127.0.0.1:" + test::closed_loopback_port() + "/"; // nothing listens there
constexpr int kFailed = ZYN_ERR_CALL_FAILED;
constexpr int kBadArgument = 43; // CURLE_BAD_FUNCTION_ARGUMENT
constexpr int kNoItem = ZYN_ERR_OPERATION_FAILED;

// Every export taking a request id refuses it before looking at any other argument; nothing written.
void expect_id_refused(uint32_t id, int code)
{
    char buffer[4] = {'q', 'q', 'q', 'q'};
    EXPECT_TRUE(gives(zyn_http_destroy(id), 0, code) && gives(zyn_http_add_header(id, "A: b"), 0, code)
                && gives(zyn_http_setopt_long(id, CURLOPT_FOLLOWLOCATION, 1), 0, code)
                && gives(zyn_http_setopt_string(id, CURLOPT_USERAGENT, "x"), 0, code)
                && gives(zyn_http_request(id), 0, code) && gives(zyn_http_get_buffersize(id), 0, code)
                && gives(zyn_http_get_bufferdata(id, buffer, sizeof buffer), 0, code)
                && gives(zyn_http_getinfo(id, 0), 0, code) && std::string(buffer, 4) == "qqqq")
        << "id " << id << ", error " << code;
}

testing::AssertionResult holds(const std::string& text, const std::string& part, bool present = true)
{
    if ((text.find(part) != std::string::npos) == present)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << '"' << part << (present ? "\" not in: " : "\" in: ") << text;
}

class Http : public test::HttpTest {};

TEST_F(Http, LayerNotLoadedThenLoadedOnceThenUnloaded)
{
    std::string body = "abc";
    std::list<zyn_http_url_entry> batch{{nullptr, kNowhere, "data"}}, none;
    const auto all_refuse = [&](int code) {
        EXPECT_TRUE(gives(zyn_http_url_multiget(none), 0, code) && gives(zyn_http_url_multiget(batch), 0, code));
        EXPECT_TRUE(gives(zyn_http_url_encode("a b", body), 0, code)
                    && gives(zyn_http_url_decode("a%20b", body), 0, code));
        EXPECT_TRUE(gives(zyn_http_create(kNowhere.c_str()), 0, code) && batch.front().data + body == "dataabc");
        expect_id_refused(1, code);
    };
    zyn_unload();
    all_refuse(ZYN_ERR_NOT_LOADED);
    EXPECT_TRUE(gives(zyn_http_init(), 0, ZYN_ERR_NOT_LOADED) && gives(zyn_http_unload(), 0, ZYN_ERR_NOT_LOADED));
    EXPECT_TRUE(gives(zyn_http_url_get(kNowhere, body), 0, ZYN_ERR_NOT_LOADED)
                && gives(zyn_http_url_post(kNowhere, "d", {"A: b"}, body), 0, ZYN_ERR_NOT_LOADED));
    zyn_seterror(7, -3); // no frame: the last error stays
    EXPECT_TRUE(gives(zyn_http_isloaded(), 0, 7, -3));
    ASSERT_EQ(zyn_init(""), 1);
    all_refuse(ZYN_ERR_HTTP_NOT_LOADED);
    EXPECT_TRUE(gives(zyn_http_unload(), 1) && gives(zyn_http_init(), 1) && zyn_http_isloaded() == 1);
    EXPECT_TRUE(gives(zyn_http_init(), 0, ZYN_ERR_ALREADY_LOADED) && gives(zyn_http_unload(), 1));
    // zyn_unload drops the requests, a running one too; ids start again at 1.
    ASSERT_EQ(zyn_http_init(), 1);
    ASSERT_TRUE(gives(zyn_http_request(zyn_http_create(kUnresolvable.c_str())), 1));
    EXPECT_EQ(zyn_unload() + zyn_init("") + zyn_http_init(), 3);
    expect_id_refused(1, ZYN_ERR_INVALID_HANDLE);
    EXPECT_EQ(zyn_http_create(kNowhere.c_str()), 1u);
}

TEST_F(Http, UrlEncodingAndDecoding)
{
    ASSERT_EQ(zyn_http_init(), 1);
    std::string out = "old text";
    const auto code = [&](bool encode, const std::string& in) {
        EXPECT_TRUE(gives(encode ? zyn_http_url_encode(in, out) : zyn_http_url_decode(in, out), 1));
        return out;
    };
    const std::tuple<bool, std::string, std::string> cases[] = {
        {true, "a b&c/d", "a%20b%26c%2Fd"}, {true, "-._~09azAZ", "-._~09azAZ"}, {true, "", ""},
        {true, std::string("\0\xff+\xc3\xa9", 5), "%00%FF%2B%C3%A9"}, {false, "a%20b+c", "a b+c"},
        {false, "%41%4a%4A%00", std::string("AJJ\0", 4)}, {false, "100%%zz%4", "100%%zz%4"}, {false, "", ""}};
    for (const auto& [encode, in, expected] : cases)
        EXPECT_EQ(code(encode, in), expected) << in;
    std::string same = "a b/%41"; // one string as text and result
    EXPECT_TRUE(zyn_http_url_encode(same, same) == 1 && same == "a%20b%2F%2541") << same;
    EXPECT_TRUE(zyn_http_url_decode(same, same) == 1 && same == "a b/%41") << same;
    // Longer than libcurl codes in one call (7.88 gives nothing for 8,000,000 bytes that all need escaping).
    const std::string spaces((8u << 20) + 1, ' ');
    const std::string escaped = code(true, spaces);
    EXPECT_TRUE(escaped.size() == 3 * spaces.size() && escaped.compare(escaped.size() - 6, 6, "%20%20") == 0);
    EXPECT_EQ(code(false, escaped), spaces);
}

TEST_F(Http, BlockingTransfersAndTheBatch)
{
    std::string body = "abc";
    EXPECT_TRUE(gives(zyn_http_url_get(url("/fixed"), body), 1) && body == "abcxyz" && zyn_http_isloaded() == 1);
    // Error statuses are transfers like any other; redirects are not followed.
    EXPECT_EQ(get("/status/404") + get("/status/500") + get("/redirect"), "status 404status 500moved");
    EXPECT_EQ(get("/large/300").substr(248, 5), std::string("\xf8\xf9\xfa\0\1", 5));
    // 6 CURLE_COULDNT_RESOLVE_HOST, 7 CURLE_COULDNT_CONNECT, 0 any: the POST body emptied, the GET body kept.
    const std::pair<std::string, int> cases[] = {{kUnresolvable, 6}, {kClosed, 7}, {"not a url", 0}};
    for (const auto& [target, expected] : cases) {
        body = "abc";
        const int failed = zyn_http_url_get(target, body), got = zyn_get_extendederror();
        EXPECT_TRUE(gives(zyn_http_url_post(target, "a=1", {"X-A: b"}, body), 0, kFailed, got));
        EXPECT_TRUE(failed == 0 && (expected ? got == expected : got != 0) && body.empty()) << target << ": " << got;
        EXPECT_TRUE(gives(zyn_http_url_get(target, body += "abc"), 0, kFailed, got) && body == "abc");
    }
    // POST: the data and whole header lines only.
    body = "replaced";
    const std::string data("name=zyn&level=3\0more", 21); // sent up to the zero byte
    EXPECT_TRUE(gives(zyn_http_url_post(url("/echo?mark=sent"), data, {"X-Game: demo", "X-Build: 7"}, body), 1)
                && zyn_http_isloaded() == 1);
    for (const char* part : {"X-Game: demo\nX-Build: 7\n", "Content-Type: application/x-www-form-urlencoded\n",
                             "User-Agent: libcurl-agent/1.0\n"})
        EXPECT_TRUE(holds(body, part));
    EXPECT_EQ(body.substr(body.size() - 18), "\n\nname=zyn&level=3");
    body = "score=7"; // one string as the data and the body: sent, then replaced
    EXPECT_TRUE(zyn_http_url_post(url("/echo"), body, {}, body) == 1 && holds(body, "Content-Length: 7\n"));
    EXPECT_EQ(body.substr(body.size() - 8), "\nscore=7");
    // A line with CR, LF or a zero byte is refused before anything is loaded or sent.
    zyn_http_unload();
    for (const std::string& bad : {std::string("X-A: 1\r\nX-B: 2"), std::string("X-A: 1\nX-B: 2"),
                                   std::string("X-A: 1\rX-B: 2"), std::string("X-A: 1\0X-B: 2", 14)}) {
        body = "old";
        const int refused = zyn_http_url_post(url("/echo?mark=bad"), "a", {"X-C: 1", bad}, body);
        EXPECT_TRUE(gives(refused, 0, ZYN_ERR_INVALID_ARGUMENT) && body == "old" && zyn_http_isloaded() == 0);
    }
    EXPECT_EQ(get("/seen/sent") + get("/seen/bad"), "yesno");
    // The batch fetches every entry into its own string.
    std::list<zyn_http_url_entry> batch;
    EXPECT_TRUE(gives(zyn_http_url_multiget(batch), 0, ZYN_ERR_EMPTY_LIST));
    void* const junk = &batch; // the handle's value on entry is never read
    batch = {{junk, url("/fixed"), "pre-"}, {junk, kUnresolvable, "unchanged"}, {junk, url("/status/404"), ""},
             {junk, url("/slow?chunks=3&ms=30"), ""}, {junk, url("/large/300000"), ""}};
    EXPECT_TRUE(gives(zyn_http_url_multiget(batch), 1));
    std::string got;
    for (const zyn_http_url_entry& e : batch)
        got += (e.data.size() == 300000 ? "300000 bytes" : e.data) + (e.handle ? "+handle|" : "|");
    EXPECT_EQ(got, "pre-xyz|unchanged|status 404|chunk-0\nchunk-1\nchunk-2\n|300000 bytes|");
}

TEST_F(Http, RequestsSteppedFromAGameLoop)
{
    ASSERT_EQ(zyn_http_init(), 1);
    const uint32_t id = create("/hold/grow");
    char buffer[16];
    EXPECT_TRUE(gives(zyn_http_get_bufferdata(id, nullptr, 8) + zyn_http_getinfo(id, 4), 0)); // nothing in, no status
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) >= 11; }) && body_of(id) == "first part\n");
    // {item, figure, error}: item 2 is 0 for a chunked body, none announced.
    const int items[][3] = {{1, 11, 0}, {2, 0, 0}, {4, 200, 0}, {0, 0, kNoItem}, {5, 0, kNoItem}, {-1, 0, kNoItem}};
    for (const auto& [item, figure, error] : items)
        EXPECT_TRUE(gives(zyn_http_getinfo(id, item), figure, error)) << item;
    std::memset(buffer, '#', sizeof buffer); // not consumed, no terminator
    EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, 4) + zyn_http_get_bufferdata(id, buffer + 5, 4), 8u);
    EXPECT_EQ(std::string(buffer, 10), "firs#firs#");
    EXPECT_TRUE(gives(zyn_http_get_bufferdata(id, buffer, 0) + zyn_http_get_bufferdata(id, nullptr, 0), 0));
    EXPECT_TRUE(gives(zyn_http_get_bufferdata(id, nullptr, 1), 0, ZYN_ERR_INVALID_ARGUMENT));
    release("grow");
    EXPECT_TRUE(run_to_end(id) == ZYN_ERR_NONE && gives(zyn_http_request(id), 0)); // as often as it is called
    // Finished: no libcurl handle, the body stays.
    EXPECT_TRUE(gives(zyn_http_getinfo(id, 4), 0, kFailed, kBadArgument) && gives(zyn_http_getinfo(id, 7), 0, kNoItem));
    EXPECT_TRUE(gives(zyn_http_setopt_long(id, CURLOPT_FOLLOWLOCATION, 1), 0, kFailed, kBadArgument)
                && gives(zyn_http_setopt_string(id, CURLOPT_USERAGENT, "x"), 0, kFailed, kBadArgument));
    EXPECT_EQ(body_of(id), "first part\nsecond part\n");
    for (const std::string& target : {std::string(), kUnresolvable, kClosed}) { // like any other
        const uint32_t failing = zyn_http_create(target.empty() ? nullptr : target.c_str());
        EXPECT_TRUE(gives(zyn_http_request(failing), 1) && run_to_end(failing) == ZYN_ERR_NONE
                    && gives(zyn_http_request(failing) + zyn_http_get_buffersize(failing), 0)) << target;
    }
}

TEST_F(Http, OptionsPassThroughWhenTheValueFitsAndHeaderLinesAreWholeLines)
{
    ASSERT_EQ(zyn_http_init(), 1);
    const uint32_t id = create("/redirect");
    // {option, takes text, code}: 48 for an unknown one; 43 for a value of the wrong kind (it would crash a step).
    const int cases[][3] = {{9999, 0, 48}, {19999, 1, 48}, {-5, 0, 48}, {CURLOPT_WRITEDATA, 1, 43},
                            {CURLOPT_WRITEDATA, 0, 43}, {CURLOPT_WRITEFUNCTION, 0, 43}, {CURLOPT_ERRORBUFFER, 1, 43},
                            {CURLOPT_HTTPHEADER, 1, 43}, {CURLOPT_MAX_RECV_SPEED_LARGE, 0, 43},
                            {CURLOPT_USERAGENT, 0, 43}};
    for (const auto& [option, text, expected] : cases)
        EXPECT_TRUE(gives(text ? zyn_http_setopt_string(id, option, "x") : zyn_http_setopt_long(id, option, 0), 0,
                          kFailed, expected)) << option;
    // libcurl's own refusal
    const int refused = zyn_http_setopt_long(id, CURLOPT_HTTP_VERSION, 999), code = zyn_get_extendederror();
    EXPECT_TRUE(refused == 0 && zyn_geterror() == kFailed && code != 0 && code != kBadArgument) << code;
    EXPECT_TRUE(gives(zyn_http_setopt_long(id, CURLOPT_FOLLOWLOCATION, 1), 1));
    const uint32_t bare = create("/echo"), post = create("/echo");
    // Texts are copied by libcurl but for the post fields, which (a body) may hold line ends.
    std::string agent = "zyn-game/2";
    const std::string fields = "score=100\r\nlevel=2";
    EXPECT_TRUE(gives(zyn_http_setopt_string(post, CURLOPT_USERAGENT, nullptr), 1)
                && gives(zyn_http_setopt_string(post, CURLOPT_USERAGENT, agent.c_str()), 1)
                && gives(zyn_http_setopt_string(post, CURLOPT_COPYPOSTFIELDS, "replaced\r\n"), 1)
                && gives(zyn_http_setopt_string(post, CURLOPT_POSTFIELDS, fields.c_str()), 1));
    agent.assign(agent.size(), '?');
    EXPECT_EQ(run_to_end(id) + run_to_end(bare) + run_to_end(post), 0);
    EXPECT_TRUE(body_of(id) == "xyz" && holds(body_of(bare), "User-Agent", false)); // no user agent unless set
    EXPECT_TRUE(holds(body_of(post), "User-Agent: zyn-game/2\n") && holds(body_of(post), "\n\nscore=100\r\nlevel=2"));
    // Only whole header lines added before the first step are sent.
    const uint32_t lines = create("/echo");
    EXPECT_EQ(zyn_http_add_header(lines, "X-Good: 1"), 1);
    const char* const none = nullptr;
    for (const char* line : {"X-A: 1\r\nX-Injected: 2", "X-A: 1\nX-Injected: 2", "X-A: 1\rX-Injected: 2", "\n", none})
        EXPECT_TRUE(gives(zyn_http_add_header(lines, line), 0, ZYN_ERR_INVALID_ARGUMENT)) << (line ? line : "null");
    EXPECT_EQ(zyn_http_add_header(lines, "X-Also-Good: 2"), 1);
    // Text options that go out in the request's own lines, under the same rule.
    for (int option : {int(CURLOPT_USERAGENT), int(CURLOPT_REFERER), int(CURLOPT_COOKIE)})
        EXPECT_TRUE(gives(zyn_http_setopt_string(lines, option, "x\r\nX-Injected: 4"), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_EQ(run_to_end(lines), 0);
    const std::string echoed = body_of(lines);
    EXPECT_TRUE(holds(echoed, "X-Good: 1\nX-Also-Good: 2\n") && holds(echoed, "X-Injected", false)
                && holds(echoed, "X-A:", false)) << echoed;
    // Nor does a followed redirect carry a line added once the transfer had started.
    const uint32_t followed = create("/hold/late?redirect=/echo");
    EXPECT_TRUE(zyn_http_setopt_long(followed, CURLOPT_FOLLOWLOCATION, 1) == 1
                && zyn_http_add_header(followed, "X-Early: 1") == 1);
    ASSERT_TRUE(step_until(followed, [&] { return get("/seen/late") == "yes"; }));
    EXPECT_EQ(zyn_http_add_header(followed, "X-Late: three"), 1);
    release("late");
    EXPECT_EQ(run_to_end(followed), 0);
    EXPECT_TRUE(holds(body_of(followed), "X-Early: 1\n") && holds(body_of(followed), "X-Late", false));
    // Ids from 1 again; destroyed in every state, never reused; many stepped in turn.
    ASSERT_TRUE(zyn_http_unload() == 1 && zyn_http_init() == 1);
    const uint32_t ready = create("/fixed"), running = create("/hold/abandon");
    ASSERT_TRUE(step_until(running, [&] { return zyn_http_get_buffersize(running) > 0; }));
    const uint32_t resolving = zyn_http_create(kUnresolvable.c_str()), finished = create("/fixed");
    EXPECT_EQ(zyn_http_request(resolving) + run_to_end(finished), 1);
    for (uint32_t each : {ready, running, resolving, finished}) {
        EXPECT_TRUE(zyn_http_add_header(each, "X-A: b") == 1 && gives(zyn_http_destroy(each), 1));
        expect_id_refused(each, ZYN_ERR_INVALID_HANDLE);
    }
    EXPECT_TRUE(gone("abandon")); // the connection is closed
    EXPECT_TRUE(ready == 1 && running == 2 && resolving == 3 && finished == 4 && create("/fixed") == 5); // never reused
    for (uint32_t never : {0u, 6u, 0xFFFFFFFFu})
        expect_id_refused(never, ZYN_ERR_INVALID_HANDLE);
    // Each body goes to its own record while the table grows around them.
    std::vector<uint32_t> ids(40);
    for (size_t n = 0; n < ids.size(); ++n)
        ids[n] = create(n % 2 ? "/slow?chunks=3&ms=10" : "/large/100000");
    while (std::count_if(ids.begin(), ids.end(), [](uint32_t each) { return zyn_http_request(each) == 1; }) > 0)
        continue; // every request stepped once a round
    for (size_t n = 0; n < ids.size(); ++n)
        EXPECT_EQ(body_of(ids[n]), n % 2 ? "chunk-0\nchunk-1\nchunk-2\n" : get("/large/100000")) << n;
    const uint32_t held = create("/hold/unload");
    ASSERT_TRUE(step_until(held, [&] { return zyn_http_get_buffersize(held) > 0; }));
    EXPECT_TRUE(gives(zyn_http_unload(), 1) && gone("unload")); // abandons what still runs
}

} // namespace

// Request handles stepped from a game loop, against a real HTTP server on
// loopback: ids, states, the growing body, transfer figures, options and
// header lines, and destroying a running request.
#include "support/http_checks.h"
#include "support/http_fixture.h"

#include <zyn/zyn.h>

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

using test::HttpTest;

constexpr int kBadFunctionArgument = 43; // CURLE_BAD_FUNCTION_ARGUMENT
constexpr int kUnknownOption = 48;       // CURLE_UNKNOWN_OPTION

class HttpRequests : public HttpTest {
protected:
    void SetUp() override
    {
        HttpTest::SetUp();
        ASSERT_EQ(zyn_http_init(), 1);
    }
};

using test::expect_last_error;

TEST_F(HttpRequests, IdsCountFromOneAndAreNeverReused)
{
    EXPECT_EQ(zyn_http_create(url("/fixed").c_str()), 1u);
    EXPECT_EQ(zyn_http_create(url("/fixed").c_str()), 2u);
    EXPECT_EQ(zyn_http_destroy(1), 1);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(zyn_http_create(url("/fixed").c_str()), 3u);

    // A destroyed id, id 0 and an id never made are all unknown.
    for (uint32_t id : {1u, 0u, 4u, 0xFFFFFFFFu})
        test::expect_id_refused(id, ZYN_ERR_INVALID_HANDLE);

    // An unload drops every request; the ids start again at 1.
    ASSERT_EQ(zyn_http_unload(), 1);
    ASSERT_EQ(zyn_http_init(), 1);
    for (uint32_t id : {2u, 3u}) {
        EXPECT_EQ(zyn_http_request(id), 0);
        expect_last_error(ZYN_ERR_INVALID_HANDLE);
    }
    EXPECT_EQ(zyn_http_create(url("/fixed").c_str()), 1u);
}

TEST_F(HttpRequests, SteppedFromFirstStepToFinishedWithTheBodyReadWhileItGrows)
{
    const uint32_t id = zyn_http_create(url("/hold/grow").c_str());
    ASSERT_NE(id, 0u);
    char buffer[16];
    EXPECT_EQ(zyn_http_get_buffersize(id), 0u);
    EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, sizeof buffer), 0u);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(zyn_http_getinfo(id, 4), 0); // ready: no status yet
    expect_last_error(ZYN_ERR_NONE);

    // The first part arrives while the server holds the rest back.
    EXPECT_EQ(zyn_http_request(id), 1);
    expect_last_error(ZYN_ERR_NONE);
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) >= 11; }));
    EXPECT_EQ(zyn_http_request(id), 1);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(body_of(id), "first part\n");

    // Transfer figures while running.
    EXPECT_EQ(zyn_http_getinfo(id, 1), 11);
    EXPECT_EQ(zyn_http_getinfo(id, 2), 0); // chunked: no announced length
    EXPECT_GE(zyn_http_getinfo(id, 3), 0);
    EXPECT_EQ(zyn_http_getinfo(id, 4), 200);
    expect_last_error(ZYN_ERR_NONE);
    for (int item : {0, 5, -1}) {
        EXPECT_EQ(zyn_http_getinfo(id, item), 0);
        expect_last_error(ZYN_ERR_OPERATION_FAILED);
    }

    // The body is not consumed and no terminator is written.
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 5), "firs#");
    EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 5), "firs#");
    EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, 0), 0u);
    EXPECT_EQ(zyn_http_get_bufferdata(id, nullptr, 0), 0u);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(zyn_http_get_bufferdata(id, nullptr, 8), 0u);
    expect_last_error(ZYN_ERR_INVALID_ARGUMENT);

    release("grow");
    EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE);
    EXPECT_EQ(body_of(id), "first part\nsecond part\n");

    // Finished: stepping again returns 0 with error 0, as often as it is called.
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(zyn_http_request(id), 0);
        expect_last_error(ZYN_ERR_NONE);
    }
    // The libcurl handle is gone: information and options are refused...
    EXPECT_EQ(zyn_http_getinfo(id, 4), 0);
    expect_last_error(ZYN_ERR_CALL_FAILED, kBadFunctionArgument);
    EXPECT_EQ(zyn_http_getinfo(id, 7), 0);
    expect_last_error(ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_http_setopt_long(id, CURLOPT_FOLLOWLOCATION, 1), 0);
    expect_last_error(ZYN_ERR_CALL_FAILED, kBadFunctionArgument);
    EXPECT_EQ(zyn_http_setopt_string(id, CURLOPT_USERAGENT, "x"), 0);
    expect_last_error(ZYN_ERR_CALL_FAILED, kBadFunctionArgument);
    // ...but the body is still there.
    EXPECT_EQ(zyn_http_get_buffersize(id), 23u);
    EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, sizeof buffer), 16u);
    EXPECT_EQ(std::string(buffer, 16), "first part\nsecon");
    EXPECT_EQ(zyn_http_destroy(id), 1);
}

TEST_F(HttpRequests, AnnouncedLengthAndStatusWhileRunning)
{
    const uint32_t id = zyn_http_create(url("/hold/length?length=1").c_str());
    ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) >= 11; }));
    EXPECT_EQ(zyn_http_request(id), 1);
    EXPECT_EQ(zyn_http_getinfo(id, 2), 23);
    EXPECT_EQ(zyn_http_getinfo(id, 1), 11);
    release("length");
    EXPECT_EQ(run_to_end(id), 0);
    EXPECT_EQ(body_of(id), "first part\nsecond part\n");

    // A status other than 200 is a transfer like any other.
    const uint32_t missing = zyn_http_create(url("/status/404").c_str());
    EXPECT_EQ(run_to_end(missing), 0);
    EXPECT_EQ(body_of(missing), "status 404");
}

// The process's virtual size in bytes: room a string has set aside counts
// here whether or not it was ever written.
size_t virtual_size()
{
#if defined(_WIN32)
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    return static_cast<size_t>(status.ullTotalVirtual - status.ullAvailVirtual); // this process's address space in use
#else
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    statm >> pages;
    return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
#endif
}

TEST_F(HttpRequests, AnnouncedLengthsDoNotTakeTheAddressSpace)
{
    // Six servers announce 200 MB each and send 11 bytes, then hold on. Room
    // set aside for what was announced would take 1.2 GB of address space
    // (more than a 32-bit process has to spare); what the requests take must
    // stay a few megabytes each.
    std::string warm;
    ASSERT_EQ(zyn_http_url_get(url("/fixed"), warm), 1);
    const size_t before = virtual_size();
    ASSERT_GT(before, 0u);
    std::vector<uint32_t> ids;
    for (int n = 0; n < 6; ++n)
        ids.push_back(zyn_http_create(url("/hold/announce-" + std::to_string(n) + "?announce=200000000").c_str()));
    for (uint32_t id : ids) {
        ASSERT_TRUE(step_until(id, [&] { return zyn_http_get_buffersize(id) >= 11; }));
        for (int n = 0; n < 3; ++n)
            ASSERT_EQ(zyn_http_request(id), 1);
        EXPECT_EQ(zyn_http_getinfo(id, 2), 200000000);
    }
    const size_t grown = virtual_size() - std::min(before, virtual_size());
    EXPECT_LT(grown, size_t(256) << 20) << "the requests took " << (grown >> 20) << " MiB";

    for (int n = 0; n < 6; ++n)
        release("announce-" + std::to_string(n));
    for (uint32_t id : ids) {
        EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE);
        EXPECT_EQ(body_of(id), "first part\n");
    }
}

TEST_F(HttpRequests, FailedTransfersFinishLikeAnyOther)
{
    // No URL at all, an unresolvable host and a refused connection.
    const uint32_t nothing = zyn_http_create(nullptr);
    ASSERT_NE(nothing, 0u);
    EXPECT_EQ(run_to_end(nothing), ZYN_ERR_NONE);
    EXPECT_EQ(zyn_http_get_buffersize(nothing), 0u);
    for (const std::string& target : {std::string("http://zyn-test.invalid/"), test::closed_port_url()}) {
        const uint32_t id = zyn_http_create(target.c_str());
        EXPECT_EQ(zyn_http_request(id), 1);
        EXPECT_EQ(run_to_end(id), ZYN_ERR_NONE) << target;
        EXPECT_EQ(zyn_http_request(id), 0);
        expect_last_error(ZYN_ERR_NONE);
        EXPECT_EQ(zyn_http_get_buffersize(id), 0u);
    }
}

TEST_F(HttpRequests, OptionsPassThroughToLibcurl)
{
    const auto refused = [](int result, int extended) {
        EXPECT_EQ(result, 0);
        expect_last_error(ZYN_ERR_CALL_FAILED, extended);
    };
    // Unknown option numbers: libcurl's own code.
    const uint32_t id = zyn_http_create(url("/redirect").c_str());
    refused(zyn_http_setopt_long(id, 9999, 1), kUnknownOption);
    refused(zyn_http_setopt_string(id, 19999, "x"), kUnknownOption);
    refused(zyn_http_setopt_long(id, -5, 1), kUnknownOption);

    // A value of the wrong kind for a known option would crash inside a later
    // step (a text as the write target, a number as a header list or as a
    // 64-bit figure): refused as a bad argument, the request unharmed.
    refused(zyn_http_setopt_string(id, CURLOPT_WRITEDATA, "not a body"), kBadFunctionArgument);
    refused(zyn_http_setopt_long(id, CURLOPT_WRITEDATA, 0), kBadFunctionArgument);
    refused(zyn_http_setopt_long(id, CURLOPT_WRITEFUNCTION, 1), kBadFunctionArgument);
    refused(zyn_http_setopt_string(id, CURLOPT_ERRORBUFFER, "tiny"), kBadFunctionArgument);
    refused(zyn_http_setopt_string(id, CURLOPT_HTTPHEADER, "X-A: b"), kBadFunctionArgument);
    refused(zyn_http_setopt_long(id, CURLOPT_MAX_RECV_SPEED_LARGE, 1000), kBadFunctionArgument);
    refused(zyn_http_setopt_long(id, CURLOPT_USERAGENT, 1), kBadFunctionArgument);
    // Values libcurl itself refuses keep libcurl's code.
    EXPECT_EQ(zyn_http_setopt_long(id, CURLOPT_HTTP_VERSION, 999), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_NE(zyn_get_extendederror(), 0);
    EXPECT_NE(zyn_get_extendederror(), kBadFunctionArgument);

    // A long option: follow the redirect.
    EXPECT_EQ(zyn_http_setopt_long(id, CURLOPT_FOLLOWLOCATION, 1), 1);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(run_to_end(id), 0);
    EXPECT_EQ(body_of(id), "xyz");

    // Without options: no redirect, and no user agent at all.
    const uint32_t plain = zyn_http_create(url("/redirect").c_str());
    EXPECT_EQ(run_to_end(plain), 0);
    EXPECT_EQ(body_of(plain), "moved");
    const uint32_t bare = zyn_http_create(url("/echo").c_str());
    EXPECT_EQ(run_to_end(bare), 0);
    EXPECT_EQ(body_of(bare).find("User-Agent"), std::string::npos) << body_of(bare);

    // String options are copied by libcurl, but for the post fields.
    const uint32_t post = zyn_http_create(url("/echo").c_str());
    {
        std::string agent = "zyn-game/2";
        EXPECT_EQ(zyn_http_setopt_string(post, CURLOPT_USERAGENT, agent.c_str()), 1);
        agent.assign(agent.size(), '?');
    }
    const std::string fields = "score=100";
    EXPECT_EQ(zyn_http_setopt_string(post, CURLOPT_POSTFIELDS, fields.c_str()), 1);
    EXPECT_EQ(run_to_end(post), 0);
    const std::string echoed = body_of(post);
    EXPECT_NE(echoed.find("User-Agent: zyn-game/2\n"), std::string::npos) << echoed;
    EXPECT_EQ(echoed.substr(echoed.size() - 10), "\nscore=100");
}

TEST_F(HttpRequests, HeaderLinesAddedBeforeTheFirstStepAreSent)
{
    const uint32_t id = zyn_http_create(url("/echo").c_str());
    EXPECT_EQ(zyn_http_add_header(id, "X-Early: one"), 1);
    EXPECT_EQ(zyn_http_add_header(id, "X-Early-Too: two"), 1);
    EXPECT_EQ(zyn_http_add_header(id, nullptr), 0);
    expect_last_error(ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_http_request(id), 1);
    EXPECT_EQ(zyn_http_add_header(id, "X-Late: three"), 1);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(run_to_end(id), 0);
    EXPECT_EQ(zyn_http_add_header(id, "X-After: four"), 1);

    const std::string echoed = body_of(id);
    EXPECT_NE(echoed.find("X-Early: one\nX-Early-Too: two\n"), std::string::npos) << echoed;
    EXPECT_EQ(echoed.find("X-Late"), std::string::npos) << echoed;
    EXPECT_EQ(zyn_http_destroy(id), 1);

    // Nor does a request that libcurl makes again by itself, here the one to
    // a followed redirect, carry a line added once the transfer had started.
    const uint32_t followed = zyn_http_create(url("/hold/late?redirect=/echo").c_str());
    EXPECT_EQ(zyn_http_setopt_long(followed, CURLOPT_FOLLOWLOCATION, 1), 1);
    EXPECT_EQ(zyn_http_add_header(followed, "X-Early: one"), 1);
    ASSERT_TRUE(step_until(followed, [&] {
        std::string seen;
        return zyn_http_url_get(url("/seen/late"), seen) == 1 && seen == "yes";
    }));
    EXPECT_EQ(zyn_http_add_header(followed, "X-Late: three"), 1);
    release("late");
    EXPECT_EQ(run_to_end(followed), 0);
    const std::string redirected = body_of(followed);
    EXPECT_NE(redirected.find("X-Early: one\n"), std::string::npos) << redirected;
    EXPECT_EQ(redirected.find("X-Late"), std::string::npos) << redirected;
}

TEST_F(HttpRequests, HeaderLinesWithLineEndsAreRefused)
{
    // Player text built into a header line (or a user agent, a cookie) must
    // not become header lines of its own: a line with CR or LF anywhere is
    // refused and nothing of it is sent; the request's other lines are.
    const uint32_t id = zyn_http_create(url("/echo").c_str());
    EXPECT_EQ(zyn_http_add_header(id, "X-Good: 1"), 1);
    for (const char* line : {"X-A: 1\r\nX-Injected: 2", "X-A: 1\nX-Injected: 2", "X-A: 1\rX-Injected: 2",
                             "X-A: 1\r\n", "\r\nX-Injected: 2", "\n"}) {
        EXPECT_EQ(zyn_http_add_header(id, line), 0);
        expect_last_error(ZYN_ERR_INVALID_ARGUMENT);
    }
    EXPECT_EQ(zyn_http_add_header(id, "X-Also-Good: 2"), 1);
    // String options that go out in the request's own lines are held to the same rule.
    for (int option : {int(CURLOPT_USERAGENT), int(CURLOPT_REFERER), int(CURLOPT_COOKIE)}) {
        EXPECT_EQ(zyn_http_setopt_string(id, option, "x\r\nX-Injected: 4"), 0);
        expect_last_error(ZYN_ERR_INVALID_ARGUMENT);
    }
    EXPECT_EQ(zyn_http_request(id), 1);
    // Refused in the running state as well.
    EXPECT_EQ(zyn_http_add_header(id, "X-Late: 1\r\nX-Injected: 3"), 0);
    expect_last_error(ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(run_to_end(id), 0);

    const std::string echoed = body_of(id);
    EXPECT_NE(echoed.find("X-Good: 1\nX-Also-Good: 2\n"), std::string::npos) << echoed;
    EXPECT_EQ(echoed.find("X-Injected"), std::string::npos) << echoed;
    EXPECT_EQ(echoed.find("X-A:"), std::string::npos) << echoed;
}

TEST_F(HttpRequests, DestroyInEveryState)
{
    const uint32_t ready = zyn_http_create(url("/fixed").c_str());
    EXPECT_EQ(zyn_http_add_header(ready, "X-A: b"), 1);
    EXPECT_EQ(zyn_http_destroy(ready), 1);

    // Running, with part of the body in: the transfer is abandoned.
    const uint32_t running = zyn_http_create(url("/hold/abandon").c_str());
    EXPECT_EQ(zyn_http_add_header(running, "X-A: b"), 1);
    ASSERT_TRUE(step_until(running, [&] { return zyn_http_get_buffersize(running) > 0; }));
    EXPECT_EQ(zyn_http_destroy(running), 1);
    expect_last_error(ZYN_ERR_NONE);
    EXPECT_EQ(zyn_http_request(running), 0);
    expect_last_error(ZYN_ERR_INVALID_HANDLE);
    release("abandon");

    // Running while the host name is still being resolved.
    const uint32_t resolving = zyn_http_create("http://zyn-test.invalid/");
    EXPECT_EQ(zyn_http_request(resolving), 1);
    EXPECT_EQ(zyn_http_destroy(resolving), 1);

    const uint32_t finished = zyn_http_create(url("/fixed").c_str());
    EXPECT_EQ(run_to_end(finished), 0);
    EXPECT_EQ(zyn_http_destroy(finished), 1);
    EXPECT_EQ(zyn_http_get_buffersize(finished), 0u);
    expect_last_error(ZYN_ERR_INVALID_HANDLE);

    // The layer still works afterwards.
    std::string body;
    EXPECT_EQ(zyn_http_url_get(url("/fixed"), body), 1);
    EXPECT_EQ(body, "xyz");
}

TEST_F(HttpRequests, SeveralRequestsSteppedInTurn)
{
    // Each body goes to its own record while the table grows around them.
    std::vector<uint32_t> ids;
    for (int n = 0; n < 40; ++n)
        ids.push_back(zyn_http_create(url(n % 2 ? "/slow?chunks=3&ms=10" : "/large/100000").c_str()));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool any_running = true;
    while (any_running && std::chrono::steady_clock::now() < limit) {
        any_running = false;
        for (uint32_t id : ids)
            any_running |= zyn_http_request(id) == 1;
    }
    EXPECT_FALSE(any_running);
    for (size_t n = 0; n < ids.size(); ++n) {
        if (n % 2)
            EXPECT_EQ(body_of(ids[n]), "chunk-0\nchunk-1\nchunk-2\n");
        else
            EXPECT_EQ(zyn_http_get_buffersize(ids[n]), 100000u);
    }
    EXPECT_EQ(zyn_http_unload(), 1);
    EXPECT_EQ(zyn_http_isloaded(), 0);
}

} // namespace

// Fixture of the HTTP tests: a loaded library around each test, one loopback
// server (support/http_server.py) per test suite, and the checks they share.
#pragma once

#include "support/http_server.h"
#include "support/loaded_library.h"
#include "support/outcome.h"
#include "support/sockets_peer.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace test {

// Every export that takes a request id refuses `id` with `code` before it
// looks at any other argument (item 0 is unknown too), and writes nothing.
inline void expect_id_refused(uint32_t id, int code)
{
    char buffer[4] = {'q', 'q', 'q', 'q'};
    EXPECT_TRUE(gives(zyn_http_destroy(id), 0, code)) << id;
    EXPECT_TRUE(gives(zyn_http_setopt_long(id, 52 /* CURLOPT_FOLLOWLOCATION */, 1), 0, code)) << id;
    EXPECT_TRUE(gives(zyn_http_setopt_string(id, 10018 /* CURLOPT_USERAGENT */, "x"), 0, code)) << id;
    EXPECT_TRUE(gives(zyn_http_add_header(id, "A: b"), 0, code)) << id;
    EXPECT_TRUE(gives(zyn_http_request(id), 0, code)) << id;
    EXPECT_TRUE(gives(zyn_http_get_buffersize(id), 0, code)) << id;
    EXPECT_TRUE(gives(zyn_http_get_bufferdata(id, buffer, sizeof buffer), 0, code)) << id;
    EXPECT_TRUE(gives(zyn_http_getinfo(id, 0), 0, code)) << id;
    EXPECT_EQ(std::string(buffer, 4), "qqqq");
}

// A loopback URL on whose port nothing listens.
inline std::string closed_port_url() { return "http://127.0.0.1:" + closed_loopback_port() + "/fixed"; }

class HttpTest : public LoadedLibrary {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<HttpServer>(); }
    static void TearDownTestSuite() { server_.reset(); }
    static std::string url(const std::string& path) { return server_->url(path); }
    static std::string get(const std::string& path)
    {
        std::string answer;
        EXPECT_EQ(zyn_http_url_get(url(path), answer), 1) << path;
        return answer;
    }
    // Lets a /hold/<token> response on the server finish.
    static void release(const std::string& token) { get("/release/" + token); }
    // Whether the client of /hold/<token> hangs up within a few seconds.
    static bool gone(const std::string& token)
    {
        for (int n = 0; n < 500; ++n, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            if (get("/gone/" + token) == "yes")
                return true;
        return false;
    }

    // Steps a request until `done` holds (true) or it stops running (false);
    // a generous bound keeps a broken step from hanging.
    template <class Done>
    static bool step_until(uint32_t id, Done done)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < limit) {
            if (done())
                return true;
            if (zyn_http_request(id) != 1)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    // Steps a request until zyn_http_request returns 0; the last error.
    static int run_to_end(uint32_t id)
    {
        step_until(id, [] { return false; });
        return zyn_geterror();
    }
    static std::string body_of(uint32_t id)
    {
        std::string body(zyn_http_get_buffersize(id), '\0');
        if (!body.empty())
            body.resize(zyn_http_get_bufferdata(id, &body[0], static_cast<uint32_t>(body.size())));
        return body;
    }

    static inline std::unique_ptr<HttpServer> server_;
};

} // namespace test

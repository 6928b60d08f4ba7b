// Fixture of the HTTP tests: a loaded library around each test and one
// loopback server (support/http_server.py) for the whole test suite.
#pragma once

#include "support/http_server.h"
#include "support/loaded_library.h"
#include "support/sockets_peer.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace test {

// A loopback URL on whose port nothing listens.
inline std::string closed_port_url()
{
    return "http://127.0.0.1:" + closed_loopback_port() + "/fixed";
}

class HttpTest : public LoadedLibrary {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<HttpServer>(); }
    static void TearDownTestSuite() { server_.reset(); }

    static std::string url(const std::string& path) { return server_->url(path); }

    // Lets a /hold/<token> response on the server finish.
    static void release(const std::string& token)
    {
        std::string answer;
        ASSERT_EQ(zyn_http_url_get(url("/release/" + token), answer), 1);
    }

    // Steps a request until `done` holds or the request stops running; false
    // when it stopped first. A generous bound keeps a broken step from hanging.
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

    // Steps a request until zyn_http_request returns 0; returns the last error.
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

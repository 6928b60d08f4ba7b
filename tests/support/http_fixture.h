// Fixture of the HTTP tests: a loaded library around each test, the loopback server for the program.
#pragma once

#include "support/http_server.h"
#include "support/library.h"
#include "support/sockets_peer.h"

#include <chrono>
#include <thread>

namespace test {

class HttpTest : public LoadedLibrary {
protected:
    static std::string url(const std::string& path)
    {
        static const HttpServer server;
        return server.url(path);
    }
    static uint32_t create(const std::string& path) { return zyn_http_create(url(path).c_str()); }
    static std::string get(const std::string& path)
    {
        std::string answer;
        EXPECT_EQ(zyn_http_url_get(url(path), answer), 1) << path;
        return answer;
    }
    // /hold/<token> on the server: let its response finish; whether its client hangs up within 5 s.
    static void release(const std::string& token) { get("/release/" + token); }
    static bool gone(const std::string& token)
    {
        for (int n = 0; n < 500 && get("/gone/" + token) != "yes"; ++n)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return get("/gone/" + token) == "yes";
    }
    // Steps a request until `done` holds (true) or it stops running (false); bounded, so never hangs.
    template <class Done>
    static bool step_until(uint32_t id, Done done)
    {
        for (int n = 0; n < 30000 && !done(); ++n) {
            if (zyn_http_request(id) != 1)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return done();
    }
    static int run_to_end(uint32_t id) // the last error once zyn_http_request gives 0
    {
        step_until(id, [] { return false; });
        return zyn_geterror();
    }
    static std::string body_of(uint32_t id)
    {
        std::string body(zyn_http_get_buffersize(id), '\0');
        body.resize(zyn_http_get_bufferdata(id, &body[0], static_cast<uint32_t>(body.size())));
        return body;
    }
};

} // namespace test

// The loopback HTTP server of the HTTP tests and benchmarks (support/http_server.py): the one
// running around the program (`http_server.py --run`, port in ZYN_TEST_HTTP_PORT; Windows programs
// under Wine run so), else, on POSIX, one of its own that ends by itself soon after this process.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace test {

class HttpServer {
public:
    HttpServer()
    {
        // Straight to loopback, never through a proxy named in the environment.
#if defined(_WIN32)
        _putenv("no_proxy=*"); // the process environment, which libcurl reads on Windows
#else
        setenv("no_proxy", "*", 1);
#endif
        const char* const given = std::getenv("ZYN_TEST_HTTP_PORT");
        port_ = given ? std::atoi(given) : 0;
#if !defined(_WIN32)
        const std::string here = __FILE__;
        const std::string command = "exec python3 -u '" + here.substr(0, here.rfind('/') + 1) + "http_server.py'";
        FILE* const server = port_ > 0 ? nullptr : popen(command.c_str(), "r"); // open for the server's life
        if (server && std::fscanf(server, "PORT %d", &port_) != 1)
            port_ = 0;
#endif
        if (port_ <= 0)
            throw std::runtime_error("no test HTTP server: run under \"http_server.py --run\"");
    }

    int port() const { return port_; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    int port_ = 0;
};

} // namespace test

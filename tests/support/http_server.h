// The loopback HTTP server of the HTTP tests (tests/support/http_server.py)
// for the life of the object: the one already running around the program
// (`http_server.py --run`, port in ZYN_TEST_HTTP_PORT; Windows programs under
// Wine are started so), else, on POSIX, one started on a free port.
// Header-only, so the benchmarks can use it too.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#if !defined(_WIN32)
#  include <signal.h>
#endif

namespace test {

class HttpServer {
public:
    HttpServer()
    {
        // Straight to loopback, never through a proxy named in the environment
        // (_putenv changes the process environment, which libcurl reads on Windows).
        for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            set_environment(name, "");
        set_environment("no_proxy", "*");
        if (const char* given = std::getenv("ZYN_TEST_HTTP_PORT"))
            port_ = std::atoi(given);
        if (port_ <= 0)
            start();
    }
    ~HttpServer() { stop(); }
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
#if defined(_WIN32)
    static void set_environment(const char* name, const char* value) { _putenv((std::string(name) + "=" + value).c_str()); }
    static void start() { throw std::runtime_error("no test HTTP server: run under \"http_server.py --run\""); }
    void stop() {}
#else
    static void set_environment(const char* name, const char* value)
    {
        if (*value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    // The server names its port and process id, and ends by itself soon after this process does.
    void start()
    {
        const std::string here = __FILE__;
        const std::string command = "exec python3 -u '" + here.substr(0, here.find_last_of('/') + 1) + "http_server.py'";
        server_ = popen(command.c_str(), "r");
        if (!server_ || std::fscanf(server_, "PORT %d PID %d", &port_, &pid_) != 2)
            throw std::runtime_error("the test HTTP server did not start: " + command);
    }
    void stop()
    {
        if (pid_ > 0)
            kill(pid_, SIGTERM);
        if (server_)
            pclose(server_);
    }

    FILE* server_ = nullptr;
    int pid_ = 0;
#endif
    int port_ = 0;
};

} // namespace test

// The loopback HTTP server of the HTTP tests (tests/support/http_server.py)
// for the life of the object. Where the server already runs around the whole
// program (`http_server.py --run`, which names its port in ZYN_TEST_HTTP_PORT)
// that one is used: Windows programs under Wine are started so. Otherwise, on
// POSIX, the object starts one on a free port and stops it afterwards.
// Header-only, so the benchmarks can use it too.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#if !defined(_WIN32)
#  include <fcntl.h>
#  include <signal.h>
#  include <sys/wait.h>
#  include <unistd.h>
#endif

namespace test {

class HttpServer {
public:
    HttpServer()
    {
        direct_to_loopback();
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
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    // Transfers go straight to loopback, never through a proxy named in the environment.
    // (The runtime's _putenv changes the process environment, which libcurl reads on Windows.)
    static void direct_to_loopback()
    {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
#if defined(_WIN32)
            _putenv((std::string(name) + "=").c_str()); // "name=" removes it
#else
            unsetenv(name);
#endif
        }
#if defined(_WIN32)
        _putenv("no_proxy=*");
#else
        setenv("no_proxy", "*", 1);
#endif
    }

#if defined(_WIN32)
    static void start()
    {
        throw std::runtime_error("no test HTTP server: run this program under "
                                 "\"python3 tests/support/http_server.py --run\"");
    }
    void stop() {}
#else
    void start()
    {
        const std::string here = __FILE__;
        const std::string script = here.substr(0, here.find_last_of('/') + 1) + "http_server.py";
        // The server reads its port to us through one pipe and watches the
        // other: when this process ends, however it ends, the server's
        // standard input closes and it exits.
        int out[2];
        int life[2];
        if (pipe(out) != 0 || pipe(life) != 0)
            throw std::runtime_error("pipe failed");
        fcntl(life[1], F_SETFD, FD_CLOEXEC);
        pid_ = fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(life[0], STDIN_FILENO);
            for (int fd : {out[0], out[1], life[0], life[1]})
                close(fd);
            execlp("python3", "python3", "-u", script.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        close(life[0]);
        life_ = life[1];
        FILE* from_server = fdopen(out[0], "r");
        char line[64] = {};
        const bool got = from_server && std::fgets(line, sizeof line, from_server)
                      && std::sscanf(line, "PORT %d", &port_) == 1;
        if (from_server)
            std::fclose(from_server);
        if (!got) {
            stop();
            throw std::runtime_error("the test HTTP server did not start: " + script);
        }
    }

    void stop()
    {
        if (life_ >= 0) {
            close(life_);
            life_ = -1;
        }
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }

    pid_t pid_ = -1;
    int life_ = -1;
#endif
    int port_ = 0;
};

} // namespace test

#ifndef _WIN32
#include "support/xvfb_server.h"

#include <csignal>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test {

namespace {
constexpr int kStartMilliseconds = 20000;
constexpr int kStopTries = 50; // of 100 ms each, before the server is killed outright
} // namespace

XvfbServer::XvfbServer()
{
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0)
        return;
    // Xvfb writes the display number it took to this descriptor once it is ready.
    const std::string fd = std::to_string(ready[1]);
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        fcntl(ready[1], F_SETFD, 0);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "320x240x24",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    pollfd readable{ready[0], POLLIN, 0};
    char c = 0;
    while (pid_ > 0 && poll(&readable, 1, kStartMilliseconds) == 1 && read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ready[0]);
    if (c == '\n' && !number.empty())
        display_ = ":" + number;
}

XvfbServer::~XvfbServer()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < kStopTries; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

} // namespace test
#endif

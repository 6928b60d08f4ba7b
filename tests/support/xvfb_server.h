// A private X server for tests: Xvfb on a display number it finds free
// itself. Stopped when destroyed, and never outlives the test program.
#pragma once

#include <string>

#include <sys/types.h>

namespace test {

class XvfbServer {
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // ":N" once the server accepts connections; empty when it did not start
    // within 20 seconds.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

} // namespace test

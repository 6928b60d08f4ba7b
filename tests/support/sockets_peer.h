// The far end of the socket and HTTP tests on 127.0.0.1, written straight on
// the platform's sockets so the library under test is not used to test itself.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace test {

// One accepted connection; every wait is bounded, so a fault never hangs a test.
class PeerSocket {
public:
    explicit PeerSocket(uintptr_t handle = ~uintptr_t(0)) : handle_(handle) {}
    PeerSocket(PeerSocket&& other) noexcept : handle_(other.handle_) { other.handle_ = ~uintptr_t(0); }
    PeerSocket& operator=(PeerSocket&& other) noexcept
    {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~PeerSocket() { close(); }

    bool valid() const { return handle_ != ~uintptr_t(0); }
    bool send_all(const std::string& bytes); // false when some were refused
    std::string receive(std::size_t count);  // less when closed or after 5 s
    void close();                            // orderly: the other end reads 0
    void reset();                            // abortive: the other end is reset

private:
    uintptr_t handle_;
};

// A listening socket on 127.0.0.1 and a port the system picked.
class LoopbackListener {
public:
    LoopbackListener();
    ~LoopbackListener() { PeerSocket(handle_).close(); }
    const std::string& port() const { return port_; } // as decimal text
    PeerSocket accept();                              // an invalid one after 5 s

private:
    std::string port_;
    uintptr_t handle_;
};

// A loopback port on which nothing listens (just released by the system).
std::string closed_loopback_port();

} // namespace test

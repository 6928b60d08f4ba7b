// The far end of the socket tests: a real TCP listener and the connections
// it accepts, on 127.0.0.1 only, written straight on the platform's sockets
// so the library under test is not used to test itself.
#pragma once

#include <cstdint>
#include <string>

namespace test {

// One accepted connection. Every wait is bounded, so a fault never hangs a test.
class PeerSocket {
public:
    PeerSocket() = default;
    explicit PeerSocket(uintptr_t handle) : handle_(handle) {}
    ~PeerSocket();
    PeerSocket(PeerSocket&& other) noexcept;
    PeerSocket& operator=(PeerSocket&& other) noexcept;
    PeerSocket(const PeerSocket&) = delete;
    PeerSocket& operator=(const PeerSocket&) = delete;

    bool valid() const;
    // Sends every byte; false when the connection refused some.
    bool send_all(const std::string& bytes);
    // Waits for up to count bytes; less when the connection closed or the
    // seconds passed.
    std::string receive(std::size_t count, int seconds = 5);
    // Orderly close: the other end reads 0.
    void close();
    // Abortive close: the other end's connection is reset.
    void reset();

private:
    uintptr_t handle_ = ~uintptr_t(0);
};

// A listening socket on 127.0.0.1 and a port the system picked.
class LoopbackListener {
public:
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    // The port as decimal text, ready for zyn_socket_connect.
    const std::string& port() const { return port_; }
    // The next pending connection, or an invalid one after the seconds passed.
    PeerSocket accept(int seconds = 5);

private:
    uintptr_t handle_ = ~uintptr_t(0);
    std::string port_;
};

// A loopback port on which nothing listens (just released by the system).
std::string closed_loopback_port();

} // namespace test

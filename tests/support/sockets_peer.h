// The far end of the socket tests on 127.0.0.1, on the platform's own sockets so the library
// under test is not used to test itself. Every wait is bounded (5 s): a fault never hangs a test.
#pragma once

#include <algorithm>
#include <string>
#include <utility>

#ifdef _WIN32
#  include <winsock2.h>
#  include <ws2tcpip.h>
#else
#  include <netinet/in.h>
#  include <poll.h>
#  include <sys/socket.h>
#  include <unistd.h>
#endif

namespace test {

#ifdef _WIN32
using Native = SOCKET;
inline void close_native(Native s) { closesocket(s); }
#  define poll WSAPoll
#else
using Native = int;
inline void close_native(Native s) { ::close(s); }
#endif
constexpr Native kNoSocket = Native(~uintptr_t(0));

inline bool readable(Native s)
{
    pollfd p{s, POLLIN, 0};
    return poll(&p, 1, 5000) > 0;
}

// Listens on 127.0.0.1 at a port the system picks; the peers start Winsock for themselves.
inline Native listen_on_loopback(std::string& port)
{
#ifdef _WIN32
    static WSADATA data;
    static const int started = WSAStartup(MAKEWORD(2, 2), &data);
    if (started != 0)
        return kNoSocket;
#endif
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    sockaddr* const where = reinterpret_cast<sockaddr*>(&address);
    const Native s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (::bind(s, where, size) != 0 || ::getsockname(s, where, &size) != 0 || ::listen(s, 8) != 0) {
        close_native(s);
        return kNoSocket;
    }
    port = std::to_string(ntohs(address.sin_port));
    return s;
}

// A loopback port on which nothing listens (just released by the system).
inline std::string closed_loopback_port()
{
    std::string port;
    close_native(listen_on_loopback(port));
    return port;
}

inline Native accept_peer(Native listener)
{
    return readable(listener) ? ::accept(listener, nullptr, nullptr) : kNoSocket;
}

// Short texts only: false unless all of it was taken in one call.
inline bool send_all(Native s, const std::string& bytes)
{
    return ::send(s, bytes.data(), int(bytes.size()), 0) == static_cast<long>(bytes.size());
}

inline std::string receive(Native s, size_t count) // less when closed or after 5 s
{
    std::string bytes(count, '\0');
    size_t got = 0;
    for (long n = 1; n > 0 && got < count && readable(s); got += size_t(std::max(n, 0L)))
        n = long(::recv(s, &bytes[got], int(count - got), 0));
    return bytes.substr(0, got);
}

// An orderly close: the other end reads 0.
inline void close_peer(Native& s) { close_native(std::exchange(s, kNoSocket)); }

} // namespace test

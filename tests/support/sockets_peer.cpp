// The test peers on the platform's own sockets.
#include "support/sockets_peer.h"

#include <algorithm>
#include <stdexcept>

#ifdef _WIN32
#  include <winsock2.h>
#  include <ws2tcpip.h>
using Native = SOCKET;
#  define close_native closesocket
#  define poll WSAPoll
#else
#  include <netinet/in.h>
#  include <poll.h>
#  include <sys/socket.h>
#  include <unistd.h>
using Native = int;
#  define close_native ::close
#endif

namespace test {
namespace {

bool readable(uintptr_t s)
{
    pollfd p{Native(s), POLLIN, 0};
    return ::poll(&p, 1, 5000) > 0;
}

// A TCP socket bound to 127.0.0.1 and a port the system picks.
uintptr_t bound_loopback_socket(std::string& port)
{
#ifdef _WIN32
    static const bool started = [] { // the peers' own start of Winsock, apart from the library's
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
#else
    const bool started = true;
#endif
    const Native s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (!started || uintptr_t(s) == ~uintptr_t(0) || ::bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0
        || ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("test peer: cannot bind to loopback");
    port = std::to_string(ntohs(address.sin_port));
    return uintptr_t(s);
}

} // namespace

bool PeerSocket::send_all(const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const auto sent = ::send(Native(handle_), bytes.data() + done, int(bytes.size() - done), 0);
        if (sent <= 0)
            return false;
        done += std::size_t(sent);
    }
    return true;
}

std::string PeerSocket::receive(std::size_t count)
{
    std::string bytes;
    char chunk[4096];
    for (long n = 1; n > 0 && bytes.size() < count && readable(handle_);) {
        n = long(::recv(Native(handle_), chunk, int(std::min(sizeof chunk, count - bytes.size())), 0));
        bytes.append(chunk, std::size_t(std::max(n, 0L)));
    }
    return bytes;
}

void PeerSocket::close()
{
    if (valid())
        close_native(Native(handle_));
    handle_ = ~uintptr_t(0);
}

void PeerSocket::reset()
{
    const linger abort{1, 0};
    if (valid())
        ::setsockopt(Native(handle_), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    close();
}

LoopbackListener::LoopbackListener() : handle_(bound_loopback_socket(port_))
{
    if (::listen(Native(handle_), 8) != 0)
        throw std::runtime_error("test peer: cannot listen");
}

PeerSocket LoopbackListener::accept()
{
    return PeerSocket(readable(handle_) ? uintptr_t(::accept(Native(handle_), nullptr, nullptr)) : ~uintptr_t(0));
}

std::string closed_loopback_port()
{
    std::string port;
    PeerSocket(bound_loopback_socket(port)).close();
    return port;
}

} // namespace test

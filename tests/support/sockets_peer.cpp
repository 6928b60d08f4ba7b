// The test peers on the platform's own sockets.
#include "support/sockets_peer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#ifdef _WIN32
#  include <winsock2.h>
#  include <ws2tcpip.h>
#else
#  include <arpa/inet.h>
#  include <netinet/in.h>
#  include <poll.h>
#  include <sys/socket.h>
#  include <unistd.h>
#endif

namespace test {
namespace {

constexpr uintptr_t kNone = ~uintptr_t(0);

#ifdef _WIN32
using Native = SOCKET;
// The peers keep their own start of Winsock for the life of the test program,
// independent of the library's.
const bool g_started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();
void close_native(Native s) { closesocket(s); }
bool readable(Native s, int seconds)
{
    WSAPOLLFD p{s, POLLRDNORM, 0};
    return WSAPoll(&p, 1, seconds * 1000) > 0;
}
#else
using Native = int;
void close_native(Native s) { ::close(s); }
bool readable(Native s, int seconds)
{
    pollfd p{s, POLLIN, 0};
    return ::poll(&p, 1, seconds * 1000) > 0;
}
#endif

Native native(uintptr_t h) { return Native(h); }

// A TCP socket bound to 127.0.0.1 and a port the system picks.
uintptr_t bound_loopback_socket(std::string& port)
{
#ifdef _WIN32
    if (!g_started)
        throw std::runtime_error("test peer: Winsock did not start");
#endif
    const Native s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (uintptr_t(s) == kNone)
        throw std::runtime_error("test peer: no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        close_native(s);
        throw std::runtime_error("test peer: cannot bind to loopback");
    }
    port = std::to_string(ntohs(address.sin_port));
    return uintptr_t(s);
}

} // namespace

PeerSocket::~PeerSocket() { close(); }

PeerSocket::PeerSocket(PeerSocket&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

PeerSocket& PeerSocket::operator=(PeerSocket&& other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

bool PeerSocket::valid() const { return handle_ != kNone; }

bool PeerSocket::send_all(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto n = ::send(native(handle_), bytes.data() + done, int(bytes.size() - done), 0);
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

std::string PeerSocket::receive(std::size_t count, int seconds)
{
    std::string bytes;
    char chunk[4096];
    while (bytes.size() < count && readable(native(handle_), seconds)) {
        const std::size_t want = std::min(sizeof chunk, count - bytes.size());
        const auto n = ::recv(native(handle_), chunk, int(want), 0);
        if (n <= 0)
            break;
        bytes.append(chunk, std::size_t(n));
    }
    return bytes;
}

void PeerSocket::close()
{
    if (handle_ != kNone)
        close_native(native(std::exchange(handle_, kNone)));
}

void PeerSocket::reset()
{
    if (handle_ == kNone)
        return;
    linger abort{};
    abort.l_onoff = 1;
    abort.l_linger = 0;
    ::setsockopt(native(handle_), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    close();
}

LoopbackListener::LoopbackListener()
{
    handle_ = bound_loopback_socket(port_);
    if (::listen(native(handle_), 8) != 0) {
        close_native(native(handle_));
        throw std::runtime_error("test peer: cannot listen");
    }
}

LoopbackListener::~LoopbackListener() { close_native(native(handle_)); }

PeerSocket LoopbackListener::accept(int seconds)
{
    if (!readable(native(handle_), seconds))
        return PeerSocket();
    const Native s = ::accept(native(handle_), nullptr, nullptr);
    return uintptr_t(s) == kNone ? PeerSocket() : PeerSocket(uintptr_t(s));
}

std::string closed_loopback_port()
{
    std::string port;
    close_native(native(bound_loopback_socket(port)));
    return port;
}

} // namespace test

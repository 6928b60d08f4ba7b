// Scene: a game talks to a server over TCP. The "server" is a tiny echo peer
// the scene starts itself on 127.0.0.1, so the demo stays offline.
#include "scene.h"

#include <zyn/zyn.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#ifdef _WIN32
#  include <winsock2.h>
#  include <ws2tcpip.h>
using NativeSocket = SOCKET;
static void close_native(NativeSocket s) { closesocket(s); }
#else
#  include <arpa/inet.h>
#  include <netinet/in.h>
#  include <sys/select.h>
#  include <sys/socket.h>
#  include <unistd.h>
using NativeSocket = int;
static void close_native(NativeSocket s) { ::close(s); }
#endif

namespace {

// The echo peer: listens on a free loopback port, answers one connection by
// sending back its first line, then hangs up.
class EchoPeer {
public:
    EchoPeer()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
            || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0
            || ::listen(listener_, 1) != 0)
            return;
        port_ = std::to_string(ntohs(address.sin_port));
        thread_ = std::thread([this] { serve(); });
    }
    ~EchoPeer()
    {
        if (thread_.joinable())
            thread_.join();
        close_native(listener_);
    }
    const std::string& port() const { return port_; }

private:
    void serve()
    {
        // Waits a few seconds at most, so a game that never came cannot hang the demo.
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener_, &ready);
        timeval wait{5, 0};
        if (::select(int(listener_) + 1, &ready, nullptr, nullptr, &wait) != 1)
            return;
        const NativeSocket c = ::accept(listener_, nullptr, nullptr);
        std::string line;
        char ch;
        while (line.size() < 256 && ::recv(c, &ch, 1, 0) == 1) {
            line += ch;
            if (ch == '\n')
                break;
        }
        ::send(c, line.data(), int(line.size()), 0);
        close_native(c);
    }

    NativeSocket listener_;
    std::string port_;
    std::thread thread_;
};

void run(const demo::Options&)
{
    if (!zyn_socket_load()) {
        demo::report_error("zyn_socket_load");
        return;
    }
    // (On Windows the peer's own Winsock calls rely on this start too.)
    EchoPeer peer;
    if (peer.port().empty()) {
        std::printf("  could not start the echo peer\n");
        return;
    }

    zyn_socket server = ZYN_INVALID_SOCKET;
    if (!zyn_socket_connect("127.0.0.1", peer.port().c_str(), &server)) {
        demo::report_error("zyn_socket_connect");
        return;
    }
    std::printf("  connected to 127.0.0.1:%s\n", peer.port().c_str());

    const std::string line = "hello from the game\n";
    std::printf("  sent %d bytes\n", zyn_socket_send(&server, line.data(), int32_t(line.size())));

    // Non-blocking, read once per frame: "would block" means nothing yet.
    uint32_t non_blocking = 1;
    zyn_socket_io(&server, ZYN_FIONBIO, &non_blocking);
    std::string reply;
    for (int frame = 1; frame <= 100 && (reply.empty() || reply.back() != '\n'); ++frame) {
        char buffer[64];
        const int n = zyn_socket_recv(&server, buffer, sizeof buffer);
        if (n > 0)
            reply.append(buffer, std::size_t(n));
        else if (n == 0)
            break; // the peer hung up
        else if (zyn_get_extendederror() == ZYN_WSAEWOULDBLOCK)
            std::printf("  frame %d: nothing yet (%d)\n", frame, zyn_socket_geterror());
        else {
            demo::report_error("zyn_socket_recv");
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("  echoed back: %s", reply.c_str());
    zyn_socket_close(&server);

    // What a game sees when nothing answers.
    zyn_socket nowhere = ZYN_INVALID_SOCKET;
    zyn_socket_connect("game-server.invalid", "7777", &nowhere);
    demo::report_error("zyn_socket_connect to an unknown host");
    zyn_socket_unload();
}

demo::Register scene(80, "TCP sockets", run);

} // namespace

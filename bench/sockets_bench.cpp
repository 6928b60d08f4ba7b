// What a game pays per frame for its sockets: a non-blocking receive with
// nothing waiting (the usual case) and a one-byte round trip over loopback,
// each through the library and straight on the system calls.
#include <zyn/zyn.h>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace {

// A connected loopback pair: the library's client and the far end's descriptor.
struct Pair {
    zyn_socket client = ZYN_INVALID_SOCKET;
    int peer = -1;

    Pair()
    {
        zyn_init("");
        zyn_socket_load();
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
        ::listen(listener, 1);
        const std::string port = std::to_string(ntohs(address.sin_port));
        zyn_socket_connect("127.0.0.1", port.c_str(), &client);
        peer = ::accept(listener, nullptr, nullptr);
        ::close(listener);
        const int on = 1;
        ::setsockopt(int(client), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ::setsockopt(peer, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    ~Pair()
    {
        zyn_socket_close(&client);
        ::close(peer);
        zyn_unload();
    }
};

void BM_IdleReceive_Library(benchmark::State& state)
{
    Pair pair;
    uint32_t on = 1;
    zyn_socket_io(&pair.client, ZYN_FIONBIO, &on);
    char buffer[64];
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_socket_recv(&pair.client, buffer, sizeof buffer));
}
BENCHMARK(BM_IdleReceive_Library);

void BM_IdleReceive_System(benchmark::State& state)
{
    Pair pair;
    const int fd = int(pair.client);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    char buffer[64];
    for (auto _ : state)
        benchmark::DoNotOptimize(::recv(fd, buffer, sizeof buffer, 0));
}
BENCHMARK(BM_IdleReceive_System);

void BM_RoundTrip_Library(benchmark::State& state)
{
    Pair pair;
    char byte = 'x';
    for (auto _ : state) {
        zyn_socket_send(&pair.client, &byte, 1);
        ::recv(pair.peer, &byte, 1, 0);
        ::send(pair.peer, &byte, 1, MSG_NOSIGNAL);
        benchmark::DoNotOptimize(zyn_socket_recv(&pair.client, &byte, 1));
    }
}
BENCHMARK(BM_RoundTrip_Library);

void BM_RoundTrip_System(benchmark::State& state)
{
    Pair pair;
    const int fd = int(pair.client);
    char byte = 'x';
    for (auto _ : state) {
        ::send(fd, &byte, 1, MSG_NOSIGNAL);
        ::recv(pair.peer, &byte, 1, 0);
        ::send(pair.peer, &byte, 1, MSG_NOSIGNAL);
        benchmark::DoNotOptimize(::recv(fd, &byte, 1, 0));
    }
}
BENCHMARK(BM_RoundTrip_System);

} // namespace

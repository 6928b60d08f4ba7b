// TCP client sockets against a real peer on 127.0.0.1, natively and under Wine.
#include "support/library.h"
#include "support/sockets_peer.h"

#include <chrono>
#include <thread>

#ifndef _WIN32
#  include <csignal>
#  include <fcntl.h>
#endif

namespace {

using test::gives;
constexpr zyn_socket kUntouched = 12345; // a value the library must leave alone

// A platform failure: error 2, `wsa` the socket error and, for a failed transfer (-1), the extended one.
testing::AssertionResult fails(int64_t result, int64_t expected, int wsa)
{
    if (zyn_socket_geterror() != wsa)
        return testing::AssertionFailure() << "socket error " << zyn_socket_geterror() << " instead of " << wsa;
    return gives(result, expected, ZYN_ERR_CALL_FAILED, expected == -1 ? wsa : -1);
}

class Sockets : public test::LoadedLibrary {
protected:
    void SetUp() override
    {
        LoadedLibrary::SetUp();
        ASSERT_NE(listener = test::listen_on_loopback(port), test::kNoSocket);
        ASSERT_EQ(zyn_socket_load(), 1);
        ASSERT_TRUE(gives(zyn_socket_connect("127.0.0.1", port.c_str(), &client), 1));
        ASSERT_NE(peer = test::accept_peer(listener), test::kNoSocket);
    }
    uint32_t waiting(uint32_t bytes) // FIONREAD, polled until the bytes are in (bounded)
    {
        uint32_t in = 0;
        for (int i = 0; i < 500 && zyn_socket_io(&client, ZYN_FIONREAD, &in) == 1 && in < bytes; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return in;
    }

    std::string port;
    test::Native listener = test::kNoSocket, peer = test::kNoSocket;
    zyn_socket client = ZYN_INVALID_SOCKET;
};

TEST_F(Sockets, LayerStartsOnceAndNeedsTheLibrary)
{
    EXPECT_TRUE(gives(zyn_socket_load(), 0, ZYN_ERR_ALREADY_LOADED) && zyn_socket_isloaded() == 1);
    EXPECT_TRUE(gives(zyn_socket_unload(), 1) && zyn_socket_isloaded() == 0);
    EXPECT_TRUE(gives(zyn_socket_unload(), 1));
    // Every operation on a socket refuses with 11 before touching anything.
    zyn_socket s = kUntouched;
    uint32_t arg = 1;
    const int code = ZYN_ERR_SOCKETS_NOT_LOADED;
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", port.c_str(), &s), 0, code) && s == kUntouched);
    EXPECT_TRUE(gives(zyn_socket_recv(&s, &arg, 1), 0, code) && gives(zyn_socket_send(&s, &arg, 1), 0, code));
    EXPECT_TRUE(gives(zyn_socket_io(&s, ZYN_FIONBIO, &arg), 0, code) && gives(zyn_socket_close(&s), 0, code));
    ASSERT_EQ(zyn_socket_load(), 1);
    for (int loaded : {1, 0}) { // the queries without a frame leave the last error alone
        zyn_seterror(7, 3);
        zyn_socket_geterror();
        EXPECT_TRUE(gives(zyn_socket_isloaded(), loaded, 7, 3));
        zyn_unload();
    }
    EXPECT_TRUE(gives(zyn_socket_load(), 0, ZYN_ERR_NOT_LOADED) && gives(zyn_socket_unload(), 0, ZYN_ERR_NOT_LOADED));
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", port.c_str(), &s), 0, ZYN_ERR_NOT_LOADED));
}

TEST_F(Sockets, SendReceiveAndFailures)
{
    EXPECT_TRUE(gives(zyn_socket_send(&client, "hello peer\n", 11), 11) && test::receive(peer, 11) == "hello peer\n");
    ASSERT_TRUE(test::send_all(peer, "hello game\n") && waiting(11) == 11u);
    char buffer[64] = {};
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, 5), 5)); // no more than asked for
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer + 5, sizeof buffer - 5), 6)
                && buffer == std::string("hello game\n"));
    EXPECT_TRUE(gives(zyn_socket_send(&client, buffer, 0), 0)); // no failure
    uint32_t on = 1, off = 0;
    ASSERT_TRUE(gives(zyn_socket_io(&client, ZYN_FIONBIO, &on), 1));
    EXPECT_TRUE(fails(zyn_socket_recv(&client, buffer, 16), -1, ZYN_WSAEWOULDBLOCK));
    // With the would-block still the thread's socket error, calls that succeed are no failures.
    ASSERT_TRUE(test::send_all(peer, "ping") && waiting(4) == 4u);
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, 16), 4));
    EXPECT_TRUE(gives(zyn_socket_send(&client, "pong", 4), 4) && test::receive(peer, 4) == "pong");
#ifndef _WIN32
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEWOULDBLOCK); // kept until a call fails
#endif
    // Back to blocking: a receive waits for what the peer sends later.
    ASSERT_EQ(zyn_socket_io(&client, ZYN_FIONBIO, &off), 1);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        test::send_all(peer, "late");
    });
    EXPECT_EQ(zyn_socket_recv(&client, buffer, 4), 4);
    late.join();
    EXPECT_EQ(std::string(buffer, 4), "late");
#ifndef _WIN32
    // Native commands are taken too; one whose argument may be wider than 32 bits never.
    ASSERT_EQ(zyn_socket_io(&client, 0x5421 /* Linux FIONBIO */, &on), 1);
    EXPECT_TRUE(fails(zyn_socket_recv(&client, buffer, 1), -1, ZYN_WSAEWOULDBLOCK));
    EXPECT_TRUE(fails(zyn_socket_io(&client, 0x8912 /* SIOCGIFCONF */, &on), 0, ZYN_WSAEINVAL));
    ASSERT_EQ(zyn_socket_io(&client, ZYN_FIONBIO, &off), 1);
#endif
    // Failures, each with its code.
    zyn_socket s = kUntouched;
    const std::string closed = test::closed_loopback_port();
    EXPECT_TRUE(fails(zyn_socket_connect("127.0.0.1", closed.c_str(), &s), 0, ZYN_WSAECONNREFUSED));
    EXPECT_EQ(s, ZYN_INVALID_SOCKET);
    s = kUntouched; // resolver failures leave the variable alone
    const int not_found = ZYN_WSAHOST_NOT_FOUND, type_not_found = 10109;
    EXPECT_TRUE(gives(zyn_socket_connect("no-such-host.invalid", "80", &s), 0, ZYN_ERR_CALL_FAILED, not_found)
                && zyn_socket_geterror() == not_found);
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", "no-such-service", &s), 0, ZYN_ERR_CALL_FAILED, type_not_found)
                && s == kUntouched);
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", port.c_str(), nullptr), 0, ZYN_ERR_INVALID_ARGUMENT));
    // Bad lengths and buffers consume nothing.
    uint32_t arg = 1;
    const int inval = ZYN_WSAEINVAL, fault = ZYN_WSAEFAULT, notsock = ZYN_WSAENOTSOCK;
    ASSERT_TRUE(test::send_all(peer, "data") && waiting(4) == 4u);
    EXPECT_TRUE(fails(zyn_socket_recv(&client, buffer, -1), -1, inval)
                && fails(zyn_socket_send(&client, buffer, -8), -1, inval));
    EXPECT_TRUE(fails(zyn_socket_recv(&client, nullptr, 4), -1, fault)
                && fails(zyn_socket_send(&client, nullptr, 4), -1, fault));
    EXPECT_TRUE(fails(zyn_socket_io(&client, ZYN_FIONREAD, nullptr), 0, fault));
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, sizeof buffer), 4) && std::string(buffer, 4) == "data");
    // Once the peer is gone a receive gives 0 (the orderly close) and a send fails, without a signal.
#ifndef _WIN32
    std::signal(SIGPIPE, SIG_DFL); // its default action would end this process
#endif
    test::close_peer(peer);
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, sizeof buffer), 0));
    int result = 0; // the first sends may still be taken; the reset follows on loopback
    for (int i = 0; i < 200 && (result = zyn_socket_send(&client, "after close\n", 12)) != -1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int reset = zyn_get_extendederror();
    EXPECT_TRUE(fails(result, -1, reset));
#ifdef _WIN32
    EXPECT_TRUE(reset == ZYN_WSAECONNRESET || reset == ZYN_WSAECONNABORTED || reset == 10058) << reset;
#else
    EXPECT_EQ(reset, ZYN_WSAECONNRESET);
#endif
    // Closed, invalid and null sockets.
    const zyn_socket held = client;
    EXPECT_TRUE(gives(zyn_socket_close(&client), 1) && client == held); // the variable is the caller's to reset
    zyn_socket invalid = ZYN_INVALID_SOCKET;
    for (zyn_socket* each : {&client, &invalid}) {
        EXPECT_TRUE(fails(zyn_socket_close(each), 0, notsock)
                    && fails(zyn_socket_io(each, ZYN_FIONBIO, &arg), 0, notsock));
        EXPECT_TRUE(fails(zyn_socket_recv(each, buffer, 4), -1, notsock)
                    && fails(zyn_socket_send(each, buffer, 4), -1, notsock));
    }
    EXPECT_TRUE(gives(zyn_socket_close(nullptr), 0, ZYN_ERR_INVALID_ARGUMENT)
                && gives(zyn_socket_recv(nullptr, buffer, 4), 0, ZYN_ERR_INVALID_ARGUMENT));
#ifndef _WIN32
    // A descriptor that is no socket (a pipe here; a zero-filled variable names
    // standard input) is refused as Winsock refuses it: neither switched nor closed.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    zyn_socket pipe_end = zyn_socket(ends[0]);
    uint32_t in = 77;
    EXPECT_TRUE(gives(zyn_socket_io(&pipe_end, ZYN_FIONBIO, &arg), 0, ZYN_ERR_CALL_FAILED, -1)
                && (::fcntl(ends[0], F_GETFL) & O_NONBLOCK) == 0);
    EXPECT_TRUE(gives(zyn_socket_io(&pipe_end, ZYN_FIONREAD, &in), 0, ZYN_ERR_CALL_FAILED, -1) && in == 77u);
    EXPECT_TRUE(fails(zyn_socket_close(&pipe_end), 0, notsock) && ::fcntl(ends[0], F_GETFD) != -1); // not closed
    ::close(ends[0]);
    ::close(ends[1]);
#endif
}

} // namespace

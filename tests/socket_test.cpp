// TCP client sockets against a real peer on 127.0.0.1, natively and under Wine.
#include "support/loaded_library.h"
#include "support/sockets_peer.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#ifndef _WIN32
#  include <csignal>
#  include <fcntl.h>
#  include <unistd.h>
#endif

namespace {

constexpr zyn_socket kUntouched = 12345; // a value the library must leave alone

class Sockets : public test::LoadedLibrary {
protected:
    void SetUp() override
    {
        LoadedLibrary::SetUp();
        ASSERT_EQ(zyn_socket_load(), 1);
    }

    // Connects to the listener and accepts the connection on the peer's side.
    void connect_pair(zyn_socket& client, test::PeerSocket& peer)
    {
        ASSERT_EQ(zyn_socket_connect("127.0.0.1", listener.port().c_str(), &client), 1);
        ASSERT_EQ(zyn_geterror(), 0);
        ASSERT_NE(client, ZYN_INVALID_SOCKET);
        peer = listener.accept();
        ASSERT_TRUE(peer.valid());
    }

    // Polls FIONREAD until the bytes have arrived; bounded, never timed.
    uint32_t wait_waiting(zyn_socket& s, uint32_t bytes)
    {
        uint32_t waiting = 0;
        for (int i = 0; i < 500 && waiting < bytes; ++i) {
            EXPECT_EQ(zyn_socket_io(&s, ZYN_FIONREAD, &waiting), 1);
            if (waiting < bytes)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return waiting;
    }

    void expect_error(int code, int extended)
    {
        EXPECT_EQ(zyn_geterror(), code);
        EXPECT_EQ(zyn_get_extendederror(), extended);
    }

    test::LoopbackListener listener;
};

TEST_F(Sockets, LayerStartsOnceAndStopsWithTheLibrary)
{
    EXPECT_EQ(zyn_socket_isloaded(), 1);
    EXPECT_EQ(zyn_socket_load(), 0);
    expect_error(ZYN_ERR_ALREADY_LOADED, 0);
    EXPECT_EQ(zyn_socket_isloaded(), 1);

    EXPECT_EQ(zyn_socket_unload(), 1);
    expect_error(0, 0);
    EXPECT_EQ(zyn_socket_isloaded(), 0);
    EXPECT_EQ(zyn_socket_unload(), 1); // not loaded: still 1, no error
    expect_error(0, 0);

    // Every operation on a socket refuses with 11 before touching anything.
    zyn_socket s = kUntouched;
    char byte = 0;
    uint32_t arg = 1;
    EXPECT_EQ(zyn_socket_connect("127.0.0.1", listener.port().c_str(), &s), 0);
    expect_error(ZYN_ERR_SOCKETS_NOT_LOADED, 0);
    EXPECT_EQ(s, kUntouched);
    EXPECT_EQ(zyn_socket_recv(&s, &byte, 1), 0);
    expect_error(ZYN_ERR_SOCKETS_NOT_LOADED, 0);
    EXPECT_EQ(zyn_socket_send(&s, &byte, 1), 0);
    expect_error(ZYN_ERR_SOCKETS_NOT_LOADED, 0);
    EXPECT_EQ(zyn_socket_io(&s, ZYN_FIONBIO, &arg), 0);
    expect_error(ZYN_ERR_SOCKETS_NOT_LOADED, 0);
    EXPECT_EQ(zyn_socket_close(&s), 0);
    expect_error(ZYN_ERR_SOCKETS_NOT_LOADED, 0);

    // zyn_unload takes the layer down; a new zyn_init starts without it.
    ASSERT_EQ(zyn_socket_load(), 1);
    EXPECT_EQ(zyn_unload(), 1);
    EXPECT_EQ(zyn_socket_isloaded(), 0);
    EXPECT_EQ(zyn_socket_load(), 0);
    expect_error(ZYN_ERR_NOT_LOADED, 0);
    EXPECT_EQ(zyn_socket_unload(), 0);
    expect_error(ZYN_ERR_NOT_LOADED, 0);
    EXPECT_EQ(zyn_socket_connect("127.0.0.1", listener.port().c_str(), &s), 0);
    expect_error(ZYN_ERR_NOT_LOADED, 0);
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_socket_isloaded(), 0);
    EXPECT_EQ(zyn_socket_load(), 1);

    // The queries without a frame leave the last error alone, loaded or not.
    zyn_seterror(7, 3);
    zyn_socket_isloaded();
    zyn_socket_geterror();
    zyn_unload();
    zyn_seterror(7, 3);
    zyn_socket_geterror();
    expect_error(7, 3);
}

TEST_F(Sockets, ConnectSendAndReceiveALine)
{
    zyn_socket client = ZYN_INVALID_SOCKET;
    test::PeerSocket peer;
    connect_pair(client, peer);

    const char line[] = "hello peer\n";
    EXPECT_EQ(zyn_socket_send(&client, line, int32_t(std::strlen(line))), int(std::strlen(line)));
    expect_error(0, 0);
    EXPECT_EQ(peer.receive(std::strlen(line)), line);

    ASSERT_TRUE(peer.send_all("hello game\n"));
    EXPECT_EQ(wait_waiting(client, 11), 11u);
    char buffer[64] = {};
    EXPECT_EQ(zyn_socket_recv(&client, buffer, 5), 5); // no more than asked for
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(zyn_socket_recv(&client, buffer, sizeof buffer), 6);
    EXPECT_EQ(std::string(buffer, 6), " game\n");
    expect_error(0, 0);

    // A zero-length send is no failure.
    EXPECT_EQ(zyn_socket_send(&client, line, 0), 0);
    expect_error(0, 0);

    // The peer's orderly close reads as 0 bytes, not as an error.
    peer.close();
    EXPECT_EQ(zyn_socket_recv(&client, buffer, sizeof buffer), 0);
    expect_error(0, 0);
    EXPECT_EQ(zyn_socket_close(&client), 1);
    expect_error(0, 0);

    // A name that may list another address first: the next one is tried.
    zyn_socket named = ZYN_INVALID_SOCKET;
    ASSERT_EQ(zyn_socket_connect("localhost", listener.port().c_str(), &named), 1);
    test::PeerSocket second = listener.accept();
    ASSERT_TRUE(second.valid());
    EXPECT_EQ(zyn_socket_send(&named, "x", 1), 1);
    EXPECT_EQ(second.receive(1), "x");
    EXPECT_EQ(zyn_socket_close(&named), 1);
}

TEST_F(Sockets, NonBlockingReceiveAndStaleErrors)
{
    zyn_socket client = ZYN_INVALID_SOCKET;
    test::PeerSocket peer;
    connect_pair(client, peer);

    uint32_t on = 1;
    ASSERT_EQ(zyn_socket_io(&client, ZYN_FIONBIO, &on), 1);
    expect_error(0, 0);
    char buffer[16];
    EXPECT_EQ(zyn_socket_recv(&client, buffer, sizeof buffer), -1);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAEWOULDBLOCK);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEWOULDBLOCK);

    // With the would-block still the thread's last socket error, calls that
    // succeed are no failures.
    ASSERT_TRUE(peer.send_all("ping"));
    ASSERT_EQ(wait_waiting(client, 4), 4u);
    EXPECT_EQ(zyn_socket_recv(&client, buffer, sizeof buffer), 4);
    expect_error(0, 0);
    EXPECT_EQ(zyn_socket_send(&client, "pong", 4), 4);
    expect_error(0, 0);
#ifndef _WIN32
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEWOULDBLOCK); // kept until a call fails
#endif
    EXPECT_EQ(peer.receive(4), "pong");

    // Back to blocking: a receive waits for what the peer sends later.
    uint32_t off = 0;
    ASSERT_EQ(zyn_socket_io(&client, ZYN_FIONBIO, &off), 1);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        peer.send_all("late");
    });
    EXPECT_EQ(zyn_socket_recv(&client, buffer, 4), 4);
    late.join();
    EXPECT_EQ(std::string(buffer, 4), "late");
    EXPECT_EQ(zyn_socket_close(&client), 1);
}

TEST_F(Sockets, ConnectFailures)
{
    zyn_socket s = kUntouched;
    const std::string closed = test::closed_loopback_port();
    EXPECT_EQ(zyn_socket_connect("127.0.0.1", closed.c_str(), &s), 0);
    expect_error(ZYN_ERR_CALL_FAILED, -1);
    EXPECT_EQ(s, ZYN_INVALID_SOCKET);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAECONNREFUSED);

    s = kUntouched;
    EXPECT_EQ(zyn_socket_connect("no-such-host.invalid", "80", &s), 0);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAHOST_NOT_FOUND);
    EXPECT_EQ(s, kUntouched);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAHOST_NOT_FOUND);

    EXPECT_EQ(zyn_socket_connect("127.0.0.1", "no-such-service-zyn", &s), 0);
    expect_error(ZYN_ERR_CALL_FAILED, 10109); // WSATYPE_NOT_FOUND
    EXPECT_EQ(s, kUntouched);

    EXPECT_EQ(zyn_socket_connect("127.0.0.1", listener.port().c_str(), nullptr), 0);
    expect_error(ZYN_ERR_INVALID_ARGUMENT, 0);
}

TEST_F(Sockets, ClosedAndInvalidSockets)
{
    zyn_socket client = ZYN_INVALID_SOCKET;
    test::PeerSocket peer;
    connect_pair(client, peer);
    const zyn_socket held = client;
    EXPECT_EQ(zyn_socket_close(&client), 1);
    expect_error(0, 0);
    EXPECT_EQ(client, held); // the variable is the caller's to reset
    EXPECT_EQ(zyn_socket_close(&client), 0);
    expect_error(ZYN_ERR_CALL_FAILED, -1);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAENOTSOCK);

    zyn_socket invalid = ZYN_INVALID_SOCKET;
    char buffer[4] = {};
    uint32_t arg = 1;
    EXPECT_EQ(zyn_socket_close(&invalid), 0);
    expect_error(ZYN_ERR_CALL_FAILED, -1);
    EXPECT_EQ(zyn_socket_recv(&invalid, buffer, sizeof buffer), -1);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAENOTSOCK);
    EXPECT_EQ(zyn_socket_send(&invalid, buffer, sizeof buffer), -1);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAENOTSOCK);
    EXPECT_EQ(zyn_socket_io(&invalid, ZYN_FIONBIO, &arg), 0);
    expect_error(ZYN_ERR_CALL_FAILED, -1);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAENOTSOCK);

    EXPECT_EQ(zyn_socket_close(nullptr), 0);
    expect_error(ZYN_ERR_INVALID_ARGUMENT, 0);
    EXPECT_EQ(zyn_socket_recv(nullptr, buffer, sizeof buffer), 0);
    expect_error(ZYN_ERR_INVALID_ARGUMENT, 0);

#ifndef _WIN32
    // A value naming a descriptor that is no socket (here a pipe; a zero-filled
    // variable names standard input) is refused as Winsock refuses it: neither
    // switched to non-blocking nor closed.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    zyn_socket pipe_end = zyn_socket(ends[0]);
    EXPECT_EQ(zyn_socket_io(&pipe_end, ZYN_FIONBIO, &arg), 0);
    expect_error(ZYN_ERR_CALL_FAILED, -1);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAENOTSOCK);
    EXPECT_EQ(::fcntl(ends[0], F_GETFL) & O_NONBLOCK, 0);
    uint32_t waiting = 77;
    EXPECT_EQ(zyn_socket_io(&pipe_end, ZYN_FIONREAD, &waiting), 0);
    EXPECT_EQ(waiting, 77u);
    EXPECT_EQ(zyn_socket_close(&pipe_end), 0);
    expect_error(ZYN_ERR_CALL_FAILED, -1);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAENOTSOCK);
    EXPECT_NE(::fcntl(ends[0], F_GETFD), -1) << "the pipe was closed";
    ::close(ends[0]);
    ::close(ends[1]);
#endif
}

TEST_F(Sockets, BadBuffersAndCommandsAreRefused)
{
    zyn_socket client = ZYN_INVALID_SOCKET;
    test::PeerSocket peer;
    connect_pair(client, peer);
    ASSERT_TRUE(peer.send_all("data"));
    ASSERT_EQ(wait_waiting(client, 4), 4u);

    char buffer[4] = {};
    EXPECT_EQ(zyn_socket_recv(&client, buffer, -1), -1);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAEINVAL);
    EXPECT_EQ(zyn_socket_send(&client, buffer, -8), -1);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAEINVAL);
    EXPECT_EQ(zyn_socket_recv(&client, nullptr, 4), -1);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAEFAULT);
    EXPECT_EQ(zyn_socket_send(&client, nullptr, 4), -1);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAEFAULT);
    EXPECT_EQ(zyn_socket_io(&client, ZYN_FIONREAD, nullptr), 0);
    expect_error(ZYN_ERR_CALL_FAILED, -1);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEFAULT);

    // None of it consumed the waiting bytes.
    EXPECT_EQ(zyn_socket_recv(&client, buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "data");
    EXPECT_EQ(zyn_socket_close(&client), 1);
}

#ifndef _WIN32
TEST_F(Sockets, PosixTakesNativeCommandsAndRefusesOthers)
{
    zyn_socket client = ZYN_INVALID_SOCKET;
    test::PeerSocket peer;
    connect_pair(client, peer);
    uint32_t arg = 1;
    ASSERT_EQ(zyn_socket_io(&client, 0x5421 /* Linux FIONBIO */, &arg), 1);
    char byte;
    EXPECT_EQ(zyn_socket_recv(&client, &byte, 1), -1);
    expect_error(ZYN_ERR_CALL_FAILED, ZYN_WSAEWOULDBLOCK);
    // A command whose argument may be wider than 32 bits is never passed on.
    EXPECT_EQ(zyn_socket_io(&client, 0x8912 /* SIOCGIFCONF */, &arg), 0);
    expect_error(ZYN_ERR_CALL_FAILED, -1);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEINVAL);
    EXPECT_EQ(zyn_socket_close(&client), 1);
}
#endif

TEST_F(Sockets, SendAfterThePeerWentAwayFailsWithoutASignal)
{
#ifndef _WIN32
    // The default action of SIGPIPE ends the process: this test would die.
    std::signal(SIGPIPE, SIG_DFL);
#endif
    for (bool abortive : {false, true}) {
        SCOPED_TRACE(abortive ? "peer reset" : "peer closed");
        zyn_socket client = ZYN_INVALID_SOCKET;
        test::PeerSocket peer;
        connect_pair(client, peer);
        if (abortive)
            peer.reset();
        else
            peer.close();

        // The first sends may still be taken; the reset follows on loopback.
        int result = 0;
        for (int i = 0; i < 200 && result != -1; ++i) {
            result = zyn_socket_send(&client, "after close\n", 12);
            if (result != -1)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(result, -1);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
        const int code = zyn_get_extendederror();
#ifdef _WIN32
        EXPECT_TRUE(code == ZYN_WSAECONNRESET || code == ZYN_WSAECONNABORTED || code == 10058) << code;
#else
        EXPECT_EQ(code, ZYN_WSAECONNRESET);
#endif
        EXPECT_EQ(zyn_socket_geterror(), code);
        EXPECT_EQ(zyn_socket_close(&client), 1);
    }
}

} // namespace

// TCP client sockets against a real peer on 127.0.0.1, natively and under Wine.
#include "support/loaded_library.h"
#include "support/outcome.h"
#include "support/sockets_peer.h"

#include <chrono>
#include <string>
#include <thread>

#ifndef _WIN32
#  include <csignal>
#  include <fcntl.h>
#  include <unistd.h>
#endif

namespace {

using test::gives;
constexpr zyn_socket kUntouched = 12345; // a value the library must leave alone
constexpr int kFailed = ZYN_ERR_CALL_FAILED;

class Sockets : public test::LoadedLibrary {
protected:
    void SetUp() override
    {
        LoadedLibrary::SetUp();
        ASSERT_EQ(zyn_socket_load(), 1);
        ASSERT_TRUE(gives(zyn_socket_connect("127.0.0.1", listener.port().c_str(), &client), 1));
        peer = listener.accept();
        ASSERT_TRUE(peer.valid());
    }
    // Polls FIONREAD until the bytes have arrived; bounded, never timed.
    uint32_t waiting(uint32_t bytes)
    {
        uint32_t in = 0;
        for (int i = 0; i < 500 && in < bytes; ++i) {
            EXPECT_EQ(zyn_socket_io(&client, ZYN_FIONREAD, &in), 1);
            if (in < bytes)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return in;
    }

    test::LoopbackListener listener;
    zyn_socket client = ZYN_INVALID_SOCKET;
    test::PeerSocket peer;
};

TEST_F(Sockets, LayerStartsOnceAndStopsWithTheLibrary)
{
    EXPECT_TRUE(gives(zyn_socket_load(), 0, ZYN_ERR_ALREADY_LOADED));
    EXPECT_EQ(zyn_socket_isloaded(), 1);
    EXPECT_TRUE(gives(zyn_socket_unload(), 1));
    EXPECT_EQ(zyn_socket_isloaded(), 0);
    EXPECT_TRUE(gives(zyn_socket_unload(), 1));
    // Every operation on a socket refuses with 11 before touching anything.
    zyn_socket s = kUntouched;
    char byte = 0;
    uint32_t arg = 1;
    const int code = ZYN_ERR_SOCKETS_NOT_LOADED;
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", listener.port().c_str(), &s), 0, code));
    EXPECT_TRUE(gives(zyn_socket_recv(&s, &byte, 1), 0, code));
    EXPECT_TRUE(gives(zyn_socket_send(&s, &byte, 1), 0, code));
    EXPECT_TRUE(gives(zyn_socket_io(&s, ZYN_FIONBIO, &arg), 0, code));
    EXPECT_TRUE(gives(zyn_socket_close(&s), 0, code));
    EXPECT_EQ(s, kUntouched);
    // zyn_unload takes the layer down; a new zyn_init starts without it.
    ASSERT_EQ(zyn_socket_load(), 1);
    EXPECT_EQ(zyn_unload(), 1);
    EXPECT_EQ(zyn_socket_isloaded(), 0);
    EXPECT_TRUE(gives(zyn_socket_load(), 0, ZYN_ERR_NOT_LOADED));
    EXPECT_TRUE(gives(zyn_socket_unload(), 0, ZYN_ERR_NOT_LOADED));
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", listener.port().c_str(), &s), 0, ZYN_ERR_NOT_LOADED));
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_socket_isloaded(), 0);
    EXPECT_TRUE(gives(zyn_socket_load(), 1));
    for (int loaded : {1, 0}) { // the queries without a frame leave the last error alone
        zyn_seterror(7, 3);
        zyn_socket_geterror();
        EXPECT_TRUE(gives(zyn_socket_isloaded(), loaded, 7, 3));
        zyn_unload();
    }
}

TEST_F(Sockets, SendAndReceiveUntilThePeerCloses)
{
    EXPECT_TRUE(gives(zyn_socket_send(&client, "hello peer\n", 11), 11));
    EXPECT_EQ(peer.receive(11), "hello peer\n");
    ASSERT_TRUE(peer.send_all("hello game\n"));
    EXPECT_EQ(waiting(11), 11u);
    char buffer[64] = {};
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, 5), 5)); // no more than asked for
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer + 5, sizeof buffer - 5), 6));
    EXPECT_EQ(std::string(buffer), "hello game\n");
    EXPECT_TRUE(gives(zyn_socket_send(&client, buffer, 0), 0)); // no failure
    peer.close();
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, sizeof buffer), 0)); // the orderly close
    EXPECT_TRUE(gives(zyn_socket_close(&client), 1));
    // A name that may list another address first: the next one is tried.
    ASSERT_EQ(zyn_socket_connect("localhost", listener.port().c_str(), &client), 1);
    peer = listener.accept();
    EXPECT_EQ(zyn_socket_send(&client, "x", 1), 1);
    EXPECT_EQ(peer.receive(1), "x");
}

TEST_F(Sockets, NonBlockingReceiveAndStaleErrors)
{
    uint32_t on = 1, off = 0;
    ASSERT_TRUE(gives(zyn_socket_io(&client, ZYN_FIONBIO, &on), 1));
    char buffer[16];
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, sizeof buffer), -1, kFailed, ZYN_WSAEWOULDBLOCK));
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEWOULDBLOCK);
    // With the would-block still the thread's socket error, calls that succeed are no failures.
    ASSERT_TRUE(peer.send_all("ping"));
    ASSERT_EQ(waiting(4), 4u);
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, sizeof buffer), 4));
    EXPECT_TRUE(gives(zyn_socket_send(&client, "pong", 4), 4));
#ifndef _WIN32
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEWOULDBLOCK); // kept until a call fails
#endif
    EXPECT_EQ(peer.receive(4), "pong");
    // Back to blocking: a receive waits for what the peer sends later.
    ASSERT_EQ(zyn_socket_io(&client, ZYN_FIONBIO, &off), 1);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        peer.send_all("late");
    });
    EXPECT_EQ(zyn_socket_recv(&client, buffer, 4), 4);
    late.join();
    EXPECT_EQ(std::string(buffer, 4), "late");
#ifndef _WIN32
    // Native commands are taken too; one whose argument may be wider than 32 bits never.
    ASSERT_EQ(zyn_socket_io(&client, 0x5421 /* Linux FIONBIO */, &on), 1);
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, 1), -1, kFailed, ZYN_WSAEWOULDBLOCK));
    EXPECT_TRUE(gives(zyn_socket_io(&client, 0x8912 /* SIOCGIFCONF */, &on), 0, kFailed, -1));
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEINVAL);
#endif
}

TEST_F(Sockets, ConnectFailures)
{
    zyn_socket s = kUntouched;
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", test::closed_loopback_port().c_str(), &s), 0, kFailed, -1));
    EXPECT_EQ(s, ZYN_INVALID_SOCKET);
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAECONNREFUSED);
    s = kUntouched; // resolver failures leave the variable alone
    EXPECT_TRUE(gives(zyn_socket_connect("no-such-host.invalid", "80", &s), 0, kFailed, ZYN_WSAHOST_NOT_FOUND));
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAHOST_NOT_FOUND);
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", "no-such-service-zyn", &s), 0, kFailed, 10109)); // WSATYPE_NOT_FOUND
    EXPECT_EQ(s, kUntouched);
    EXPECT_TRUE(gives(zyn_socket_connect("127.0.0.1", listener.port().c_str(), nullptr), 0, ZYN_ERR_INVALID_ARGUMENT));
}

TEST_F(Sockets, ClosedInvalidAndNullSocketsAndBadBuffers)
{
    char buffer[4] = {};
    uint32_t arg = 1;
    ASSERT_TRUE(peer.send_all("data"));
    ASSERT_EQ(waiting(4), 4u);
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, -1), -1, kFailed, ZYN_WSAEINVAL));
    EXPECT_TRUE(gives(zyn_socket_send(&client, buffer, -8), -1, kFailed, ZYN_WSAEINVAL));
    EXPECT_TRUE(gives(zyn_socket_recv(&client, nullptr, 4), -1, kFailed, ZYN_WSAEFAULT));
    EXPECT_TRUE(gives(zyn_socket_send(&client, nullptr, 4), -1, kFailed, ZYN_WSAEFAULT));
    EXPECT_TRUE(gives(zyn_socket_io(&client, ZYN_FIONREAD, nullptr), 0, kFailed, -1));
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAEFAULT);
    EXPECT_TRUE(gives(zyn_socket_recv(&client, buffer, sizeof buffer), 4)); // none of it consumed the bytes
    EXPECT_EQ(std::string(buffer, 4), "data");

    const zyn_socket held = client;
    EXPECT_TRUE(gives(zyn_socket_close(&client), 1));
    EXPECT_EQ(client, held); // the variable is the caller's to reset
    zyn_socket invalid = ZYN_INVALID_SOCKET;
    for (zyn_socket* s : {&client, &invalid}) {
        EXPECT_TRUE(gives(zyn_socket_close(s), 0, kFailed, -1));
        EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAENOTSOCK);
        EXPECT_TRUE(gives(zyn_socket_recv(s, buffer, sizeof buffer), -1, kFailed, ZYN_WSAENOTSOCK));
        EXPECT_TRUE(gives(zyn_socket_send(s, buffer, sizeof buffer), -1, kFailed, ZYN_WSAENOTSOCK));
        EXPECT_TRUE(gives(zyn_socket_io(s, ZYN_FIONBIO, &arg), 0, kFailed, -1));
        EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAENOTSOCK);
    }
    EXPECT_TRUE(gives(zyn_socket_close(nullptr), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_TRUE(gives(zyn_socket_recv(nullptr, buffer, sizeof buffer), 0, ZYN_ERR_INVALID_ARGUMENT));
#ifndef _WIN32
    // A descriptor that is no socket (a pipe here; a zero-filled variable names
    // standard input) is refused as Winsock refuses it: neither switched nor closed.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    zyn_socket pipe_end = zyn_socket(ends[0]);
    uint32_t in = 77;
    EXPECT_TRUE(gives(zyn_socket_io(&pipe_end, ZYN_FIONBIO, &arg), 0, kFailed, -1));
    EXPECT_EQ(::fcntl(ends[0], F_GETFL) & O_NONBLOCK, 0);
    EXPECT_TRUE(gives(zyn_socket_io(&pipe_end, ZYN_FIONREAD, &in), 0, kFailed, -1));
    EXPECT_EQ(in, 77u);
    EXPECT_TRUE(gives(zyn_socket_close(&pipe_end), 0, kFailed, -1));
    EXPECT_EQ(zyn_socket_geterror(), ZYN_WSAENOTSOCK);
    EXPECT_NE(::fcntl(ends[0], F_GETFD), -1) << "the pipe was closed";
    ::close(ends[0]);
    ::close(ends[1]);
#endif
}

TEST_F(Sockets, SendAfterThePeerWentAwayFailsWithoutASignal)
{
#ifndef _WIN32
    std::signal(SIGPIPE, SIG_DFL); // its default action would end this process
#endif
    for (bool abortive : {false, true}) {
        if (abortive) {
            ASSERT_EQ(zyn_socket_connect("127.0.0.1", listener.port().c_str(), &client), 1);
            peer = listener.accept();
            peer.reset();
        } else {
            peer.close();
        }
        int result = 0; // the first sends may still be taken; the reset follows on loopback
        for (int i = 0; i < 200 && result != -1; ++i) {
            if ((result = zyn_socket_send(&client, "after close\n", 12)) != -1)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const int code = zyn_get_extendederror();
        EXPECT_TRUE(gives(result, -1, kFailed, code));
#ifdef _WIN32
        EXPECT_TRUE(code == ZYN_WSAECONNRESET || code == ZYN_WSAECONNABORTED || code == 10058) << code;
#else
        EXPECT_EQ(code, ZYN_WSAECONNRESET) << abortive;
#endif
        EXPECT_EQ(zyn_socket_geterror(), code);
        EXPECT_TRUE(gives(zyn_socket_close(&client), 1));
    }
}

} // namespace

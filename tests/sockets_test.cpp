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
#if defined(__linux__) && (defined(__x86_64__) || defined(__aarch64__))
#  define ZYN_TEST_SECCOMP 1
#  include <cerrno>
#  include <cstddef>
#  include <linux/audit.h>
#  include <linux/filter.h>
#  include <linux/seccomp.h>
#  include <netdb.h>
#  include <sys/prctl.h>
#  include <sys/socket.h>
#  include <sys/syscall.h>
#  include <sys/wait.h>
#  include <initializer_list>
#  include <vector>
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

#ifdef ZYN_TEST_SECCOMP

// Makes the kernel refuse stream sockets of the given families with
// EAFNOSUPPORT, as a system without them (IPv6 switched off, say) does, for
// the rest of this process. Datagram sockets stay: the resolver sorts its
// addresses with them. False when no filter could be installed.
bool refuse_stream_sockets(std::initializer_list<int> families)
{
#  if defined(__x86_64__)
    constexpr __u32 kArch = AUDIT_ARCH_X86_64;
#  else
    constexpr __u32 kArch = AUDIT_ARCH_AARCH64;
#  endif
    // Arguments are 64 bits; on these little-endian machines the low half
    // comes first.
    constexpr __u32 kFamily = offsetof(seccomp_data, args[0]);
    constexpr __u32 kType = offsetof(seccomp_data, args[1]);
    std::vector<sock_filter> program = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArch, 0, 0),          // else allow
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_socket, 0, 0),    // else allow
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, kType),
        BPF_STMT(BPF_ALU | BPF_AND | BPF_K, 0xF),                  // without SOCK_CLOEXEC, ...
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SOCK_STREAM, 0, 0),    // else allow
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, kFamily),
    };
    for (int family : families)
        program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __u32(family), 0, 0)); // then refuse
    const size_t allow = program.size();
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EAFNOSUPPORT));
    const size_t refuse = allow + 1;
    for (size_t i = 0; i < allow; ++i) {
        sock_filter& f = program[i];
        if (BPF_CLASS(f.code) != BPF_JMP)
            continue;
        if (i >= 8) // a family: refuse when it matches
            f.jt = __u8(refuse - i - 1);
        else
            f.jf = __u8(allow - i - 1);
    }
    sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
        && syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &filter) == 0;
}

// A name for this machine's loopback that resolves to ::1 first and to
// 127.0.0.1 after it: "localhost" where the hosts file lists both, or
// getaddrinfo's own name for the loopback addresses, a null host. Null when
// neither does here.
const char* const* loopback_name_six_then_four()
{
    static const char* const names[] = {"localhost", nullptr};
    for (const char* const& name : names) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        addrinfo* first = nullptr;
        if (getaddrinfo(name, "80", &hints, &first) != 0)
            continue;
        bool four_after = false;
        for (const addrinfo* a = first->ai_next; a; a = a->ai_next)
            four_after |= a->ai_family == AF_INET;
        const bool six_first = first->ai_family == AF_INET6;
        freeaddrinfo(first);
        if (six_first && four_after)
            return &name;
    }
    return nullptr;
}

TEST_F(Sockets, ConnectGoesOnWhenAnAddressFamilyIsUnavailable)
{
    const char* const* name = loopback_name_six_then_four();
    if (!name)
        GTEST_SKIP() << "no name here resolves to ::1 and then 127.0.0.1";
    const char* const host = *name;
    const std::string closed = test::closed_loopback_port();

    // In a child process, whose sockets the kernel then refuses for IPv6:
    // the connect must pass over ::1 and reach the listener on 127.0.0.1.
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(report[0]);
        std::string faults;
        const auto check = [&](bool ok, const char* what) {
            if (!ok)
                faults += std::string(what) + "\n";
        };
        if (!refuse_stream_sockets({AF_INET6}))
            _exit(77);
        zyn_socket s = kUntouched;
        check(zyn_socket_connect(host, listener.port().c_str(), &s) == 1, "IPv6 refused: no connection over IPv4");
        check(zyn_geterror() == 0, "IPv6 refused: an error was reported");
        check(s != kUntouched && s != ZYN_INVALID_SOCKET, "IPv6 refused: no socket");
        check(zyn_socket_send(&s, "v4", 2) == 2, "IPv6 refused: the connection does not carry data");

        // Nothing listens on the port: the last address's error, the refused
        // IPv4 connection, is the one reported.
        s = kUntouched;
        check(zyn_socket_connect(host, closed.c_str(), &s) == 0, "closed port: connected");
        check(zyn_geterror() == ZYN_ERR_CALL_FAILED && zyn_get_extendederror() == -1, "closed port: not error 2, -1");
        check(s == ZYN_INVALID_SOCKET, "closed port: variable not ZYN_INVALID_SOCKET");
        check(zyn_socket_geterror() == ZYN_WSAECONNREFUSED, "closed port: last error not WSAECONNREFUSED");

        // No address can make a socket: the last one's error says why.
        if (!refuse_stream_sockets({AF_INET}))
            _exit(77);
        s = kUntouched;
        check(zyn_socket_connect(host, listener.port().c_str(), &s) == 0, "nothing usable: connected");
        check(zyn_geterror() == ZYN_ERR_CALL_FAILED && zyn_get_extendederror() == -1, "nothing usable: not error 2, -1");
        check(s == ZYN_INVALID_SOCKET, "nothing usable: variable not ZYN_INVALID_SOCKET");
        check(zyn_socket_geterror() == ZYN_WSAEAFNOSUPPORT, "nothing usable: last error not WSAEAFNOSUPPORT");
        const ssize_t written = ::write(report[1], faults.data(), faults.size());
        _exit(written == ssize_t(faults.size()) ? 0 : 1);
    }
    ::close(report[1]);
    std::string faults;
    char chunk[256];
    for (ssize_t n; (n = ::read(report[0], chunk, sizeof chunk)) > 0;)
        faults.append(chunk, size_t(n));
    ::close(report[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "this system takes no seccomp filter";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(faults, "") << "host " << (host ? host : "(null)");
    // The connection the child made arrived here, over IPv4.
    test::PeerSocket peer = listener.accept();
    ASSERT_TRUE(peer.valid());
    EXPECT_EQ(peer.receive(2), "v4");
}

#endif

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

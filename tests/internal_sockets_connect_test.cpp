// The connect loop of zyn_socket_connect over crafted address lists, against
// a real listener on 127.0.0.1, natively and under Wine: an address for which
// no socket can be made is passed over like one that refuses the connection,
// and when every address fails the last one's error is the one reported.
#include "sockets/socket_connect.h"
#include "support/loaded_library.h"
#include "support/sockets_peer.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#  include <winsock2.h>
#  include <ws2tcpip.h>
#else
#  include <arpa/inet.h>
#  include <netdb.h>
#  include <netinet/in.h>
#  include <sys/socket.h>
#endif

namespace {

// An address family no system makes sockets for: socket() refuses it with
// (WSA)EAFNOSUPPORT, as it refuses IPv6 on a system without it.
constexpr int kUnusableFamily = 12345;

// One entry of a crafted list, pointing at its own loopback address.
struct Address {
    sockaddr_in where{};
    addrinfo info{};
};

class SocketConnectLoop : public test::LoadedLibrary {
protected:
    void SetUp() override
    {
        LoadedLibrary::SetUp();
        ASSERT_EQ(zyn_socket_load(), 1); // Winsock's start on Windows
    }

    // Builds the list in order: an entry per port, kUnusable for an address
    // of the unusable family.
    addrinfo* list(const std::vector<std::string>& ports)
    {
        addresses_.assign(ports.size(), Address{});
        size_t n = 0;
        for (const std::string& port : ports) {
            Address& a = addresses_[n];
            a.where.sin_family = AF_INET;
            a.where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            a.where.sin_port = htons(static_cast<unsigned short>(std::atoi(port.c_str())));
            a.info.ai_family = port == kUnusable ? kUnusableFamily : AF_INET;
            a.info.ai_socktype = SOCK_STREAM;
            a.info.ai_protocol = IPPROTO_TCP;
            a.info.ai_addr = reinterpret_cast<sockaddr*>(&a.where);
            a.info.ai_addrlen = sizeof a.where;
            if (n > 0)
                addresses_[n - 1].info.ai_next = &a.info;
            ++n;
        }
        return addresses_.empty() ? nullptr : &addresses_.front().info;
    }

    static inline const std::string kUnusable = "unusable";
    test::LoopbackListener listener;
    std::vector<Address> addresses_;
};

TEST_F(SocketConnectLoop, AnAddressWithoutASocketIsPassedOver)
{
    zyn_socket s = 12345;
    ASSERT_TRUE(zyn::sockets::connect_first(list({kUnusable, listener.port()}), s));
    ASSERT_NE(s, ZYN_INVALID_SOCKET);
    test::PeerSocket peer = listener.accept();
    ASSERT_TRUE(peer.valid());
    EXPECT_EQ(zyn_socket_send(&s, "x", 1), 1);
    EXPECT_EQ(peer.receive(1), "x");
    EXPECT_EQ(zyn_socket_close(&s), 1);

    // Two unusable addresses, then a closed port, then the listener.
    const std::string closed = test::closed_loopback_port();
    s = 12345;
    ASSERT_TRUE(zyn::sockets::connect_first(list({kUnusable, kUnusable, closed, listener.port()}), s));
    ASSERT_NE(s, ZYN_INVALID_SOCKET);
    ASSERT_TRUE(listener.accept().valid());
    EXPECT_EQ(zyn_socket_close(&s), 1);
}

TEST_F(SocketConnectLoop, WhenEveryAddressFailsTheLastOnesErrorIsReported)
{
    const std::string closed = test::closed_loopback_port();
    struct Case {
        std::vector<std::string> ports;
        int error;
    };
    for (const Case& c : {Case{{kUnusable}, ZYN_WSAEAFNOSUPPORT}, Case{{kUnusable, kUnusable}, ZYN_WSAEAFNOSUPPORT},
                          Case{{kUnusable, closed}, ZYN_WSAECONNREFUSED}, Case{{closed, kUnusable}, ZYN_WSAEAFNOSUPPORT},
                          Case{{closed, closed}, ZYN_WSAECONNREFUSED}}) {
        SCOPED_TRACE(c.error);
        zyn_socket s = 12345;
        EXPECT_FALSE(zyn::sockets::connect_first(list(c.ports), s));
        EXPECT_EQ(s, ZYN_INVALID_SOCKET);
        EXPECT_EQ(zyn_socket_geterror(), c.error);
    }

    zyn_socket s = 12345;
    EXPECT_FALSE(zyn::sockets::connect_first(nullptr, s));
    EXPECT_EQ(s, ZYN_INVALID_SOCKET);
}

} // namespace

// The connect loop over crafted address lists, natively and under Wine; on POSIX, the table to Winsock numbers.
#include "sockets/socket_connect.h"
#include "support/library.h"
#include "support/sockets_peer.h"

#include <cstdlib>
#include <utility>
#include <vector>

#ifndef _WIN32
#  include "sockets/linux/socket_error_map.h"
#  include <cerrno>
#  include <netdb.h>
#endif

namespace {

// Connects through a list in order: a loopback address per port, one of a
// family no system makes sockets for where the port is "unusable".
bool connect(const std::vector<std::string>& ports, zyn_socket& s)
{
    std::vector<sockaddr_in> where(ports.size());
    std::vector<addrinfo> info(ports.size());
    for (size_t n = 0; n < ports.size(); ++n) {
        where[n].sin_family = AF_INET;
        where[n].sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        where[n].sin_port = htons(static_cast<unsigned short>(std::atoi(ports[n].c_str())));
        info[n].ai_family = ports[n] == "unusable" ? 12345 : AF_INET;
        info[n].ai_socktype = SOCK_STREAM;
        info[n].ai_addr = reinterpret_cast<sockaddr*>(&where[n]);
        info[n].ai_addrlen = sizeof where[n];
        info[n].ai_next = n + 1 < ports.size() ? &info[n + 1] : nullptr;
    }
    s = 12345;
    return zyn::sockets::connect_first(info.empty() ? nullptr : &info[0], s);
}

class SocketConnectLoop : public test::LoadedLibrary {};

// An address with no socket for its family (as IPv6 may be) is passed over; when all fail, the last error counts.
TEST_F(SocketConnectLoop, PassesOverAddressesWithoutASocketAndReportsTheLastError)
{
    ASSERT_EQ(zyn_socket_load(), 1); // Winsock's start on Windows
    std::string open;
    const test::Native listener = test::listen_on_loopback(open);
    const std::string shut = test::closed_loopback_port(), none = "unusable";
    const std::pair<std::vector<std::string>, int> cases[] = { // 0: connected; -1: no address at all
        {{none, open}, 0}, {{none, none, shut, open}, 0}, {{none}, ZYN_WSAEAFNOSUPPORT},
        {{none, none}, ZYN_WSAEAFNOSUPPORT}, {{none, shut}, ZYN_WSAECONNREFUSED},
        {{shut, none}, ZYN_WSAEAFNOSUPPORT}, {{shut, shut}, ZYN_WSAECONNREFUSED}, {{}, -1}};
    for (const auto& [ports, error] : cases) {
        zyn_socket s;
        ASSERT_EQ(connect(ports, s), error == 0) << ports.size();
        const test::Native peer = error ? test::kNoSocket : test::accept_peer(listener);
        const bool sent = !error && zyn_socket_send(&s, "x", 1) == 1 && test::receive(peer, 1) == "x";
        EXPECT_TRUE(error ? s == ZYN_INVALID_SOCKET && (error == -1 || zyn_socket_geterror() == error)
                          : sent && zyn_socket_close(&s) == 1) << ports.size();
    }
}

#ifndef _WIN32
TEST(SocketErrorMap, EveryErrnoAndResolverResultHasItsWinsockNumber)
{
    const int errnos[][2] = {
        {EINTR, 10004}, {EBADF, 10038}, {EACCES, 10013}, {EPERM, 10013}, {EFAULT, 10014}, {EINVAL, 10022},
        {EMFILE, 10024}, {ENFILE, 10024}, {EAGAIN, 10035}, {EWOULDBLOCK, 10035}, {EINPROGRESS, 10036},
        {EALREADY, 10037}, {ENOTSOCK, 10038}, {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040}, {EPROTOTYPE, 10041},
        {ENOPROTOOPT, 10042}, {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},
        {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048}, {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050}, {ENETUNREACH, 10051}, {ENETRESET, 10052}, {ECONNABORTED, 10053}, {ECONNRESET, 10054},
        {EPIPE, 10054}, {ENOBUFS, 10055}, {EISCONN, 10056}, {ENOTCONN, 10057}, {ESHUTDOWN, 10058},
        {ETOOMANYREFS, 10059}, {ETIMEDOUT, 10060}, {ECONNREFUSED, 10061}, {ELOOP, 10062}, {ENAMETOOLONG, 10063},
        {EHOSTDOWN, 10064}, {EHOSTUNREACH, 10065}, {ENOMEM, 8}, {0, 0}, {ENOENT, ENOENT}}; // the last two: as they are
    for (const auto& e : errnos)
        EXPECT_EQ(zyn::sockets::sys::wsa_from_errno(e[0]), e[1]) << "errno " << e[0];
    const int results[][3] = {{0, 0, 0}, {EAI_NONAME, 0, 11001}, {EAI_AGAIN, 0, 11002}, {EAI_FAIL, 0, 11003},
#ifdef EAI_NODATA
        {EAI_NODATA, 0, 11004},
#endif
#ifdef EAI_ADDRFAMILY
        {EAI_ADDRFAMILY, 0, 11004},
#endif
        {EAI_FAMILY, 0, 10047}, {EAI_SOCKTYPE, 0, 10044}, {EAI_SERVICE, 0, 10109}, {EAI_BADFLAGS, 0, 10022},
        {EAI_OVERFLOW, 0, 10022}, {EAI_MEMORY, 0, 8}, {EAI_SYSTEM, EMFILE, 10024}, {EAI_SYSTEM, 0, 11003},
        {-9999, 0, 11003}};
    for (const auto& r : results)
        EXPECT_EQ(zyn::sockets::sys::wsa_from_resolver(r[0], r[1]), r[2]) << "result " << r[0] << ", errno " << r[1];
}
#endif

} // namespace

// The POSIX-to-Winsock error table: the numbers a game compares against.
#ifndef _WIN32
#include "sockets/linux/socket_error_map.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <netdb.h>

namespace {

using zyn::sockets::sys::wsa_from_errno;
using zyn::sockets::sys::wsa_from_resolver;

TEST(SocketErrorMap, ErrorsAClientMeets)
{
    EXPECT_EQ(wsa_from_errno(EAGAIN), 10035);
    EXPECT_EQ(wsa_from_errno(EWOULDBLOCK), 10035);
    EXPECT_EQ(wsa_from_errno(ECONNRESET), 10054);
    EXPECT_EQ(wsa_from_errno(EPIPE), 10054);
    EXPECT_EQ(wsa_from_errno(ECONNREFUSED), 10061);
    EXPECT_EQ(wsa_from_errno(ECONNABORTED), 10053);
    EXPECT_EQ(wsa_from_errno(ETIMEDOUT), 10060);
    EXPECT_EQ(wsa_from_errno(ENOTCONN), 10057);
    EXPECT_EQ(wsa_from_errno(EISCONN), 10056);
    EXPECT_EQ(wsa_from_errno(ENETUNREACH), 10051);
    EXPECT_EQ(wsa_from_errno(EHOSTUNREACH), 10065);
    EXPECT_EQ(wsa_from_errno(EADDRINUSE), 10048);
    EXPECT_EQ(wsa_from_errno(EADDRNOTAVAIL), 10049);
    EXPECT_EQ(wsa_from_errno(EAFNOSUPPORT), 10047);
    EXPECT_EQ(wsa_from_errno(EBADF), 10038);
    EXPECT_EQ(wsa_from_errno(ENOTSOCK), 10038);
    EXPECT_EQ(wsa_from_errno(EINVAL), 10022);
    EXPECT_EQ(wsa_from_errno(EFAULT), 10014);
    EXPECT_EQ(wsa_from_errno(EINTR), 10004);
    EXPECT_EQ(wsa_from_errno(EACCES), 10013);
    EXPECT_EQ(wsa_from_errno(EPERM), 10013); // a connect a firewall rule refused
    EXPECT_EQ(wsa_from_errno(EMFILE), 10024);
    EXPECT_EQ(wsa_from_errno(ENOBUFS), 10055);
    EXPECT_EQ(wsa_from_errno(EMSGSIZE), 10040);
    EXPECT_EQ(wsa_from_errno(ENOMEM), 8);
    // Nothing a socket call sets: handed back as it is, below the Winsock range.
    EXPECT_EQ(wsa_from_errno(0), 0);
    EXPECT_EQ(wsa_from_errno(ENOENT), ENOENT);
}

TEST(SocketErrorMap, ResolverResults)
{
    EXPECT_EQ(wsa_from_resolver(0, 0), 0);
    EXPECT_EQ(wsa_from_resolver(EAI_NONAME, 0), 11001);
    EXPECT_EQ(wsa_from_resolver(EAI_AGAIN, 0), 11002);
    EXPECT_EQ(wsa_from_resolver(EAI_FAIL, 0), 11003);
#ifdef EAI_NODATA
    EXPECT_EQ(wsa_from_resolver(EAI_NODATA, 0), 11004);
#endif
    EXPECT_EQ(wsa_from_resolver(EAI_SERVICE, 0), 10109);
    EXPECT_EQ(wsa_from_resolver(EAI_FAMILY, 0), 10047);
    EXPECT_EQ(wsa_from_resolver(EAI_SOCKTYPE, 0), 10044);
    EXPECT_EQ(wsa_from_resolver(EAI_BADFLAGS, 0), 10022);
    EXPECT_EQ(wsa_from_resolver(EAI_MEMORY, 0), 8);
    // A system error behind the resolver is told by its errno.
    EXPECT_EQ(wsa_from_resolver(EAI_SYSTEM, EMFILE), 10024);
    EXPECT_EQ(wsa_from_resolver(EAI_SYSTEM, 0), 11003);
    EXPECT_EQ(wsa_from_resolver(-9999, 0), 11003);
}

} // namespace
#endif

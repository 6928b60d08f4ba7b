// The one table from POSIX errors to Winsock numbers.
#include "sockets/linux/socket_error_map.h"

#include <cerrno>
#include <netdb.h>

namespace zyn::sockets::sys {
namespace {

struct Pair {
    int from;
    int32_t to;
};

// errno -> Winsock. Where POSIX has two names for one condition (EAGAIN and
// EWOULDBLOCK, EOPNOTSUPP and ENOTSUP) they share a number on Linux; a
// broken pipe is what a send meets after the peer reset the connection; a
// connect refused by a local firewall rule fails with EPERM, Winsock's
// access denied.
constexpr Pair kErrnoTable[] = {
    {EINTR, 10004},           {EBADF, 10038},        {EACCES, 10013},
    {EPERM, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},       {EMFILE, 10024},
    {ENFILE, 10024},          {EAGAIN, 10035},       {EINPROGRESS, 10036},
    {EALREADY, 10037},        {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},   {ENOPROTOOPT, 10042},
    {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},
    {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},     {ENETUNREACH, 10051},
    {ENETRESET, 10052},       {ECONNABORTED, 10053}, {ECONNRESET, 10054},
    {EPIPE, 10054},           {ENOBUFS, 10055},      {EISCONN, 10056},
    {ENOTCONN, 10057},        {ESHUTDOWN, 10058},    {ETOOMANYREFS, 10059},
    {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061}, {ELOOP, 10062},
    {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},
    {ENOMEM, 8}, // WSA_NOT_ENOUGH_MEMORY
};

// getaddrinfo result -> Winsock, as Windows' own resolver reports them.
constexpr Pair kResolverTable[] = {
    {EAI_NONAME, 11001},     // WSAHOST_NOT_FOUND
    {EAI_AGAIN, 11002},      // WSATRY_AGAIN
    {EAI_FAIL, 11003},       // WSANO_RECOVERY
#ifdef EAI_NODATA
    {EAI_NODATA, 11004},     // WSANO_DATA: the name exists without an address
#endif
#ifdef EAI_ADDRFAMILY
    {EAI_ADDRFAMILY, 11004}, // WSANO_DATA: no address of the family asked for
#endif
    {EAI_FAMILY, 10047},     // WSAEAFNOSUPPORT
    {EAI_SOCKTYPE, 10044},   // WSAESOCKTNOSUPPORT
    {EAI_SERVICE, 10109},    // WSATYPE_NOT_FOUND
    {EAI_BADFLAGS, 10022},   // WSAEINVAL
    {EAI_OVERFLOW, 10022},   // WSAEINVAL
    {EAI_MEMORY, 8},         // WSA_NOT_ENOUGH_MEMORY
};

template <std::size_t N>
bool lookup(const Pair (&table)[N], int from, int32_t& to) noexcept
{
    for (const Pair& p : table)
        if (p.from == from) {
            to = p.to;
            return true;
        }
    return false;
}

} // namespace

int32_t wsa_from_errno(int error) noexcept
{
    int32_t code = 0;
    return lookup(kErrnoTable, error, code) ? code : int32_t(error);
}

int32_t wsa_from_resolver(int result, int system_error) noexcept
{
    if (result == 0)
        return 0;
    if (result == EAI_SYSTEM)
        return system_error != 0 ? wsa_from_errno(system_error) : 11003;
    int32_t code = 0;
    return lookup(kResolverTable, result, code) ? code : 11003; // any other: no recovery
}

} // namespace zyn::sockets::sys

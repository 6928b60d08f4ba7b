// The connect loop of zyn_socket_connect, apart from the resolver, so that it
// runs the same on any list of addresses.
#pragma once

#include <zyn/zyn.h>

struct addrinfo;

namespace zyn::sockets {

// Tries each address of the list in turn, as a connect loop must: a socket
// for the address's family, then a blocking connect. An address for which no
// socket can be made (its family unavailable, IPv6 for example) is passed
// over like one that refuses the connection. The first connected socket goes
// to `out`: true. When none connects: false, `out` holds ZYN_INVALID_SOCKET
// and the thread's socket error is the one the last address met.
bool connect_first(const addrinfo* first, zyn_socket& out) noexcept;

} // namespace zyn::sockets

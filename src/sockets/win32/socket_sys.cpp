// TCP sockets on Winsock 2. Its error numbers are the ones every platform
// reports, so this backend hands them on as they come.
#include "sockets/socket_sys.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace zyn::sockets::sys {

// A socket travels as zyn_socket, which is as wide as SOCKET on both Windows targets.
static_assert(sizeof(SOCKET) == sizeof(zyn_socket) && zyn_socket(INVALID_SOCKET) == ZYN_INVALID_SOCKET,
              "zyn_socket carries a SOCKET unchanged");

int32_t startup() noexcept
{
    WSADATA data; // the description of the layer is not examined
    return WSAStartup(MAKEWORD(2, 2), &data);
}

void cleanup() noexcept { WSACleanup(); }

int32_t resolve(const char* host, const char* port, addrinfo** first) noexcept
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    return getaddrinfo(host, port, &hints, first);
}

addrinfo* next_address(const addrinfo* address) noexcept { return address->ai_next; }

void release_addresses(addrinfo* first) noexcept
{
    if (first != nullptr)
        freeaddrinfo(first);
}

zyn_socket open_for(const addrinfo* address) noexcept
{
    const SOCKET s = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    return s == INVALID_SOCKET ? ZYN_INVALID_SOCKET : zyn_socket(s);
}

bool connect_to(zyn_socket socket, const addrinfo* address) noexcept
{
    return ::connect(SOCKET(socket), address->ai_addr, int(address->ai_addrlen)) == 0;
}

int close(zyn_socket socket) noexcept { return closesocket(SOCKET(socket)); }

int control(zyn_socket socket, int32_t command, uint32_t* argument) noexcept
{
    // u_long is 32 bits wide on Windows, so the caller's variable is the argument itself.
    static_assert(sizeof(u_long) == sizeof(uint32_t), "ioctlsocket takes a 32-bit argument");
    return ioctlsocket(SOCKET(socket), long(command), reinterpret_cast<u_long*>(argument));
}

int receive(zyn_socket socket, void* buffer, int32_t length) noexcept
{
    return recv(SOCKET(socket), static_cast<char*>(buffer), length, 0);
}

int transmit(zyn_socket socket, const void* buffer, int32_t length) noexcept
{
    return send(SOCKET(socket), static_cast<const char*>(buffer), length, 0);
}

int32_t last_error() noexcept { return WSAGetLastError(); }
void set_last_error(int32_t code) noexcept { WSASetLastError(code); }

} // namespace zyn::sockets::sys

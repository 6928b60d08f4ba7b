// The platform's TCP services behind the socket exports: Winsock on Windows,
// POSIX sockets elsewhere. Every failure is reported with the Winsock number
// (WSAEWOULDBLOCK, WSAHOST_NOT_FOUND, ...) so callers see the same codes on
// every platform; last_error() is the calling thread's last such code.
#pragma once

#include <zyn/zyn.h>

#include <cstdint>

struct addrinfo;

namespace zyn::sockets::sys {

// Brings the platform's socket services up: 0, or the code that refused.
int32_t startup() noexcept;
// Releases what startup() brought up.
void cleanup() noexcept;

// Resolves a host and a port (or service) to TCP stream addresses, in the
// order to try them: 0 with the list in *first, or the resolver's code.
int32_t resolve(const char* host, const char* port, addrinfo** first) noexcept;
addrinfo* next_address(const addrinfo* address) noexcept;
void release_addresses(addrinfo* first) noexcept;

// A blocking stream socket for the address's family, or ZYN_INVALID_SOCKET.
zyn_socket open_for(const addrinfo* address) noexcept;
// Connects the socket to the address, waiting as long as the platform allows.
bool connect_to(zyn_socket socket, const addrinfo* address) noexcept;
// 0, or -1 when the value is not an open socket.
int close(zyn_socket socket) noexcept;
// A control command with its 32-bit argument: 0, or -1.
int control(zyn_socket socket, int32_t command, uint32_t* argument) noexcept;
// recv and send with no flags: the byte count, 0 from receive at an orderly
// close, or -1. Sending never raises a signal in the process.
int receive(zyn_socket socket, void* buffer, int32_t length) noexcept;
int transmit(zyn_socket socket, const void* buffer, int32_t length) noexcept;

// The calling thread's last socket error, and a way to set it.
int32_t last_error() noexcept;
void set_last_error(int32_t code) noexcept;

} // namespace zyn::sockets::sys

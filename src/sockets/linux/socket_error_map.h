// POSIX socket and resolver errors translated to the Winsock numbers, so a
// game sees the same codes whichever platform it runs on.
#pragma once

#include <cstdint>

namespace zyn::sockets::sys {

// The Winsock number for an errno value. Values a client never meets from a
// socket call are handed back unchanged (they stay below 10000).
int32_t wsa_from_errno(int error) noexcept;

// The Winsock number for a getaddrinfo result; system_error is errno as it
// stood after the call, used when the result is EAI_SYSTEM.
int32_t wsa_from_resolver(int result, int system_error) noexcept;

} // namespace zyn::sockets::sys

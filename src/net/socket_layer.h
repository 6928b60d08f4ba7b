// The socket layer's one piece of state: whether the platform's socket
// services are up. Sockets themselves are the caller's; nothing follows them.
#pragma once

namespace zyn::net::socket_layer {

bool loaded() noexcept;
// Brings the services up; 0, or the code that refused (the layer stays down).
int start() noexcept;
// Takes the services down when they are up; sockets the caller holds stay open.
void stop() noexcept;

} // namespace zyn::net::socket_layer

// Start and stop of the socket layer, shared by its exports and zyn_unload.
#include "net/socket_layer.h"
#include "net/socket_platform.h"

namespace zyn::net::socket_layer {
namespace {
// Stands for one successful startup not yet matched by a cleanup.
bool g_sockets_loaded = false;
} // namespace

bool loaded() noexcept { return g_sockets_loaded; }

int start() noexcept
{
    const int32_t refused = os::startup();
    if (refused == 0)
        g_sockets_loaded = true;
    return refused;
}

void stop() noexcept
{
    if (!g_sockets_loaded)
        return;
    os::cleanup();
    g_sockets_loaded = false;
}

} // namespace zyn::net::socket_layer

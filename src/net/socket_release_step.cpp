// zyn_unload's socket step: stop the socket layer as zyn_socket_unload does.
#include "core/release.h"
#include "net/socket_layer.h"

void zyn::release::socket_layer() { zyn::net::socket_layer::stop(); }

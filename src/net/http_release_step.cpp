// zyn_unload's HTTP step: unload the layer, with every request left in it,
// exactly as zyn_http_unload does.
#include "core/release.h"
#include "net/http_layer.h"

void zyn::release::http_layer() { zyn::net::unload_layer(); }

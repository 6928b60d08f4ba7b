// zyn_unload's socket step. No socket layer yet: nothing to unload.
#include "core/release.h"

void zyn::release::socket_layer() {}

// zyn_unload's HTTP step. No HTTP layer yet: nothing to unload.
#include "core/release.h"

void zyn::release::http_layer() {}

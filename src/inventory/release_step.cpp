// zyn_unload's inventory step. No inventory store yet: nothing to destroy.
#include "core/release.h"

void zyn::release::inventories() {}

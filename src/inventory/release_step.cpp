// zyn_unload's inventory step: every inventory goes, none is saved.
#include "core/release.h"
#include "inventory/registry.h"

void zyn::release::inventories() { inventory::registry().destroy_all(); }

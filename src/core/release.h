// What zyn_unload releases, in this order. Each family defines its own step;
// a step finds nothing to do when its layer was never brought up.
#pragma once

namespace zyn::release {

void inventories();  // destroy every inventory, unsaved
void http_layer();   // unload HTTP when it is loaded
void socket_layer(); // unload sockets when they are loaded

} // namespace zyn::release

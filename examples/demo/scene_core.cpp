// Scene: how a game reads the library's error reporting.
#include "scene.h"

#include <zyn/zyn.h>

#include <cstdio>

namespace {

void run(const demo::Options&)
{
    std::printf("  loaded: %d\n", zyn_isloaded());
    zyn_init("twice");
    demo::report_error("zyn_init while loaded");
    zyn_seterror(ZYN_ERR_NOT_FOUND, 42);
    std::printf("  after zyn_seterror(6, 42): error %d, extended %d\n", zyn_geterror(), zyn_get_extendederror());
    std::printf("  debugger attached: %s\n", zyn_DebuggerIsPresent() ? "yes" : "no");
}

demo::Register scene(10, "library state and errors", run);

} // namespace

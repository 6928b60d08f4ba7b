// Library state exports: load, unload, version and the last error.
#include "core/frame.h"
#include "core/release.h"

namespace zyn::core {
std::atomic<bool> g_loaded{false};
thread_local LastError g_last_error;
} // namespace zyn::core

using namespace zyn;

ZYN_EXPORT int ZYN_CALL zyn_init(const char* /*arg*/)
{
    core::clear_error();
    if (core::g_loaded)
        return frame::fail(ZYN_ERR_ALREADY_LOADED, 0);
    core::g_loaded = true;
    return 1;
}

ZYN_EXPORT int ZYN_CALL zyn_isloaded(void) { return core::g_loaded ? 1 : 0; }

ZYN_EXPORT int ZYN_CALL zyn_unload(void)
{
    core::clear_error();
    if (!core::g_loaded)
        return 0; // unloading what is not loaded is not an error
    release::inventories();
    release::http_layer();
    release::socket_layer();
    core::g_loaded = false;
    return 1;
}

ZYN_EXPORT const char* ZYN_CALL zyn_getinfo(void)
{
    return "zyn 1.0.7: text, files, inventories, HTTP, sockets, timers and system services for games";
}

ZYN_EXPORT int ZYN_CALL zyn_getversion(void) { return 1007; }

ZYN_EXPORT int ZYN_CALL zyn_geterror(void) { return core::g_last_error.code; }

ZYN_EXPORT int ZYN_CALL zyn_get_extendederror(void) { return core::g_last_error.extended; }

ZYN_EXPORT void ZYN_CALL zyn_seterror(int code, int extended) { core::set_error(code, extended); }

ZYN_EXPORT void ZYN_CALL zyn_set_extendederror(int extended) { core::g_last_error.extended = extended; }

// Opening libxcb at run time and taking the functions the capture calls.
#include "events/linux/xcb_library.h"

#include <dlfcn.h>

namespace zyn::events {

XcbLibrary::XcbLibrary() noexcept
{
    handle_ = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        return;
    bool complete = true;
#define ZYN_XCB_RESOLVE(name)                                                                                      \
    name = reinterpret_cast<decltype(name)>(dlsym(handle_, #name));                                               \
    complete = complete && name != nullptr;
    ZYN_XCB_FUNCTIONS(ZYN_XCB_RESOLVE)
#undef ZYN_XCB_RESOLVE
    if (!complete) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

XcbLibrary::~XcbLibrary()
{
    if (handle_)
        dlclose(handle_);
}

} // namespace zyn::events

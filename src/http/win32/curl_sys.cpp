// Windows: libcurl is not part of the system, and games ship it beside their
// executable or beside zyn.dll. It is looked for when the HTTP layer
// initialises, so zyn.dll loads and every other family works without it.
// Each name is tried first in the folder of zyn.dll, then on the normal DLL
// search path. Once a complete libcurl is found it stays loaded.
#include "http/curl_sys.h"

#include <windows.h>

#include <string>

namespace zyn::http {
namespace {

#if defined(_WIN64)
const wchar_t* const kNames[] = {L"libcurl-x64.dll", L"libcurl.dll"};
#else
const wchar_t* const kNames[] = {L"libcurl.dll"};
#endif

template <class Fn>
bool take(HMODULE module, const char* name, Fn& slot)
{
    FARPROC proc = GetProcAddress(module, name);
    if (!proc)
        return false;
    slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
    return true;
}

bool fill(HMODULE m, CurlApi& api)
{
    return take(m, "curl_global_init", api.global_init) && take(m, "curl_global_cleanup", api.global_cleanup)
        && take(m, "curl_easy_init", api.easy_init) && take(m, "curl_easy_setopt", api.easy_setopt)
        && take(m, "curl_easy_perform", api.easy_perform) && take(m, "curl_easy_getinfo", api.easy_getinfo)
        && take(m, "curl_easy_cleanup", api.easy_cleanup) && take(m, "curl_easy_escape", api.easy_escape)
        && take(m, "curl_easy_unescape", api.easy_unescape) && take(m, "curl_free", api.free)
        && take(m, "curl_slist_append", api.slist_append) && take(m, "curl_slist_free_all", api.slist_free_all)
        && take(m, "curl_multi_init", api.multi_init) && take(m, "curl_multi_add_handle", api.multi_add_handle)
        && take(m, "curl_multi_perform", api.multi_perform)
        && take(m, "curl_multi_remove_handle", api.multi_remove_handle)
        && take(m, "curl_multi_cleanup", api.multi_cleanup)
        && (take(m, "curl_multi_poll", api.multi_poll), true)                 // optional
        && (take(m, "curl_easy_option_by_id", api.easy_option_by_id), true); // optional
}

// The folder of zyn.dll itself, with a trailing backslash; empty when unknown.
std::wstring own_folder()
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&own_folder), &self))
        return {};
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(self, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Loads one candidate and takes every function from it; a candidate that
// lacks one is released again.
bool try_module(HMODULE module, CurlApi& api)
{
    if (!module)
        return false;
    if (fill(module, api))
        return true;
    FreeLibrary(module);
    return false;
}

} // namespace

const CurlApi* bind_curl()
{
    static CurlApi api{};
    static bool bound = false;
    if (bound)
        return &api;

    const std::wstring folder = own_folder();
    for (const bool beside_us : {true, false}) {
        if (beside_us && folder.empty())
            continue;
        for (const wchar_t* name : kNames) {
            // Beside zyn.dll, the altered search path lets libcurl find its
            // own DLLs beside it too.
            HMODULE module = beside_us
                ? LoadLibraryExW((folder + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                : LoadLibraryW(name);
            CurlApi found{};
            if (try_module(module, found)) {
                api = found;
                bound = true;
                return &api;
            }
        }
    }
    return nullptr;
}

} // namespace zyn::http

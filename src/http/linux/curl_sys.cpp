// Linux: libcurl is linked with the library, so the table points straight at it.
#include "http/curl_sys.h"

namespace zyn::http {

const CurlApi* bind_curl()
{
    static const CurlApi api{
        curl_global_init,
        curl_global_cleanup,
        curl_easy_init,
        curl_easy_setopt,
        curl_easy_perform,
        curl_easy_getinfo,
        curl_easy_cleanup,
        curl_easy_escape,
        curl_easy_unescape,
        curl_free,
        curl_slist_append,
        curl_slist_free_all,
        curl_multi_init,
        curl_multi_add_handle,
        curl_multi_perform,
        curl_multi_remove_handle,
        curl_multi_cleanup,
        curl_multi_poll,
        curl_easy_option_by_id,
    };
    return &api;
}

} // namespace zyn::http

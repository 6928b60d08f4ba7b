// The libcurl functions the HTTP layer calls, as one table of function
// pointers. The portable code calls libcurl only through this table, so the
// library itself never needs libcurl to load: the Linux backend fills the
// table from the linked libcurl, the Windows backend from a libcurl DLL found
// when the HTTP layer initialises.
#pragma once

#define CURL_NO_OLDIES
#include <curl/curl.h>

namespace zyn::http {

struct CurlApi {
    CURLcode (*global_init)(long flags);
    void (*global_cleanup)(void);

    CURL* (*easy_init)(void);
    CURLcode (*easy_setopt)(CURL* easy, CURLoption option, ...);
    CURLcode (*easy_perform)(CURL* easy);
    CURLcode (*easy_getinfo)(CURL* easy, CURLINFO info, ...);
    void (*easy_cleanup)(CURL* easy);
    char* (*easy_escape)(CURL* easy, const char* text, int length);
    char* (*easy_unescape)(CURL* easy, const char* text, int length, int* out_length);
    void (*free)(void* text);

    curl_slist* (*slist_append)(curl_slist* list, const char* line);
    void (*slist_free_all)(curl_slist* list);

    CURLM* (*multi_init)(void);
    CURLMcode (*multi_add_handle)(CURLM* multi, CURL* easy);
    CURLMcode (*multi_perform)(CURLM* multi, int* running);
    CURLMcode (*multi_remove_handle)(CURLM* multi, CURL* easy);
    CURLMcode (*multi_cleanup)(CURLM* multi);
    // Waits up to timeout_ms for any transfer to have something to do (7.66
    // and later); null where libcurl lacks it.
    CURLMcode (*multi_poll)(CURLM* multi, curl_waitfd* extra, unsigned extra_count, int timeout_ms, int* ready);

    // libcurl's table of options (7.73 and later); null where libcurl lacks it.
    const curl_easyoption* (*easy_option_by_id)(CURLoption id);
};

// The filled table, or null when libcurl cannot be found. Once found, libcurl
// stays loaded for the rest of the process, so the table never goes stale.
// Implemented by the platform backend.
const CurlApi* bind_curl();

} // namespace zyn::http

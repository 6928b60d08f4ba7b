// The HTTP layer's state, its write callback, and initialise and unload.
#include "http/http_layer.h"

#include "core/frame.h"
#include "core/release.h"

namespace zyn::http {

HttpLayer& http_layer()
{
    static HttpLayer layer;
    return layer;
}

size_t BodyWriter(char* data, size_t size, size_t count, void* body)
{
    // libcurl always passes a size of 1. An exception must not unwind through
    // libcurl's C frames: when the string cannot grow, returning less than
    // was given makes libcurl end the transfer with CURLE_WRITE_ERROR.
    try {
        const size_t bytes = size * count;
        static_cast<std::string*>(body)->append(data, bytes);
        return bytes;
    } catch (...) {
        return 0;
    }
}

bool is_single_header_line(std::string_view line) noexcept
{
    static constexpr char kLineEnds[] = {'\r', '\n', '\0'};
    return line.find_first_of(kLineEnds, 0, sizeof kLineEnds) == std::string_view::npos;
}

void prepare_transfer(CURL* easy, const char* url, std::string* body, const char* user_agent)
{
    // Results are not checked: a bad option shows up as the transfer's outcome.
    const CurlApi& curl = *http_layer().curl;
    curl.easy_setopt(easy, CURLOPT_URL, url);
    curl.easy_setopt(easy, CURLOPT_WRITEFUNCTION, &BodyWriter);
    curl.easy_setopt(easy, CURLOPT_WRITEDATA, static_cast<void*>(body));
    if (user_agent)
        curl.easy_setopt(easy, CURLOPT_USERAGENT, user_agent);
}

void release_transfer(HttpRequest& request)
{
    const CurlApi& curl = *http_layer().curl;
    if (request.multi) {
        curl.multi_remove_handle(request.multi, request.easy);
        curl.multi_cleanup(request.multi);
        request.multi = nullptr;
    }
    if (request.easy) {
        curl.easy_cleanup(request.easy);
        request.easy = nullptr;
    }
    for (curl_slist** list : {&request.headers, &request.late_headers}) {
        if (*list) {
            curl.slist_free_all(*list);
            *list = nullptr;
        }
    }
}

void unload_layer()
{
    HttpLayer& layer = http_layer();
    if (!layer.loaded)
        return;
    for (auto& entry : layer.requests)
        release_transfer(entry.second);
    layer.requests.clear();
    layer.last_id = 0;
    layer.curl->global_cleanup();
    layer.loaded = false;
}

int init_layer()
{
    HttpLayer& layer = http_layer();
    if (layer.loaded)
        return frame::fail(ZYN_ERR_ALREADY_LOADED, 0);
    // Where libcurl cannot be found, initialising fails as libcurl's own
    // initialisation would, and nothing changes.
    const CurlApi* curl = bind_curl();
    if (!curl)
        return frame::fail(ZYN_ERR_CALL_FAILED, 0, CURLE_FAILED_INIT);
    const CURLcode rc = curl->global_init(CURL_GLOBAL_ALL);
    if (rc != CURLE_OK)
        return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
    layer.curl = curl;
    layer.requests.clear();
    layer.last_id = 0;
    layer.loaded = true;
    return 1;
}

} // namespace zyn::http

using namespace zyn;

ZYN_EXPORT int ZYN_CALL zyn_http_isloaded(void)
{
    return http::http_layer().loaded ? 1 : 0;
}

ZYN_EXPORT int ZYN_CALL zyn_http_init(void) { return frame::full(0, http::init_layer); }

ZYN_EXPORT int ZYN_CALL zyn_http_unload(void)
{
    frame::clear();
    if (!core::g_loaded)
        return frame::fail(ZYN_ERR_NOT_LOADED, 0);
    http::unload_layer();
    return 1;
}

// zyn_unload's HTTP step: unload the layer, with every request left in it,
// exactly as zyn_http_unload does.
void zyn::release::http_layer() { zyn::http::unload_layer(); }

// The blocking transfers: GET, POST with header lines, and a batch of GETs.
#include "http/http_layer.h"

#include "core/frame.h"
#include "time/wait.h"

namespace zyn::http {
namespace {

// GET and POST load the layer on demand; a failure leaves the loading's error.
bool ensure_loaded() { return http_layer().loaded || init_layer() == 1; }

} // namespace
} // namespace zyn::http

using namespace zyn;

ZYN_EXPORT int ZYN_CALL zyn_http_url_get(const std::string& url, std::string& body)
{
    return frame::full(0, [&] {
        if (!http::ensure_loaded())
            return 0;
        const http::CurlApi& curl = *http::http_layer().curl;
        CURL* easy = curl.easy_init();
        if (!easy)
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
        // The body is appended to what the caller's string already holds.
        http::prepare_transfer(easy, url.c_str(), &body, http::kOneShotUserAgent);
        const CURLcode rc = curl.easy_perform(easy);
        curl.easy_cleanup(easy);
        if (rc != CURLE_OK)
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_http_url_post(const std::string& url, const std::string& data,
                                          std::vector<std::string> headers, std::string& body)
{
    return frame::full(0, [&] {
        // A header line that holds a line end would go out as several lines:
        // such a POST is refused before anything is loaded, sent or emptied.
        for (const std::string& line : headers) {
            if (!http::is_single_header_line(line))
                return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        }
        if (!http::ensure_loaded())
            return 0;
        // The body is emptied before the transfer: a string that the caller
        // also passes as the URL or the data is sent from a copy.
        std::string url_copy;
        std::string data_copy;
        const std::string& target = &url == &body ? (url_copy = url) : url;
        const std::string& fields = &data == &body ? (data_copy = data) : data;
        body.clear();
        const http::CurlApi& curl = *http::http_layer().curl;
        CURL* easy = curl.easy_init();
        if (!easy)
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
        http::prepare_transfer(easy, target.c_str(), &body, http::kOneShotUserAgent);
        // No length is given: libcurl sends the data up to its first zero byte.
        curl.easy_setopt(easy, CURLOPT_POSTFIELDS, fields.c_str());
        curl_slist* list = nullptr;
        for (const std::string& line : headers) {
            // A failed append returns null and leaves the list as it was.
            if (curl_slist* longer = curl.slist_append(list, line.c_str()))
                list = longer;
        }
        if (list)
            curl.easy_setopt(easy, CURLOPT_HTTPHEADER, list);
        const CURLcode rc = curl.easy_perform(easy);
        if (rc != CURLE_OK)
            body.clear();
        curl.slist_free_all(list);
        curl.easy_cleanup(easy);
        if (rc != CURLE_OK)
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_http_url_multiget(std::list<zyn_http_url_entry>& entries)
{
    return frame::full(0, [&] {
        const http::HttpLayer& layer = http::http_layer();
        if (!layer.loaded)
            return frame::fail(ZYN_ERR_HTTP_NOT_LOADED, 0);
        if (entries.empty())
            return frame::fail(ZYN_ERR_EMPTY_LIST, 0);
        const http::CurlApi& curl = *layer.curl;
        CURLM* multi = curl.multi_init();
        if (!multi)
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);

        for (zyn_http_url_entry& entry : entries) {
            CURL* easy = curl.easy_init();
            if (easy)
                http::prepare_transfer(easy, entry.url.c_str(), &entry.data, http::kOneShotUserAgent);
            entry.handle = easy;
            curl.multi_add_handle(multi, easy);
        }

        // Drive the transfers until nothing is left running or the multi
        // handle fails, waiting at most 50 ms between two steps: libcurl's own
        // wait ends as soon as a transfer has something to do. A libcurl
        // without it is stepped every 50 ms.
        constexpr int kMostBetweenSteps = 50;
        int running = -1;
        CURLMcode rc = curl.multi_perform(multi, &running);
        while (rc == CURLM_OK && running != 0) {
            if (!curl.multi_poll)
                time::wait_ms(kMostBetweenSteps);
            else if ((rc = curl.multi_poll(multi, nullptr, 0, kMostBetweenSteps, nullptr)) != CURLM_OK)
                break;
            rc = curl.multi_perform(multi, &running);
        }

        for (zyn_http_url_entry& entry : entries) {
            CURL* easy = static_cast<CURL*>(entry.handle);
            curl.multi_remove_handle(multi, easy);
            curl.easy_cleanup(easy);
            entry.handle = nullptr;
        }
        curl.multi_cleanup(multi);
        if (rc != CURLM_OK)
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
        return 1;
    });
}

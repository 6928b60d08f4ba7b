// Request handles: a transfer built option by option and stepped from the
// game loop, one curl_multi_perform per zyn_http_request.
#include "http/http_layer.h"

#include "base/saturate.h"
#include "core/frame.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <type_traits>

namespace zyn::http {
namespace {

// The frame of every export that takes an id: error 13 while the layer is not
// loaded, error 3 for an id not in the table, else the work on the record.
template <class Result, class Work>
Result with_request(uint32_t id, Result neutral, Work&& work)
{
    return frame::full(neutral, [&] {
        HttpLayer& layer = http_layer();
        if (!layer.loaded)
            return frame::fail(ZYN_ERR_HTTP_NOT_LOADED, neutral);
        const auto found = layer.requests.find(id);
        if (found == layer.requests.end())
            return frame::fail(ZYN_ERR_INVALID_HANDLE, neutral);
        return work(*layer.curl, found->second);
    });
}

// Whether a value of the setter's kind fits the option, by libcurl's own
// table of options. libcurl cannot tell a long or a text from the pointer,
// callback or 64-bit value an option really takes, and would crash on it
// later (a text given as CURLOPT_WRITEDATA, a number as CURLOPT_ERRORBUFFER).
// Option numbers libcurl does not know pass, so that libcurl reports them.
bool fits(const CurlApi& curl, int option, bool text)
{
    if (!curl.easy_option_by_id)
        return true;
    const curl_easyoption* known = curl.easy_option_by_id(static_cast<CURLoption>(option));
    if (!known)
        return true;
    if (text)
        return known->type == CURLOT_STRING || known->id == CURLOPT_POSTFIELDS || known->id == CURLOPT_COPYPOSTFIELDS;
    return known->type == CURLOT_LONG || known->type == CURLOT_VALUES;
}

// Passes one option number through to libcurl unchanged; libcurl decides,
// once the value's kind fits the option.
template <class Value>
int set_option(uint32_t id, int option, Value value)
{
    return with_request(id, 0, [&](const CurlApi& curl, HttpRequest& request) {
        // A finished request has given its handle back, and a value of the
        // wrong kind is refused: libcurl's answer to both is
        // CURLE_BAD_FUNCTION_ARGUMENT.
        if (!request.easy || !fits(curl, option, std::is_pointer_v<Value>))
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, CURLE_BAD_FUNCTION_ARGUMENT);
        // A text option (a user agent, a cookie, a referer) goes out in the
        // request's own lines: a line end in it would add lines of its own.
        // Only a body may hold line ends.
        if constexpr (std::is_pointer_v<Value>) {
            if (value && option != CURLOPT_POSTFIELDS && option != CURLOPT_COPYPOSTFIELDS &&
                !is_single_header_line(value))
                return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        }
        const CURLcode rc = curl.easy_setopt(request.easy, static_cast<CURLoption>(option), value);
        if (rc != CURLE_OK)
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
        return 1;
    });
}

// libcurl reports a 64-bit figure; -1 means unknown and reads as 0, anything
// else is given as its low 32 bits.
int32_t low_32_bits(curl_off_t value)
{
    if (value == -1)
        return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value) & 0xFFFFFFFFu));
}

// Once the first bytes of the body are in, the headers are too: a body with
// an announced length gets room for it in one allocation, so a body of
// ordinary size is not copied into a larger block each time it outgrows its
// string. Asked once per request; without an announced length the body grows
// as before.
void make_room(const CurlApi& curl, HttpRequest& request)
{
    if (request.sized || request.body.empty() || !request.easy)
        return;
    request.sized = true;
    curl_off_t announced = -1;
    if (curl.easy_getinfo(request.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) != CURLE_OK)
        return;
    const size_t room = room_ahead(announced, request.body.size());
    if (room <= request.body.size())
        return;
    try {
        request.body.reserve(room);
    } catch (const std::exception&) {
        // Only a head start: without it the body grows as the data comes.
    }
}

int start(const CurlApi& curl, HttpRequest& request)
{
    CURLM* multi = curl.multi_init();
    if (!multi)
        return frame::fail(ZYN_ERR_OPERATION_FAILED, 0); // still ready: may be stepped again
    if (request.headers)
        curl.easy_setopt(request.easy, CURLOPT_HTTPHEADER, request.headers);
    request.multi = multi;
    curl.multi_add_handle(multi, request.easy);
    request.state = RequestState::running;
    // A transfer that ends within this first step is seen by the next one.
    int running = -1;
    const CURLMcode rc = curl.multi_perform(multi, &running);
    make_room(curl, request);
    if (rc != CURLM_OK)
        return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
    return 1;
}

int step(const CurlApi& curl, HttpRequest& request)
{
    int running = -1;
    const CURLMcode rc = curl.multi_perform(request.multi, &running);
    if (running == 0) {
        // The transfer has ended: only the body is kept.
        release_transfer(request);
        request.state = RequestState::finished;
    } else {
        make_room(curl, request);
    }
    if (rc != CURLM_OK)
        return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
    return 1;
}

} // namespace
} // namespace zyn::http

using namespace zyn;
using http::CurlApi;
using http::HttpRequest;

ZYN_EXPORT uint32_t ZYN_CALL zyn_http_create(const char* url)
{
    return frame::full<uint32_t>(0, [&]() -> uint32_t {
        http::HttpLayer& layer = http::http_layer();
        if (!layer.loaded)
            return frame::fail(ZYN_ERR_HTTP_NOT_LOADED, 0u);
        // Every id is given out once per initialisation: after the last one
        // the counter stays put and create keeps failing until the layer is
        // initialised again, so no live request can be named twice.
        if (layer.last_id == std::numeric_limits<uint32_t>::max())
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0u);
        const uint32_t id = ++layer.last_id;
        CURL* easy = layer.curl->easy_init();
        if (!easy)
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0u);
        HttpRequest& request = layer.requests[id];
        request.easy = easy;
        // No user agent here: a caller that wants one sets CURLOPT_USERAGENT.
        http::prepare_transfer(easy, url, &request.body, nullptr);
        return id;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_http_destroy(uint32_t id)
{
    return http::with_request(id, 0, [&](const CurlApi&, HttpRequest& request) {
        // Also while running: the transfer is abandoned.
        http::release_transfer(request);
        http::http_layer().requests.erase(id);
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_http_setopt_long(uint32_t id, int option, int32_t value)
{
    return http::set_option(id, option, static_cast<long>(value));
}

ZYN_EXPORT int ZYN_CALL zyn_http_setopt_string(uint32_t id, int option, const char* value)
{
    return http::set_option(id, option, value);
}

ZYN_EXPORT int ZYN_CALL zyn_http_add_header(uint32_t id, const char* line)
{
    return http::with_request(id, 0, [&](const CurlApi& curl, HttpRequest& request) {
        // No line, or a text that would go out as more than one line.
        if (!line || !http::is_single_header_line(line))
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        curl_slist*& list = request.state == http::RequestState::ready ? request.headers : request.late_headers;
        // A failed append returns null and leaves the list as it was.
        if (curl_slist* longer = curl.slist_append(list, line))
            list = longer;
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_http_request(uint32_t id)
{
    return http::with_request(id, 0, [&](const CurlApi& curl, HttpRequest& request) {
        switch (request.state) {
        case http::RequestState::ready:
            return http::start(curl, request);
        case http::RequestState::running:
            return http::step(curl, request);
        case http::RequestState::finished:
            break;
        }
        return 0;
    });
}

ZYN_EXPORT uint32_t ZYN_CALL zyn_http_get_buffersize(uint32_t id)
{
    return http::with_request(id, 0u, [&](const CurlApi&, HttpRequest& request) {
        // A 64-bit build can hold more than the 32-bit result counts: it stays at the most.
        return base::saturate_u32(request.body.size());
    });
}

ZYN_EXPORT uint32_t ZYN_CALL zyn_http_get_bufferdata(uint32_t id, void* destination, uint32_t capacity)
{
    return http::with_request(id, 0u, [&](const CurlApi&, HttpRequest& request) {
        if (request.body.empty())
            return 0u;
        if (!destination && capacity != 0)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0u);
        // Not consumed: every call copies from the first byte; no terminator.
        const size_t n = std::min<size_t>(capacity, request.body.size());
        if (n != 0)
            std::memcpy(destination, request.body.data(), n);
        return static_cast<uint32_t>(n);
    });
}

ZYN_EXPORT int32_t ZYN_CALL zyn_http_getinfo(uint32_t id, int item)
{
    return http::with_request(id, 0, [&](const CurlApi& curl, HttpRequest& request) -> int32_t {
        static const CURLINFO kItems[] = {CURLINFO_SIZE_DOWNLOAD_T, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T,
                                          CURLINFO_SPEED_DOWNLOAD_T, CURLINFO_RESPONSE_CODE};
        if (item < 1 || item > 4)
            return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
        if (!request.easy)
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, CURLE_BAD_FUNCTION_ARGUMENT);
        const CURLINFO info = kItems[item - 1];
        if (info == CURLINFO_RESPONSE_CODE) {
            long code = 0;
            const CURLcode rc = curl.easy_getinfo(request.easy, info, &code);
            if (rc != CURLE_OK)
                return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
            return static_cast<int32_t>(code);
        }
        curl_off_t value = 0;
        const CURLcode rc = curl.easy_getinfo(request.easy, info, &value);
        if (rc != CURLE_OK)
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, static_cast<int32_t>(rc));
        return http::low_32_bits(value);
    });
}

// Percent-encoding and decoding of URL text, by libcurl.
#include "net/http_layer.h"

#include "core/frame.h"

#include <climits>
#include <utility>

namespace zyn::net {
namespace {

// Runs one libcurl coder on a temporary easy handle and puts its text in
// `result`. libcurl takes an int length; a longer text is treated as one
// libcurl gives no text for, rather than being cut to a wrong length. The
// text is coded before the result is replaced, so a caller may pass one
// string as both.
template <class Code>
int code_url_text(const std::string& text, std::string& result, Code code)
{
    return frame::full(0, [&] {
        const HttpLayer& layer = http_layer();
        if (!layer.loaded)
            return frame::fail(ZYN_ERR_HTTP_NOT_LOADED, 0);
        std::string coded;
        if (text.size() <= static_cast<size_t>(INT_MAX)) {
            const CurlApi& curl = *layer.curl;
            CURL* easy = curl.easy_init();
            code(curl, easy, static_cast<int>(text.size()), coded);
            curl.easy_cleanup(easy);
        }
        result = std::move(coded);
        return 1;
    });
}

} // namespace
} // namespace zyn::net

using namespace zyn;

ZYN_EXPORT int ZYN_CALL zyn_http_url_encode(const std::string& text, std::string& result)
{
    return net::code_url_text(text, result, [&](const net::CurlApi& curl, CURL* easy, int length, std::string& coded) {
        // No escaped text (memory exhausted) leaves the result empty.
        if (char* escaped = curl.easy_escape(easy, text.data(), length)) {
            coded.append(escaped);
            curl.free(escaped);
        }
    });
}

ZYN_EXPORT int ZYN_CALL zyn_http_url_decode(const std::string& text, std::string& result)
{
    return net::code_url_text(text, result, [&](const net::CurlApi& curl, CURL* easy, int length, std::string& coded) {
        int decoded_length = 0;
        if (char* decoded = curl.easy_unescape(easy, text.data(), length, &decoded_length)) {
            // Exactly the decoded bytes: "%00" gives a zero byte.
            coded.append(decoded, static_cast<size_t>(decoded_length));
            curl.free(decoded);
        }
    });
}

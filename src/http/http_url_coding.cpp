// Percent-encoding and decoding of URL text, by libcurl, in pieces.
#include "http/http_url_coding.h"

#include "core/frame.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace zyn::http {
namespace {

// Frees what a libcurl coder returned, also when appending it throws.
struct CurlText {
    const CurlApi& curl;
    char* text;
    ~CurlText()
    {
        if (text)
            curl.free(text);
    }
};

// Where a piece of text to decode may end, at most `piece` bytes after
// `from`: never just after a "%" that the next one or two bytes complete, so
// every "%XX" stays whole in one piece. A "%" moved on to the next piece
// decodes there exactly as it would have in the whole text.
size_t decode_piece_end(std::string_view text, size_t from, size_t piece)
{
    const size_t end = from + std::min(piece, text.size() - from);
    if (end == text.size())
        return end;
    for (size_t at = end - 2; at < end; ++at)
        if (text[at] == '%')
            return at;
    return end;
}

// Runs one libcurl coder on a temporary easy handle and puts its text in
// `result`. The text is coded before the result is replaced, so a caller may
// pass one string as both, and a failure leaves the result as it was.
template <class Code>
int code_url_text(std::string& result, Code code)
{
    return frame::full(0, [&] {
        const HttpLayer& layer = http_layer();
        if (!layer.loaded)
            return frame::fail(ZYN_ERR_HTTP_NOT_LOADED, 0);
        const CurlApi& curl = *layer.curl;
        // curl_easy_init's result is not needed: the coders ignore the handle.
        const std::unique_ptr<CURL, void (*)(CURL*)> easy(curl.easy_init(), curl.easy_cleanup);
        std::string coded;
        if (!code(curl, easy.get(), coded))
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, CURLE_OUT_OF_MEMORY);
        result = std::move(coded);
        return 1;
    });
}

} // namespace

bool url_encode_pieces(const CurlApi& curl, CURL* easy, std::string_view text, size_t piece, std::string& out)
{
    piece = std::clamp<size_t>(piece, 1, kUrlPiece);
    for (size_t from = 0; from < text.size(); from += piece) {
        const size_t length = std::min(piece, text.size() - from);
        const CurlText escaped{curl, curl.easy_escape(easy, text.data() + from, static_cast<int>(length))};
        if (!escaped.text)
            return false;
        out.append(escaped.text);
    }
    return true;
}

bool url_decode_pieces(const CurlApi& curl, CURL* easy, std::string_view text, size_t piece, std::string& out)
{
    piece = std::clamp<size_t>(piece, 3, kUrlPiece); // room for a whole "%XX"
    for (size_t from = 0; from < text.size();) {
        const size_t end = decode_piece_end(text, from, piece);
        int decoded_length = 0;
        const CurlText decoded{
            curl, curl.easy_unescape(easy, text.data() + from, static_cast<int>(end - from), &decoded_length)};
        if (!decoded.text)
            return false;
        // Exactly the decoded bytes: "%00" gives a zero byte.
        out.append(decoded.text, static_cast<size_t>(decoded_length));
        from = end;
    }
    return true;
}

} // namespace zyn::http

using namespace zyn;

ZYN_EXPORT int ZYN_CALL zyn_http_url_encode(const std::string& text, std::string& result)
{
    return http::code_url_text(result, [&](const http::CurlApi& curl, CURL* easy, std::string& coded) {
        return http::url_encode_pieces(curl, easy, text, http::kUrlPiece, coded);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_http_url_decode(const std::string& text, std::string& result)
{
    return http::code_url_text(result, [&](const http::CurlApi& curl, CURL* easy, std::string& coded) {
        return http::url_decode_pieces(curl, easy, text, http::kUrlPiece, coded);
    });
}

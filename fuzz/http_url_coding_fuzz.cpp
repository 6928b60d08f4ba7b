// HTTP text from players. Percent-encoding through the HTTP layer: decoding
// any text never fails or grows it, encoding gives only unreserved characters
// and "%XX", decoding an encoding gives the original bytes back, and coding in
// small pieces gives what coding in one piece gives. Header lines: a line with
// CR or LF (or, in a POST's list, a zero byte) is refused with error 5 and
// nothing of it is kept or sent; any other line is kept exactly as given.
#include "http/http_url_coding.h"

#include <zyn/zyn.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

bool unreserved_or_escape(const std::string& text)
{
    const auto upper_hex = [](char h) { return (h >= '0' && h <= '9') || (h >= 'A' && h <= 'F'); };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~')
            continue;
        if (c != '%' || i + 2 >= text.size() || !upper_hex(text[i + 1]) || !upper_hex(text[i + 2]))
            return false;
        i += 2;
    }
    return true;
}

void check_pieces(const std::string& text, size_t piece)
{
    const zyn::http::CurlApi& curl = *zyn::http::http_layer().curl;
    for (auto code : {&zyn::http::url_encode_pieces, &zyn::http::url_decode_pieces}) {
        std::string whole, pieces;
        check(code(curl, nullptr, text, zyn::http::kUrlPiece, whole) && code(curl, nullptr, text, piece, pieces) && pieces == whole);
    }
}

void check_header_line(const std::string& text)
{
    // zyn_http_add_header takes the text up to its first zero byte; the
    // request's list then holds the line as given, or nothing at all.
    const std::string line = text.substr(0, text.find('\0'));
    const bool single = line.find_first_of("\r\n") == std::string::npos;
    const uint32_t id = zyn_http_create("http://127.0.0.1:9/");
    check(id != 0);
    check(zyn_http_add_header(id, line.c_str()) == (single ? 1 : 0) && zyn_geterror() == (single ? 0 : ZYN_ERR_INVALID_ARGUMENT));
    const curl_slist* kept = zyn::http::http_layer().requests.at(id).headers;
    check(single ? kept && kept->data == line && !kept->next : kept == nullptr);
    zyn_http_destroy(id);

    // A POST takes the whole text as one line, to a scheme no libcurl serves:
    // a line that passes gets as far as libcurl's refusal of the URL
    // (CURLE_UNSUPPORTED_PROTOCOL), a refused one leaves the body alone.
    const bool whole_single = text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
    std::string body = "kept";
    check(zyn_http_url_post("zyn-fuzz-none://host/", "a=1", {text}, body) == 0);
    check(whole_single ? zyn_geterror() == ZYN_ERR_CALL_FAILED && zyn_get_extendederror() == 1 && body.empty()
                       : zyn_geterror() == ZYN_ERR_INVALID_ARGUMENT && body == "kept");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = zyn_init("fuzz") && zyn_http_init();
    check(ready);
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string decoded = "old", encoded, back;
    check(zyn_http_url_decode(text, decoded) == 1 && decoded.size() <= text.size());
    check(zyn_http_url_encode(text, encoded) == 1 && unreserved_or_escape(encoded));
    check(zyn_http_url_decode(encoded, back) == 1 && back == text);
    check_pieces(text, size == 0 ? 1 : 1 + data[0] % 7);
    check_header_line(text);
    return 0;
}

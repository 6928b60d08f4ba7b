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
#include <vector>

namespace {

bool unreserved_or_escape(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
                        || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain)
            continue;
        const auto upper_hex = [](char h) { return (h >= '0' && h <= '9') || (h >= 'A' && h <= 'F'); };
        if (c != '%' || i + 2 >= text.size() || !upper_hex(text[i + 1]) || !upper_hex(text[i + 2]))
            return false;
        i += 2;
    }
    return true;
}

void check_pieces(const std::string& text, size_t piece)
{
    const zyn::http::CurlApi& curl = *zyn::http::http_layer().curl;
    std::string whole;
    std::string pieces;
    if (!zyn::http::url_encode_pieces(curl, nullptr, text, zyn::http::kUrlPiece, whole)
        || !zyn::http::url_encode_pieces(curl, nullptr, text, piece, pieces) || pieces != whole)
        std::abort();
    whole.clear();
    pieces.clear();
    if (!zyn::http::url_decode_pieces(curl, nullptr, text, zyn::http::kUrlPiece, whole)
        || !zyn::http::url_decode_pieces(curl, nullptr, text, piece, pieces) || pieces != whole)
        std::abort();
}

void check_header_line(const std::string& text)
{
    // zyn_http_add_header takes the text up to its first zero byte.
    const std::string line = text.substr(0, text.find('\0'));
    const bool single = line.find_first_of("\r\n") == std::string::npos;
    const uint32_t id = zyn_http_create("http://127.0.0.1:9/");
    if (id == 0)
        std::abort();
    if (zyn_http_add_header(id, line.c_str()) != (single ? 1 : 0)
        || zyn_geterror() != (single ? ZYN_ERR_NONE : ZYN_ERR_INVALID_ARGUMENT))
        std::abort();
    // The request's list holds the line as given, or nothing at all.
    const curl_slist* kept = zyn::http::http_layer().requests.at(id).headers;
    if (single ? (!kept || kept->data != line || kept->next) : kept != nullptr)
        std::abort();
    zyn_http_destroy(id);

    // A POST takes the whole text as one line. Its scheme is one no libcurl
    // serves: a line that passes gets as far as libcurl's refusal of the
    // URL (error 2, CURLE_UNSUPPORTED_PROTOCOL), one that is refused never
    // reaches libcurl and leaves the body alone.
    const bool whole_single = text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
    std::string body = "kept";
    const int posted = zyn_http_url_post("zyn-fuzz-none://host/", "a=1", {text}, body);
    if (posted != 0)
        std::abort();
    if (whole_single ? zyn_geterror() != ZYN_ERR_CALL_FAILED || zyn_get_extendederror() != 1 || !body.empty()
                     : zyn_geterror() != ZYN_ERR_INVALID_ARGUMENT || body != "kept")
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = zyn_init("fuzz") && zyn_http_init();
    if (!ready)
        std::abort();
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string decoded = "old";
    if (zyn_http_url_decode(text, decoded) != 1 || decoded.size() > text.size())
        std::abort();

    std::string encoded;
    if (zyn_http_url_encode(text, encoded) != 1 || !unreserved_or_escape(encoded))
        std::abort();
    std::string back;
    if (zyn_http_url_decode(encoded, back) != 1 || back != text)
        std::abort();

    check_pieces(text, size == 0 ? 1 : 1 + data[0] % 7);
    check_header_line(text);
    return 0;
}

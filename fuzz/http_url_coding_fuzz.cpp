// Percent-coding of text from players: decoding never fails or grows the text, encoding gives only
// unreserved bytes and "%XX", decoding gives the bytes back, and pieces give what one piece gives.
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
    const std::string hex = "0123456789ABCDEF", unreserved = hex + "GHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-._~";
    if (text.find_first_not_of(unreserved + "%") != std::string::npos)
        return false;
    for (size_t i = text.find('%'); i != std::string::npos; i = text.find('%', i + 3))
        if (i + 2 >= text.size() || hex.find(text[i + 1]) == hex.npos || hex.find(text[i + 2]) == hex.npos)
            return false;
    return true;
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
    const zyn::http::CurlApi& curl = *zyn::http::http_layer().curl;
    for (auto code : {&zyn::http::url_encode_pieces, &zyn::http::url_decode_pieces}) {
        std::string whole, pieces;
        check(code(curl, nullptr, text, zyn::http::kUrlPiece, whole) && code(curl, nullptr, text, 1 + size % 7, pieces)
              && pieces == whole);
    }
    return 0;
}

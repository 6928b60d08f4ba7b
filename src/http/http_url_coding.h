// Percent-encoding and decoding of URL text, handed to libcurl in pieces.
//
// libcurl limits what one call may code: curl_easy_escape of libcurl 7.88,
// for one, gives no text once the escaped form would reach 24,000,000 bytes
// (8,000,000 bytes that all need escaping are already too many), other
// versions draw the line elsewhere or not at all, and both coders take the
// length as an int. The coding of a byte never depends on the bytes around
// it (a "%XX" being the one group of three to keep together), so a text
// coded in pieces gives exactly the text coded in one call, at any length.
#pragma once

#include "http/http_layer.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zyn::http {

// The longest piece handed to libcurl in one call: its escaped form (at most
// three times as long) stays well inside libcurl's limit.
inline constexpr size_t kUrlPiece = size_t(1) << 20;

// Appends the coding of `text` to `out`, in pieces of at most `piece` bytes
// (at least 1 to encode, 3 to decode; at most kUrlPiece). False when libcurl
// gave no text for a piece (memory exhausted); `out` then holds part of it.
bool url_encode_pieces(const CurlApi& curl, CURL* easy, std::string_view text, size_t piece, std::string& out);
bool url_decode_pieces(const CurlApi& curl, CURL* easy, std::string_view text, size_t piece, std::string& out);

} // namespace zyn::http

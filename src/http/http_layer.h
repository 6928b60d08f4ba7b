// The HTTP layer's process-wide state: whether it is loaded, the libcurl
// functions it calls, and the table of request handles with its id counter.
// Plain values without a lock: the library is called from one thread at a time.
#pragma once

#include "http/curl_sys.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zyn::http {

enum class RequestState { ready, running, finished };

// One request handle. libcurl keeps a pointer to `body` as its write target,
// so a record never moves while it lives (see HttpLayer::requests).
struct HttpRequest {
    CURLM* multi = nullptr;      // set while the transfer runs
    CURL* easy = nullptr;        // made by create; null once finished
    curl_slist* headers = nullptr; // header lines added before the start; null while none
    // Lines added once the transfer has started. libcurl reads `headers` in
    // place while it builds the request, so later lines must not join that
    // list: they are kept apart, never sent, and released with the record.
    curl_slist* late_headers = nullptr;
    RequestState state = RequestState::ready;
    std::string body;            // the response body, collected by BodyWriter
    // Whether the step has looked for the announced length once the body
    // began to arrive, to give the body its room in one allocation.
    bool sized = false;
};

struct HttpLayer {
    bool loaded = false;
    const CurlApi* curl = nullptr; // bound by the first successful initialise
    // A node-based map: its records keep their addresses while it grows.
    std::unordered_map<uint32_t, HttpRequest> requests;
    uint32_t last_id = 0;
};

HttpLayer& http_layer();

// The one write callback of every transfer: appends the block to the
// std::string given as CURLOPT_WRITEDATA and returns the byte count.
size_t BodyWriter(char* data, size_t size, size_t count, void* body);

// The options every transfer starts with: URL, BodyWriter into `body`, and
// the user agent when one is given.
void prepare_transfer(CURL* easy, const char* url, std::string* body, const char* user_agent);

// Whether a text is a single header line: no CR, LF or zero byte in it.
// libcurl sends a header line as it is given, so a line end inside one (from
// a player's name, say) would end the line early and send the rest as header
// lines of its own; a zero byte would cut the line short.
bool is_single_header_line(std::string_view line) noexcept;

// Releases one request's libcurl resources in the order destroy uses
// (multi, easy, header lines); the record's body is left alone.
void release_transfer(HttpRequest& request);

// Unloads a loaded layer: releases every request, empties the table, resets
// the id counter and calls curl_global_cleanup. Nothing happens when not loaded.
void unload_layer();

// Loads the layer inside a frame: binds libcurl and calls curl_global_init.
// 1, or 0 with error 4 (already loaded) or 2 with libcurl's code.
int init_layer();

// The most room a stepped request sets aside for its body from the length the
// server announced. The announced length is only a promise: a server may
// announce 200 MB and send 10 bytes, and a few such requests would take
// gigabytes of address space (all of it in the 32-bit DLL). A longer body
// grows past this room as its bytes really arrive.
inline constexpr size_t kMostRoomAhead = size_t(4) << 20;

// The room to set aside for a body whose length was announced (-1: none)
// once `received` bytes are in: the announced length up to kMostRoomAhead,
// and never less than what is already there.
inline size_t room_ahead(curl_off_t announced, size_t received) noexcept
{
    if (announced <= 0)
        return received;
    const size_t promised = static_cast<uint64_t>(announced) < kMostRoomAhead
        ? static_cast<size_t>(announced) : kMostRoomAhead;
    return promised > received ? promised : received;
}

// The user agent of the one-shot transfers.
inline constexpr const char* kOneShotUserAgent = "libcurl-agent/1.0";

} // namespace zyn::http

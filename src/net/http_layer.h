// The HTTP layer's process-wide state: whether it is loaded, the libcurl
// functions it calls, and the table of request handles with its id counter.
// Plain values without a lock: the library is called from one thread at a time.
#pragma once

#include "net/curl_api.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace zyn::net {

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

// Releases one request's libcurl resources in the order destroy uses
// (multi, easy, header lines); the record's body is left alone.
void release_transfer(HttpRequest& request);

// Unloads a loaded layer: releases every request, empties the table, resets
// the id counter and calls curl_global_cleanup. Nothing happens when not loaded.
void unload_layer();

// The user agent of the one-shot transfers.
inline constexpr const char* kOneShotUserAgent = "libcurl-agent/1.0";

} // namespace zyn::net

// HTTP against the loopback test server (tests/support/http_server.py):
//  - one zyn_http_request step on a running transfer that has nothing new to
//    read, the cost a game pays per frame and request;
//  - a 64 MiB download through a stepped handle (stepped in a tight loop)
//    next to curl_easy_perform of the same URL into a string;
//  - zyn_http_url_multiget of 50 loopback URLs.
#include "../tests/support/http_server.h"

#include <zyn/zyn.h>

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <dlfcn.h>

#include <list>
#include <stdexcept>
#include <string>

namespace {

constexpr size_t kLarge = 64u << 20;

test::HttpServer& server()
{
    static test::HttpServer instance;
    return instance;
}

struct Loaded {
    Loaded()
    {
        zyn_unload();
        zyn_init("bench");
        zyn_http_init();
    }
    ~Loaded() { zyn_unload(); }
};

void BM_HttpRequestStepIdle(benchmark::State& state)
{
    Loaded loaded;
    const uint32_t id = zyn_http_create(server().url("/hold/bench-idle").c_str());
    while (zyn_http_request(id) == 1 && zyn_http_get_buffersize(id) == 0) {
    }
    if (zyn_http_get_buffersize(id) == 0) {
        state.SkipWithError("the held transfer did not start");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_http_request(id));
    zyn_http_destroy(id);
    std::string answer;
    zyn_http_url_get(server().url("/release/bench-idle"), answer);
}
BENCHMARK(BM_HttpRequestStepIdle)->Unit(benchmark::kMicrosecond);

void BM_HttpStepped64MiB(benchmark::State& state)
{
    Loaded loaded;
    const std::string url = server().url("/large/" + std::to_string(kLarge));
    for (auto _ : state) {
        const uint32_t id = zyn_http_create(url.c_str());
        while (zyn_http_request(id) == 1) {
        }
        if (zyn_http_get_buffersize(id) != kLarge)
            state.SkipWithError("short body");
        zyn_http_destroy(id);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLarge));
}
BENCHMARK(BM_HttpStepped64MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The reference: libcurl's own blocking transfer, collecting the body the same way.
size_t append(char* data, size_t size, size_t count, void* body)
{
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

void BM_CurlEasyPerform64MiB(benchmark::State& state)
{
    // libcurl is already in the process as a dependency of the library.
    void* curl = dlopen("libcurl.so.4", RTLD_NOW | RTLD_NOLOAD);
    if (!curl) {
        state.SkipWithError("libcurl is not loaded");
        return;
    }
    auto easy_init = reinterpret_cast<CURL* (*)()>(dlsym(curl, "curl_easy_init"));
    auto easy_setopt = reinterpret_cast<CURLcode (*)(CURL*, CURLoption, ...)>(dlsym(curl, "curl_easy_setopt"));
    auto easy_perform = reinterpret_cast<CURLcode (*)(CURL*)>(dlsym(curl, "curl_easy_perform"));
    auto easy_cleanup = reinterpret_cast<void (*)(CURL*)>(dlsym(curl, "curl_easy_cleanup"));

    Loaded loaded; // curl_global_init
    const std::string url = server().url("/large/" + std::to_string(kLarge));
    for (auto _ : state) {
        std::string body;
        CURL* easy = easy_init();
        easy_setopt(easy, CURLOPT_URL, url.c_str());
        easy_setopt(easy, CURLOPT_WRITEFUNCTION, &append);
        easy_setopt(easy, CURLOPT_WRITEDATA, static_cast<void*>(&body));
        if (easy_perform(easy) != CURLE_OK || body.size() != kLarge)
            state.SkipWithError("transfer failed");
        easy_cleanup(easy);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLarge));
    dlclose(curl);
}
BENCHMARK(BM_CurlEasyPerform64MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_HttpMultiget50(benchmark::State& state)
{
    Loaded loaded;
    const std::string url = server().url("/fixed");
    for (auto _ : state) {
        std::list<zyn_http_url_entry> batch;
        for (int n = 0; n < 50; ++n)
            batch.push_back({nullptr, url, ""});
        if (zyn_http_url_multiget(batch) != 1 || batch.back().data != "xyz")
            state.SkipWithError("batch failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 50));
}
BENCHMARK(BM_HttpMultiget50)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

// HTTP against the loopback test server (tests/support/http_server.py):
//  - one zyn_http_request step on a running transfer that has nothing new to
//    read, the cost a game pays per frame and request;
//  - a 64 MiB download through a stepped handle (stepped in a tight loop) and
//    through zyn_http_url_get, next to curl_easy_perform of the same URL into
//    a string (and the most heap the stepped one holds), and next to
//    libcurl's multi interface stepped in the same loop without the library;
//  - zyn_http_url_multiget of 40 small loopback files, next to the same batch
//    driven by a plain curl_multi_perform / curl_multi_poll loop and by a
//    curl_multi_perform loop with a fixed 50 ms sleep between steps (how the
//    library waited before), each served by the Python server and by a small
//    server on a thread of this program.
#include "../tests/support/http_server.h"

#include <zyn/zyn.h>

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <dlfcn.h>
#include <malloc.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <list>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

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
    // A fresh token each run: a released token lets every later hold through.
    static int run = 0;
    const std::string token = "bench-idle-" + std::to_string(++run);
    const uint32_t id = zyn_http_create(server().url("/hold/" + token).c_str());
    while (zyn_http_request(id) == 1 && zyn_http_get_buffersize(id) == 0) {
    }
    if (zyn_http_get_buffersize(id) == 0) {
        state.SkipWithError("the held transfer did not start");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_http_request(id));
    if (zyn_http_get_buffersize(id) != 11 || zyn_http_request(id) != 1)
        state.SkipWithError("the held transfer did not stay idle");
    zyn_http_destroy(id);
    std::string answer;
    zyn_http_url_get(server().url("/release/" + token), answer);
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

// The one-shot transfer of the same file, against curl_easy_perform below.
void BM_HttpUrlGet64MiB(benchmark::State& state)
{
    Loaded loaded;
    const std::string url = server().url("/large/" + std::to_string(kLarge));
    for (auto _ : state) {
        std::string body;
        if (zyn_http_url_get(url, body) != 1 || body.size() != kLarge)
            state.SkipWithError("short body");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLarge));
}
BENCHMARK(BM_HttpUrlGet64MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// Memory: the most heap the stepped 64 MiB download holds at any step,
// against the body's size (glibc's count of bytes in use, read each step).
size_t heap_in_use()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_HttpStepped64MiBPeakHeap(benchmark::State& state)
{
    Loaded loaded;
    const std::string url = server().url("/large/" + std::to_string(kLarge));
    size_t peak = 0;
    for (auto _ : state) {
        const size_t before = heap_in_use();
        const uint32_t id = zyn_http_create(url.c_str());
        while (zyn_http_request(id) == 1) {
            const size_t now = heap_in_use();
            peak = now - before > peak ? now - before : peak;
        }
        zyn_http_destroy(id);
    }
    state.counters["peak_heap_per_body_byte"] = double(peak) / double(kLarge);
}
BENCHMARK(BM_HttpStepped64MiBPeakHeap)->Unit(benchmark::kMillisecond)->Iterations(1);

// References: libcurl itself, taken from the process (it is loaded as a
// dependency of the library), collecting the body the same way.
struct Curl {
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL*, CURLoption, ...);
    CURLcode (*easy_perform)(CURL*);
    void (*easy_cleanup)(CURL*);
    CURLM* (*multi_init)();
    CURLMcode (*multi_add_handle)(CURLM*, CURL*);
    CURLMcode (*multi_perform)(CURLM*, int*);
    CURLMcode (*multi_remove_handle)(CURLM*, CURL*);
    CURLMcode (*multi_cleanup)(CURLM*);
    CURLMcode (*multi_poll)(CURLM*, curl_waitfd*, unsigned, int, int*);
};

template <class Fn>
void take(void* library, const char* name, Fn& slot)
{
    slot = reinterpret_cast<Fn>(dlsym(library, name));
    if (!slot)
        throw std::runtime_error(name);
}

const Curl& curl()
{
    static const Curl fns = [] {
        void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_NOLOAD);
        if (!library)
            throw std::runtime_error("libcurl is not loaded");
        Curl c{};
        take(library, "curl_easy_init", c.easy_init);
        take(library, "curl_easy_setopt", c.easy_setopt);
        take(library, "curl_easy_perform", c.easy_perform);
        take(library, "curl_easy_cleanup", c.easy_cleanup);
        take(library, "curl_multi_init", c.multi_init);
        take(library, "curl_multi_add_handle", c.multi_add_handle);
        take(library, "curl_multi_perform", c.multi_perform);
        take(library, "curl_multi_remove_handle", c.multi_remove_handle);
        take(library, "curl_multi_cleanup", c.multi_cleanup);
        take(library, "curl_multi_poll", c.multi_poll);
        return c;
    }();
    return fns;
}

size_t append(char* data, size_t size, size_t count, void* body)
{
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

CURL* easy_for(const std::string& url, std::string& body)
{
    CURL* easy = curl().easy_init();
    curl().easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl().easy_setopt(easy, CURLOPT_WRITEFUNCTION, &append);
    curl().easy_setopt(easy, CURLOPT_WRITEDATA, static_cast<void*>(&body));
    return easy;
}

void BM_CurlEasyPerform64MiB(benchmark::State& state)
{
    Loaded loaded; // curl_global_init
    const std::string url = server().url("/large/" + std::to_string(kLarge));
    for (auto _ : state) {
        std::string body;
        CURL* easy = easy_for(url, body);
        if (curl().easy_perform(easy) != CURLE_OK || body.size() != kLarge)
            state.SkipWithError("transfer failed");
        curl().easy_cleanup(easy);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLarge));
}
BENCHMARK(BM_CurlEasyPerform64MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// libcurl's multi interface stepped in the same tight loop, without the library.
void BM_CurlMultiStepped64MiB(benchmark::State& state)
{
    Loaded loaded;
    const std::string url = server().url("/large/" + std::to_string(kLarge));
    for (auto _ : state) {
        std::string body;
        CURL* easy = easy_for(url, body);
        CURLM* multi = curl().multi_init();
        curl().multi_add_handle(multi, easy);
        int running = -1;
        do {
            curl().multi_perform(multi, &running);
        } while (running != 0);
        curl().multi_remove_handle(multi, easy);
        curl().multi_cleanup(multi);
        curl().easy_cleanup(easy);
        if (body.size() != kLarge)
            state.SkipWithError("short body");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLarge));
}
BENCHMARK(BM_CurlMultiStepped64MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// One curl_multi_perform on an idle transfer, the floor under a library step.
void BM_CurlMultiPerformIdle(benchmark::State& state)
{
    Loaded loaded;
    static int run = 0;
    const std::string token = "bench-raw-idle-" + std::to_string(++run);
    std::string body;
    CURL* easy = easy_for(server().url("/hold/" + token), body);
    CURLM* multi = curl().multi_init();
    curl().multi_add_handle(multi, easy);
    int running = -1;
    while (body.empty() && curl().multi_perform(multi, &running) == CURLM_OK && running != 0) {
    }
    for (auto _ : state) {
        curl().multi_perform(multi, &running);
        benchmark::DoNotOptimize(running);
    }
    if (body.size() != 11 || running != 1)
        state.SkipWithError("the held transfer did not stay idle");
    curl().multi_remove_handle(multi, easy);
    curl().multi_cleanup(multi);
    curl().easy_cleanup(easy);
    std::string answer;
    zyn_http_url_get(server().url("/release/" + token), answer);
}
BENCHMARK(BM_CurlMultiPerformIdle)->Unit(benchmark::kMicrosecond);

constexpr int kBatch = 40;

// A loopback HTTP server inside this program, on a thread of its own: real
// sockets and one poll loop, every request answered "xyz" with a length on a
// connection kept alive. Next to the Python server, it shows how much of the
// batch's time is the library and libcurl rather than the server.
class InProcessServer {
public:
    InProcessServer()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(listener_, 128) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0 || ::pipe(stop_) != 0)
            throw std::runtime_error("no in-process server");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~InProcessServer()
    {
        (void)!::write(stop_[1], "x", 1);
        thread_.join();
        ::close(stop_[0]);
        ::close(stop_[1]);
        ::close(listener_);
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    void serve()
    {
        static constexpr char kReply[] = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nxyz";
        std::vector<pollfd> fds = {{stop_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        std::vector<std::string> requests(fds.size()); // bytes read from each connection
        while (::poll(fds.data(), fds.size(), -1) >= 0 && fds[0].revents == 0) {
            for (std::size_t i = 2; i < fds.size();) {
                char bytes[4096];
                const ssize_t got = fds[i].revents ? ::read(fds[i].fd, bytes, sizeof bytes) : 1;
                if (got <= 0) {
                    ::close(fds[i].fd);
                    fds.erase(fds.begin() + std::ptrdiff_t(i));
                    requests.erase(requests.begin() + std::ptrdiff_t(i));
                    continue;
                }
                if (fds[i].revents) {
                    requests[i].append(bytes, std::size_t(got));
                    for (std::size_t end; (end = requests[i].find("\r\n\r\n")) != std::string::npos;) {
                        requests[i].erase(0, end + 4);
                        ::send(fds[i].fd, kReply, sizeof kReply - 1, MSG_NOSIGNAL);
                    }
                }
                ++i;
            }
            if (fds[1].revents & POLLIN) {
                const int connection = ::accept(listener_, nullptr, nullptr);
                if (connection >= 0) {
                    const int one = 1;
                    ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                    fds.push_back({connection, POLLIN, 0});
                    requests.emplace_back();
                }
            }
        }
        for (std::size_t i = 2; i < fds.size(); ++i)
            ::close(fds[i].fd);
    }

    int listener_ = -1;
    int stop_[2] = {-1, -1};
    int port_ = 0;
    std::thread thread_;
};

InProcessServer& in_process_server()
{
    static InProcessServer instance;
    return instance;
}

// The batch's URL: the Python loopback server's (argument 0) or the
// in-process server's (argument 1).
std::string batch_url(const benchmark::State& state)
{
    return state.range(0) == 0 ? server().url("/fixed") : in_process_server().url("/fixed");
}

void BM_HttpMultiget40(benchmark::State& state)
{
    Loaded loaded;
    const std::string url = batch_url(state);
    for (auto _ : state) {
        std::list<zyn_http_url_entry> batch;
        for (int n = 0; n < kBatch; ++n)
            batch.push_back({nullptr, url, ""});
        if (zyn_http_url_multiget(batch) != 1 || batch.back().data != "xyz")
            state.SkipWithError("batch failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}
BENCHMARK(BM_HttpMultiget40)->ArgName("in_process")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same batch on libcurl's multi interface without the library, calling
// wait() between two steps.
template <class Wait>
void curl_batch(benchmark::State& state, Wait&& wait)
{
    Loaded loaded;
    const std::string url = batch_url(state);
    for (auto _ : state) {
        std::string bodies[kBatch];
        CURL* easy[kBatch];
        CURLM* multi = curl().multi_init();
        for (int n = 0; n < kBatch; ++n)
            curl().multi_add_handle(multi, easy[n] = easy_for(url, bodies[n]));
        int running = -1;
        curl().multi_perform(multi, &running);
        while (running != 0) {
            wait(multi);
            curl().multi_perform(multi, &running);
        }
        for (CURL* e : easy) {
            curl().multi_remove_handle(multi, e);
            curl().easy_cleanup(e);
        }
        curl().multi_cleanup(multi);
        if (bodies[kBatch - 1] != "xyz")
            state.SkipWithError("batch failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

// The anchor: waiting with libcurl's own poll, at most 50 ms.
void BM_CurlMultiPoll40(benchmark::State& state)
{
    curl_batch(state, [](CURLM* multi) { curl().multi_poll(multi, nullptr, 0, 50, nullptr); });
}
BENCHMARK(BM_CurlMultiPoll40)->ArgName("in_process")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The second anchor, the batch as the library used to drive it: a fixed
// 50 ms sleep between two steps.
void BM_CurlMultiSleep50ms40(benchmark::State& state)
{
    curl_batch(state, [](CURLM*) { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
}
BENCHMARK(BM_CurlMultiSleep50ms40)->ArgName("in_process")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

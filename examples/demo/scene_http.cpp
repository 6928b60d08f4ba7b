// Scene: a download stepped once per frame of the game loop, with a live
// progress line. Offline by default: a file that ships with the demo, read
// through a file:// URL; a URL given as the demo's first argument is fetched
// instead.
#include "scene.h"

#include <zyn/zyn.h>

#include <cstdio>
#include <string>

namespace {

// libcurl option numbers the scene sets (from curl/curl.h).
constexpr int kOptFollowLocation = 52;   // CURLOPT_FOLLOWLOCATION, a long
constexpr int kOptUserAgent = 10018;     // CURLOPT_USERAGENT, a string
constexpr int kInfoBytes = 1, kInfoLength = 2, kInfoSpeed = 3, kInfoStatus = 4;
constexpr uint32_t kFrameMs = 16;        // about 60 frames per second
constexpr int kMaxFrames = 30 * 60;      // a URL that takes longer is abandoned

// file:// URL of the shipped file, each path segment percent-encoded.
std::string shipped_file_url()
{
    const std::string path = std::string(ZYN_DEMO_DATA_DIR) + "/download.txt";
    std::string url = "file://";
    if (path.empty() || (path[0] != '/' && path[0] != '\\'))
        url += '/'; // a Windows path starts with its drive letter
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        std::string segment;
        zyn_http_url_encode(path.substr(start, end - start), segment);
        url += segment;
        if (end < path.size())
            url += '/';
        start = end + 1;
    }
    return url;
}

void run(const demo::Options& options)
{
    if (!zyn_http_init()) {
        demo::report_error("zyn_http_init (is libcurl beside the program?)");
        return;
    }
    const std::string url = options.args.empty() ? shipped_file_url() : options.args[0];
    std::printf("  fetching %s\n", url.c_str());

    const uint32_t id = zyn_http_create(url.c_str());
    zyn_http_setopt_long(id, kOptFollowLocation, 1);
    zyn_http_setopt_string(id, kOptUserAgent, "zyn-demo/1.0");

    // The game loop: one step of the transfer per frame, then the frame's other work.
    int frame = 0;
    int status = 0;
    for (; frame < kMaxFrames; ++frame) {
        const int running = zyn_http_request(id);
        if (!running) {
            if (zyn_geterror() != ZYN_ERR_NONE)
                demo::report_error("zyn_http_request");
            break;
        }
        // Transfer figures are there while the request runs; the step that
        // ends the transfer still returns 1, but has released them.
        const int received = zyn_http_getinfo(id, kInfoBytes);
        if (zyn_geterror() != ZYN_ERR_NONE)
            continue;
        const int announced = zyn_http_getinfo(id, kInfoLength);
        const int speed = zyn_http_getinfo(id, kInfoSpeed);
        status = zyn_http_getinfo(id, kInfoStatus);
        std::printf("\r  frame %4d: %9d bytes of %9s, %8.1f KiB/s, status %3d", frame + 1, received,
                    announced ? std::to_string(announced).c_str() : "unknown", speed / 1024.0, status);
        std::fflush(stdout);
        zyn_wait(kFrameMs);
    }
    if (frame == kMaxFrames)
        std::printf("\n  still running after %d frames: abandoned", kMaxFrames);

    // Once finished, only the body is left to read.
    const uint32_t size = zyn_http_get_buffersize(id);
    std::string body(size, '\0');
    if (size)
        body.resize(zyn_http_get_bufferdata(id, &body[0], size));
    std::printf("\n  done after %d frames: %u bytes%s\n", frame + 1, size,
                status ? (", last status " + std::to_string(status)).c_str() : "");
    const size_t first_line = body.find('\n');
    if (!body.empty())
        std::printf("  first line: %s\n", body.substr(0, first_line).c_str());
    zyn_http_destroy(id);
    zyn_http_unload();
}

demo::Register scene(70, "HTTP: a download stepped once per frame", run);

} // namespace

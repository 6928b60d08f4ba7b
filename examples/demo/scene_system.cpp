// Scene: a game asks about the machine it runs on, finds itself among the
// running processes and checks for a controller.
#include "scene.h"

#include <zyn/zyn.h>

#include <cstdio>
#include <string>
#include <vector>

#if defined(_WIN32)
#  include <process.h>
#  define getpid _getpid
#else
#  include <unistd.h>
#endif

namespace {

void run(const demo::Options&)
{
    char text[256] = "";
    if (zyn_getmachineproperty("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, text))
        std::printf("  operating system: %s\n", text);
    else
        demo::report_error("zyn_getmachineproperty(Caption)");
    text[0] = '\0';
    if (zyn_getmachineproperty("Win32_Processor", "Name", ZYN_PROPERTY_TEXT, text))
        std::printf("  processor: %s\n", text);
    else
        demo::report_error("zyn_getmachineproperty(Name)");

    std::printf("  administrator: %s\n", zyn_is_admin() ? "yes" : "no");

    // Find this process's own line in the process list.
    std::vector<char> list(1 << 20);
    if (zyn_get_listprocesses(list.data(), uint32_t(list.size()))) {
        const std::string lines(list.data());
        const std::string id = ";*" + std::to_string(getpid()) + "\n";
        const size_t at = lines.find(id);
        if (at != std::string::npos) {
            const size_t start = lines.rfind('\n', at);
            const size_t from = start == std::string::npos ? 0 : start + 1;
            std::printf("  this process: %s\n", lines.substr(from, at + id.size() - 1 - from).c_str());
        }
    }

    for (uint32_t pad = 0; pad < 4; ++pad) {
        const int connected = zyn_xinput_isconnected(pad);
        std::printf("  controller %u: %s (extended %d)\n", pad, connected ? "connected" : "not connected",
                    zyn_get_extendederror());
    }
}

demo::Register scene(90, "machine, processes and controllers", run);

} // namespace

// Names of the new files that saves write beside their targets.
#include "files/fs_sys.h"

#include <atomic>
#include <chrono>
#include <cstdio>

namespace zyn::files::sys {

Path temporary_beside(PathView target)
{
    // Starts from the clock so that two processes saving in one directory
    // rarely try the same names; a taken name is refused and the next tried.
    static std::atomic<unsigned> next{unsigned(std::chrono::steady_clock::now().time_since_epoch().count())};
    char name[32];
    std::snprintf(name, sizeof name, ".zyn-save-%08x.tmp", next.fetch_add(0x9E3779B1u));
    Path path(directory_part(target));
    for (const char* c = name; *c; ++c)
        path += PathChar(*c);
    return path;
}

} // namespace zyn::files::sys

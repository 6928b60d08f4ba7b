// zyn demo: a tiny terminal "game" that loads the library, runs each scene
// (one per family of services) and unloads.
//
//   zyn_demo [url]     a URL argument is used by the download scene
#include "scene.h"

#include <zyn/zyn.h>

#include <algorithm>
#include <cstdio>

namespace demo {

std::vector<Scene>& scenes()
{
    static std::vector<Scene> all;
    return all;
}

void report_error(const char* what)
{
    std::printf("  %s -> error %d (extended %d)\n", what, zyn_geterror(), zyn_get_extendederror());
}

} // namespace demo

int main(int argc, char** argv)
{
    demo::Options options;
    for (int i = 1; i < argc; ++i)
        options.args.emplace_back(argv[i]);

    std::printf("%s\nversion %d\n\n", zyn_getinfo(), zyn_getversion());
    if (!zyn_init("zyn demo")) {
        demo::report_error("zyn_init");
        return 1;
    }

    auto list = demo::scenes();
    std::stable_sort(list.begin(), list.end(),
                     [](const demo::Scene& a, const demo::Scene& b) { return a.order < b.order; });
    for (const demo::Scene& scene : list) {
        std::printf("== %s ==\n", scene.title);
        scene.run(options);
        std::printf("\n");
    }

    zyn_unload();
    std::printf("unloaded; bye\n");
    return 0;
}

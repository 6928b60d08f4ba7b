// The demo is a list of short scenes, one per family of the library, each in
// its own file. A scene registers itself with an order number; main runs them
// in that order inside one loaded library.
#pragma once

#include <string>
#include <vector>

namespace demo {

struct Options {
    std::vector<std::string> args; // command-line arguments after the program name
};

using SceneFn = void (*)(const Options&);

struct Scene {
    int order;
    const char* title;
    SceneFn run;
};

std::vector<Scene>& scenes();

struct Register {
    Register(int order, const char* title, SceneFn run) { scenes().push_back({order, title, run}); }
};

// Prints the library's last error the way a game's console would.
void report_error(const char* what);

} // namespace demo

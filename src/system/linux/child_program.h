// Running a helper program (the dialogs' chooser) and collecting its output.
#pragma once

#include <string>
#include <vector>

namespace zyn::system::sys {

// Runs args[0], found on the PATH, with args as its arguments, standard input
// and error on /dev/null, and collects its standard output. True only when it
// ran and exited with 0. The game's SIGCHLD setting does not matter: the
// program runs under a go-between child that waits for it.
bool run_program(const std::vector<std::string>& args, std::string& output);

} // namespace zyn::system::sys

// File and folder dialogs on Linux through zenity, when it is on the PATH.
// The chooser runs as a child process; its standard output holds the chosen
// paths, one per line. No zenity, a cancel or a failure gives no paths.
#include "system/dialogs.h"

#include "core/utf16.h"

#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace zyn::sys {

namespace {

// zenity's filter: "Name | pattern pattern", where the filter text separates
// patterns with semicolons.
std::string zenity_filter(const FileType& type)
{
    std::string patterns;
    for (char c : unicode::to_utf8(type.pattern))
        patterns += c == ';' ? ' ' : c;
    return "--file-filter=" + unicode::to_utf8(type.name) + " | " + patterns;
}

bool is_directory(const char* path)
{
    struct stat info{};
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// Runs the chooser and collects its standard output; false unless it exits with 0.
bool run_chooser(const std::vector<std::string>& args, std::string& output)
{
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    if (spawned != 0) {
        close(pipe_ends[0]);
        return false;
    }
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(pipe_ends[0], chunk, sizeof chunk);
        if (n > 0)
            output.append(chunk, size_t(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(pipe_ends[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

std::optional<std::vector<std::string>> show_open_dialog(const DialogRequest& request)
{
    std::vector<std::string> args{"zenity", "--file-selection"};
    if (request.multiple) {
        args.push_back("--multiple");
        args.push_back("--separator=\n");
    }
    if (request.folders) {
        args.push_back("--directory");
        if (request.initial_folder != nullptr && is_directory(request.initial_folder))
            args.push_back(std::string("--filename=") + request.initial_folder + "/");
    } else {
        for (const FileType& type : parse_file_types(request.filter))
            args.push_back(zenity_filter(type));
    }

    std::vector<std::string> paths;
    std::string output;
    if (!run_chooser(args, output))
        return std::nullopt;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        if (end > start)
            paths.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    if (paths.empty())
        return std::nullopt; // an answer without a path chose nothing
    return paths;
}

} // namespace zyn::sys

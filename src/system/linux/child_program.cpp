// Runs a helper program as a grandchild: a go-between child runs it with
// SIGCHLD at its default, waits for it and reports its wait status through a
// pipe, so that what the game did with SIGCHLD cannot lose the result.
#include "system/linux/child_program.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace zyn::system::sys {

namespace {

// The program's path as the PATH finds it, or an empty text. Found before
// forking: the children may only make async-signal-safe calls.
std::string find_on_path(const std::string& program)
{
    const char* path = std::getenv("PATH");
    const std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
        const std::string candidate = dir + "/" + program;
        struct stat info{};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// waitpid, resumed when a signal interrupts it (async-signal-safe).
bool wait_for(pid_t child, int* status)
{
    pid_t waited;
    do
        waited = waitpid(child, status, 0);
    while (waited < 0 && errno == EINTR);
    return waited == child;
}

// Reads to the end of the pipe; a signal on the way does not end it.
void read_all(int fd, std::string& output)
{
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n > 0)
            output.append(chunk, size_t(n));
        else if (n == 0 || errno != EINTR)
            return;
    }
}

// The go-between child: it sets SIGCHLD back to its default and unblocks every
// signal, so that it can wait for the program whatever the game chose (with
// SIGCHLD ignored the kernel reaps children itself and waitpid finds none),
// and the program starts with the defaults too. It runs the program with its
// output on the pipe, waits for it and writes its wait status on the status
// pipe. Only async-signal-safe calls: the game may have other threads.
[[noreturn]] void go_between(const char* program, char* const* argv, int output, int status_out)
{
    struct sigaction default_action{};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(SIGCHLD, &default_action, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int null_in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        const int null_out = open("/dev/null", O_WRONLY | O_CLOEXEC);
        dup2(null_in, 0);
        dup2(output, 1);
        dup2(null_out, 2);
        execve(program, argv, environ);
        _exit(127);
    }
    close(output); // the game sees the end of the output once the program has ended
    // No status reaches the game when the program could not be started or waited for.
    int status = 0;
    const bool ended = child > 0 && wait_for(child, &status);
    _exit(ended && write(status_out, &status, sizeof status) == ssize_t(sizeof status) ? 0 : 1);
}

} // namespace

bool run_program(const std::vector<std::string>& args, std::string& output)
{
    const std::string program = find_on_path(args[0]);
    if (program.empty())
        return false;
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int output_pipe[2], status_pipe[2];
    if (pipe2(output_pipe, O_CLOEXEC) != 0)
        return false;
    if (pipe2(status_pipe, O_CLOEXEC) != 0) {
        close(output_pipe[0]);
        close(output_pipe[1]);
        return false;
    }
    const pid_t child = fork();
    if (child == 0)
        go_between(program.c_str(), argv.data(), output_pipe[1], status_pipe[1]);
    close(output_pipe[1]);
    close(status_pipe[1]);
    std::string status_bytes;
    if (child > 0) {
        read_all(output_pipe[0], output);
        read_all(status_pipe[0], status_bytes);
        wait_for(child, nullptr); // with SIGCHLD ignored the kernel has reaped it already
    }
    close(output_pipe[0]);
    close(status_pipe[0]);
    int status = 0;
    if (status_bytes.size() != sizeof status)
        return false;
    std::memcpy(&status, status_bytes.data(), sizeof status);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace zyn::system::sys

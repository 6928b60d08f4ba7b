// Process and module lists from /proc; the administrator test is an effective
// user id of 0.
#include "system/process_sys.h"

#include "base/utf16.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

namespace zyn::system::sys {

namespace {

std::string link_target(const std::string& path)
{
    std::string target(4096, '\0');
    const ssize_t n = readlink(path.c_str(), &target[0], target.size());
    if (n <= 0 || size_t(n) >= target.size())
        return {};
    target.resize(size_t(n));
    return target;
}

std::string base_name(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A mapping of a file that was replaced on disk carries this mark.
std::string without_deleted_mark(std::string path)
{
    const std::string mark = " (deleted)";
    if (path.size() > mark.size() && path.compare(path.size() - mark.size(), mark.size(), mark) == 0)
        path.resize(path.size() - mark.size());
    return path;
}

// The executable's file name; the kernel's short name where the executable
// cannot be read (kernel threads, other users' processes).
std::string process_name(const std::string& dir)
{
    const std::string exe = link_target(dir + "/exe");
    if (!exe.empty())
        return base_name(without_deleted_mark(exe));
    std::ifstream in(dir + "/comm");
    std::string comm;
    std::getline(in, comm);
    return comm;
}

} // namespace

bool list_processes(std::vector<ProcessEntry>& processes)
{
    DIR* proc = opendir("/proc");
    if (proc == nullptr)
        return false;
    std::vector<uint32_t> ids;
    while (const dirent* entry = readdir(proc)) {
        const char* name = entry->d_name;
        if (*name == '\0' || std::string(name).find_first_not_of("0123456789") != std::string::npos)
            continue;
        ids.push_back(uint32_t(std::strtoul(name, nullptr, 10)));
    }
    closedir(proc);
    std::sort(ids.begin(), ids.end());
    for (uint32_t id : ids) {
        const std::string dir = "/proc/" + std::to_string(id);
        const std::string name = process_name(dir);
        if (name.empty() && access(dir.c_str(), F_OK) != 0)
            continue; // ended while the list was read
        processes.push_back({base::from_utf8(name), id});
    }
    return !processes.empty();
}

bool list_modules(uint32_t process_id, std::vector<ModuleEntry>& modules)
{
    const std::string dir = process_id == 0 ? std::string("/proc/self") : "/proc/" + std::to_string(process_id);
    std::ifstream maps(dir + "/maps");
    if (!maps)
        return false;
    const std::string exe = without_deleted_mark(link_target(dir + "/exe"));
    std::set<std::string> seen;
    auto add = [&](const std::string& path) {
        if (path.empty() || !seen.insert(path).second)
            return;
        modules.push_back({base::from_utf8(base_name(path)), base::from_utf8(path)});
    };
    add(exe); // the executable first, as the platform lists it
    std::string line;
    while (std::getline(maps, line)) {
        // address perms offset device inode path: the path starts at the first '/' after the inode.
        const auto slash = line.find('/');
        if (slash == std::string::npos)
            continue; // anonymous memory, the heap, the stack, the vdso
        add(without_deleted_mark(line.substr(slash)));
    }
    return !modules.empty();
}

int administrator_test() { return geteuid() == 0 ? 1 : 0; }

} // namespace zyn::system::sys

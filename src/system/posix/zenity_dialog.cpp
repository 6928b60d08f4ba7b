// File and folder dialogs on Linux through zenity, when it is on the PATH.
// The chooser's standard output holds the chosen paths, one per line. No
// zenity, a cancel or a failure gives no paths.
#include "system/dialogs.h"
#include "system/posix/child_program.h"

#include "core/utf16.h"

#include <sys/stat.h>

#include <string>

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
    if (!run_program(args, output))
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

// File and folder dialogs on Linux through zenity, when it is on the PATH.
// The chooser's standard output holds the chosen paths. No zenity, a cancel or
// a failure gives no paths.
#include "system/dialog_sys.h"
#include "system/dialogs.h"
#include "system/linux/child_program.h"

#include "base/utf16.h"

#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace zyn::system::sys {

namespace {

// zenity's filter: "Name | pattern pattern", where the filter text separates
// patterns with semicolons.
std::string zenity_filter(const FileType& type)
{
    std::string patterns;
    for (char c : base::to_utf8(type.pattern))
        patterns += c == ';' ? ' ' : c;
    return "--file-filter=" + base::to_utf8(type.name) + " | " + patterns;
}

bool is_directory(const char* path)
{
    struct stat info{};
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// The separator between several chosen paths. A file name may hold any byte
// but '/' and zero, so a fixed separator could be forged by a name: this one is
// 128 fresh random bits per dialog, which no name can know beforehand.
bool fresh_separator(std::string& separator)
{
    unsigned char bytes[16];
    if (getrandom(bytes, sizeof bytes, 0) != ssize_t(sizeof bytes))
        return false;
    separator = "|";
    for (unsigned char byte : bytes) {
        separator += "0123456789abcdef"[byte >> 4];
        separator += "0123456789abcdef"[byte & 15];
    }
    return true;
}

} // namespace

std::optional<std::vector<std::string>> show_open_dialog(const DialogRequest& request)
{
    std::vector<std::string> args{"zenity", "--file-selection"};
    std::string separator; // one chosen path: the whole answer, whatever it holds
    if (request.multiple) {
        if (!fresh_separator(separator))
            return std::nullopt;
        args.push_back("--multiple");
        args.push_back("--separator=" + separator);
    }
    if (request.folders) {
        args.push_back("--directory");
        if (request.initial_folder != nullptr && is_directory(request.initial_folder))
            args.push_back(std::string("--filename=") + request.initial_folder + "/");
    } else {
        for (const FileType& type : parse_file_types(request.filter))
            args.push_back(zenity_filter(type));
    }

    std::string output;
    if (!run_program(args, output))
        return std::nullopt;
    auto paths = split_chooser_answer(output, separator);
    if (paths.empty())
        return std::nullopt; // an answer without a path chose nothing
    return paths;
}

} // namespace zyn::system::sys

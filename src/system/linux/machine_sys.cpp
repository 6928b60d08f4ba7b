// Machine properties on Linux: a small table of the common classes, each
// answered from the system's own sources (os-release, uname, /proc/cpuinfo and
// the firmware's DMI fields).
#include "system/machine_sys.h"

#include "base/utf16.h"

#include <sys/utsname.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace zyn::system::sys {

namespace {

// One property value of one object: text, or a truth value.
struct Value {
    bool is_boolean = false;
    bool flag = false;
    std::string text; // UTF-8
};

struct Property {
    const char* name;
    std::function<Value()> read;
};

using Object = std::vector<Property>;

std::string trim(std::string s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::string first_line(const char* path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return trim(line);
}

Value text(std::string s) { return Value{false, false, std::move(s)}; }
Value truth(bool b) { return Value{true, b, {}}; }

// A field of /etc/os-release (or its fallback location), without its quotes.
std::string os_release(const std::string& key)
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream in(path);
        if (!in)
            continue;
        std::string line;
        while (std::getline(in, line)) {
            if (line.compare(0, key.size() + 1, key + "=") != 0)
                continue;
            std::string value = trim(line.substr(key.size() + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return value;
        }
        return {};
    }
    return {};
}

std::string os_caption()
{
    std::string caption = os_release("PRETTY_NAME");
    return caption.empty() ? os_release("NAME") : caption;
}

enum class Uname { release, node, machine };

std::string uname_field(Uname which)
{
    utsname names{};
    if (uname(&names) != 0)
        return {};
    return which == Uname::release ? names.release : which == Uname::node ? names.nodename : names.machine;
}

// One name per physical package, in the order /proc/cpuinfo first mentions each.
std::vector<std::string> processor_names()
{
    std::ifstream in("/proc/cpuinfo");
    std::vector<std::string> packages, names;
    std::string line, name, package;
    auto finish_block = [&] {
        if (!name.empty()) {
            bool seen = false;
            for (const auto& p : packages)
                seen = seen || p == package;
            if (!seen) {
                packages.push_back(package);
                names.push_back(name);
            }
        }
        name.clear();
        package.clear();
    };
    while (std::getline(in, line)) {
        if (trim(line).empty()) {
            finish_block();
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = trim(line.substr(0, colon));
        const std::string value = trim(line.substr(colon + 1));
        if (key == "model name" || (key == "Processor" && name.empty()))
            name = value;
        else if (key == "physical id")
            package = value;
    }
    finish_block();
    return names;
}

std::string os_architecture()
{
    const std::string machine = uname_field(Uname::machine);
    return machine == "x86_64" || machine == "aarch64" || machine == "ppc64le" || machine == "s390x" ||
                   machine == "riscv64"
               ? "64-bit"
               : "32-bit";
}

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// The objects of a class (named in lower case: WMI ignores case), or false for
// a class the table does not know.
bool objects_of(const std::string& class_name, std::vector<Object>& objects)
{
    auto dmi = [](const char* field) {
        return [path = std::string("/sys/class/dmi/id/") + field] { return text(first_line(path.c_str())); };
    };
    if (class_name == "win32_operatingsystem") {
        objects.push_back({{"Caption", [] { return text(os_caption()); }},
                           {"Version", [] { return text(uname_field(Uname::release)); }},
                           {"CSName", [] { return text(uname_field(Uname::node)); }},
                           {"OSArchitecture", [] { return text(os_architecture()); }},
                           {"Primary", [] { return truth(true); }}});
    } else if (class_name == "win32_processor") {
        for (const std::string& name : processor_names())
            objects.push_back({{"Name", [name] { return text(name); }}});
    } else if (class_name == "win32_computersystem") {
        objects.push_back({{"Manufacturer", dmi("sys_vendor")},
                           {"Model", dmi("product_name")},
                           {"Name", [] { return text(uname_field(Uname::node)); }},
                           {"PartOfDomain", [] { return truth(false); }}});
    } else if (class_name == "win32_bios") {
        objects.push_back({{"Manufacturer", dmi("bios_vendor")}, {"Version", dmi("bios_version")}});
    } else {
        return false;
    }
    return true;
}

} // namespace

int32_t query_machine_property(const zyn_wstring& class_name, const zyn_wstring& property, int kind,
                               zyn_wstring& gathered)
{
    std::vector<Object> objects;
    if (!objects_of(lower(base::to_utf8(class_name)), objects))
        return kInvalidClass;

    const std::string wanted = lower(base::to_utf8(property));
    for (const Object& object : objects) {
        for (const Property& p : object) {
            if (lower(p.name) != wanted)
                continue;
            const Value value = p.read();
            if (kind == ZYN_PROPERTY_BOOLEAN)
                gathered += value.is_boolean && value.flag ? u"true" : u"false";
            else if (kind == ZYN_PROPERTY_TEXT && !value.is_boolean)
                gathered += base::from_utf8(value.text);
        }
    }
    return 0;
}

} // namespace zyn::system::sys

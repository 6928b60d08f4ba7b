// The platform's process and module lists, and the administrator test.
#pragma once

#include <zyn/zyn.h>

#include <cstdint>
#include <vector>

namespace zyn::system::sys {

struct ProcessEntry {
    zyn_wstring exe_name; // the executable's file name
    uint32_t id = 0;
};

struct ModuleEntry {
    zyn_wstring name; // the module's file name
    zyn_wstring path; // its full path
};

// Every running process, in the platform's order; false when no list can be taken.
bool list_processes(std::vector<ProcessEntry>& processes);

// The modules of a process (0: the calling one), its executable first; false
// when the process is gone or cannot be inspected.
bool list_modules(uint32_t process_id, std::vector<ModuleEntry>& modules);

// 1 administrator, 0 not, -1 when the test itself fails.
int administrator_test();

} // namespace zyn::system::sys

// Process and module lists from Tool Help snapshots; the administrator test
// asks whether the calling thread's token holds the enabled Administrators group.
#include "system/process_sys.h"

#include <windows.h>
#include <tlhelp32.h>

namespace zyn::system::sys {

namespace {

// Walks one Tool Help snapshot from its first entry to its last.
template <class Entry, class First, class Next, class Take>
bool walk_snapshot(DWORD what, DWORD process_id, First first, Next next, Take take)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(what, process_id);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    Entry entry{};
    entry.dwSize = sizeof entry;
    const bool any = first(snapshot, &entry) != FALSE;
    if (any) {
        do {
            take(entry);
        } while (next(snapshot, &entry));
    }
    CloseHandle(snapshot);
    return any;
}

} // namespace

bool list_processes(std::vector<ProcessEntry>& processes)
{
    return walk_snapshot<PROCESSENTRY32W>(TH32CS_SNAPPROCESS, 0, Process32FirstW, Process32NextW,
                                          [&](const PROCESSENTRY32W& entry) {
                                              processes.push_back({entry.szExeFile, entry.th32ProcessID});
                                          });
}

bool list_modules(uint32_t process_id, std::vector<ModuleEntry>& modules)
{
    return walk_snapshot<MODULEENTRY32W>(TH32CS_SNAPMODULE, process_id, Module32FirstW, Module32NextW,
                                         [&](const MODULEENTRY32W& entry) {
                                             modules.push_back({entry.szModule, entry.szExePath});
                                         });
}

int administrator_test()
{
    SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                  0, 0, 0, &administrators))
        return -1;
    BOOL member = FALSE;
    const BOOL checked = CheckTokenMembership(nullptr, administrators, &member);
    FreeSid(administrators);
    if (!checked)
        return -1;
    return member ? 1 : 0;
}

} // namespace zyn::system::sys

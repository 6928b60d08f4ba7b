// Process and module lists from Tool Help snapshots; the administrator test
// asks whether the calling thread's token holds the enabled Administrators group.
#include "system/process_lists.h"

#include <windows.h>
#include <tlhelp32.h>

namespace zyn::sys {

bool list_processes(std::vector<ProcessEntry>& processes)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!Process32FirstW(snapshot, &entry)) {
        CloseHandle(snapshot);
        return false;
    }
    do {
        processes.push_back({entry.szExeFile, entry.th32ProcessID});
    } while (Process32NextW(snapshot, &entry));
    CloseHandle(snapshot);
    return true;
}

bool list_modules(uint32_t process_id, std::vector<ModuleEntry>& modules)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process_id);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!Module32FirstW(snapshot, &entry)) {
        CloseHandle(snapshot);
        return false;
    }
    do {
        modules.push_back({entry.szModule, entry.szExePath});
    } while (Module32NextW(snapshot, &entry));
    CloseHandle(snapshot);
    return true;
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

} // namespace zyn::sys

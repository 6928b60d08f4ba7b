// Process and module lists as text in callers' buffers, and the administrator test.
#include "system/process_sys.h"

#include "core/frame.h"
#include "system/text_buffers.h"

#include <string>

using namespace zyn;

namespace {

constexpr size_t kListReserve = 10240; // a typical process list without regrowth

void append_ascii(zyn_wstring& text, const std::string& ascii) { text.append(ascii.begin(), ascii.end()); }

// A name or path as it goes into a list: a control character (a line feed would
// end its line early) and the '*' of a ";*" (the mark before a process id)
// become '?', so that no name can add a line or pose as an id.
void append_listed(zyn_wstring& text, const zyn_wstring& name)
{
    for (size_t n = 0; n < name.size(); ++n) {
        const uint16_t unit = uint16_t(name[n]);
        const bool id_mark = unit == '*' && n > 0 && name[n - 1] == zyn_wchar(';');
        text += unit < 0x20 || id_mark ? zyn_wchar('?') : name[n];
    }
}

// A buffer with a non-zero length must be there to write into.
bool missing_buffer(const zyn_wchar* out, uint32_t length) { return out == nullptr && length != 0; }

// The wide lists inside a frame: 1, or 0 with the error recorded.
int wide_process_list(zyn_wchar* out, uint32_t length)
{
    if (missing_buffer(out, length))
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    std::vector<system::sys::ProcessEntry> processes;
    if (!system::sys::list_processes(processes))
        return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    zyn_wstring text;
    text.reserve(kListReserve);
    for (const auto& process : processes) {
        append_listed(text, process.exe_name);
        append_ascii(text, ";*" + std::to_string(int32_t(process.id)) + "\n");
    }
    system::store_cut(text.data(), text.size(), out, length);
    return 1;
}

int wide_process_info(uint32_t process_id, zyn_wchar* out, uint32_t length)
{
    if (missing_buffer(out, length))
        return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    std::vector<system::sys::ModuleEntry> modules;
    if (!system::sys::list_modules(process_id, modules) || modules.empty())
        return frame::fail(ZYN_ERR_OPERATION_FAILED, 0);
    zyn_wstring text;
    for (const auto& module : modules) {
        append_ascii(text, "modulename:");
        append_listed(text, module.name);
        append_ascii(text, "\nexecutable:");
        append_listed(text, module.path);
        append_ascii(text, "\n");
    }
    system::store_cut(text.data(), text.size(), out, length);
    return 1;
}

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_wget_listprocesses(zyn_wchar* out, uint32_t length)
{
    return frame::full(0, [&] { return wide_process_list(out, length); });
}

ZYN_EXPORT int ZYN_CALL zyn_get_listprocesses(char* out, uint32_t length)
{
    return frame::full(0, [&] { return system::narrow_list_twin(out, length, wide_process_list); });
}

ZYN_EXPORT int ZYN_CALL zyn_wget_processinfo(uint32_t process_id, zyn_wchar* out, uint32_t length)
{
    return frame::full(0, [&] { return wide_process_info(process_id, out, length); });
}

ZYN_EXPORT int ZYN_CALL zyn_get_processinfo(uint32_t process_id, char* out, uint32_t length)
{
    return frame::full(0, [&] {
        return system::narrow_list_twin(out, length, [process_id](zyn_wchar* wide, uint32_t units) {
            return wide_process_info(process_id, wide, units);
        });
    });
}

ZYN_EXPORT int ZYN_CALL zyn_is_admin(void)
{
    return frame::full(0, [&] {
        const int answer = system::sys::administrator_test();
        return answer < 0 ? frame::fail(ZYN_ERR_OPERATION_FAILED, 0) : answer;
    });
}

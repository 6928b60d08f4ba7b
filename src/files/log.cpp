// The log: one process-wide file of plain lines. No frame: it works before
// zyn_init and after zyn_unload, never touches the last error and never
// reports a failure. Each line is flushed as soon as it is written.
#include "base/owned.h"
#include "base/utf16.h"
#include "files/stream_sys.h"
#include "files/wide_format.h"

#include <zyn/zyn.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

using namespace zyn;
namespace sys = zyn::files::sys;

namespace {

// Formatted lines are built in this many units, one of them the terminating zero.
constexpr std::size_t kFormatBuffer = 2048;

// The one log stream of the process; destroying it with the module closes its file.
base::OwnedFile g_log;

void open_default_when_closed()
{
    if (g_log.valid())
        return;
    static const zyn_wstring kDefaultName = [] {
        const std::string_view name = "default logfile.txt";
        return zyn_wstring(name.begin(), name.end());
    }();
    g_log.reset(sys::open_log(kDefaultName));
}

void write_line(std::string_view bytes)
{
    open_default_when_closed();
    if (!g_log.valid())
        return;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), g_log.get());
    std::fputc('\n', g_log.get());
    std::fflush(g_log.get());
    std::clearerr(g_log.get()); // a failed write does not silence the lines after it
}

// Each wide character 0 to 255 becomes the byte of that value. One that no
// byte can hold becomes '?' (a surrogate pair stands for one character), and
// the log goes on.
std::string as_bytes(const zyn_wstring& text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const zyn_wchar c = text[i];
        if (c <= 0xFF) {
            bytes += char(static_cast<unsigned char>(c));
            continue;
        }
        if (base::is_high_surrogate(c) && i + 1 < text.size() && base::is_low_surrogate(text[i + 1]))
            ++i;
        bytes += '?';
    }
    return bytes;
}

} // namespace

ZYN_EXPORT void ZYN_CALL log_open(const std::string& name)
{
    if (!g_log.valid())
        g_log.reset(sys::open_log(name));
}

ZYN_EXPORT void ZYN_CALL wlog_open(const zyn_wstring& name)
{
    if (!g_log.valid())
        g_log.reset(sys::open_log(name));
}

ZYN_EXPORT void ZYN_CALL log_close(void)
{
    g_log.reset();
}

ZYN_EXPORT void ZYN_CALL log_write(const std::string& text) { write_line(text); }

ZYN_EXPORT void ZYN_CALL wlog_write(const zyn_wstring& text) { write_line(as_bytes(text)); }

ZYN_EXPORT void ZYN_CALL log_fwrite(const char* format, ...)
{
    char buffer[kFormatBuffer];
    int written = -1;
    if (format) {
        va_list args;
        va_start(args, format);
        written = std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
    }
    // A longer line keeps its first 2047 bytes; one that cannot be formatted is empty.
    write_line(written < 0 ? std::string_view() : std::string_view(buffer));
}

ZYN_EXPORT void ZYN_CALL wlog_fwrite(const zyn_wchar* format, ...)
{
    open_default_when_closed();
    zyn_wstring line;
    va_list args;
    va_start(args, format);
    const files::FormatOutcome outcome = files::format_wide(line, kFormatBuffer, format, args);
    va_end(args);
    // A line that needs the whole buffer or more, or cannot be formatted, is written empty.
    if (outcome != files::FormatOutcome::ok)
        line.clear();
    write_line(as_bytes(line));
}

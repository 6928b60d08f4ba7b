// Whole-file transfers between a caller's buffer and a file, in binary mode.
// A file that cannot be opened, or a transfer that fails part-way, gives 0
// with the last error left at 0.
#include "base/owned.h"
#include "base/saturate.h"
#include "core/frame.h"
#include "files/save.h"
#include "files/stream_sys.h"

#include <cstdio>
#include <limits>

using namespace zyn;
namespace sys = zyn::files::sys;

namespace {

// Opens a file for reading and finds its length, leaving it at its start.
bool open_at_start(const char* path, base::OwnedFile& in, uint64_t& length)
{
    in.reset(path ? sys::open_narrow(path, "rb") : nullptr);
    return in.valid() && sys::length(in.get(), length);
}

// The checks both writes make before the file is touched.
template <class Work>
int framed_write(const void* data, uint32_t size, Work&& work)
{
    return frame::full(0, [&] {
        if (!data && size > 0)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        return work() ? 1 : 0;
    });
}

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_write_file(const char* path, const void* data, uint32_t size)
{
    // Replaced in one step: a failed write leaves the previous file whole.
    return framed_write(data, size, [&] {
        const std::string_view bytes(static_cast<const char*>(data), data ? size : 0);
        return files::save_narrow(path, bytes) == files::SaveOutcome::written;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_write_file_append(const char* path, const void* data, uint32_t size)
{
    // An append cannot be undone, but any byte that did not reach the file,
    // or a failed close, makes it a failure.
    return framed_write(data, size, [&] {
        base::OwnedFile out(path ? sys::open_narrow(path, "ab") : nullptr);
        if (!out.valid())
            return false;
        const bool written = size == 0 || std::fwrite(data, 1, size, out.get()) == size;
        return std::fclose(out.release()) == 0 && written;
    });
}

ZYN_EXPORT uint32_t ZYN_CALL zyn_read_file(const char* path, void* buffer, uint32_t size)
{
    return frame::full(uint32_t(0), [&]() -> uint32_t {
        if (!buffer && size > 0)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, uint32_t(0));
        base::OwnedFile in;
        uint64_t length = 0;
        if (!open_at_start(path, in, length))
            return 0;
        const uint32_t wanted = length < size ? uint32_t(length) : size;
        return wanted == 0 ? 0 : uint32_t(std::fread(buffer, 1, wanted, in.get()));
    });
}

ZYN_EXPORT uint32_t ZYN_CALL zyn_get_file_size(const char* path)
{
    return frame::full(uint32_t(0), [&]() -> uint32_t {
        base::OwnedFile in;
        uint64_t length = 0;
        return open_at_start(path, in, length) ? base::saturate_u32(length) : 0;
    });
}

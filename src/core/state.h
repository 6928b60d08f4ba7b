// Library state: the process-wide loaded flag and each thread's last error.
// The last error belongs to the thread that made the call, as the system's own
// last error does, so a thread sending events never changes the error that
// another thread is about to read.
#pragma once

#include <atomic>
#include <cstdint>

namespace zyn::core {

struct LastError {
    int32_t code = 0;
    int32_t extended = 0;
};

// Set and cleared by zyn_init and zyn_unload; read by every framed call, on
// whatever thread it runs.
extern std::atomic<bool> g_loaded;
extern thread_local LastError g_last_error;

inline void clear_error() noexcept { g_last_error = LastError{}; }

inline void set_error(int32_t code, int32_t extended = 0) noexcept
{
    g_last_error.code = code;
    g_last_error.extended = extended;
}

} // namespace zyn::core

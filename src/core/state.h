// Process-wide library state: the loaded flag and the last error.
// Plain values without a lock: the library is called from one thread at a time.
#pragma once

#include <cstdint>

namespace zyn::core {

struct LastError {
    int32_t code = 0;
    int32_t extended = 0;
};

extern bool g_loaded;
extern LastError g_last_error;

inline void clear_error() noexcept { g_last_error = LastError{}; }

inline void set_error(int32_t code, int32_t extended = 0) noexcept
{
    g_last_error.code = code;
    g_last_error.extended = extended;
}

} // namespace zyn::core

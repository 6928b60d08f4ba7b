// The frame every inventory export runs in: the library's frame, then the
// handle test (error 6, nothing changed) before any work of its own.
#pragma once

#include "base/saturate.h"
#include "core/frame.h"
#include "inventory/registry.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace zyn::inventory {

// Runs work(Inventory&) for a known handle; otherwise error 6 and `not_found`.
// Error 1 and `neutral` while the library is not loaded.
template <class Result, class Work>
Result with_inventory(int32_t handle, Result neutral, Result not_found, Work&& work)
{
    return frame::full(neutral, [&]() -> Result {
        Inventory* inventory = registry().find(handle);
        if (!inventory)
            return frame::fail(ZYN_ERR_NOT_FOUND, not_found);
        return work(*inventory);
    });
}

// A count as the 32-bit result the exports return (counts never get near the limit
// in practice; should one pass it, the result stays at the largest value).
inline int32_t count_result(std::size_t count) { return base::saturate_i32(count); }

} // namespace zyn::inventory

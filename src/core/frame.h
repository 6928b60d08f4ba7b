// The calling frame that begins almost every export, written once.
//
//   full frame    return frame::full(neutral, [&] { ...work...; });
//   step 1 only   frame::clear(); ...work...   (timers: no loaded test)
//   none          the export touches no error state at all
//
// Inside the work, frame::fail(code, result[, extended]) records a failure
// and hands back the result to return, so each export states only its own work.
// An export never calls another export: where two exports share work (narrow
// and wide twins, a batch that waits, a sort that splits), each calls the
// family's internal function inside its own frame.
#pragma once

#include "core/state.h"
#include <zyn/zyn.h>

#include <utility>

namespace zyn::frame {

// Step 1: every framed call starts from a clean last error.
inline void clear() noexcept { core::clear_error(); }

// Steps 1 to 3: clear, refuse with error 1 while not loaded, then do the work.
template <class Result, class Work>
inline Result full(Result neutral, Work&& work)
{
    core::clear_error();
    if (!core::g_loaded) {
        core::set_error(ZYN_ERR_NOT_LOADED);
        return neutral;
    }
    return std::forward<Work>(work)();
}

// Records a failure and gives back the result the export returns with it.
template <class Result>
inline Result fail(int32_t code, Result result, int32_t extended = 0)
{
    core::set_error(code, extended);
    return result;
}

} // namespace zyn::frame

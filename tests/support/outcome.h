// One check of a call's outcome: its result and the last error it left.
#pragma once

#include <zyn/zyn.h>

#include <gtest/gtest.h>

namespace test {

// The call gave `expected` and left the last error (code, extended).
inline ::testing::AssertionResult gives(int64_t result, int64_t expected, int code = 0, int extended = 0)
{
    const int error = zyn_geterror(), more = zyn_get_extendederror();
    if (result == expected && error == code && more == extended) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "gave " << result << " with error " << error << "/" << more << " instead of "
                                         << expected << " with " << code << "/" << extended;
}

} // namespace test

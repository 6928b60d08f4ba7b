// What the tests of the exports share: a fixture with the library freshly loaded around each test, one check
// of a call's result with the last error it left, and wide literals (ZW("text") is a zyn_wchar literal).
#pragma once

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <string>

#if defined(_WIN32)
#  define ZW(text) L##text
#else
#  define ZW(text) u##text
#endif

namespace test {

struct LoadedLibrary : ::testing::Test {
    void SetUp() override { zyn_unload(); ASSERT_EQ(zyn_init(""), 1); }
    void TearDown() override { zyn_unload(); }
};

// The call gave `expected` and left the last error (code, extended).
inline ::testing::AssertionResult gives(int64_t result, int64_t expected, int code = 0, int extended = 0)
{
    const int error = zyn_geterror(), more = zyn_get_extendederror();
    if (result == expected && error == code && more == extended) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "gave " << result << " with error " << error << "/" << more << " instead of "
                                         << expected << " with " << code << "/" << extended;
}

// The last error is exactly (code, extended).
inline bool error_is(int code, int extended = 0) { return zyn_geterror() == code && zyn_get_extendederror() == extended; }

// ASCII-only widening for building test inputs.
inline zyn_wstring widen_ascii(const std::string& s) { return zyn_wstring(s.begin(), s.end()); }

} // namespace test

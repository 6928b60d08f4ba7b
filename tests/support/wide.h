// Wide-text helpers for tests: ZW("text") is a zyn_wchar literal on every platform.
#pragma once

#include <zyn/zyn.h>

#include <string>

#if defined(_WIN32)
#  define ZW(text) L##text
#else
#  define ZW(text) u##text
#endif

namespace test {

// ASCII-only widening for building test inputs.
inline zyn_wstring widen_ascii(const std::string& s) { return zyn_wstring(s.begin(), s.end()); }

} // namespace test

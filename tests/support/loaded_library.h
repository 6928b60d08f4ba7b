// A test fixture that runs each test inside a freshly loaded library.
#pragma once

#include <zyn/zyn.h>

#include <gtest/gtest.h>

namespace test {

struct LoadedLibrary : ::testing::Test {
    void SetUp() override { zyn_unload(); ASSERT_EQ(zyn_init(""), 1); }
    void TearDown() override { zyn_unload(); }
};

} // namespace test

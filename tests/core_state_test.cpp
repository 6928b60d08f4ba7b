// Loading, unloading, the last error and the calling frame.
#include <zyn/zyn.h>

#include <gtest/gtest.h>

namespace {

class LibraryState : public ::testing::Test {
protected:
    void SetUp() override
    {
        zyn_unload();
        zyn_seterror(0, 0);
    }
    void TearDown() override { zyn_unload(); }
};

TEST_F(LibraryState, FramedCallBeforeInitFailsWithNotLoaded)
{
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_isloaded(), 0);
    zyn_seterror(9, 9);
    EXPECT_EQ(zyn_timer_get_timestamp(ZYN_UNIT_SECONDS), -1);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_get_extendederror(), 0);
}

TEST_F(LibraryState, InitTwiceFailsAndStaysLoaded)
{
    EXPECT_EQ(zyn_init(nullptr), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_init("again"), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_ALREADY_LOADED);
    EXPECT_EQ(zyn_get_extendederror(), 0);
    EXPECT_EQ(zyn_isloaded(), 1);
}

TEST_F(LibraryState, UnloadWhenNotLoadedIsNotAnError)
{
    zyn_seterror(3, 4);
    EXPECT_EQ(zyn_unload(), 0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_get_extendederror(), 0);
}

TEST_F(LibraryState, UnloadThenInitMakesTheLibraryUsableAgain)
{
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_unload(), 1);
    EXPECT_EQ(zyn_isloaded(), 0);
    EXPECT_EQ(zyn_timer_get_timestamp(ZYN_UNIT_SECONDS), -1);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_GT(zyn_timer_get_timestamp(ZYN_UNIT_SECONDS), 0);
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(LibraryState, SetErrorAndFrameReset)
{
    ASSERT_EQ(zyn_init(""), 1);
    zyn_seterror(7, -3);
    EXPECT_EQ(zyn_geterror(), 7);
    EXPECT_EQ(zyn_get_extendederror(), -3);
    zyn_set_extendederror(5);
    EXPECT_EQ(zyn_geterror(), 7);
    EXPECT_EQ(zyn_get_extendederror(), 5);
    zyn_timer_get_timestamp(ZYN_UNIT_MILLISECONDS); // framed: resets both
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_get_extendederror(), 0);
    zyn_seterror(1234567, INT32_MIN); // stored as given, whatever it is
    EXPECT_EQ(zyn_geterror(), 1234567);
    EXPECT_EQ(zyn_get_extendederror(), INT32_MIN);
}

TEST_F(LibraryState, QueriesWithoutFrameLeaveTheLastErrorAlone)
{
    zyn_seterror(6, 11);
    EXPECT_EQ(zyn_getversion(), 1007);
    EXPECT_EQ(zyn_isloaded(), 0);
    const char* info = zyn_getinfo();
    ASSERT_NE(info, nullptr);
    EXPECT_GT(std::string(info).size(), 0u);
    EXPECT_EQ(zyn_getinfo(), info); // static: the same pointer every time
    (void)zyn_DebuggerIsPresent();
    EXPECT_EQ(zyn_geterror(), 6);
    EXPECT_EQ(zyn_get_extendederror(), 11);
    ASSERT_EQ(zyn_init(""), 1);
    zyn_seterror(6, 11);
    EXPECT_EQ(zyn_getversion(), 1007);
    EXPECT_EQ(zyn_isloaded(), 1);
    EXPECT_EQ(zyn_geterror(), 6);
}

TEST_F(LibraryState, NoDebuggerUnderTheTestRunner)
{
    // The suite is run without a debugger attached; a tracer would make this 1.
    EXPECT_EQ(zyn_DebuggerIsPresent(), 0);
}

} // namespace

// Loading and unloading (and what an unload releases across families), the last error and the calling frame.
#include "support/library.h"

struct Library : ::testing::Test { void SetUp() override { zyn_unload(); } void TearDown() override { zyn_unload(); } };
using test::error_is;

TEST_F(Library, InitUnloadAndTheFrameSetTheLastErrorAsDocumented)
{
    zyn_seterror(9, 9);
    EXPECT_TRUE(zyn_timer_get_timestamp(ZYN_UNIT_SECONDS) == -1 && error_is(ZYN_ERR_NOT_LOADED)); // framed, before init
    zyn_seterror(3, 4);
    EXPECT_TRUE(zyn_unload() == 0 && error_is(0)); // unloading what is not loaded is no error
    zyn_seterror(9, 9);
    EXPECT_TRUE(zyn_init(nullptr) == 1 && error_is(0) && zyn_isloaded() == 1);
    EXPECT_TRUE(zyn_init("again") == 0 && error_is(ZYN_ERR_ALREADY_LOADED) && zyn_isloaded() == 1);
    zyn_seterror(7, -3);
    EXPECT_TRUE(error_is(7, -3));
    zyn_set_extendederror(5);
    EXPECT_TRUE(error_is(7, 5));
    EXPECT_TRUE(zyn_timer_get_timestamp(ZYN_UNIT_SECONDS) > 0 && error_is(0)); // a framed call clears both
    zyn_seterror(1234567, INT32_MIN); // stored as given, whatever it is
    EXPECT_TRUE(error_is(1234567, INT32_MIN));
    EXPECT_TRUE(zyn_unload() == 1 && error_is(0) && zyn_isloaded() == 0);
    EXPECT_TRUE(zyn_timer_get_timestamp(ZYN_UNIT_SECONDS) == -1 && error_is(ZYN_ERR_NOT_LOADED));
    for (int loaded : {0, 1}) { // queries without a frame leave the last error alone
        ASSERT_EQ(loaded ? zyn_init("") : 1, 1);
        zyn_seterror(6, 11);
        EXPECT_TRUE(zyn_getversion() == 1007 && zyn_isloaded() == loaded && zyn_DebuggerIsPresent() == 0);
        EXPECT_TRUE(zyn_getinfo() != nullptr && *zyn_getinfo() != '\0' && error_is(6, 11));
    }
}

TEST_F(Library, UnloadReleasesInventoriesHttpAndSocketsButKeepsEventsAndTimers)
{
    ASSERT_EQ(zyn_init(""), 1);
    zyn_event_clear();
    const int bag = zyn_inventory_create(), sockets = zyn_socket_load();
    const int http = zyn_http_init(); // loads only where libcurl is found (not under Wine here)
    TimerRecord timer{};
    ASSERT_TRUE(bag != 0 && sockets == 1 && zyn_event_send(7, 8, 9) == 1 && zyn_timer_restart(&timer) == 1);
    zyn_seterror(2, 2);
    ASSERT_EQ(zyn_unload(), 1);
    EXPECT_TRUE(error_is(0) && zyn_isloaded() == 0 && zyn_http_isloaded() == 0 && zyn_socket_isloaded() == 0);
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_TRUE(zyn_inventory_exists(bag) == 0 && error_is(0) && zyn_http_isloaded() == 0 && zyn_socket_isloaded() == 0);
    EXPECT_TRUE(zyn_socket_load() == 1 && zyn_http_init() == http); // back through their own operations
    EXPECT_GT(zyn_inventory_create(), bag); // handles are never given out twice while the module stays loaded
    EventRecord e{};
    ASSERT_TRUE(zyn_event_count() == 1 && zyn_event_get(&e) == 1);
    EXPECT_TRUE(e.code == 7 && e.param1 == 8 && e.param2 == 9);
    EXPECT_TRUE(timer.state == ZYN_TIMER_RUNNING && zyn_timer_elapsed(&timer, ZYN_UNIT_NANOSECONDS) >= 0);
}


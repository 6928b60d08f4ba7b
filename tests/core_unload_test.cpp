// What zyn_unload releases across families, and what it leaves alone.
#include <zyn/zyn.h>

#include <gtest/gtest.h>

namespace {

TEST(Unload, ReleasesInventoriesHttpAndSocketsButKeepsEventsAndTimers)
{
    zyn_unload();
    ASSERT_EQ(zyn_init(""), 1);
    zyn_event_clear();

    const int bag = zyn_inventory_create();
    ASSERT_NE(bag, 0);
    ASSERT_EQ(zyn_socket_load(), 1);
    // The HTTP layer loads only where libcurl is found (not under Wine here).
    const int http = zyn_http_init();
    ASSERT_EQ(zyn_event_send(7, 8, 9), 1);
    TimerRecord timer{};
    ASSERT_EQ(zyn_timer_restart(&timer), 1);

    ASSERT_EQ(zyn_unload(), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_isloaded(), 0);
    EXPECT_EQ(zyn_http_isloaded(), 0);
    EXPECT_EQ(zyn_socket_isloaded(), 0);
    EXPECT_EQ(timer.state, ZYN_TIMER_RUNNING);

    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_inventory_exists(bag), 0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_http_isloaded(), 0);
    EXPECT_EQ(zyn_socket_isloaded(), 0);
    // The layers come back through their own operations.
    EXPECT_EQ(zyn_socket_load(), 1);
    EXPECT_EQ(zyn_http_init(), http);
    // Handles are never given out twice while the module stays loaded.
    EXPECT_GT(zyn_inventory_create(), bag);
    // Events queued before the unload are still there.
    EXPECT_EQ(zyn_event_count(), 1);
    EventRecord e{};
    ASSERT_EQ(zyn_event_get(&e), 1);
    EXPECT_EQ(e.code, 7);
    EXPECT_EQ(e.param1, 8);
    EXPECT_EQ(e.param2, 9);
    EXPECT_GE(zyn_timer_elapsed(&timer, ZYN_UNIT_NANOSECONDS), 0);
    zyn_unload();
}

} // namespace

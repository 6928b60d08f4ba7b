// The process-wide event queue: order, the empty queue, the frame, its life
// across unload and init, and senders on other threads while the game loop takes.
#include "support/loaded_library.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

class EventQueue : public test::LoadedLibrary {
protected:
    void SetUp() override
    {
        LoadedLibrary::SetUp();
        ASSERT_EQ(zyn_event_clear(), 1);
    }
    void TearDown() override
    {
        if (!zyn_isloaded())
            zyn_init("");
        zyn_event_clear();
        zyn_unload();
    }
};

TEST_F(EventQueue, EventsComeOutInTheOrderSent)
{
    EXPECT_EQ(zyn_event_send(1, 2, 3), 1);
    EXPECT_EQ(zyn_event_send(4, 5, 6), 1);
    EXPECT_EQ(zyn_event_send(0, INT32_MIN, INT32_MAX), 1); // code 0 is the caller's too
    EXPECT_EQ(zyn_event_count(), 3);

    EventRecord e{-1, -1, -1};
    EXPECT_EQ(zyn_event_get(&e), 1);
    EXPECT_EQ(e.code, 1);
    EXPECT_EQ(e.param1, 2);
    EXPECT_EQ(e.param2, 3);
    EXPECT_EQ(zyn_event_get(&e), 1);
    EXPECT_EQ(e.code, 4);
    EXPECT_EQ(e.param1, 5);
    EXPECT_EQ(e.param2, 6);
    EXPECT_EQ(zyn_event_get(&e), 1);
    EXPECT_EQ(e.code, 0);
    EXPECT_EQ(e.param1, INT32_MIN);
    EXPECT_EQ(e.param2, INT32_MAX);

    // Empty: false, code 0, and no error.
    e.code = 99;
    EXPECT_EQ(zyn_event_get(&e), 0);
    EXPECT_EQ(e.code, 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
    EXPECT_EQ(zyn_event_count(), 0);
}

TEST_F(EventQueue, ClearEmptiesAndAMissingRecordKeepsTheEvent)
{
    EXPECT_EQ(zyn_event_clear(), 1); // on an empty queue
    EXPECT_EQ(zyn_event_count(), 0);
    for (int i = 0; i < 1000; ++i)
        zyn_event_send(i, i, i);
    EXPECT_EQ(zyn_event_count(), 1000);
    EXPECT_EQ(zyn_event_clear(), 1);
    EXPECT_EQ(zyn_event_count(), 0);

    zyn_event_send(7, 8, 9);
    EXPECT_EQ(zyn_event_get(nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_event_count(), 1);
    EventRecord e{};
    EXPECT_EQ(zyn_event_get(&e), 1);
    EXPECT_EQ(e.code, 7);
}

TEST_F(EventQueue, RefusesWhileNotLoadedButKeepsEventsAcrossUnload)
{
    zyn_event_send(1, 2, 3);
    ASSERT_EQ(zyn_unload(), 1);

    EventRecord e{55, 66, 77};
    EXPECT_EQ(zyn_event_send(4, 5, 6), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_event_get(&e), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(e.code, 55); // not touched
    EXPECT_EQ(zyn_event_count(), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_event_clear(), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);

    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_event_count(), 1); // the refused send added nothing, the clear removed nothing
    EXPECT_EQ(zyn_event_get(&e), 1);
    EXPECT_EQ(e.code, 1);
    EXPECT_EQ(e.param1, 2);
    EXPECT_EQ(e.param2, 3);
}

TEST_F(EventQueue, SendersOnOtherThreadsLoseNothingAndLeaveThisThreadsErrorAlone)
{
    // Two threads send numbered events while this thread takes them: each
    // sender's events arrive complete and in its own order. The senders'
    // calls clear their own last error, never the one this thread just got.
    constexpr int kPerSender = 20000;
    std::atomic<bool> go{false};
    std::vector<std::thread> senders;
    for (int s = 1; s <= 2; ++s)
        senders.emplace_back([s, &go] {
            while (!go.load())
                std::this_thread::yield();
            for (int i = 0; i < kPerSender; ++i)
                zyn_event_send(s, i, -i);
        });
    go = true;
    int next[3] = {0, 0, 0};
    int taken = 0, errors_lost = 0;
    bool in_order = true;
    while (taken < 2 * kPerSender) {
        zyn_event_get(nullptr);
        errors_lost += zyn_geterror() != ZYN_ERR_INVALID_ARGUMENT;
        EventRecord e{};
        if (zyn_event_get(&e)) {
            ASSERT_TRUE(e.code == 1 || e.code == 2) << e.code;
            in_order = in_order && e.param1 == next[e.code] && e.param2 == -e.param1;
            ++next[e.code];
            ++taken;
        } else {
            std::this_thread::yield();
        }
    }
    for (auto& t : senders)
        t.join();
    EXPECT_TRUE(in_order);
    EXPECT_EQ(errors_lost, 0);
    EXPECT_EQ(next[1], kPerSender);
    EXPECT_EQ(next[2], kPerSender);
    EXPECT_EQ(zyn_event_count(), 0);
}

} // namespace

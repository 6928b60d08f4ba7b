// The process-wide event queue: order, the empty queue, the frame, its life
// across unload and init, and senders on other threads while the game loop takes.
#include "support/loaded_library.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
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
    static void expect_next(int code, int param1, int param2)
    {
        EventRecord e{-1, -1, -1};
        EXPECT_EQ(zyn_event_get(&e), 1);
        EXPECT_EQ(e.code, code);
        EXPECT_EQ(e.param1, param1);
        EXPECT_EQ(e.param2, param2);
    }
};

TEST_F(EventQueue, EventsComeOutInTheOrderSent)
{
    EXPECT_EQ(zyn_event_clear(), 1); // on an empty queue
    for (int i = 0; i < 1000; ++i)
        zyn_event_send(i, i, i);
    EXPECT_EQ(zyn_event_count(), 1000);
    EXPECT_EQ(zyn_event_clear(), 1);
    EXPECT_EQ(zyn_event_count(), 0);

    zyn_seterror(7, 9);
    EXPECT_EQ(zyn_event_send(1, 2, 3), 1); // every call starts from a clean last error
    EXPECT_EQ(zyn_geterror() + zyn_get_extendederror(), 0);
    EXPECT_EQ(zyn_event_send(0, INT32_MIN, INT32_MAX), 1); // code 0 is the caller's too
    EXPECT_EQ(zyn_event_get(nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_event_count(), 2); // a missing record keeps the event
    expect_next(1, 2, 3);
    expect_next(0, INT32_MIN, INT32_MAX);

    EventRecord e{99, 0, 0}; // empty: false, code 0, and no error
    EXPECT_EQ(zyn_event_get(&e), 0);
    EXPECT_EQ(e.code, 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NONE);
    EXPECT_EQ(zyn_event_count(), 0);
}

TEST_F(EventQueue, RefusesWhileNotLoadedButKeepsEventsAcrossUnload)
{
    zyn_event_send(1, 2, 3);
    ASSERT_EQ(zyn_unload(), 1);
    EventRecord e{55, 66, 77};
    const std::function<int()> calls[] = {[] { return zyn_event_send(4, 5, 6); }, [&] { return zyn_event_get(&e); },
                                          zyn_event_count, zyn_event_clear};
    for (const auto& call : calls) {
        EXPECT_EQ(call(), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    }
    EXPECT_EQ(e.code, 55);
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_event_count(), 1); // the refused send added nothing, the clear removed nothing
    expect_next(1, 2, 3);
}

TEST_F(EventQueue, SendersOnOtherThreadsLoseNothingAndLeaveThisThreadsErrorAlone)
{
    // Two threads send numbered events while this thread takes them: each sender's
    // events arrive complete and in order, and the senders' calls never clear this thread's error.
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
    int next[3] = {0, 0, 0}, taken = 0, errors_lost = 0;
    bool in_order = true;
    while (taken < 2 * kPerSender) {
        zyn_event_get(nullptr);
        errors_lost += zyn_geterror() != ZYN_ERR_INVALID_ARGUMENT;
        EventRecord e{};
        if (!zyn_event_get(&e)) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_TRUE(e.code == 1 || e.code == 2) << e.code;
        in_order = in_order && e.param1 == next[e.code]++ && e.param2 == -e.param1;
        ++taken;
    }
    for (auto& t : senders)
        t.join();
    EXPECT_TRUE(in_order);
    EXPECT_EQ(errors_lost, 0);
    EXPECT_EQ(next[1], kPerSender);
    EXPECT_EQ(zyn_event_count(), 0);
}

} // namespace

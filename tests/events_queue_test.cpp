// The process-wide event queue: order, the empty queue, the frame, unload and other threads.
#include "support/library.h"

#include <atomic>
#include <functional>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using EventQueue = test::LoadedLibrary;
using test::gives;

TEST_F(EventQueue, OrderEmptyQueueLifeAcrossUnloadAndSendersOnOtherThreads)
{
    ASSERT_EQ(zyn_event_clear(), 1); // also on an empty queue
    zyn_seterror(7, 9);
    EXPECT_TRUE(gives(zyn_event_send(1, 2, 3), 1)); // every call starts from a clean last error
    EXPECT_EQ(zyn_event_send(0, INT32_MIN, INT32_MAX), 1); // code 0 is the caller's too
    EXPECT_TRUE(gives(zyn_event_get(nullptr), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_EQ(zyn_event_count(), 2); // a missing record keeps the event
    for (const auto& expected : {EventRecord{1, 2, 3}, EventRecord{0, INT32_MIN, INT32_MAX}}) {
        EventRecord e{-1, -1, -1};
        EXPECT_TRUE(gives(zyn_event_get(&e), 1));
        EXPECT_EQ(std::tie(e.code, e.param1, e.param2), std::tie(expected.code, expected.param1, expected.param2));
    }
    EventRecord e{99, 0, 0}; // empty: false, code 0, and no error
    EXPECT_TRUE(gives(zyn_event_get(&e), 0));
    EXPECT_EQ(e.code, 0);

    // Unloaded, every call is refused, but the queue lives on to the next init.
    zyn_event_send(1, 2, 3);
    ASSERT_EQ(zyn_unload(), 1);
    e.code = 55;
    const std::function<int()> calls[] = {[] { return zyn_event_send(4, 5, 6); }, [&] { return zyn_event_get(&e); },
                                          zyn_event_count, zyn_event_clear};
    for (const auto& call : calls)
        EXPECT_TRUE(gives(call(), 0, ZYN_ERR_NOT_LOADED));
    EXPECT_EQ(e.code, 55);
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_event_count(), 1); // the refused send added nothing, the clear removed nothing
    EXPECT_EQ(zyn_event_clear(), 1);
    EXPECT_EQ(zyn_event_count(), 0);

    // Two threads send numbered events while this thread takes them: each sender's events arrive
    // complete and in order, and the senders' calls never clear this thread's error.
    constexpr int kPerSender = 20000;
    std::atomic<int> sending{2};
    std::vector<std::thread> senders;
    for (int s = 1; s <= 2; ++s)
        senders.emplace_back([s, &sending] {
            for (int i = 0; i < kPerSender; ++i)
                zyn_event_send(s, i, -i);
            --sending;
        });
    int next[3] = {0, 0, 0}, wrong = 0; // events out of order and errors lost
    for (bool sent = false; next[1] + next[2] < 2 * kPerSender;) {
        zyn_event_get(nullptr);
        wrong += zyn_geterror() != ZYN_ERR_INVALID_ARGUMENT;
        EventRecord e{};
        if (zyn_event_get(&e) == 1 && (e.code == 1 || e.code == 2))
            wrong += e.param1 != next[e.code]++ || e.param2 != -e.param1;
        else if (std::exchange(sent, sending == 0)) // nothing came after the senders were done
            break;
        else
            std::this_thread::yield();
    }
    for (auto& t : senders)
        t.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(std::make_pair(next[1], next[2]), std::make_pair(kPerSender, kPerSender));
}

} // namespace

// Waiting on the monotonic clock and sampling the CPU load.
#include "support/loaded_library.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class Waiting : public test::LoadedLibrary {};

int64_t ms_since(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

TEST_F(Waiting, WaitsAtLeastTheGivenTime)
{
    auto t = Clock::now();
    EXPECT_EQ(zyn_wait(0), 1);
    EXPECT_LT(ms_since(t), 1000);
    EXPECT_EQ(zyn_geterror(), 0);

    t = Clock::now();
    EXPECT_EQ(zyn_wait(1), 1);
    EXPECT_GE(Clock::now() - t, std::chrono::milliseconds(1));

    t = Clock::now();
    EXPECT_EQ(zyn_wait(250), 1);
    EXPECT_GE(ms_since(t), 250);
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(Waiting, RefusesWhileNotLoaded)
{
    zyn_unload();
    const auto t = Clock::now();
    EXPECT_EQ(zyn_wait(1000), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_LT(ms_since(t), 900); // returned at once, without waiting
    EXPECT_EQ(zyn_getcpuload(), -1.0f);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
}

TEST_F(Waiting, CpuLoadIsAFraction)
{
    const float first = zyn_getcpuload(); // average since boot
    EXPECT_GE(first, 0.0f);
    EXPECT_LE(first, 1.0f);
    EXPECT_EQ(zyn_geterror(), 0);

    // Two samples back to back: the system times have (almost always) not moved.
    zyn_getcpuload();
    const float again = zyn_getcpuload();
    EXPECT_GE(again, 0.0f);
    EXPECT_LE(again, 1.0f);

    // Keep every processor busy between two samples: the load is high.
    zyn_getcpuload();
    std::atomic<bool> stop{false};
    std::vector<std::thread> burners;
    const unsigned n = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < n; ++i)
        burners.emplace_back([&] {
            volatile uint64_t x = 0;
            while (!stop.load(std::memory_order_relaxed))
                x = x + 1;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    const float busy = zyn_getcpuload();
    stop = true;
    for (auto& b : burners)
        b.join();
    EXPECT_GT(busy, 0.3f); // generous: a shared machine still shows the burners
    EXPECT_LE(busy, 1.0f);
}

} // namespace

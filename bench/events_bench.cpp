// Event send/take pairs per second: one thread alone, and two threads that
// both send and take, contending for the queue lock.
#include <zyn/zyn.h>

#include <benchmark/benchmark.h>

namespace {

void BM_EventSendTakePair(benchmark::State& state)
{
    if (state.thread_index() == 0) {
        zyn_init("");
        zyn_event_clear();
    }
    EventRecord e{};
    int32_t n = 0;
    for (auto _ : state) {
        zyn_event_send(1, n++, 2);
        benchmark::DoNotOptimize(zyn_event_get(&e));
    }
    state.SetItemsProcessed(state.iterations()); // pairs
    if (state.thread_index() == 0) {
        zyn_event_clear();
        zyn_unload();
    }
}
BENCHMARK(BM_EventSendTakePair)->Threads(1)->Threads(2)->UseRealTime();

// A burst of 1000 events sent, then all taken: the queue grows and drains.
void BM_EventBurstOf1000(benchmark::State& state)
{
    zyn_init("");
    zyn_event_clear();
    EventRecord e{};
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            zyn_event_send(i, i, i);
        while (zyn_event_get(&e))
            benchmark::DoNotOptimize(e);
    }
    state.SetItemsProcessed(state.iterations() * 1000); // pairs
    zyn_unload();
}
BENCHMARK(BM_EventBurstOf1000);

} // namespace

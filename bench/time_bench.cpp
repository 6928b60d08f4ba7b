// Cost of a framed export and of each timer operation, next to a bare read of
// the same monotonic clock (the floor any timer operation stands on).
#include <zyn/zyn.h>

#include <benchmark/benchmark.h>

#include <time.h>

namespace {

void BM_ClockGettimeMonotonic(benchmark::State& state)
{
    timespec ts;
    for (auto _ : state) {
        clock_gettime(CLOCK_MONOTONIC, &ts);
        benchmark::DoNotOptimize(ts);
    }
}
BENCHMARK(BM_ClockGettimeMonotonic);

void BM_FramedExportTimestamp(benchmark::State& state)
{
    zyn_init("");
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_timer_get_timestamp(ZYN_UNIT_MILLISECONDS));
    zyn_unload();
}
BENCHMARK(BM_FramedExportTimestamp);

void BM_FramedExportRefusedNotLoaded(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_timer_get_timestamp(ZYN_UNIT_MILLISECONDS));
}
BENCHMARK(BM_FramedExportRefusedNotLoaded);

void BM_TimerElapsed(benchmark::State& state)
{
    TimerRecord t{};
    zyn_timer_restart(&t);
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_timer_elapsed(&t, ZYN_UNIT_NANOSECONDS));
}
BENCHMARK(BM_TimerElapsed);

void BM_TimerRestart(benchmark::State& state)
{
    TimerRecord t{};
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_timer_restart(&t));
}
BENCHMARK(BM_TimerRestart);

void BM_TimerPauseResume(benchmark::State& state)
{
    TimerRecord t{};
    zyn_timer_restart(&t);
    for (auto _ : state) {
        benchmark::DoNotOptimize(zyn_timer_pause(&t));
        benchmark::DoNotOptimize(zyn_timer_resume(&t));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TimerPauseResume);

void BM_TimerForce(benchmark::State& state)
{
    TimerRecord t{};
    zyn_timer_restart(&t);
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_timer_force(&t, 10, ZYN_UNIT_SECONDS));
}
BENCHMARK(BM_TimerForce);

} // namespace

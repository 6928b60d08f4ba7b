// A 32-bit draw through the export next to seeding a complete std::mt19937
// per draw (what each draw must equal), plus the other draw shapes.
#include <zyn/zyn.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

namespace {

void BM_StdMt19937SeededPerDraw(benchmark::State& state)
{
    uint32_t seed = 1;
    for (auto _ : state) {
        std::mt19937 generator(seed++);
        benchmark::DoNotOptimize(generator());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StdMt19937SeededPerDraw);

// The export: frame, clock read for the seed, and the draw over every 32-bit value.
void BM_ZynRandomInt32FullWidth(benchmark::State& state)
{
    zyn_init("");
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_random_int32(INT32_MIN, INT32_MAX));
    state.SetItemsProcessed(state.iterations());
    zyn_unload();
}
BENCHMARK(BM_ZynRandomInt32FullWidth);

void BM_ZynRandomInt32Die(benchmark::State& state)
{
    zyn_init("");
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_random_int32(1, 6));
    state.SetItemsProcessed(state.iterations());
    zyn_unload();
}
BENCHMARK(BM_ZynRandomInt32Die);

// Two generator outputs per draw.
void BM_ZynRandomInt64Wide(benchmark::State& state)
{
    zyn_init("");
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_random_int64(0, int64_t(1) << 40));
    state.SetItemsProcessed(state.iterations());
    zyn_unload();
}
BENCHMARK(BM_ZynRandomInt64Wide);

void BM_ZynGetLucky(benchmark::State& state)
{
    zyn_init("");
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_getlucky(30));
    state.SetItemsProcessed(state.iterations());
    zyn_unload();
}
BENCHMARK(BM_ZynGetLucky);

void BM_ZynRound(benchmark::State& state)
{
    zyn_init("");
    double v = 3.14159;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zyn_round(v, 2));
        v += 0.001;
    }
    zyn_unload();
}
BENCHMARK(BM_ZynRound);

} // namespace

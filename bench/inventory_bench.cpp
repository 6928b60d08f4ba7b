// Inventory add and lookup on inventories of 10, 100 and 1,000 items (the
// item looked for is the last one added), and loading a 10,000-line text from
// a string and from a file, against the anchor: the same lines parsed into a
// std::unordered_map<std::string, uint64_t>. Memory: what 10,000 loaded items
// hold, and the most the loads hold at any moment, against the text's size.
#include <zyn/zyn.h>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// The heap taken through operator new (the library's containers allocate
// there): what is in use now, and the most in use since the last reset.
std::size_t g_new_in_use = 0;
std::size_t g_new_peak = 0;

void reset_new_peak() { g_new_peak = g_new_in_use; }

} // namespace

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    g_new_in_use += malloc_usable_size(p);
    if (g_new_in_use > g_new_peak)
        g_new_peak = g_new_in_use;
    return p;
}
void operator delete(void* p) noexcept
{
    if (p)
        g_new_in_use -= malloc_usable_size(p);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

std::string item_name(int i) { return "item" + std::to_string(100000 + i); }

// A fresh inventory holding n items of quantity 5.
int filled_inventory(int n)
{
    zyn_init("bench");
    const int h = zyn_inventory_create();
    for (int i = 0; i < n; ++i)
        zyn_inventory_add_item(h, item_name(i).c_str(), 5);
    return h;
}

void BM_AddToExistingItem(benchmark::State& state)
{
    const int n = int(state.range(0));
    const int h = filled_inventory(n);
    const std::string last = item_name(n - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_inventory_add_item(h, last.c_str(), 1.0));
    zyn_unload();
}
BENCHMARK(BM_AddToExistingItem)->Arg(10)->Arg(100)->Arg(1000);

void BM_AddNewItemThenRemoveIt(benchmark::State& state)
{
    const int n = int(state.range(0));
    const int h = filled_inventory(n);
    for (auto _ : state) {
        zyn_inventory_add_item(h, "newcomer", 3.0);  // searched in vain, then appended
        zyn_inventory_add_item(h, "newcomer", -3.0); // found last, then removed
    }
    state.SetItemsProcessed(state.iterations() * 2);
    zyn_unload();
}
BENCHMARK(BM_AddNewItemThenRemoveIt)->Arg(10)->Arg(100)->Arg(1000);

void BM_GetQuantityOfLastItem(benchmark::State& state)
{
    const int n = int(state.range(0));
    const int h = filled_inventory(n);
    const std::string last = item_name(n - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_inventory_get_quantidade(h, last.c_str()));
    zyn_unload();
}
BENCHMARK(BM_GetQuantityOfLastItem)->Arg(10)->Arg(100)->Arg(1000);

void BM_ItemExistsMissing(benchmark::State& state)
{
    const int n = int(state.range(0));
    const int h = filled_inventory(n);
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_inventory_item_exists(h, "not held"));
    zyn_unload();
}
BENCHMARK(BM_ItemExistsMissing)->Arg(10)->Arg(100)->Arg(1000);

// 10,000 lines: `distinct` different names, repeated in turn.
std::string ten_thousand_lines(int distinct)
{
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += item_name(i % distinct) + "=" + std::to_string(1 + i % 97) + "\n";
    return text;
}

// The anchor: each line cut at its first "=", the value read as a number, and
// equal names summed in a hash map, as the inventory's loader does.
void BM_AnchorParseIntoUnorderedMap10000Lines(benchmark::State& state)
{
    const std::string text = ten_thousand_lines(int(state.range(0)));
    for (auto _ : state) {
        std::unordered_map<std::string, uint64_t> items;
        std::string_view rest = text;
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            const std::string_view line = rest.substr(0, end);
            const std::size_t equals = line.find('=');
            uint64_t value = 0;
            std::from_chars(line.data() + equals + 1, line.data() + line.size(), value);
            items[std::string(line.substr(0, equals))] += value;
            rest.remove_prefix(end + 1);
        }
        benchmark::DoNotOptimize(items.size());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_AnchorParseIntoUnorderedMap10000Lines)->ArgName("names")->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_LoadFromString10000Lines(benchmark::State& state)
{
    const std::string text = ten_thousand_lines(int(state.range(0)));
    zyn_init("bench");
    for (auto _ : state) {
        const int h = zyn_inventory_create();
        benchmark::DoNotOptimize(zyn_inventory_loadfromstring(h, text.c_str()));
        zyn_inventory_destroy(h);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
    state.SetBytesProcessed(state.iterations() * int64_t(text.size()));
    zyn_unload();
}
BENCHMARK(BM_LoadFromString10000Lines)->ArgName("names")->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Memory: the heap that 10,000 distinct items loaded from text hold, against
// the text's size (glibc's count of bytes in use, blocks it maps on their own
// included: whether a large block is mapped depends on what ran before).
size_t heap_in_use()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_LoadFromString10000LinesHeap(benchmark::State& state)
{
    const std::string text = ten_thousand_lines(10000);
    zyn_init("bench");
    double ratio = 0;
    for (auto _ : state) {
        const size_t before = heap_in_use();
        const int h = zyn_inventory_create();
        zyn_inventory_loadfromstring(h, text.c_str());
        ratio = double(heap_in_use() - before) / double(text.size());
        zyn_inventory_destroy(h);
    }
    state.counters["heap_per_text_byte"] = ratio;
    zyn_unload();
}
BENCHMARK(BM_LoadFromString10000LinesHeap)->Iterations(1);

// The most heap a load of 10,000 distinct items holds at any moment, from a
// string and from a file (whose text the load reads into memory first), and
// what the items hold afterwards, all against the text's size.
void BM_Load10000LinesPeakHeap(benchmark::State& state)
{
    const bool from_file = state.range(0) != 0;
    const std::string text = ten_thousand_lines(10000);
    const std::string path = (std::filesystem::temp_directory_path() / "zyn-inventory-bench-peak.txt").string();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    zyn_init("bench");
    double peak = 0, held = 0;
    for (auto _ : state) {
        const int h = zyn_inventory_create();
        const std::size_t before = g_new_in_use;
        reset_new_peak();
        const int count = from_file ? zyn_inventory_loadfromfile(h, path.c_str())
                                    : zyn_inventory_loadfromstring(h, text.c_str());
        if (count != 10000)
            state.SkipWithError("load failed");
        peak = double(g_new_peak - before) / double(text.size());
        held = double(g_new_in_use - before) / double(text.size());
        zyn_inventory_destroy(h);
    }
    state.counters["peak_heap_per_text_byte"] = peak;
    state.counters["held_heap_per_text_byte"] = held;
    zyn_unload();
    std::remove(path.c_str());
}
BENCHMARK(BM_Load10000LinesPeakHeap)->ArgName("file")->Arg(0)->Arg(1)->Iterations(1);

void BM_LoadFromFile10000Lines(benchmark::State& state)
{
    const std::string text = ten_thousand_lines(int(state.range(0)));
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zyn-inventory-bench-" + std::to_string(state.range(0)) + ".txt"))
            .string();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    zyn_init("bench");
    const int h = zyn_inventory_create();
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_inventory_loadfromfile(h, path.c_str()));
    state.SetItemsProcessed(state.iterations() * 10000);
    zyn_unload();
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadFromFile10000Lines)->ArgName("names")->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

// Whole-file transfers and directory listings next to the plain ways of doing
// the same: fwrite/fread of the same 64 MiB, and std::filesystem's
// directory_iterator collecting the same paths of 10,000 files.
#include <zyn/zyn.h>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kBigFile = 64u << 20;
constexpr int kListedFiles = 10000;

// One scratch directory for the whole run, removed at exit.
struct Scratch {
    fs::path root = fs::temp_directory_path() / ("zyn-files-bench-" + std::to_string(::getpid()));
    Scratch() { fs::create_directories(root); }
    ~Scratch()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

Scratch& scratch()
{
    static Scratch s;
    return s;
}

std::vector<char>& payload()
{
    static std::vector<char> bytes = [] {
        std::vector<char> b(kBigFile);
        for (std::size_t i = 0; i < b.size(); ++i)
            b[i] = char(i * 2654435761u >> 24);
        return b;
    }();
    return bytes;
}

const fs::path& listing_dir()
{
    static const fs::path dir = [] {
        fs::path d = scratch().root / "listing";
        fs::create_directories(d);
        for (int i = 0; i < kListedFiles; ++i)
            std::fclose(std::fopen((d / ("save_" + std::to_string(i) + ".dat")).c_str(), "wb"));
        return d;
    }();
    return dir;
}

void BM_PlainFwriteFread64MiB(benchmark::State& state)
{
    const std::string path = (scratch().root / "plain.bin").string();
    std::vector<char>& data = payload();
    std::vector<char> back(kBigFile);
    for (auto _ : state) {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), out);
        std::fclose(out);
        std::FILE* in = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(back.data(), 1, back.size(), in));
        std::fclose(in);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * kBigFile);
}
BENCHMARK(BM_PlainFwriteFread64MiB)->Unit(benchmark::kMillisecond);

void BM_ZynWriteRead64MiB(benchmark::State& state)
{
    zyn_init("");
    const std::string path = (scratch().root / "zyn.bin").string();
    std::vector<char>& data = payload();
    std::vector<char> back(kBigFile);
    for (auto _ : state) {
        zyn_write_file(path.c_str(), data.data(), kBigFile);
        benchmark::DoNotOptimize(zyn_read_file(path.c_str(), back.data(), kBigFile));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * kBigFile);
    zyn_unload();
}
BENCHMARK(BM_ZynWriteRead64MiB)->Unit(benchmark::kMillisecond);

void BM_DirectoryIteratorCollect10000(benchmark::State& state)
{
    const fs::path& dir = listing_dir();
    for (auto _ : state) {
        std::vector<fs::path> paths;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file())
                paths.push_back(entry.path());
        benchmark::DoNotOptimize(paths.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kListedFiles);
}
BENCHMARK(BM_DirectoryIteratorCollect10000)->Unit(benchmark::kMillisecond);

void BM_ZynListFiles10000(benchmark::State& state)
{
    zyn_init("");
    const std::u16string units = listing_dir().u16string();
    const zyn_wstring dir(units.begin(), units.end());
    wstring_list list;
    for (auto _ : state) {
        zyn_list_files(dir, list);
        benchmark::DoNotOptimize(list.items);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kListedFiles);
    zyn_unload();
}
BENCHMARK(BM_ZynListFiles10000)->Unit(benchmark::kMillisecond);

} // namespace

// Whole-file transfers and directory listings next to the plain ways of doing
// the same: fwrite/fread of the same 64 MiB, and std::filesystem's
// directory_iterator collecting the same paths of 10,000 files. The write
// puts a new file in the target's place only once it is on the disk (flushed,
// renamed, the directory flushed): it is measured on its own next to a plain
// fwrite and next to fwrite doing the same steps, and the read on its own
// next to fread. Wall-clock times: the waits for the disk count.
#include <zyn/zyn.h>

#include <benchmark/benchmark.h>

#include <fcntl.h>
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
BENCHMARK(BM_PlainFwriteFread64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

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
BENCHMARK(BM_ZynWriteRead64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainFwrite64MiB(benchmark::State& state)
{
    const std::string path = (scratch().root / "plain-write.bin").string();
    const std::vector<char>& data = payload();
    for (auto _ : state) {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), out);
        std::fclose(out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kBigFile);
}
BENCHMARK(BM_PlainFwrite64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

// fwrite doing what the library's write does: a new file beside the target,
// flushed to the disk, renamed over the target, the directory flushed.
void BM_PlainFwriteFsyncRename64MiB(benchmark::State& state)
{
    const std::string path = (scratch().root / "plain-durable.bin").string();
    const std::string temp = path + ".new";
    const std::vector<char>& data = payload();
    for (auto _ : state) {
        std::FILE* out = std::fopen(temp.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), out);
        std::fflush(out);
        ::fsync(::fileno(out));
        std::fclose(out);
        std::rename(temp.c_str(), path.c_str());
        const int dir = ::open(scratch().root.c_str(), O_RDONLY | O_DIRECTORY);
        ::fsync(dir);
        ::close(dir);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kBigFile);
}
BENCHMARK(BM_PlainFwriteFsyncRename64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ZynWrite64MiB(benchmark::State& state)
{
    zyn_init("");
    const std::string path = (scratch().root / "zyn-write.bin").string();
    const std::vector<char>& data = payload();
    for (auto _ : state)
        zyn_write_file(path.c_str(), data.data(), kBigFile);
    state.SetBytesProcessed(int64_t(state.iterations()) * kBigFile);
    zyn_unload();
}
BENCHMARK(BM_ZynWrite64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same file read back each time (in the page cache after the first).
const std::string& file_to_read()
{
    static const std::string path = [] {
        const std::string p = (scratch().root / "read.bin").string();
        std::FILE* out = std::fopen(p.c_str(), "wb");
        std::fwrite(payload().data(), 1, kBigFile, out);
        std::fclose(out);
        return p;
    }();
    return path;
}

void BM_PlainFread64MiB(benchmark::State& state)
{
    const std::string& path = file_to_read(); // made before the timing starts
    std::vector<char> back(kBigFile);
    for (auto _ : state) {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(back.data(), 1, back.size(), in));
        std::fclose(in);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kBigFile);
}
BENCHMARK(BM_PlainFread64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ZynRead64MiB(benchmark::State& state)
{
    zyn_init("");
    const std::string& path = file_to_read(); // made before the timing starts
    std::vector<char> back(kBigFile);
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_read_file(path.c_str(), back.data(), kBigFile));
    state.SetBytesProcessed(int64_t(state.iterations()) * kBigFile);
    zyn_unload();
}
BENCHMARK(BM_ZynRead64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

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
BENCHMARK(BM_DirectoryIteratorCollect10000)->Unit(benchmark::kMillisecond)->UseRealTime();

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
BENCHMARK(BM_ZynListFiles10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

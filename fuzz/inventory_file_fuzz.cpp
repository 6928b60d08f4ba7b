// The file reader of inventory text: the input becomes a file's bytes (line
// ends of any kind, zero bytes, no final line end), loaded into an inventory,
// then saved and loaded once more.
#include "inventory_fuzz_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string g_input, g_saved;

void remove_scratch_files()
{
    std::remove(g_input.c_str());
    std::remove(g_saved.c_str());
}

// A private file for the input and one for the saved copy, made once per run
// and removed when the run ends.
const std::string& scratch_path(std::string& path)
{
    if (path.empty()) {
        if (g_input.empty() && g_saved.empty())
            std::atexit(remove_scratch_files);
        char pattern[] = "/tmp/zyn-inventory-fuzz-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0)
            std::abort();
        close(fd);
        path = pattern;
    }
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int h = fuzz::empty_inventory();
    const std::string& in = scratch_path(g_input);
    const std::string& out = scratch_path(g_saved);
    std::FILE* f = std::fopen(in.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    zyn_inventory_add_item(h, "keep", 1);
    const int count = zyn_inventory_loadfromfile(h, in.c_str());
    fuzz::check_inventory(h, count);

    // What was loaded saves and loads back without any quantity going below 0.
    zyn_inventory_save(h, out.c_str());
    fuzz::check_inventory(h, zyn_inventory_loadfromfile(h, out.c_str()));
    return 0;
}

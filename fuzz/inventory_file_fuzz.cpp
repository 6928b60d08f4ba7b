// The file reader of inventory text: the input becomes a file's bytes (line
// ends of any kind, zero bytes, no final line end), loaded into an inventory
// that held an item, then saved and loaded once more.
#include "inventory_fuzz_checks.h"

#include <cstdio>
#include <string>
#include <unistd.h>

// Private scratch files for the input and the saved copy, made once per run
// and removed when the run ends.
struct Scratch {
    static std::string make()
    {
        char pattern[] = "/tmp/zyn-inventory-fuzz-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0)
            std::abort();
        close(fd);
        return pattern;
    }
    ~Scratch() { std::remove(in.c_str()), std::remove(out.c_str()); }
    const std::string in = make(), out = make();
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Scratch scratch;
    const std::string &in = scratch.in, &out = scratch.out;
    const int h = fuzz::empty_inventory();
    std::FILE* f = std::fopen(in.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
    zyn_inventory_add_item(h, "keep", 1);
    fuzz::check_inventory(h, zyn_inventory_loadfromfile(h, in.c_str()));
    // What was loaded saves and loads back without any quantity going below 0.
    zyn_inventory_save(h, out.c_str());
    fuzz::check_inventory(h, zyn_inventory_loadfromfile(h, out.c_str()));
    return 0;
}

// The readers of inventory text: the input loaded as a file, saved and loaded back, then as a string, followed by adds
// of an amount from its last 8 bytes and of itself as a name; its list text never reads back as more items.
#include "inventory/registry.h"

#include <zyn/zyn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <unordered_set>

namespace {

// Aborts unless no quantity is below 0, no name held twice, each found by its name and the count (if not 0) right.
std::size_t check(int handle, int reported_count)
{
    const zyn::inventory::Inventory* inv = zyn::inventory::registry().find(handle);
    std::unordered_set<std::string_view> names;
    if (!inv || (reported_count != 0 && std::size_t(reported_count) != inv->item_count()))
        std::abort();
    inv->for_each_item([&](std::string_view name, int64_t quantity) {
        if (quantity < 0 || !names.insert(name).second || inv->find(name) != quantity)
            std::abort();
    });
    if (names.size() != inv->item_count())
        std::abort();
    return names.size();
}

// One inventory for the whole run (loading the library first), emptied for each use: long runs never use up handles.
int empty_inventory()
{
    static const int handle = (zyn_init("fuzz"), zyn_inventory_create());
    zyn::inventory::Inventory* inv = zyn::inventory::registry().find(handle);
    if (!inv)
        std::abort();
    inv->clear_items();
    inv->dirty = false;
    return handle;
}

// A private scratch file, made once per run and removed when the run ends.
struct Scratch {
    Scratch()
    {
        if (const int fd = mkstemp(path); fd < 0 || close(fd) != 0)
            std::abort();
    }
    ~Scratch() { std::remove(path); }
    char path[32] = "/tmp/zyn-inventory-fuzz-XXXXXX";
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Scratch in, out;
    const int h = empty_inventory();
    std::FILE* f = std::fopen(in.path, "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
    zyn_inventory_add_item(h, "keep", 1);
    check(h, zyn_inventory_loadfromfile(h, in.path));
    zyn_inventory_save(h, out.path);
    check(h, zyn_inventory_loadfromfile(h, out.path));
    empty_inventory();
    zyn_inventory_add_item(h, "arrows", 3);
    zyn_inventory_add_item(h, "crumb", 0.5);
    const std::string text(reinterpret_cast<const char*>(data), size); // stops at a zero byte for the reader
    check(h, zyn_inventory_loadfromstring(h, text.c_str()));
    double amount = 0;
    if (size >= sizeof amount)
        std::memcpy(&amount, data + size - sizeof amount, sizeof amount);
    for (const char* name : {"arrows", "crumb", "fresh", text.c_str()})
        zyn_inventory_add_item(h, name, amount);
    zyn_inventory_add_item(h, text.c_str(), 1);
    const std::size_t items = check(h, 0);
    const std::string saved = zyn_inventory_item_list(h, nullptr);
    empty_inventory();
    if (zyn_inventory_loadfromstring(h, saved.c_str()) > int(items))
        std::abort();
    return 0;
}

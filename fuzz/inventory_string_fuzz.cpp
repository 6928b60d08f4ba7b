// The string reader of inventory text, on an inventory that already holds
// items, then adds of an amount taken from the input's last 8 bytes (any
// double: NaN, infinities, values beyond 64 bits) and the input itself added
// as a name: the list text of the result must never read back as more items
// than it lists (a line end inside a name would forge one).
#include "inventory_fuzz_checks.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int h = fuzz::empty_inventory();
    zyn_inventory_add_item(h, "arrows", 3);
    zyn_inventory_add_item(h, "crumb", 0.5);
    const std::string text(reinterpret_cast<const char*>(data), size); // stops at a zero byte for the reader
    fuzz::check_inventory(h, zyn_inventory_loadfromstring(h, text.c_str()));
    double amount = 0;
    if (size >= sizeof amount) {
        std::memcpy(&amount, data + size - sizeof amount, sizeof amount);
        for (const char* name : {"arrows", "crumb", "fresh"})
            zyn_inventory_add_item(h, name, amount);
        fuzz::check_inventory(h, 0);
    }
    zyn_inventory_add_item(h, text.c_str(), 1);
    fuzz::check_inventory(h, 0);
    int32_t length = -1;
    const char* list = zyn_inventory_item_list(h, &length);
    if (!list || length < 0)
        std::abort();
    const std::string saved(list, std::size_t(length));
    const std::size_t items = zyn::inventory::registry().find(h)->item_count();
    fuzz::empty_inventory();
    zyn_inventory_loadfromstring(h, saved.c_str());
    if (zyn::inventory::registry().find(h)->item_count() > items)
        std::abort();
    return 0;
}

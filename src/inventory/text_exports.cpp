// Inventory text exports: the file name an inventory carries, saving one or
// all inventories, and filling an inventory from a file or from text.
#include "inventory/framed.h"
#include "inventory/inventory_file.h"
#include "inventory/text_format.h"

#include <cstring>
#include <string>

using namespace zyn;
using inventory::Inventory;

namespace {

// The inventory's own file name when it has one, else the name passed in
// (a missing name counts as empty, which no file has).
std::string choose_file(const Inventory& inv, const char* passed)
{
    if (!inv.file_name.empty())
        return inv.file_name;
    return passed ? std::string(passed) : std::string();
}

// The save step, shared by save and save-all. Writes only a changed inventory
// that holds items; returns its item count when the file was written, else 0.
int32_t save(Inventory& inv, const char* passed)
{
    if (inv.item_count() == 0 || !inv.dirty)
        return 0;
    switch (inventory::file::write_items(choose_file(inv, passed), inv)) {
    case files::SaveOutcome::written:
        inv.dirty = false;
        return inventory::count_result(inv.item_count());
    case files::SaveOutcome::not_opened:
    case files::SaveOutcome::failed:
        break; // still changed, so a later save tries again
    }
    return 0;
}

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_inventory_setfilename(int handle, const char* file_name)
{
    return inventory::with_inventory(handle, 0, 0, [&](Inventory& inv) {
        if (!file_name)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        inv.file_name = file_name;
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_save(int handle, const char* file_name)
{
    return inventory::with_inventory(handle, 0, 0, [&](Inventory& inv) { return save(inv, file_name); });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_save_all(void)
{
    return frame::full(0, [] {
        std::size_t written = 0;
        inventory::registry().for_each([&](Inventory& inv) {
            if (save(inv, "") > 0)
                ++written;
        });
        return inventory::count_result(written);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_loadfromfile(int handle, const char* file_name)
{
    return inventory::with_inventory(handle, 0, 0, [&](Inventory& inv) {
        const auto content = inventory::file::read_all(choose_file(inv, file_name));
        if (!content)
            return frame::fail(ZYN_ERR_LOAD_FAILED, 0); // unreadable: the inventory is left as it was
        inv.clear_items(); // a file load replaces the whole content
        inventory::text::apply_lines(inv, *content, /*read_tail=*/true);
        const int32_t count = inventory::count_result(inv.item_count());
        return count != 0 ? count : frame::fail(ZYN_ERR_LOAD_FAILED, 0);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_loadfromstring(int handle, const char* text)
{
    return inventory::with_inventory(handle, 0, 0, [&](Inventory& inv) {
        if (!text || !*text)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        // Loaded lines add to what the inventory holds; bytes after the last LF are ignored.
        inventory::text::apply_lines(inv, std::string_view(text, std::strlen(text)), /*read_tail=*/false);
        inv.dirty = false; // the text counts as what was last saved
        const int32_t count = inventory::count_result(inv.item_count());
        return count != 0 ? count : frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
    });
}

// Inventory exports: creating and destroying inventories, adding and taking
// away quantities, and asking about items.
#include "inventory/framed.h"
#include "inventory/quantity.h"

#include <cstring>
#include <optional>

using namespace zyn;
using inventory::Inventory;

ZYN_EXPORT int ZYN_CALL zyn_inventory_create(void)
{
    return frame::full(0, [] {
        const int32_t handle = inventory::registry().create();
        return handle != 0 ? handle : frame::fail(ZYN_ERR_OPERATION_FAILED, 0); // handles used up
    });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_exists(int handle)
{
    return frame::full(0, [&] { return inventory::registry().find(handle) ? 1 : 0; });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_destroy(int handle)
{
    return frame::full(0, [&] {
        return inventory::registry().destroy(handle) ? 1 : frame::fail(ZYN_ERR_NOT_FOUND, 0);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_destroy_all(void)
{
    return frame::full(0, [] { return inventory::count_result(inventory::registry().destroy_all()); });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_add_item(int handle, const char* name, double amount)
{
    return inventory::with_inventory(handle, 0, 0, [&](Inventory& inv) {
        // A line end inside a name would save as two lines and load back as
        // another item: such a name is refused before anything changes.
        if (!name || std::strpbrk(name, "\r\n"))
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        inv.add(name, amount);
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_inventory_item_exists(int handle, const char* name)
{
    return inventory::with_inventory(handle, 0, 0, [&](Inventory& inv) {
        if (!name)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        return inv.find(name) ? 1 : 0;
    });
}

ZYN_EXPORT const char* ZYN_CALL zyn_inventory_item_list(int handle, int32_t* length)
{
    if (length)
        *length = 0; // also what the caller sees after error 1 or error 6
    const char* none = nullptr;
    return inventory::with_inventory(handle, none, none, [&](Inventory& inv) {
        const std::string& text = inv.rebuild_list_text();
        if (length)
            *length = inventory::count_result(text.size());
        return text.c_str();
    });
}

ZYN_EXPORT double ZYN_CALL zyn_inventory_get_quantidade(int handle, const char* name)
{
    return inventory::with_inventory(handle, 0.0, 0.0, [&](Inventory& inv) {
        if (!name)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0.0);
        const std::optional<int64_t> quantity = inv.find(name);
        return quantity ? inventory::quantity_to_double(*quantity) : 0.0;
    });
}

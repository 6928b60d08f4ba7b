// Scene: a player's bag kept in a save file between runs. The file lives in a
// fresh folder under the system's temporary directory, removed at the end.
#include "scene.h"

#include <zyn/zyn.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

void show(const char* when, int bag)
{
    int32_t length = 0;
    const char* list = zyn_inventory_item_list(bag, &length);
    std::printf("  %s (%d bytes):\n", when, length);
    std::string text(list ? list : "", list ? std::size_t(length) : 0);
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        std::printf("    %s\n", text.substr(start, end - start).c_str());
}

void run(const demo::Options&)
{
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec) /
                            ("zyn-demo-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    if (ec || !fs::create_directory(folder, ec)) {
        std::printf("  no temporary folder: skipped\n");
        return;
    }
    const std::string save_file = (folder / "bag.txt").string();

    // First run of the "game": pick things up and save.
    int bag = zyn_inventory_create();
    zyn_inventory_setfilename(bag, save_file.c_str());
    zyn_inventory_add_item(bag, "arrows", 20);
    zyn_inventory_add_item(bag, "potion", 2);
    zyn_inventory_add_item(bag, "gold", 150);
    zyn_inventory_add_item(bag, "arrows", -7.5); // shot 7.5 arrows: quantities are whole, 12 remain
    zyn_inventory_add_item(bag, "potion", -2);   // drank both: the item goes
    show("bag before saving", bag);
    std::printf("  saved %d items to %s\n", zyn_inventory_save(bag, ""), save_file.c_str());
    std::printf("  saving again without changes writes %d items\n", zyn_inventory_save(bag, ""));
    zyn_inventory_destroy(bag);

    // Next run: a new inventory filled from the save file.
    bag = zyn_inventory_create();
    const int loaded = zyn_inventory_loadfromfile(bag, save_file.c_str());
    std::printf("  loaded %d items\n", loaded);
    std::printf("  gold: %.0f, arrows held: %s\n", zyn_inventory_get_quantidade(bag, "gold"),
                zyn_inventory_item_exists(bag, "arrows") ? "yes" : "no");
    zyn_inventory_loadfromstring(bag, "key=1\ngold=50\n"); // a quest reward as text
    show("bag after the reward", bag);

    zyn_inventory_loadfromfile(bag, (folder / "missing.txt").string().c_str());
    demo::report_error("loading a missing file (the bag's own file name is not set)");
    std::printf("  inventories released: %d\n", zyn_inventory_destroy_all());

    fs::remove_all(folder, ec);
}

demo::Register scene(50, "inventory saved to and loaded from a file", run);

} // namespace

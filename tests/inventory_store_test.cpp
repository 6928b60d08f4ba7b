// Inventories through the exports: handles, adds, names, the list text, saves and loads of files and strings.
#include "support/files_support.h"

#include <functional>
#include <limits>

namespace {

using test::file_bytes;
using test::lines;
constexpr double kInf = std::numeric_limits<double>::infinity(), kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kInvalid = ZYN_ERR_INVALID_ARGUMENT, kLoadFailed = ZYN_ERR_LOAD_FAILED;

std::string list(int handle)
{
    int32_t length = -1;
    const char* text = zyn_inventory_item_list(handle, &length);
    return text ? std::string(text, std::size_t(length)) : "<null>";
}

// The quantity the list shows for the name, or "-" when the item is not held.
std::string held(int handle, const std::string& name)
{
    const std::string text = "\n" + list(handle);
    const std::size_t at = text.find("\n" + name + "="), start = at + name.size() + 2;
    return at == std::string::npos ? "-" : text.substr(start, text.find('\n', start) - start);
}

int with_items(std::initializer_list<std::pair<const char*, double>> items)
{
    const int h = zyn_inventory_create();
    for (const auto& [name, amount] : items)
        zyn_inventory_add_item(h, name, amount);
    return h;
}

struct Inventories : test::LoadedLibrary {
    std::string p(const std::string& relative) const { return dir.join(relative); }
    test::TempDir dir;
};

TEST_F(Inventories, HandlesCountUpAndUnknownOnesOrAnUnloadedLibraryChangeNothing)
{
    const int h = with_items({{"arrows", 3}});
    test::put_file(p("bag.txt"), "arrows=3\n");
    int32_t length = 5;
    const std::function<bool(int)> calls[] = {[](int at) { return !zyn_inventory_add_item(at, "arrows", 3); },
        [](int at) { return !zyn_inventory_add_item(at, nullptr, 3); }, [](int k) { return !zyn_inventory_destroy(k); },
        [&](int at) { return !zyn_inventory_item_list(at, &length) && length == 0; },
        [](int at) { return !zyn_inventory_get_quantidade(at, "arrows"); },
        [](int k) { return !zyn_inventory_setfilename(k, "x"); },
        [](int k) { return !zyn_inventory_item_exists(k, "a"); },
        [&](int at) { return !zyn_inventory_save(at, p("out.txt").c_str()); },
        [&](int at) { return !zyn_inventory_loadfromfile(at, p("bag.txt").c_str()); },
        [](int at) { return !zyn_inventory_loadfromstring(at, "arrows=3\n"); }};
    for (int bad : {h + 100, 0, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        for (const auto& call : calls)
            EXPECT_RESULT(call(bad), true, ZYN_ERR_NOT_FOUND);
        EXPECT_RESULT(zyn_inventory_exists(bad), 0, 0); // an unknown handle is no error here
    }
    EXPECT_EQ(list(h), "arrows=3\n");
    EXPECT_EQ(zyn_inventory_create() + zyn_inventory_create(), 2 * h + 3); // never given out twice, even after a reload
    EXPECT_RESULT(zyn_inventory_destroy_all(), 3, 0);
    EXPECT_TRUE(zyn_inventory_exists(h + 1) == 0 && zyn_inventory_create() == h + 3);
    EXPECT_RESULT(zyn_inventory_destroy(h + 3), 1, 0);
    EXPECT_RESULT(zyn_inventory_destroy(h + 3), 0, ZYN_ERR_NOT_FOUND);
    EXPECT_RESULT(zyn_inventory_destroy_all(), 0, 0);
    const int b = with_items({{"relic", 1}});
    zyn_inventory_setfilename(b, p("never.txt").c_str());
    ASSERT_EQ(zyn_unload() + zyn_init(""), 2); // the inventories go unsaved
    EXPECT_EQ(zyn_inventory_exists(b) + zyn_inventory_save_all(), 0);
    EXPECT_EQ(zyn_inventory_create(), h + 5);
    zyn_unload();
    auto refused = [](bool failed) { return failed && zyn_geterror() == ZYN_ERR_NOT_LOADED; };
    for (const auto& call : calls)
        EXPECT_TRUE(refused(call(h + 5)));
    EXPECT_TRUE(refused(zyn_inventory_create() == 0) && refused(zyn_inventory_exists(h) == 0) &&
                refused(zyn_inventory_destroy_all() == 0) && refused(zyn_inventory_save_all() == 0));
    EXPECT_TRUE(test::entry_count(dir.path()) == 1 && zyn_get_extendederror() == 0);
}

TEST_F(Inventories, AddsTruncateSaturateAndRemoveAtZeroAndNamesAreBytesWithoutLineEnds)
{
    const std::string kMax = "9223372036854775807";
    const struct { const char* name; double amount; std::string held; } steps[] = {
        {"gem", 2.9, "2"}, {"gem", 0.9, "2"}, {"gem", -0.5, "1"}, {"gem", -0.6, "-"}, {"nan", kNaN, "-"},
        {"ghost", 0, "-"}, {"ghost", -5, "-"}, {"ghost", -0.0, "-"}, // nothing is made from 0 or less
        {"crumb", 0.5, "0"}, {"crumb", 0.7, "-"}, // held at 0; any add below 1 then removes it
        {"coins", 7, "7"}, {"coins", kNaN, "7"}, {"coins", -kNaN, "7"}, {"dust", 5e-324, "0"},
        // Beyond 64 bits and infinity saturate at the largest quantity and stay there.
        {"stars", kInf, kMax}, {"sand", 1e300, kMax}, {"coins", 1e19, kMax}, {"stars", 1e300, kMax},
        {"stars", -1, kMax},   // the double sum cannot see a step of 1 up there
        {"stars", -512, kMax}, // the quantity counts as 2^63 in the sum: a tie that rounds up again
        {"stars", -4096.0, "9223372036854771712"}, {"edge", 9223372036854774784.0, "9223372036854774784"},
        // Taking away more than 64 bits can hold removes the item, never wraps to positive.
        {"sand", -kInf, "-"}, {"coins", -1e300, "-"}, {"stars", -1.8446744073709552e19, "-"},
        {"big", 9007199254740992.0, "9007199254740992"}, {"big", 1.0, "9007199254740992"}, // 2^53 + 1 rounds back
        {"big", 2.0, "9007199254740994"},
        // Rounded once, to a double: 2^60 + 128 + 2^-12 lies just above the midpoint of 2^60 and 2^60 + 256.
        {"vast", 1152921504606846976.0, "1152921504606846976"}, {"vast", 128.0 + 1.0 / 4096.0, "1152921504606847232"}};
    const int h = zyn_inventory_create();
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.name) + " " + std::to_string(s.amount));
        EXPECT_RESULT(zyn_inventory_add_item(h, s.name, s.amount), 1, 0);
        EXPECT_EQ(held(h, s.name), s.held);
        EXPECT_TRUE(zyn_inventory_item_exists(h, s.name) == (s.held != "-") && zyn_geterror() == 0);
        EXPECT_RESULT(zyn_inventory_get_quantidade(h, s.name), s.held == "-" ? 0.0 : std::stod(s.held), 0);
    }
    EXPECT_EQ(list(h), "dust=0\nedge=9223372036854774784\nbig=9007199254740994\nvast=1152921504606847232\n");
    // Names are bytes without line ends; the list text stays until the next list call.
    const char* names[] = {"Sword", "sword", " sword", "sword ", "", "=", "\xc3\xa9p\xc3\xa9", "a=b", "\x1a\x7f\xff"};
    const int n = zyn_inventory_create();
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(zyn_inventory_add_item(n, names[i], i + 1) && zyn_inventory_get_quantidade(n, names[i]) == i + 1);
    const std::string all = "Sword=1\nsword=2\n sword=3\nsword =4\n=5\n==6\n"
                            "\xc3\xa9p\xc3\xa9=7\na=b=8\n\x1a\x7f\xff=9\n";
    EXPECT_EQ(list(n), all);
    // Saved, a name with a line end would load back as another item ("Gold=5").
    for (const char* name : {"x\nGold", "x\rGold", "\n", "Sword\r\n"})
        EXPECT_RESULT(zyn_inventory_add_item(n, name, 5), 0, kInvalid);
    EXPECT_RESULT(zyn_inventory_item_exists(n, nullptr), 0, kInvalid);
    EXPECT_RESULT(zyn_inventory_get_quantidade(n, nullptr), 0.0, kInvalid);
    EXPECT_RESULT(zyn_inventory_setfilename(n, nullptr), 0, kInvalid);
    EXPECT_RESULT(list(n), all, 0);
    // Later adds and other inventories leave the text alone, up to its zero byte; the length pointer may be null.
    const char* text = zyn_inventory_item_list(n, nullptr);
    zyn_inventory_add_item(n, "sword", 100);
    zyn_inventory_add_item(n, "Sword", -1);
    EXPECT_EQ(list(with_items({{"rope", 2}})), "rope=2\n");
    EXPECT_EQ(text, all);
    EXPECT_EQ(held(n, "Sword") + held(n, "sword"), "-102");
}

TEST_F(Inventories, SaveWritesChangedInventoriesThatHoldItemsToTheirOwnFileFirst)
{
    const std::string bag = p("bag.txt"), zeros_file = p("zeros.txt");
    const int h = with_items({{"arrows", 3}, {"key", 1}});
    for (const std::string& path : {p("no-such-dir/bag.txt"), dir.path(), std::string()}) // changed still after these
        EXPECT_RESULT(zyn_inventory_save(h, path.c_str()), 0, 0);
    EXPECT_RESULT(zyn_inventory_save(h, nullptr), 0, 0);
    EXPECT_RESULT(zyn_inventory_save(h, bag.c_str()), 2, 0);
    test::put_file(bag, "tampered\n");
    EXPECT_RESULT(zyn_inventory_save(h, bag.c_str()), 0, 0); // unchanged since the save
    zyn_inventory_add_item(h, "ghost", 0); // any add is a change, even one that adds nothing
    EXPECT_TRUE(zyn_inventory_save(h, bag.c_str()) == 2 && file_bytes(bag) == lines({"arrows=3", "key=1"}));
    // Quantity-0 items are counted but never written; no items: nothing written.
    const int zeros = with_items({{"crumb", 0.5}, {"speck", 0.25}});
    EXPECT_TRUE(zyn_inventory_save(zeros, zeros_file.c_str()) == 2 && file_bytes(zeros_file).empty());
    EXPECT_EQ(zyn_inventory_save(with_items({{"ghost", -1}}), p("none.txt").c_str()), 0);
    // The inventory's own file name wins over the passed one, for a load too; an empty one clears it.
    EXPECT_RESULT(zyn_inventory_setfilename(zeros, p("own.txt").c_str()), 1, 0);
    zyn_inventory_add_item(zeros, "gold", 12);
    EXPECT_TRUE(zyn_inventory_save(zeros, zeros_file.c_str()) == 3 && file_bytes(p("own.txt")) == lines({"gold=12"}));
    EXPECT_EQ(zyn_inventory_loadfromfile(zeros, bag.c_str()), 1);
    EXPECT_EQ(zyn_inventory_setfilename(zeros, "") + zyn_inventory_loadfromfile(zeros, bag.c_str()), 3);
    EXPECT_TRUE(zyn_inventory_save(zeros, zeros_file.c_str()) == 2 && file_bytes(zeros_file) == file_bytes(bag));
    EXPECT_RESULT(zyn_inventory_save_all(), 0, 0); // only the changed ones that carry a file name
    zyn_inventory_setfilename(with_items({{"shield", 1}}), p("named.txt").c_str());
    EXPECT_RESULT(zyn_inventory_save_all(), 1, 0);
    EXPECT_EQ(zyn_inventory_save_all(), 0);
    EXPECT_EQ(file_bytes(p("named.txt")), lines({"shield=1"}));
    EXPECT_EQ(test::entry_count(dir.path()), 4);
}

TEST_F(Inventories, FileLoadsReplaceTheItemsAndStringLoadsAddToThem)
{
    const std::string body[] = {"sword=2", "sword=3", "a=5", "ab=4", "shield=0", "potion=-1", "gold=12abc", "no =", "",
        "=7", "ab==4", "hex=0x10", "pad= \t\v\f\r6", "plus=+8", "neg=-99999999999999999999", "sp=5 6", "tail=1",
        std::string("n\0l=1", 5), "big=9007199254740993", "huge=99999999999999999999", "lead=009000000000000000000"};
    for (const std::string eol : {"\n", "\r\n"}) {
        std::string text;
        for (const std::string& line : body)
            text += line + eol;
        test::put_file(p("mixed.txt"), text.substr(0, text.size() - eol.size())); // the last line has no line end
        const int h = with_items({{"old", 1}});
        EXPECT_RESULT(zyn_inventory_loadfromfile(h, p("mixed.txt").c_str()), 11, 0);
        const std::initializer_list<std::string> kept = {"sword=5", "ab=4", "gold=12", "pad=6", "plus=8", "sp=5",
            "tail=1", std::string("n\0l=1", 5), "big=9007199254740992", "huge=9223372036854775807",
            "lead=9000000000000000000"};
        EXPECT_EQ(list(h), lines(kept, "\n"));
        // A file load counts as a change: the next save writes it back, normalised.
        EXPECT_TRUE(zyn_inventory_save(h, p("normal.txt").c_str()) == 11 && file_bytes(p("normal.txt")) == lines(kept));
    }
    // Byte 26 ends a text-mode read on Windows; the reader must not stop there.
    const int odd = with_items({{"\x1a\x1a", 1}, {"caf\xc3\xa9", 2}, {" spaced ", 3}, {"t\tb", 4}, {"\x7f\xff", 5}});
    ASSERT_EQ(zyn_inventory_save(odd, p("odd.txt").c_str()), 5);
    const int back = zyn_inventory_create();
    EXPECT_TRUE(zyn_inventory_loadfromfile(back, p("odd.txt").c_str()) == 5 && list(back) == list(odd));
    // Unreadable: the inventory stays; readable without items: it is emptied.
    for (const std::string& path : {p("missing.txt"), dir.path(), std::string()})
        EXPECT_RESULT(zyn_inventory_loadfromfile(odd, path.c_str()), 0, kLoadFailed);
    EXPECT_RESULT(zyn_inventory_loadfromfile(odd, nullptr), 0, kLoadFailed);
    EXPECT_EQ(list(odd), list(back));
    for (const char* junk : {"x=5\nzero=0\nnothing\n\n", ""}) {
        test::put_file(p("junk.txt"), junk);
        zyn_inventory_add_item(odd, "keep", 3);
        EXPECT_RESULT(zyn_inventory_loadfromfile(odd, p("junk.txt").c_str()), 0, kLoadFailed);
        EXPECT_EQ(list(odd), "");
    }
    EXPECT_EQ(zyn_get_extendederror() + zyn_inventory_exists(odd), 1);
    // A string load adds LF-ended lines to the items (CR LF too, no tail) and marks the inventory saved.
    const int h = with_items({{"arrows", 3}});
    EXPECT_RESULT(zyn_inventory_loadfromstring(h, "arrows=2\r\nkey=1\nk=9\nrope=0\nlamp=4"), 2, 0);
    EXPECT_EQ(list(h), "arrows=5\nkey=1\n");
    EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 0); // counts as saved
    zyn_inventory_add_item(h, "key", 1);
    EXPECT_RESULT(zyn_inventory_loadfromstring(h, "gold=100"), 2, 0); // no LF: nothing read, the change dropped
    EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 0);
    zyn_inventory_add_item(h, "key", 1); // an empty or missing text then leaves the change alone
    EXPECT_RESULT(zyn_inventory_loadfromstring(h, ""), 0, kInvalid);
    EXPECT_RESULT(zyn_inventory_loadfromstring(h, nullptr), 0, kInvalid);
    EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 2);
    EXPECT_EQ(file_bytes(p("bag.txt")), lines({"arrows=5", "key=3"}));
    const int empty = zyn_inventory_create(); // a text that leaves the inventory empty
    EXPECT_RESULT(zyn_inventory_loadfromstring(empty, "x=1\nnothing=0\n"), 0, kInvalid);
    EXPECT_RESULT(zyn_inventory_loadfromstring(empty, "gold=100"), 0, kInvalid);
}

} // namespace

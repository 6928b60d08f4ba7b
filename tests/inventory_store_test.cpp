// Inventories through the exports: handles, the add step and its truncation
// rules, the list text, and saving and loading text files and strings.
#include "support/files_support.h"
#include "support/loaded_library.h"
#include "support/temp_dir.h"

#include <functional>
#include <limits>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace {

using test::file_bytes;
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

// The lines as an inventory file holds them.
std::string lines(std::initializer_list<const char*> items, const std::string& eol = test::kEol)
{
    std::string out;
    for (const char* item : items)
        out.append(item).append(eol);
    return out;
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

TEST_F(Inventories, UnknownHandlesAndAnUnloadedLibraryChangeNothing)
{
    const int h = with_items({{"arrows", 3}});
    test::put_file(p("bag.txt"), "arrows=3\n");
    int32_t length = 5;
    const std::function<bool(int)> calls[] = {[](int at) { return zyn_inventory_add_item(at, "arrows", 3) == 0; },
        [](int at) { return zyn_inventory_add_item(at, nullptr, 3) == 0; }, [](int at) { return zyn_inventory_item_exists(at, "a") == 0; },
        [&](int at) { return zyn_inventory_item_list(at, &length) == nullptr && length == 0; },
        [](int at) { return zyn_inventory_get_quantidade(at, "arrows") == 0.0; },
        [](int at) { return zyn_inventory_setfilename(at, "x.txt") == 0; }, [](int at) { return zyn_inventory_destroy(at) == 0; },
        [&](int at) { return zyn_inventory_save(at, p("out.txt").c_str()) == 0; },
        [&](int at) { return zyn_inventory_loadfromfile(at, p("bag.txt").c_str()) == 0; },
        [](int at) { return zyn_inventory_loadfromstring(at, "arrows=3\n") == 0; }};
    for (int bad : {h + 100, 0, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        for (const auto& call : calls)
            EXPECT_RESULT(call(bad), true, ZYN_ERR_NOT_FOUND);
        EXPECT_RESULT(zyn_inventory_exists(bad), 0, 0); // an unknown handle is no error here
    }
    EXPECT_EQ(list(h), "arrows=3\n");
    zyn_unload();
    auto refused = [](bool failed) { return failed && zyn_geterror() == ZYN_ERR_NOT_LOADED; };
    for (const auto& call : calls)
        EXPECT_TRUE(refused(call(h)));
    EXPECT_TRUE(refused(zyn_inventory_create() == 0) && refused(zyn_inventory_exists(h) == 0) &&
                refused(zyn_inventory_destroy_all() == 0) && refused(zyn_inventory_save_all() == 0));
    EXPECT_TRUE(test::entry_count(dir.path()) == 1 && zyn_get_extendederror() == 0);
}

TEST_F(Inventories, HandlesCountUpAreNeverGivenOutTwiceAndGoUnsavedWithTheLibrary)
{
    const int a = zyn_inventory_create();
    EXPECT_EQ(zyn_inventory_create() + zyn_inventory_create(), 2 * a + 3);
    EXPECT_EQ(zyn_inventory_exists(a + 1), 1);
    EXPECT_RESULT(zyn_inventory_destroy_all(), 3, 0);
    EXPECT_EQ(zyn_inventory_exists(a + 1), 0);
    EXPECT_EQ(zyn_inventory_create(), a + 3);
    EXPECT_RESULT(zyn_inventory_destroy(a + 3), 1, 0);
    EXPECT_RESULT(zyn_inventory_destroy(a + 3), 0, ZYN_ERR_NOT_FOUND);
    EXPECT_RESULT(zyn_inventory_destroy_all(), 0, 0);
    const int b = with_items({{"relic", 1}});
    zyn_inventory_setfilename(b, p("never.txt").c_str());
    ASSERT_EQ(zyn_unload() + zyn_init(""), 2);
    EXPECT_EQ(zyn_inventory_exists(b) + zyn_inventory_save_all(), 0);
    EXPECT_EQ(zyn_inventory_create(), a + 5);
    EXPECT_EQ(test::entry_count(dir.path()), 0u);
}

TEST_F(Inventories, AddTruncatesTowardZeroSaturatesAndRemovesAtZero)
{
    const std::string kMax = "9223372036854775807";
    const struct { const char* name; double amount; std::string held; } steps[] = {
        {"gem", 2.9, "2"}, {"gem", 0.9, "2"}, {"gem", -0.5, "1"}, {"gem", -0.6, "-"},
        {"ghost", 0, "-"}, {"ghost", -5, "-"}, {"ghost", -0.0, "-"}, // nothing is made from 0 or less
        {"crumb", 0.5, "0"}, {"crumb", 0.7, "-"}, // held at 0; any add below 1 then removes it
        {"nan", kNaN, "-"}, {"coins", 7, "7"}, {"coins", kNaN, "7"}, {"coins", -kNaN, "7"},
        // Beyond 64 bits and infinity saturate at the largest quantity and stay there.
        {"stars", kInf, kMax}, {"sand", 1e300, kMax}, {"coins", 1e19, kMax}, {"stars", 1e300, kMax},
        {"stars", -1, kMax},   // the double sum cannot see a step of 1 up there
        {"stars", -512, kMax}, // the quantity counts as 2^63 in the sum: a tie that rounds up again
        {"stars", -4096.0, "9223372036854771712"},
        // Taking away more than 64 bits can hold removes the item, never wraps to positive.
        {"sand", -kInf, "-"}, {"coins", -1e300, "-"}, {"stars", -1.8446744073709552e19, "-"},
        {"dust", std::numeric_limits<double>::denorm_min(), "0"},
        {"big", 9007199254740992.0, "9007199254740992"}, {"big", 1.0, "9007199254740992"}, // 2^53 + 1 rounds back
        {"big", 2.0, "9007199254740994"},
        // The sum is rounded once, to a double: 2^60 + 128 + 2^-12 lies just above
        // the midpoint of 2^60 and 2^60 + 256, so it gives the upper one (a sum
        // first rounded to a longer format would sit on the midpoint and go down).
        {"vast", 1152921504606846976.0, "1152921504606846976"}, {"vast", 128.0 + 1.0 / 4096.0, "1152921504606847232"}};
    const int h = zyn_inventory_create();
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.name) + " " + std::to_string(s.amount));
        EXPECT_RESULT(zyn_inventory_add_item(h, s.name, s.amount), 1, 0);
        EXPECT_EQ(held(h, s.name), s.held);
        EXPECT_RESULT(zyn_inventory_item_exists(h, s.name), int(s.held != "-"), 0);
        EXPECT_RESULT(zyn_inventory_get_quantidade(h, s.name), s.held == "-" ? 0.0 : std::stod(s.held), 0);
    }
    EXPECT_EQ(list(h), "dust=0\nbig=9007199254740994\nvast=1152921504606847232\n");
    // Removal keeps the order of the others, and a merge keeps the first place.
    const int order = with_items({{"axe", 1}, {"bow", 3}, {"cap", 2}, {"axe", 4}});
    EXPECT_EQ(list(order), "axe=5\nbow=3\ncap=2\n");
    zyn_inventory_add_item(order, "bow", -5);
    EXPECT_EQ(list(order), "axe=5\ncap=2\n");
    zyn_inventory_add_item(order, "bow", 1);
    zyn_inventory_add_item(order, "axe", -5);
    EXPECT_EQ(list(order), "cap=2\nbow=1\n");
}

TEST_F(Inventories, NamesAreComparedByteForByteAndNeverHoldALineEnd)
{
    const char* names[] = {"Sword", "sword", " sword", "sword ", "", "=", "\xc3\xa9p\xc3\xa9\x65", "a=b", "\x1a\x7f\xff"};
    const int h = zyn_inventory_create();
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(zyn_inventory_add_item(h, names[i], i + 1), 1) << names[i];
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(zyn_inventory_get_quantidade(h, names[i]), i + 1) << names[i];
    EXPECT_EQ(zyn_inventory_item_exists(h, "SWORD") + zyn_inventory_item_exists(h, "Swor"), 0);
    const std::string all = "Sword=1\nsword=2\n sword=3\nsword =4\n=5\n==6\n\xc3\xa9p\xc3\xa9\x65=7\na=b=8\n\x1a\x7f\xff=9\n";
    EXPECT_EQ(list(h), all);
    // Saved, a name with a line end would load back as another item ("Gold=5").
    for (const char* name : {"x\nGold", "x\rGold", "\n", "Sword\r\n"})
        EXPECT_RESULT(zyn_inventory_add_item(h, name, 5), 0, kInvalid);
    EXPECT_RESULT(zyn_inventory_item_exists(h, nullptr), 0, kInvalid);
    EXPECT_RESULT(zyn_inventory_get_quantidade(h, nullptr), 0.0, kInvalid);
    EXPECT_RESULT(zyn_inventory_setfilename(h, nullptr), 0, kInvalid);
    EXPECT_RESULT(list(h), all, 0);
}

TEST_F(Inventories, ListTextBelongsToTheInventoryUntilTheNextListCall)
{
    const int h = zyn_inventory_create();
    int32_t length = -1;
    EXPECT_STREQ(zyn_inventory_item_list(h, &length), "");
    EXPECT_EQ(length, 0);
    zyn_inventory_add_item(h, "arrows", 3);
    zyn_inventory_add_item(h, "key", 1);
    const char* text = zyn_inventory_item_list(h, &length);
    EXPECT_EQ(length, 15);
    // Later adds and other inventories leave the text alone, up to its zero byte.
    zyn_inventory_add_item(h, "arrows", 100);
    zyn_inventory_add_item(h, "key", -1);
    EXPECT_EQ(list(with_items({{"rope", 2}})), "rope=2\n");
    EXPECT_STREQ(text, "arrows=3\nkey=1\n");
    EXPECT_STREQ(zyn_inventory_item_list(h, nullptr), "arrows=103\n"); // the length pointer may be null
}

TEST_F(Inventories, SaveWritesChangedInventoriesThatHoldItemsToTheirOwnFileFirst)
{
    const int h = with_items({{"arrows", 3}, {"key", 1}});
    EXPECT_RESULT(zyn_inventory_save(h, p("bag.txt").c_str()), 2, 0);
    EXPECT_EQ(file_bytes(p("bag.txt")), lines({"arrows=3", "key=1"}));
    test::put_file(p("bag.txt"), "tampered\n");
    EXPECT_RESULT(zyn_inventory_save(h, p("bag.txt").c_str()), 0, 0); // unchanged since the save
    zyn_inventory_add_item(h, "ghost", 0); // any add is a change, even one that adds nothing
    EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 2);
    EXPECT_EQ(file_bytes(p("bag.txt")), lines({"arrows=3", "key=1"}));
    // Quantity-0 items are counted but never written; no items: nothing written.
    const int zeros = with_items({{"crumb", 0.5}, {"speck", 0.25}});
    EXPECT_EQ(zyn_inventory_save(zeros, p("zeros.txt").c_str()), 2);
    EXPECT_EQ(file_bytes(p("zeros.txt")), "");
    EXPECT_EQ(zyn_inventory_save(with_items({{"ghost", -1}}), p("none.txt").c_str()), 0);
    // The inventory's own file name wins over the passed one; an empty one clears it.
    EXPECT_RESULT(zyn_inventory_setfilename(zeros, p("own.txt").c_str()), 1, 0);
    zyn_inventory_add_item(zeros, "gold", 12);
    EXPECT_EQ(zyn_inventory_save(zeros, p("zeros.txt").c_str()), 3);
    EXPECT_EQ(file_bytes(p("own.txt")), lines({"gold=12"}));
    EXPECT_EQ(zyn_inventory_loadfromfile(zeros, p("bag.txt").c_str()), 1);
    EXPECT_EQ(list(zeros), "gold=12\n");
    EXPECT_EQ(zyn_inventory_setfilename(zeros, ""), 1);
    EXPECT_EQ(zyn_inventory_loadfromfile(zeros, p("bag.txt").c_str()), 2);
    EXPECT_EQ(zyn_inventory_save(zeros, p("zeros.txt").c_str()), 2);
    EXPECT_EQ(file_bytes(p("zeros.txt")), lines({"arrows=3", "key=1"}));
    EXPECT_EQ(test::entry_count(dir.path()), 3u);
    // Save-all writes the changed ones that carry a file name; a string load counts as a save.
    EXPECT_RESULT(zyn_inventory_save_all(), 0, 0);
    const int named = with_items({{"shield", 1}}), unchanged = zyn_inventory_create();
    zyn_inventory_setfilename(named, p("named.txt").c_str());
    zyn_inventory_setfilename(unchanged, p("unchanged.txt").c_str());
    zyn_inventory_loadfromstring(unchanged, "boots=2\n");
    EXPECT_RESULT(zyn_inventory_save_all(), 1, 0);
    EXPECT_EQ(zyn_inventory_save_all(), 0);
    EXPECT_EQ(file_bytes(p("named.txt")), lines({"shield=1"}));
    EXPECT_EQ(test::entry_count(dir.path()), 4u);
}

TEST_F(Inventories, ASaveThatFailsKeepsTheChangeAndThePreviousFileWhole)
{
    const int h = with_items({{"rope", 2}});
    for (const std::string& path : {p("no-such-dir/bag.txt"), dir.path(), std::string()})
        EXPECT_RESULT(zyn_inventory_save(h, path.c_str()), 0, 0);
    EXPECT_RESULT(zyn_inventory_save(h, nullptr), 0, 0);
#if !defined(_WIN32)
    EXPECT_EQ(zyn_inventory_save(h, "/dev/full"), 0); // opens, but every write fails
#endif
    for (int i = 0; i < 200; ++i)
        zyn_inventory_add_item(h, ("item" + std::to_string(i)).c_str(), i + 1);
    ASSERT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 201); // still changed: written now
    const std::string saved = file_bytes(p("bag.txt"));
    zyn_inventory_add_item(h, "one more", 1);
    {
        test::SaveBlocker blocked(p("bag.txt"), 1000); // the save stops part-way
        EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 0);
    }
    EXPECT_EQ(file_bytes(p("bag.txt")), saved);
    EXPECT_EQ(test::entry_count(dir.path()), 1u);
    EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 202);
}

TEST_F(Inventories, FileLoadAppliesTheLineRuleToLfAndCrLfFiles)
{
    const char* body[] = {"sword=2", "sword=3", "a=5", "ab=4", "shield=0", "potion=-1", "gold=12abc", "no equals here",
                          "", "=7", "ab==4", "hex=0x10", "pad=  \t 6", "plus=+8", "neg=-99999999999999999999", "one=1",
                          "big=9007199254740993", "huge=99999999999999999999", "tail=1"};
    for (const std::string eol : {"\n", "\r\n"}) {
        std::string text;
        for (const char* line : body)
            text += line + eol;
        test::put_file(p("mixed.txt"), text.substr(0, text.size() - eol.size())); // the last line has no line end
        const int h = with_items({{"old", 1}}); // a file load replaces what was held
        EXPECT_RESULT(zyn_inventory_loadfromfile(h, p("mixed.txt").c_str()), 9, 0);
        const auto kept = {"sword=5", "ab=4", "gold=12", "pad=6", "plus=8", "one=1", "big=9007199254740992",
                           "huge=9223372036854775807", "tail=1"};
        EXPECT_EQ(list(h), lines(kept, "\n"));
        // A file load counts as a change: the next save writes it back, normalised.
        EXPECT_EQ(zyn_inventory_save(h, p("normalised.txt").c_str()), 9);
        EXPECT_EQ(file_bytes(p("normalised.txt")), lines(kept));
    }
    // Byte 26 ends a text-mode read on Windows; the reader must not stop there.
    const int odd = with_items({{"\x1a\x1a", 1}, {"caf\xc3\xa9", 2}, {" spaced out ", 3}, {"tab\there", 4}, {"\x7f\xfe\xff", 5}});
    ASSERT_EQ(zyn_inventory_save(odd, p("odd.txt").c_str()), 5);
    const int back = zyn_inventory_create();
    EXPECT_EQ(zyn_inventory_loadfromfile(back, p("odd.txt").c_str()), 5);
    EXPECT_EQ(list(back), list(odd));
}

TEST_F(Inventories, FileLoadFailures)
{
    const int h = with_items({{"keep", 3}});
    std::vector<std::string> unreadable = {p("missing.txt"), dir.path(), ""};
#if !defined(_WIN32)
    // A pipe would wait for a writer for ever and a device never end: refused at once.
    ASSERT_EQ(mkfifo(p("pipe").c_str(), 0600), 0);
    unreadable.insert(unreadable.end(), {p("pipe"), "/dev/zero"});
#endif
    for (const std::string& path : unreadable)
        EXPECT_RESULT(zyn_inventory_loadfromfile(h, path.c_str()), 0, kLoadFailed);
    EXPECT_RESULT(zyn_inventory_loadfromfile(h, nullptr), 0, kLoadFailed);
    EXPECT_EQ(list(h), "keep=3\n");
    // A file that opens but gives no item empties the inventory.
    for (const char* junk : {"x=5\nzero=0\nnothing\n\n", ""}) {
        test::put_file(p("junk.txt"), junk);
        zyn_inventory_add_item(h, "keep", 3);
        EXPECT_RESULT(zyn_inventory_loadfromfile(h, p("junk.txt").c_str()), 0, kLoadFailed);
        EXPECT_EQ(list(h), "");
    }
    EXPECT_EQ(zyn_get_extendederror() + zyn_inventory_exists(h), 1);
}

TEST_F(Inventories, StringLoadAddsLfEndedLinesAndMarksTheInventorySaved)
{
    const int h = with_items({{"arrows", 3}});
    // Existing items stay and add up; CR LF lines are read too; no tail without LF.
    EXPECT_RESULT(zyn_inventory_loadfromstring(h, "arrows=2\r\nkey=1\nk=9\nrope=0\nlamp=4"), 2, 0);
    EXPECT_EQ(list(h), "arrows=5\nkey=1\n");
    EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 0); // counts as saved
    zyn_inventory_add_item(h, "key", 1);
    EXPECT_RESULT(zyn_inventory_loadfromstring(h, "gold=100"), 2, 0); // no LF: nothing read, the change dropped
    EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 0);
    // Empty or missing text: nothing changes, the changed flag included.
    zyn_inventory_add_item(h, "key", 1);
    EXPECT_RESULT(zyn_inventory_loadfromstring(h, ""), 0, kInvalid);
    EXPECT_RESULT(zyn_inventory_loadfromstring(h, nullptr), 0, kInvalid);
    EXPECT_EQ(zyn_inventory_save(h, p("bag.txt").c_str()), 2);
    EXPECT_EQ(file_bytes(p("bag.txt")), lines({"arrows=5", "key=3"}));
    const int empty = zyn_inventory_create(); // a text that leaves the inventory empty
    EXPECT_RESULT(zyn_inventory_loadfromstring(empty, "x=1\nnothing=0\n"), 0, kInvalid);
    EXPECT_RESULT(zyn_inventory_loadfromstring(empty, "gold=100"), 0, kInvalid);
    // One inventory's list text loads into another; one-byte names and quantity 0 are skipped.
    const std::string text = list(with_items({{"arrows", 3}, {"k", 1}, {"crumb", 0.5}, {"key", 1}}));
    const int to = with_items({{"key", 2}, {"map", 1}});
    EXPECT_EQ(zyn_inventory_loadfromstring(to, text.c_str()), 3);
    EXPECT_EQ(list(to), "key=3\nmap=1\narrows=3\n");
}

} // namespace

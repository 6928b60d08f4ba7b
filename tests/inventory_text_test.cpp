// Inventory text files and strings: saving, the file name, loading, the line
// rule and the changed flag, with real files in a temporary directory.
#include "support/files_support.h"
#include "support/inventory_helpers.h"
#include "support/temp_dir.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <string>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace {

using test::file_exists;
using test::inventory_list;
using test::kLineEnd;
using InventoryText = test::LoadedLibrary;

std::string lines(std::initializer_list<const char*> items)
{
    std::string out;
    for (const char* item : items)
        out.append(item).append(kLineEnd);
    return out;
}

TEST_F(InventoryText, SaveWritesPlatformLinesOnlyWhenChanged)
{
    test::TempDir dir;
    const std::string path = dir.join("bag.txt");
    const int h = zyn_inventory_create();
    zyn_inventory_add_item(h, "arrows", 3);
    zyn_inventory_add_item(h, "key", 1);
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 2);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(test::file_bytes(path), lines({"arrows=3", "key=1"}));

    // Unchanged since the save: nothing is written.
    test::put_file(path, "tampered\n");
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(test::file_bytes(path), "tampered\n");

    // Any add marks a change, even one that adds nothing.
    zyn_inventory_add_item(h, "ghost", 0);
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 2);
    EXPECT_EQ(test::file_bytes(path), lines({"arrows=3", "key=1"}));

    // Quantity-0 items are counted but never written.
    const int zeros = zyn_inventory_create();
    zyn_inventory_add_item(zeros, "crumb", 0.5);
    zyn_inventory_add_item(zeros, "speck", 0.25);
    const std::string zero_path = dir.join("zeros.txt");
    EXPECT_EQ(zyn_inventory_save(zeros, zero_path.c_str()), 2);
    EXPECT_EQ(test::file_bytes(zero_path), "");
    zyn_inventory_add_item(zeros, "gold", 12);
    EXPECT_EQ(zyn_inventory_save(zeros, zero_path.c_str()), 3);
    EXPECT_EQ(test::file_bytes(zero_path), lines({"gold=12"}));

    // An inventory without items writes nothing, even when changed.
    const int empty = zyn_inventory_create();
    zyn_inventory_add_item(empty, "ghost", -1);
    EXPECT_EQ(zyn_inventory_save(empty, path.c_str()), 0);
    EXPECT_EQ(test::file_bytes(path), lines({"arrows=3", "key=1"}));
}

TEST_F(InventoryText, SaveThatCannotOpenItsFileKeepsTheChange)
{
    test::TempDir dir;
    const int h = zyn_inventory_create();
    zyn_inventory_add_item(h, "rope", 2);
    EXPECT_EQ(zyn_inventory_save(h, dir.join("no-such-dir/bag.txt").c_str()), 0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_inventory_save(h, dir.path().c_str()), 0); // a directory
    EXPECT_EQ(zyn_inventory_save(h, ""), 0);
    EXPECT_EQ(zyn_inventory_save(h, nullptr), 0);
    EXPECT_EQ(zyn_geterror(), 0);
    const std::string path = dir.join("bag.txt");
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 1); // still changed: written now
    EXPECT_EQ(test::file_bytes(path), lines({"rope=2"}));
}

#if !defined(_WIN32)
TEST_F(InventoryText, SaveThatFailsWhileWritingReportsNothingWrittenAndKeepsTheChange)
{
    if (!file_exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const int h = zyn_inventory_create();
    zyn_inventory_add_item(h, "rope", 2);
    EXPECT_EQ(zyn_inventory_save(h, "/dev/full"), 0); // opens, but every write fails
    test::TempDir dir;
    const std::string path = dir.join("bag.txt");
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 1);
    EXPECT_EQ(test::file_bytes(path), lines({"rope=2"}));
}
#endif

TEST_F(InventoryText, TheInventorysFileNameWinsOverThePassedOne)
{
    test::TempDir dir;
    const std::string own = dir.join("own.txt");
    const std::string passed = dir.join("passed.txt");
    const int h = zyn_inventory_create();
    EXPECT_EQ(zyn_inventory_setfilename(h, own.c_str()), 1);
    zyn_inventory_add_item(h, "torch", 4);
    EXPECT_EQ(zyn_inventory_save(h, passed.c_str()), 1);
    EXPECT_TRUE(file_exists(own));
    EXPECT_FALSE(file_exists(passed));

    test::put_file(passed, "lamp=9\n");
    EXPECT_EQ(zyn_inventory_loadfromfile(h, passed.c_str()), 1);
    EXPECT_EQ(inventory_list(h), "torch=4\n"); // read from own.txt

    // An empty name clears it: the passed names count again.
    EXPECT_EQ(zyn_inventory_setfilename(h, ""), 1);
    EXPECT_EQ(zyn_inventory_loadfromfile(h, passed.c_str()), 1);
    EXPECT_EQ(inventory_list(h), "lamp=9\n");
    EXPECT_EQ(zyn_inventory_save(h, passed.c_str()), 1);
    EXPECT_EQ(test::file_bytes(own), lines({"torch=4"}));

    EXPECT_EQ(zyn_inventory_setfilename(h, nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_inventory_setfilename(h + 1, own.c_str()), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
}

TEST_F(InventoryText, SaveAllWritesChangedInventoriesThatHaveAFileName)
{
    test::TempDir dir;
    EXPECT_EQ(zyn_inventory_save_all(), 0);

    const int named = zyn_inventory_create();
    const int unnamed = zyn_inventory_create();
    const int unchanged = zyn_inventory_create();
    zyn_inventory_setfilename(named, dir.join("named.txt").c_str());
    zyn_inventory_setfilename(unchanged, dir.join("unchanged.txt").c_str());
    zyn_inventory_add_item(named, "shield", 1);
    zyn_inventory_add_item(unnamed, "helmet", 1);
    zyn_inventory_loadfromstring(unchanged, "boots=2\n"); // loaded from text: counts as saved

    EXPECT_EQ(zyn_inventory_save_all(), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(test::file_bytes(dir.join("named.txt")), lines({"shield=1"}));
    EXPECT_FALSE(file_exists(dir.join("unchanged.txt")));
    EXPECT_EQ(zyn_inventory_save_all(), 0); // nothing changed since

    // The unnamed one stayed changed, so a save with a name writes it.
    EXPECT_EQ(zyn_inventory_save(unnamed, dir.join("unnamed.txt").c_str()), 1);
}

TEST_F(InventoryText, FileLoadAppliesTheLineRuleToLfAndCrLfFiles)
{
    test::TempDir dir;
    const std::string body[] = {"sword=2", "sword=3", "a=5", "shield=0", "potion=-1", "gold=12abc",
                                "no equals here", "", "=7", "ab==4", "hex=0x10", "pad=  \t 6",
                                "plus=+8", "big=9007199254740993", "huge=99999999999999999999", "tail=1"};
    for (const char* eol : {"\n", "\r\n"}) {
        SCOPED_TRACE(eol[0] == '\r' ? "CR LF" : "LF");
        std::string text;
        for (const std::string& line : body)
            text += line + eol;
        text.resize(text.size() - std::string(eol).size()); // the last line has no line end
        const std::string path = dir.join("mixed.txt");
        test::put_file(path, text);

        const int h = zyn_inventory_create();
        zyn_inventory_add_item(h, "old", 1); // a file load replaces what was held
        EXPECT_EQ(zyn_inventory_loadfromfile(h, path.c_str()), 7);
        EXPECT_EQ(zyn_geterror(), 0);
        EXPECT_EQ(inventory_list(h), "sword=5\ngold=12\npad=6\nplus=8\nbig=9007199254740992\n"
                                     "huge=9223372036854775807\ntail=1\n");

        // A file load counts as a change: the next save writes it back, normalised.
        const std::string out = dir.join("normalised.txt");
        EXPECT_EQ(zyn_inventory_save(h, out.c_str()), 7);
        EXPECT_EQ(test::file_bytes(out), lines({"sword=5", "gold=12", "pad=6", "plus=8", "big=9007199254740992",
                                          "huge=9223372036854775807", "tail=1"}));
    }
}

TEST_F(InventoryText, FileLoadFailures)
{
    test::TempDir dir;
    const int h = zyn_inventory_create();
    zyn_inventory_add_item(h, "keep", 3);

    // Not there, not a file, no name: error 10 and the inventory as it was.
    for (const std::string& path : {dir.join("missing.txt"), dir.path(), std::string()}) {
        EXPECT_EQ(zyn_inventory_loadfromfile(h, path.c_str()), 0) << path;
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_LOAD_FAILED);
        EXPECT_EQ(zyn_get_extendederror(), 0);
        EXPECT_EQ(inventory_list(h), "keep=3\n");
    }
    EXPECT_EQ(zyn_inventory_loadfromfile(h, nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_LOAD_FAILED);
#if !defined(_WIN32)
    // A pipe would wait for a writer for ever and a device never end: refused at once.
    const std::string pipe = dir.join("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, std::string("/dev/zero")}) {
        EXPECT_EQ(zyn_inventory_loadfromfile(h, path.c_str()), 0) << path;
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_LOAD_FAILED);
    }
    EXPECT_EQ(inventory_list(h), "keep=3\n");
#endif

    // A file that opens but gives no item: error 10, and the inventory is now empty.
    const std::string junk = dir.join("junk.txt");
    test::put_file(junk, "x=5\nzero=0\nnothing\n\n");
    EXPECT_EQ(zyn_inventory_loadfromfile(h, junk.c_str()), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_LOAD_FAILED);
    EXPECT_EQ(inventory_list(h), "");
    test::put_file(junk, "");
    zyn_inventory_add_item(h, "keep", 3);
    EXPECT_EQ(zyn_inventory_loadfromfile(h, junk.c_str()), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_LOAD_FAILED);
    EXPECT_EQ(zyn_inventory_exists(h), 1);
}

TEST_F(InventoryText, AFailedSaveLeavesThePreviousSaveWhole)
{
    test::TempDir dir;
    const std::string path = dir.join("bag.txt");
    const int h = zyn_inventory_create();
    for (int i = 0; i < 200; ++i)
        zyn_inventory_add_item(h, ("item" + std::to_string(i)).c_str(), i + 1);
    ASSERT_EQ(zyn_inventory_save(h, path.c_str()), 200);
    const std::string saved = test::file_bytes(path);
    zyn_inventory_add_item(h, "one more", 1);
    {
        test::SaveBlocker blocked(path, 1000);
        EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 0);
    }
    EXPECT_EQ(test::file_bytes(path), saved);
    EXPECT_EQ(test::entry_count(dir.path()), 1u);
    EXPECT_EQ(zyn_inventory_loadfromfile(zyn_inventory_create(), path.c_str()), 200);
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 201); // still changed: saved once it can be
}

TEST_F(InventoryText, OddBytesInNamesSurviveAFileRoundTrip)
{
    test::TempDir dir;
    const std::string path = dir.join("odd.txt");
    const int h = zyn_inventory_create();
    // Byte 26 ends a text-mode read on Windows; the reader must not stop there.
    const char* names[] = {"\x1a\x1a", "caf\xc3\xa9", " spaced out ", "tab\there", "\x7f\xfe\xff", "#comment"};
    double amount = 1;
    for (const char* name : names)
        zyn_inventory_add_item(h, name, amount++);
    ASSERT_EQ(zyn_inventory_save(h, path.c_str()), 6);
    const std::string before = inventory_list(h);

    const int back = zyn_inventory_create();
    EXPECT_EQ(zyn_inventory_loadfromfile(back, path.c_str()), 6);
    EXPECT_EQ(inventory_list(back), before);
}

TEST_F(InventoryText, StringLoadAddsLfEndedLinesAndMarksTheInventorySaved)
{
    test::TempDir dir;
    const std::string path = dir.join("bag.txt");
    const int h = zyn_inventory_create();
    zyn_inventory_add_item(h, "arrows", 3);

    // Existing items stay and add up; CR LF lines are read too; no tail without LF.
    EXPECT_EQ(zyn_inventory_loadfromstring(h, "arrows=2\r\nkey=1\nk=9\nrope=0\nlamp=4"), 2);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(inventory_list(h), "arrows=5\nkey=1\n");
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 0); // counts as saved
    EXPECT_FALSE(file_exists(path));

    // No LF at all: nothing is read, the held count comes back, and the change is dropped.
    zyn_inventory_add_item(h, "key", 1);
    EXPECT_EQ(zyn_inventory_loadfromstring(h, "gold=100"), 2);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 0);
    EXPECT_EQ(inventory_list(h), "arrows=5\nkey=2\n");

    // Empty or missing text: error 5 and nothing changes, the changed flag included.
    zyn_inventory_add_item(h, "key", 1);
    EXPECT_EQ(zyn_inventory_loadfromstring(h, ""), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_inventory_loadfromstring(h, nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_inventory_save(h, path.c_str()), 2);
    EXPECT_EQ(test::file_bytes(path), lines({"arrows=5", "key=3"}));

    // A text that leaves the inventory empty is error 5.
    const int empty = zyn_inventory_create();
    EXPECT_EQ(zyn_inventory_loadfromstring(empty, "x=1\nnothing=0\n"), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_inventory_loadfromstring(empty, "gold=100"), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TEST_F(InventoryText, ListTextOfOneInventoryLoadsIntoAnother)
{
    const int from = zyn_inventory_create();
    zyn_inventory_add_item(from, "arrows", 3);
    zyn_inventory_add_item(from, "k", 1);       // one-byte name: skipped by the reader
    zyn_inventory_add_item(from, "crumb", 0.5); // quantity 0: skipped
    zyn_inventory_add_item(from, "key", 1);
    const std::string text = inventory_list(from);

    const int to = zyn_inventory_create();
    zyn_inventory_add_item(to, "key", 2);
    zyn_inventory_add_item(to, "map", 1);
    EXPECT_EQ(zyn_inventory_loadfromstring(to, text.c_str()), 3);
    EXPECT_EQ(inventory_list(to), "key=3\nmap=1\narrows=3\n");
}

TEST_F(InventoryText, UnloadReleasesInventoriesWithoutSaving)
{
    test::TempDir dir;
    const std::string path = dir.join("never.txt");
    const int h = zyn_inventory_create();
    zyn_inventory_setfilename(h, path.c_str());
    zyn_inventory_add_item(h, "relic", 1);
    ASSERT_EQ(zyn_unload(), 1);
    ASSERT_EQ(zyn_init(""), 1);
    EXPECT_EQ(zyn_inventory_exists(h), 0);
    EXPECT_EQ(zyn_inventory_save_all(), 0);
    EXPECT_FALSE(file_exists(path));
    const int again = zyn_inventory_create();
    EXPECT_GT(again, h);
    EXPECT_EQ(zyn_inventory_destroy(again), 1);
    EXPECT_FALSE(file_exists(path));
}

} // namespace

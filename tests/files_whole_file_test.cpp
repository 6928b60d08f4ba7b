// Whole-file write, append, read and size on real files.
#include "support/files_support.h"
#include "support/loaded_library.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using test::file_bytes;

namespace {

struct WholeFile : test::LoadedLibrary {
    std::string p(const std::string& relative) const { return dir.join(relative); }
    // What a read of at most `size` bytes leaves in a buffer of 16 '#'.
    static std::string read(const std::string& path, uint32_t size, uint32_t expected_count)
    {
        char buffer[16];
        std::fill(buffer, buffer + sizeof buffer, '#');
        EXPECT_EQ(zyn_read_file(path.c_str(), buffer, size), expected_count) << path;
        return std::string(buffer, sizeof buffer);
    }
    test::TempDir dir;
};

TEST_F(WholeFile, WriteReplacesAppendExtendsAndBytesRoundTripUnchanged)
{
    const std::string path = p("save.bin"), binary("a\0b\r\nc\n\x1a" "d\r", 10); // all altered by text mode
    fs::create_directories(p("saves/sub"));
    EXPECT_EQ(zyn_write_file(path.c_str(), "12345", 5) + zyn_write_file(path.c_str(), "abc", 3), 2);
    EXPECT_EQ(zyn_write_file_append(path.c_str(), "de", 2) + zyn_write_file_append(p("new.bin").c_str(), "x", 1), 2);
    EXPECT_RESULT(zyn_get_file_size(path.c_str()), 5u, 0);
    EXPECT_TRUE(file_bytes(path) == "abcde" && file_bytes(p("new.bin")) == "x");
    ASSERT_EQ(zyn_write_file(path.c_str(), binary.data(), uint32_t(binary.size())), 1);
    EXPECT_EQ(file_bytes(path), binary);
    EXPECT_EQ(read(path, 16, 10), binary + "######");
    EXPECT_EQ(read(path, 4, 4), binary.substr(0, 4) + std::string(12, '#'));
    EXPECT_RESULT(zyn_read_file(path.c_str(), nullptr, 0), 0u, 0);
    EXPECT_EQ(zyn_write_file(path.c_str(), nullptr, 0), 1);
    EXPECT_EQ(file_bytes(path), "");
    // A missing buffer is refused before the file is touched.
    EXPECT_RESULT(zyn_write_file(path.c_str(), nullptr, 3), 0, ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_RESULT(zyn_write_file_append(path.c_str(), nullptr, 3), 0, ZYN_ERR_INVALID_ARGUMENT);
    test::put_file(path, "keep");
    EXPECT_RESULT(zyn_read_file(path.c_str(), nullptr, 3), 0u, ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(file_bytes(path), "keep");
    // Backslashes separate on every platform, but a name holding them joined to a directory stays inside it.
    EXPECT_EQ(zyn_write_file((dir.path() + "\\saves\\slot1.sav").c_str(), "slot", 4), 1);
    EXPECT_EQ(file_bytes(p("saves/slot1.sav")), "slot");
#if !defined(_WIN32)
    for (const char* name : {"/sub/..\\up.bin", "/sub\\..\\up.bin", "/sub/.\\up.bin"})
        EXPECT_EQ(zyn_write_file((p("saves") + name).c_str(), "x", 1), 0) << name;
    EXPECT_EQ(test::entry_count(p("saves")), 2u);
#endif
}

TEST_F(WholeFile, FilesThatCannotBeOpenedGiveZeroWithoutAnError)
{
    test::put_file(p("empty.bin"), "");
    std::vector<std::string> paths = {p("missing.bin"), p("empty.bin"), dir.path(), ""};
#if !defined(_WIN32)
    ASSERT_EQ(mkfifo(p("pipe").c_str(), 0600), 0); // opening a pipe would wait for its other end
    paths.push_back(p("pipe"));
#endif
    for (const std::string& path : paths) {
        EXPECT_EQ(read(path, 4, 0), std::string(16, '#'));
        EXPECT_RESULT(zyn_get_file_size(path.c_str()), 0u, 0);
    }
    paths.erase(paths.begin(), paths.begin() + 2);
    paths.push_back(p("nodir/save.bin")); // no directory is made for a file
    for (const std::string& path : paths) {
        EXPECT_RESULT(zyn_write_file(path.c_str(), "x", 1), 0, 0);
        EXPECT_RESULT(zyn_write_file_append(path.c_str(), "x", 1), 0, 0);
    }
    EXPECT_FALSE(fs::exists(p("nodir")));
    EXPECT_EQ(zyn_write_file(nullptr, "x", 1) + zyn_write_file_append(nullptr, "x", 1), 0);
    EXPECT_RESULT(zyn_get_file_size(nullptr) + zyn_read_file(nullptr, nullptr, 0), 0u, 0);
}

TEST_F(WholeFile, AFailedWriteIsReportedAndLeavesThePreviousFileWhole)
{
    const std::string path = p("save.bin"), before(1000, 'a'), after(5000, 'b');
    test::put_file(path, before);
    test::put_file(p("source.bin"), after);
    {
        test::SaveBlocker blocked(path, 2000);
        EXPECT_RESULT(zyn_write_file(path.c_str(), after.data(), uint32_t(after.size())), 0, 0);
        EXPECT_RESULT(zyn_file_copy(test::wide_path(p("source.bin")), test::wide_path(path), 1), 0, ZYN_ERR_OPERATION_FAILED);
    }
    EXPECT_EQ(file_bytes(path), before);
    EXPECT_EQ(test::entry_count(dir.path()), 2u); // no new file left behind
#if !defined(_WIN32)
    {
        test::SaveBlocker full(path, 2000); // an append stops part-way and says so
        EXPECT_EQ(zyn_write_file_append(path.c_str(), after.data(), uint32_t(after.size())), 0);
        EXPECT_EQ(zyn_file_copy(test::wide_path(p("source.bin")), test::wide_path(p("new.bin")), 0), 0); // and a copy
    }
    EXPECT_FALSE(fs::exists(p("new.bin"))); // leaves no half-written file
    EXPECT_EQ(zyn_write_file("/dev/full", "x", 1) + zyn_write_file_append("/dev/full", "x", 1), 0); // takes no byte
#endif
}

TEST_F(WholeFile, AReplacedFileKeepsItsLinkAndItsPermissions)
{
    const std::string real = p("r"), link = p("link.sav"); // a one-byte link target is followed too
    test::put_file(real, "old");
    test::put_file(p("source.sav"), "copied");
#if defined(_WIN32)
    SetFileAttributesA(real.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(zyn_write_file(real.c_str(), "new", 3), 1);
    EXPECT_TRUE(GetFileAttributesA(real.c_str()) & FILE_ATTRIBUTE_HIDDEN);
#else
    chmod(real.c_str(), 0640);
    EXPECT_EQ(zyn_write_file(real.c_str(), "new", 3), 1);
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
#endif
    EXPECT_EQ(file_bytes(real), "new");
    if (!test::make_symlink("r", link, false))
        GTEST_SKIP() << "links cannot be made here";
    EXPECT_EQ(zyn_write_file(link.c_str(), "linked", 6), 1);
    EXPECT_EQ(file_bytes(real), "linked");
    EXPECT_EQ(zyn_file_copy(test::wide_path(p("source.sav")), test::wide_path(link), 1), 1);
    EXPECT_TRUE(fs::is_symlink(link) && file_bytes(real) == "copied");
}

TEST_F(WholeFile, SizesOfFourGibibytesOrMoreSaturate)
{
    const std::string path = p("huge.bin");
    test::put_file(path, "head");
    const uint64_t four_gib = uint64_t(1) << 32;
    std::error_code ec;
    for (const auto& [length, reported] : {std::pair<uint64_t, uint32_t>{four_gib + 5, UINT32_MAX}, {four_gib, UINT32_MAX},
                                           {four_gib - 1, UINT32_MAX}, {four_gib - 2, UINT32_MAX - 1}}) {
        fs::resize_file(path, length, ec); // sparse: no data blocks are written
        if (ec)
            GTEST_SKIP() << "no sparse 4 GiB file here: " << ec.message();
        EXPECT_EQ(zyn_get_file_size(path.c_str()), reported) << length; // not wrapped, not one off
        EXPECT_EQ(read(path, 4, 4).substr(0, 4), "head");
    }
}

TEST_F(WholeFile, NothingHappensWhileNotLoaded)
{
    zyn_unload();
    const std::string path = p("f.bin");
    const auto refused = [](uint32_t result) { return result == 0 && zyn_geterror() == ZYN_ERR_NOT_LOADED; };
    EXPECT_TRUE(refused(zyn_write_file(path.c_str(), "x", 1)) && refused(zyn_write_file_append(path.c_str(), "x", 1)));
    test::put_file(path, "data");
    EXPECT_TRUE(read(path, 4, 0) == std::string(16, '#') && zyn_geterror() == ZYN_ERR_NOT_LOADED);
    EXPECT_TRUE(refused(zyn_get_file_size(path.c_str())) && zyn_get_extendederror() == 0 && file_bytes(path) == "data");
}

} // namespace

// Whole-file write, append, read and size on real files.
#include "support/files_support.h"
#include "support/loaded_library.h"
#include "support/temp_dir.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

class WholeFile : public test::LoadedLibrary {
protected:

    test::TempDir dir;
};

TEST_F(WholeFile, WriteReplacesAppendExtendsAndBytesRoundTripUnchanged)
{
    const std::string path = dir.join("save.bin");
    EXPECT_EQ(zyn_write_file(path.c_str(), "12345", 5), 1);
    EXPECT_EQ(test::file_bytes(path), "12345");
    EXPECT_EQ(zyn_write_file(path.c_str(), "abc", 3), 1);
    EXPECT_EQ(test::file_bytes(path), "abc");
    EXPECT_EQ(zyn_write_file_append(path.c_str(), "de", 2), 1);
    EXPECT_EQ(test::file_bytes(path), "abcde");
    EXPECT_EQ(zyn_get_file_size(path.c_str()), 5u);
    EXPECT_EQ(zyn_geterror(), 0);

    const std::string fresh = dir.join("fresh.bin");
    EXPECT_EQ(zyn_write_file_append(fresh.c_str(), "x", 1), 1);
    EXPECT_EQ(test::file_bytes(fresh), "x");

    // Zero bytes, CR LF, a lone LF and Ctrl-Z would all be altered by text mode.
    const std::string binary("a\0b\r\nc\n\x1a" "d\r", 10);
    ASSERT_EQ(zyn_write_file(path.c_str(), binary.data(), uint32_t(binary.size())), 1);
    EXPECT_EQ(test::file_bytes(path), binary);
    char back[32];
    EXPECT_EQ(zyn_read_file(path.c_str(), back, sizeof back), binary.size());
    EXPECT_EQ(std::string(back, binary.size()), binary);

    EXPECT_EQ(zyn_write_file(path.c_str(), nullptr, 0), 1);
    EXPECT_EQ(test::file_bytes(path), "");
}

TEST_F(WholeFile, ReadStopsAtTheBufferAndTouchesNothingBeyondTheData)
{
    const std::string path = dir.join("ten.bin");
    test::put_file(path, "0123456789");

    char small[8];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(zyn_read_file(path.c_str(), small, 4), 4u);
    EXPECT_EQ(std::string(small, 8), "0123####");

    char big[100];
    std::memset(big, '#', sizeof big);
    EXPECT_EQ(zyn_read_file(path.c_str(), big, sizeof big), 10u);
    EXPECT_EQ(std::string(big, 10), "0123456789");
    EXPECT_EQ(std::string(big + 10, 90), std::string(90, '#'));

    EXPECT_EQ(zyn_read_file(path.c_str(), nullptr, 0), 0u);
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(WholeFile, FilesThatCannotBeOpenedGiveZeroWithoutAnError)
{
    const std::string missing = dir.join("missing.bin");
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(zyn_read_file(missing.c_str(), buffer, 4), 0u);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(std::string(buffer, 4), "####");
    EXPECT_EQ(zyn_get_file_size(missing.c_str()), 0u);
    EXPECT_EQ(zyn_geterror(), 0);

    const std::string empty = dir.join("empty.bin");
    test::put_file(empty, "");
    EXPECT_EQ(zyn_read_file(empty.c_str(), buffer, 4), 0u);
    EXPECT_EQ(zyn_get_file_size(empty.c_str()), 0u);

    // No directory is created for a file, and a directory is never a file.
    const std::string in_missing_dir = dir.join("nodir/save.bin");
    EXPECT_EQ(zyn_write_file(in_missing_dir.c_str(), "x", 1), 0);
    EXPECT_EQ(zyn_write_file_append(in_missing_dir.c_str(), "x", 1), 0);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_FALSE(fs::exists(dir.join("nodir")));
    EXPECT_EQ(zyn_write_file(dir.path().c_str(), "x", 1), 0);
    EXPECT_EQ(zyn_get_file_size(dir.path().c_str()), 0u);
    EXPECT_EQ(zyn_read_file(dir.path().c_str(), buffer, 4), 0u);
    EXPECT_EQ(zyn_write_file("", "x", 1), 0);
    EXPECT_EQ(zyn_write_file(nullptr, "x", 1), 0);
    EXPECT_EQ(zyn_get_file_size(nullptr), 0u);
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(WholeFile, MissingBufferIsRefusedBeforeTheFileIsTouched)
{
    const std::string path = dir.join("keep.bin");
    test::put_file(path, "keep");
    EXPECT_EQ(zyn_write_file(path.c_str(), nullptr, 3), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_write_file_append(path.c_str(), nullptr, 3), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_read_file(path.c_str(), nullptr, 3), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(test::file_bytes(path), "keep");
}

TEST_F(WholeFile, BackslashesSeparateOnEveryPlatform)
{
    fs::create_directory(dir.join("saves"));
    const std::string path = dir.path() + "\\saves\\slot1.sav";
    EXPECT_EQ(zyn_write_file(path.c_str(), "slot", 4), 1);
    EXPECT_EQ(test::file_bytes(dir.join("saves/slot1.sav")), "slot");
    EXPECT_EQ(zyn_get_file_size(path.c_str()), 4u);
#if !defined(_WIN32)
    // A name holding backslashes joined to a directory never becomes a step up.
    fs::create_directory(dir.join("sub"));
    for (const char* name : {"/sub/..\\up.bin", "/sub\\..\\up.bin", "/sub/.\\up.bin"})
        EXPECT_EQ(zyn_write_file((dir.path() + name).c_str(), "x", 1), 0) << name;
    EXPECT_FALSE(fs::exists(dir.join("up.bin")));
#endif
}

TEST_F(WholeFile, AFailedWriteIsReportedAndLeavesThePreviousFileWhole)
{
    const std::string path = dir.join("save.bin"), source = dir.join("source.bin");
    const std::string before(1000, 'a'), after(5000, 'b');
    test::put_file(path, before);
    test::put_file(source, after);
    {
        test::SaveBlocker blocked(path, 2000);
        EXPECT_EQ(zyn_write_file(path.c_str(), after.data(), uint32_t(after.size())), 0);
        EXPECT_EQ(zyn_geterror(), 0);
        EXPECT_EQ(zyn_file_copy(test::wide_path(source), test::wide_path(path), 1), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    }
    EXPECT_EQ(test::file_bytes(path), before);
    EXPECT_EQ(test::entry_count(dir.path()), 2u); // no new file left behind
#if !defined(_WIN32)
    {
        test::SaveBlocker full(path, 2000); // an append stops part-way and says so
        EXPECT_EQ(zyn_write_file_append(path.c_str(), after.data(), uint32_t(after.size())), 0);
    }
    for (auto write : {zyn_write_file, zyn_write_file_append}) // a full device takes no byte
        EXPECT_EQ(write("/dev/full", "x", 1), 0);
#endif
}

TEST_F(WholeFile, AReplacedFileKeepsItsLinkAndItsPermissions)
{
    const std::string real = dir.join("real.sav"), link = dir.join("link.sav"), source = dir.join("source.sav");
    test::put_file(real, "old");
    test::put_file(source, "copied");
#if defined(_WIN32)
    SetFileAttributesA(real.c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
    chmod(real.c_str(), 0640);
#endif
    EXPECT_EQ(zyn_write_file(real.c_str(), "new", 3), 1);
    EXPECT_EQ(test::file_bytes(real), "new");
#if defined(_WIN32)
    EXPECT_TRUE(GetFileAttributesA(real.c_str()) & FILE_ATTRIBUTE_HIDDEN);
#else
    struct stat st;
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
    if (!test::make_symlink(real, link, false))
        GTEST_SKIP() << "links cannot be made here";
    EXPECT_EQ(zyn_write_file(link.c_str(), "linked", 6), 1);
    EXPECT_EQ(zyn_file_copy(test::wide_path(source), test::wide_path(link), 1), 1);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::file_bytes(real), "copied");
}

TEST_F(WholeFile, SizesOfFourGibibytesOrMoreSaturate)
{
    const std::string path = dir.join("huge.bin");
    test::put_file(path, "head");
    const uint64_t four_gib = uint64_t(1) << 32;
    std::error_code ec;
    fs::resize_file(path, four_gib + 5, ec); // sparse: no data blocks are written
    if (ec)
        GTEST_SKIP() << "no sparse 4 GiB file here: " << ec.message();
    EXPECT_EQ(zyn_get_file_size(path.c_str()), UINT32_MAX); // a wrapped size would be 5
    char buffer[8];
    EXPECT_EQ(zyn_read_file(path.c_str(), buffer, sizeof buffer), 8u);
    EXPECT_EQ(std::string(buffer, 4), "head");

    fs::resize_file(path, four_gib, ec);
    ASSERT_FALSE(ec);
    EXPECT_EQ(zyn_get_file_size(path.c_str()), UINT32_MAX); // a wrapped size would be 0
    fs::resize_file(path, four_gib - 1, ec);
    ASSERT_FALSE(ec);
    EXPECT_EQ(zyn_get_file_size(path.c_str()), UINT32_MAX);
    fs::resize_file(path, four_gib - 2, ec);
    ASSERT_FALSE(ec);
    EXPECT_EQ(zyn_get_file_size(path.c_str()), UINT32_MAX - 1);
}

#if !defined(_WIN32)
TEST_F(WholeFile, PipesNeverBlockATransfer)
{
    // Opening a pipe waits for its other end; each transfer must give 0 at once instead.
    const std::string pipe = dir.join("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(zyn_read_file(pipe.c_str(), buffer, sizeof buffer), 0u);
    EXPECT_EQ(std::string(buffer, 4), "####");
    EXPECT_EQ(zyn_get_file_size(pipe.c_str()), 0u);
    EXPECT_EQ(zyn_write_file(pipe.c_str(), "x", 1), 0);
    EXPECT_EQ(zyn_write_file_append(pipe.c_str(), "x", 1), 0);
    EXPECT_EQ(zyn_geterror(), 0);
}
#endif

TEST_F(WholeFile, NothingHappensWhileNotLoaded)
{
    zyn_unload();
    const std::string path = dir.join("never.bin");
    char buffer[4];
    EXPECT_EQ(zyn_write_file(path.c_str(), "x", 1), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_write_file_append(path.c_str(), "x", 1), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_FALSE(fs::exists(path));
    test::put_file(path, "data");
    EXPECT_EQ(zyn_read_file(path.c_str(), buffer, 4), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_get_file_size(path.c_str()), 0u);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_get_extendederror(), 0);
}

} // namespace

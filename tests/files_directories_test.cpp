// Directory and file management on real files: creation, removal, tests,
// listings, copy, delete and rename.
#include "support/files_support.h"
#include "support/loaded_library.h"
#include "support/temp_dir.h"
#include "support/wide.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using test::file_bytes;
using test::put_file;
using test::wide_path;

namespace {

#if defined(_WIN32)
constexpr zyn_wchar kSep = L'\\';
#else
constexpr zyn_wchar kSep = u'/';
#endif

class Directories : public test::LoadedLibrary {
protected:

    // A wide path under the temporary directory, written with backslashes as game code would.
    zyn_wstring at(const std::string& relative) const { return wide_path(dir.path()) + ZW("\\") + test::widen_ascii(relative); }

    test::TempDir dir;
};

TEST_F(Directories, CreateMakesEveryMissingParentAndOnlyReportsNewDirectories)
{
    EXPECT_EQ(zyn_directory_create(at("a\\b\\c")), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_TRUE(fs::is_directory(dir.join("a/b/c")));
    EXPECT_EQ(zyn_directory_create(at("a\\b\\c")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);

    EXPECT_EQ(zyn_directory_create(at("a/b/d/")), 1); // slashes and a trailing separator
    EXPECT_TRUE(fs::is_directory(dir.join("a/b/d")));
    EXPECT_EQ(zyn_directory_create(at("x\\\\y")), 1); // a doubled separator is one
    EXPECT_TRUE(fs::is_directory(dir.join("x/y")));

    // A file in the way of the last component; directories made on the way stay.
    put_file(dir.join("a/file"), "f");
    EXPECT_EQ(zyn_directory_create(at("a\\file")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_directory_create(at("p\\file\\q")), 1);
    put_file(dir.join("p/blocker"), "f");
    EXPECT_EQ(zyn_directory_create(at("p\\blocker\\q")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);

    EXPECT_EQ(zyn_directory_create(zyn_wstring()), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);

    // An embedded zero must not create the directory named by the text before it.
    zyn_wstring with_zero = at("z");
    with_zero += zyn_wchar(0);
    with_zero += ZW("tail");
    EXPECT_EQ(zyn_directory_create(with_zero), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_FALSE(fs::exists(dir.join("z")));
}

TEST_F(Directories, ExistenceTestsTellDirectoriesFilesAndNothingApart)
{
    put_file(dir.join("file.txt"), "x");
    fs::create_directory(dir.join("sub"));

    EXPECT_EQ(zyn_directory_exists(at("sub")), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_directory_exists(at("sub\\")), 1);
    EXPECT_EQ(zyn_directory_exists(at("file.txt")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_A_DIRECTORY);
    EXPECT_EQ(zyn_directory_exists(at("missing")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_A_DIRECTORY);

    EXPECT_EQ(zyn_file_exists(at("file.txt")), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(zyn_file_exists(at("sub")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_IS_A_DIRECTORY);
    EXPECT_EQ(zyn_file_exists(at("missing")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    EXPECT_EQ(zyn_file_exists(zyn_wstring()), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    EXPECT_EQ(zyn_get_extendederror(), 0);
}

TEST_F(Directories, DeleteRemovesTheWholeTreeIncludingReadOnlyFiles)
{
    fs::create_directories(dir.join("tree/sub/deeper"));
    put_file(dir.join("tree/a.txt"), "a");
    put_file(dir.join("tree/sub/b.txt"), "b");
    put_file(dir.join("tree/sub/deeper/c.txt"), "c");
    put_file(dir.join("tree/sub/locked.txt"), "l");
    fs::permissions(dir.join("tree/sub/locked.txt"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ASSERT_EQ(fs::status(dir.join("tree/sub/locked.txt")).permissions() & fs::perms::owner_write, fs::perms::none);

    EXPECT_EQ(zyn_directory_delete(at("tree")), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_FALSE(fs::exists(dir.join("tree")));

    fs::create_directory(dir.join("empty"));
    EXPECT_EQ(zyn_directory_delete(at("empty\\")), 1);
    EXPECT_FALSE(fs::exists(dir.join("empty")));

    put_file(dir.join("file.txt"), "x");
    EXPECT_EQ(zyn_directory_delete(at("file.txt")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_A_DIRECTORY);
    EXPECT_EQ(file_bytes(dir.join("file.txt")), "x");
    EXPECT_EQ(zyn_directory_delete(at("missing")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_A_DIRECTORY);
}

TEST_F(Directories, DeleteRemovesLinksButNeverWhatTheyPointTo)
{
    fs::create_directories(dir.join("outside/keep"));
    put_file(dir.join("outside/keep/precious.sav"), "precious");
    put_file(dir.join("outside/file.sav"), "file");
    fs::create_directories(dir.join("tree/sub"));
    if (!test::make_symlink(dir.join("outside/keep"), dir.join("tree/sub/dirlink"), true))
        GTEST_SKIP() << "this process may not make symbolic links";
    ASSERT_TRUE(test::make_symlink(dir.join("outside/file.sav"), dir.join("tree/filelink"), false));
    ASSERT_TRUE(test::make_symlink(dir.join("nowhere"), dir.join("tree/dangling"), false));

    EXPECT_EQ(zyn_directory_delete(at("tree")), 1);
    EXPECT_FALSE(test::entry_exists(dir.join("tree")));
    EXPECT_EQ(file_bytes(dir.join("outside/keep/precious.sav")), "precious");
    EXPECT_EQ(file_bytes(dir.join("outside/file.sav")), "file");

    // A link given as the directory itself goes alone, with or without a trailing separator.
    for (const char* written : {"toplink", "toplink\\", "toplink/"}) {
        ASSERT_TRUE(test::make_symlink(dir.join("outside/keep"), dir.join("toplink"), true));
        EXPECT_EQ(zyn_directory_delete(at(written)), 1) << written;
        EXPECT_FALSE(test::entry_exists(dir.join("toplink"))) << written;
        EXPECT_EQ(file_bytes(dir.join("outside/keep/precious.sav")), "precious") << written;
    }
}

#if !defined(_WIN32)
TEST_F(Directories, DeleteReportsARefusalAndKeepsWhatItCouldNotRemove)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    fs::create_directories(dir.join("tree/locked"));
    put_file(dir.join("tree/locked/inner.txt"), "i");
    fs::permissions(dir.join("tree/locked"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(zyn_directory_delete(at("tree")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(file_bytes(dir.join("tree/locked/inner.txt")), "i");
    fs::permissions(dir.join("tree/locked"), fs::perms::owner_all);
}
#endif

TEST_F(Directories, RemovalNeverReachesOutsideThePathItNames)
{
    fs::create_directories(dir.join("keep/cache/sub"));
    fs::create_directories(dir.join("documents"));
    put_file(dir.join("documents/letter.txt"), "l");
    const zyn_wstring cache = wide_path(dir.join("keep/cache"));
    for (const zyn_wchar* last : {ZW(".."), ZW("."), ZW("../"), ZW("./")}) {
        EXPECT_EQ(zyn_directory_delete(cache + kSep + last), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    }
    EXPECT_TRUE(fs::exists(dir.join("keep/cache/sub")));
#if !defined(_WIN32)
    // Names unpacked from an archive may hold backslashes: a listing leaves
    // them out, and such a name joined to the directory leads nowhere else.
    fs::create_directories(dir.join("keep/cache/..\\..\\documents"));
    put_file(dir.join("keep/cache/..\\mine.txt"), "x");
    wstring_list dirs, files;
    EXPECT_EQ(zyn_list_directories(cache, dirs), 1);
    EXPECT_EQ(test::sorted(dirs), std::vector<zyn_wstring>{cache + kSep + ZW("sub")});
    EXPECT_EQ(zyn_list_files(cache, files), 1);
    EXPECT_EQ(files.count, 0u);
    EXPECT_EQ(zyn_directory_delete(cache + ZW("/..\\..\\documents")), 0);
    EXPECT_EQ(zyn_file_delete(cache + ZW("/..\\mine.txt")), 0);
    EXPECT_EQ(zyn_directory_delete(cache), 1); // the whole cache still goes, odd names and all
    EXPECT_FALSE(fs::exists(dir.join("keep/cache")));
#endif
    EXPECT_EQ(file_bytes(dir.join("documents/letter.txt")), "l");
}

TEST_F(Directories, ListingsJoinThePathOnceAndKeepFilesAndDirectoriesApart)
{
    fs::create_directories(dir.join("data/sub"));
    put_file(dir.join("data/x.txt"), "x");
    put_file(dir.join("data/y.txt"), "y");
    put_file(dir.join("data/sub/deep.txt"), "d"); // not descended into

    const zyn_wstring data = at("data");
    wstring_list files, dirs;
    EXPECT_EQ(zyn_list_files(data, files), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    const std::vector<zyn_wstring> expected_files{data + kSep + ZW("x.txt"), data + kSep + ZW("y.txt")};
    EXPECT_EQ(test::sorted(files), expected_files);
    EXPECT_EQ(zyn_list_directories(data, dirs), 1);
    EXPECT_EQ(test::sorted(dirs), std::vector<zyn_wstring>{data + kSep + ZW("sub")});

    // A separator the caller wrote is not doubled, whichever one it is.
    for (const zyn_wstring& ending : {data + ZW("\\"), data + ZW("/")}) {
        EXPECT_EQ(zyn_list_files(ending, files), 1);
        EXPECT_EQ(test::sorted(files), (std::vector<zyn_wstring>{ending + ZW("x.txt"), ending + ZW("y.txt")}));
        EXPECT_EQ(zyn_list_directories(ending, dirs), 1);
        EXPECT_EQ(test::sorted(dirs), std::vector<zyn_wstring>{ending + ZW("sub")});
    }

    // A missing directory or a file: error 6 and the earlier content stays.
    EXPECT_EQ(zyn_list_files(at("missing"), files), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    EXPECT_EQ(files.count, 2u);
    EXPECT_EQ(zyn_list_directories(at("data\\x.txt"), dirs), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    EXPECT_EQ(dirs.count, 1u);

    // An empty directory: true, and the list emptied down to no array at all.
    fs::create_directory(dir.join("empty"));
    EXPECT_EQ(zyn_list_files(at("empty"), files), 1);
    EXPECT_EQ(files.count, 0u);
    EXPECT_EQ(files.capacity, 0u);
    EXPECT_EQ(files.items, nullptr);
    EXPECT_EQ(zyn_list_directories(at("data\\sub"), dirs), 1);
    EXPECT_EQ(dirs.count, 0u);
}

TEST_F(Directories, ListingsOfManyEntriesAndNonAsciiNames)
{
    fs::create_directory(dir.join("many"));
    for (int i = 0; i < 150; ++i)
        put_file(dir.join("many/f" + std::to_string(i)), "");
    wstring_list files;
    EXPECT_EQ(zyn_list_files(at("many"), files), 1);
    EXPECT_EQ(files.count, 150u);
    EXPECT_EQ(files.capacity, 256u);

    const zyn_wstring name = ZW("sav\u00e9 \u6587.txt");
    ASSERT_EQ(zyn_directory_create(at("uni")), 1);
    ASSERT_EQ(zyn_write_file(dir.join("uni/plain.txt").c_str(), "p", 1), 1);
    wstring_list listed;
    const zyn_wstring uni_file = at("uni") + kSep + name;
    // Create the non-ASCII file through the library's own copy, then list it back.
    ASSERT_EQ(zyn_file_copy(at("uni\\plain.txt"), uni_file, false), 1);
    EXPECT_EQ(zyn_file_exists(uni_file), 1);
    EXPECT_EQ(zyn_list_files(at("uni"), listed), 1);
    EXPECT_EQ(test::sorted(listed), (std::vector<zyn_wstring>{at("uni") + kSep + ZW("plain.txt"), uni_file}));
}

TEST_F(Directories, ListingsFollowLinksAndSkipDanglingOnes)
{
    fs::create_directories(dir.join("data/realdir"));
    put_file(dir.join("data/real.txt"), "r");
    if (!test::make_symlink(dir.join("data/real.txt"), dir.join("data/filelink"), false))
        GTEST_SKIP() << "this process may not make symbolic links";
    ASSERT_TRUE(test::make_symlink(dir.join("data/realdir"), dir.join("data/dirlink"), true));
    ASSERT_TRUE(test::make_symlink(dir.join("data/nowhere"), dir.join("data/dangling"), false));
    const zyn_wstring data = at("data");
    wstring_list files, dirs;
    EXPECT_EQ(zyn_list_files(data, files), 1);
    EXPECT_EQ(test::sorted(files), (std::vector<zyn_wstring>{data + kSep + ZW("filelink"), data + kSep + ZW("real.txt")}));
    EXPECT_EQ(zyn_list_directories(data, dirs), 1);
    EXPECT_EQ(test::sorted(dirs), (std::vector<zyn_wstring>{data + kSep + ZW("dirlink"), data + kSep + ZW("realdir")}));
    EXPECT_EQ(zyn_file_exists(at("data\\dangling")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_FOUND);
    EXPECT_EQ(zyn_directory_exists(at("data\\dirlink")), 1);
    EXPECT_EQ(zyn_file_exists(at("data\\filelink")), 1);
    EXPECT_EQ(zyn_file_delete(at("data\\dangling")), 1); // the link itself goes
    EXPECT_FALSE(test::entry_exists(dir.join("data/dangling")));
}

TEST_F(Directories, CopyOverwritesOnlyWhenAskedAndNeverDestroysTheSource)
{
    put_file(dir.join("src.sav"), "source");
    EXPECT_EQ(zyn_file_copy(at("src.sav"), at("dst.sav"), false), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(file_bytes(dir.join("dst.sav")), "source");

    put_file(dir.join("dst.sav"), "older, longer content");
    EXPECT_EQ(zyn_file_copy(at("src.sav"), at("dst.sav"), false), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(file_bytes(dir.join("dst.sav")), "older, longer content");
    EXPECT_EQ(zyn_file_copy(at("src.sav"), at("dst.sav"), true), 1);
    EXPECT_EQ(file_bytes(dir.join("dst.sav")), "source");
    put_file(dir.join("dst.sav"), "older again");
    EXPECT_EQ(zyn_file_copy(at("src.sav"), at("dst.sav"), zyn_bool(0x80)), 1); // any non-zero byte is true
    EXPECT_EQ(file_bytes(dir.join("dst.sav")), "source");

    // A copy onto itself fails and leaves the file whole.
    EXPECT_EQ(zyn_file_copy(at("src.sav"), at("src.sav"), true), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(file_bytes(dir.join("src.sav")), "source");

    fs::create_directory(dir.join("folder"));
    EXPECT_EQ(zyn_file_copy(at("missing.sav"), at("other.sav"), true), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_FALSE(fs::exists(dir.join("other.sav")));
    EXPECT_EQ(zyn_file_copy(at("folder"), at("other.sav"), true), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_file_copy(at("src.sav"), at("folder"), true), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_file_copy(at("src.sav"), at("nodir\\x.sav"), true), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), 0);
}

#if !defined(_WIN32)
TEST_F(Directories, PipesAreNeitherCopiedNorListedAsFilesAndNeverBlock)
{
    ASSERT_EQ(mkfifo(dir.join("pipe").c_str(), 0600), 0);
    put_file(dir.join("real.sav"), "r");
    // Opening a pipe waits for its other end; the copy must fail at once instead.
    EXPECT_EQ(zyn_file_copy(at("pipe"), at("copy.sav"), true), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_FALSE(fs::exists(dir.join("copy.sav")));
    EXPECT_EQ(zyn_file_copy(at("real.sav"), at("pipe"), true), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);

    EXPECT_EQ(zyn_file_exists(at("pipe")), 1);
    wstring_list files;
    EXPECT_EQ(zyn_list_files(wide_path(dir.path()), files), 1);
    EXPECT_EQ(test::sorted(files), std::vector<zyn_wstring>{wide_path(dir.join("real.sav"))});
    EXPECT_EQ(zyn_file_delete(at("pipe")), 1);
}
#endif

TEST_F(Directories, FileDeleteRemovesFilesAndReadOnlyFilesButNotDirectories)
{
    put_file(dir.join("a.sav"), "a");
    EXPECT_EQ(zyn_file_delete(at("a.sav")), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_FALSE(fs::exists(dir.join("a.sav")));
    EXPECT_EQ(zyn_file_delete(at("a.sav")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);

    put_file(dir.join("ro.sav"), "r");
    fs::permissions(dir.join("ro.sav"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ASSERT_EQ(fs::status(dir.join("ro.sav")).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(zyn_file_delete(at("ro.sav")), 1);
    EXPECT_FALSE(fs::exists(dir.join("ro.sav")));

    fs::create_directory(dir.join("folder"));
    EXPECT_EQ(zyn_file_delete(at("folder")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_IS_A_DIRECTORY);
    EXPECT_TRUE(fs::is_directory(dir.join("folder")));

    put_file(dir.join("target.sav"), "t");
    if (test::make_symlink(dir.join("target.sav"), dir.join("link.sav"), false)) {
        EXPECT_EQ(zyn_file_delete(at("link.sav")), 1);
        EXPECT_FALSE(test::entry_exists(dir.join("link.sav")));
        EXPECT_EQ(file_bytes(dir.join("target.sav")), "t");
    }
}

#if defined(_WIN32)
TEST_F(Directories, FilesInUseAreNotRemovedAndTheRemovalSaysSo)
{
    fs::create_directories(dir.join("tree/sub"));
    put_file(dir.join("tree/sub/open.sav"), "open");
    std::FILE* held = std::fopen(dir.join("tree/sub/open.sav").c_str(), "rb"); // shares no deletion
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(zyn_file_delete(at("tree\\sub\\open.sav")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_directory_delete(at("tree")), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(file_bytes(dir.join("tree/sub/open.sav")), "open");
    std::fclose(held);
    EXPECT_EQ(zyn_directory_delete(at("tree")), 1);
    EXPECT_FALSE(fs::exists(dir.join("tree")));
}
#endif

TEST_F(Directories, RenameMovesFilesAndDirectoriesAndReplacesFiles)
{
    put_file(dir.join("old.sav"), "old");
    put_file(dir.join("taken.sav"), "taken");
    const std::string old_name = dir.join("old.sav");
    const std::string new_name = dir.path() + "\\new.sav";
    EXPECT_EQ(zyn_file_rename(old_name.c_str(), new_name.c_str()), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(file_bytes(dir.join("new.sav")), "old");
    EXPECT_FALSE(fs::exists(old_name));

    EXPECT_EQ(zyn_file_rename(dir.join("new.sav").c_str(), dir.join("taken.sav").c_str()), 1);
    EXPECT_EQ(file_bytes(dir.join("taken.sav")), "old");

    fs::create_directories(dir.join("folder/inner"));
    EXPECT_EQ(zyn_file_rename(dir.join("folder").c_str(), dir.join("moved").c_str()), 1);
    EXPECT_TRUE(fs::is_directory(dir.join("moved/inner")));

    EXPECT_EQ(zyn_file_rename(dir.join("missing").c_str(), dir.join("x").c_str()), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_file_rename(nullptr, dir.join("x").c_str()), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(zyn_file_rename(dir.join("taken.sav").c_str(), nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(file_bytes(dir.join("taken.sav")), "old");

#if !defined(_WIN32)
    // Narrow names are bytes: UTF-8 stays exactly as given.
    const std::string utf8_name = dir.join("sav\xc3\xa9.sav");
    EXPECT_EQ(zyn_file_rename(dir.join("taken.sav").c_str(), utf8_name.c_str()), 1);
    EXPECT_EQ(file_bytes(utf8_name), "old");
#endif
}

TEST_F(Directories, NothingHappensWhileNotLoaded)
{
    put_file(dir.join("f.sav"), "f");
    zyn_unload();
    wstring_list list;
    const auto refused = [] { return zyn_geterror() == ZYN_ERR_NOT_LOADED && zyn_get_extendederror() == 0; };
    EXPECT_EQ(zyn_directory_create(at("new")), 0);
    EXPECT_TRUE(refused());
    EXPECT_FALSE(fs::exists(dir.join("new")));
    EXPECT_EQ(zyn_directory_delete(wide_path(dir.path())), 0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_directory_exists(wide_path(dir.path())), 0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_list_files(wide_path(dir.path()), list), 0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_list_directories(wide_path(dir.path()), list), 0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_file_copy(at("f.sav"), at("g.sav"), true), 0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_file_delete(at("f.sav")), 0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_file_rename(dir.join("f.sav").c_str(), dir.join("g.sav").c_str()), 0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(zyn_file_exists(at("f.sav")), 0);
    EXPECT_TRUE(refused());
    EXPECT_EQ(file_bytes(dir.join("f.sav")), "f");
    EXPECT_FALSE(fs::exists(dir.join("g.sav")));
}

} // namespace

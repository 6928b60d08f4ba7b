// Directories and files by path on real files: create, remove, test, list,
// copy, delete and rename, with links, pipes and odd names.
#include "support/files_support.h"
#include "support/loaded_library.h"
#include "support/temp_dir.h"
#include "support/wide.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)
constexpr zyn_wchar kSep = L'\\';
#else
constexpr zyn_wchar kSep = u'/';
#endif
constexpr int kFailed = ZYN_ERR_OPERATION_FAILED, kNotDir = ZYN_ERR_NOT_A_DIRECTORY, kNotFound = ZYN_ERR_NOT_FOUND;

struct Directories : test::LoadedLibrary {
    // A wide path under the temporary directory, written with backslashes as game code would.
    zyn_wstring at(const std::string& relative) const { return test::wide_path(dir.path()) + ZW("\\") + test::widen_ascii(relative); }
    std::string p(const std::string& relative) const { return dir.join(relative); }
    bool there(const std::string& relative) const { return test::entry_exists(p(relative)); }
    // Each entry with its parents: a directory when the name ends with '/', else a file holding its name.
    void make(std::initializer_list<std::string> entries) const
    {
        for (const std::string& e : entries)
            fs::create_directories(fs::path(p(e)).parent_path()), e.back() == '/' ? void() : test::put_file(p(e), e);
    }
    void read_only(const std::string& relative) const
    {
        make({relative});
        fs::permissions(p(relative), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
        ASSERT_EQ(fs::status(p(relative)).permissions() & fs::perms::owner_write, fs::perms::none);
    }
    static std::vector<zyn_wstring> under(const zyn_wstring& base, std::initializer_list<const zyn_wchar*> names)
    {
        std::vector<zyn_wstring> out;
        for (const zyn_wchar* name : names)
            out.push_back(base + name);
        return out;
    }
    test::TempDir dir;
};

TEST_F(Directories, CreateMakesEveryMissingParentAndTestsTellDirectoriesFilesAndNothingApart)
{
    make({"a/file"});
    std::vector<std::pair<zyn_wstring, int>> creates = {{at("a\\b\\c"), 1}, {at("a\\b\\c"), 0}, {at("a/b/d/"), 1},
        {at("x\\\\y"), 1}, {at("a\\file"), 0}, {at("a\\file\\q"), 0}, {zyn_wstring(), 0},
        {at("z") + zyn_wchar(0) + ZW("tail"), 0}}; // an embedded zero must not make "z"
#if !defined(_WIN32)
    creates.push_back({at("z") + zyn_wchar(0xD800), 0}); // no UTF-8 form
#endif
    for (const auto& [path, made] : creates)
        EXPECT_RESULT(zyn_directory_create(path), made, made ? 0 : kFailed);
    EXPECT_TRUE(fs::is_directory(p("a/b/c")) && fs::is_directory(p("a/b/d")) && fs::is_directory(p("x/y")) && !there("z"));
    const struct { const char* path; int is_dir, dir_error, is_file, file_error; } tests[] = {
        {"a\\b", 1, 0, 0, ZYN_ERR_IS_A_DIRECTORY}, {"a\\b\\", 1, 0, 0, ZYN_ERR_IS_A_DIRECTORY},
        {"a\\file", 0, kNotDir, 1, 0}, {"missing", 0, kNotDir, 0, kNotFound}};
    for (const auto& c : tests) {
        EXPECT_RESULT(zyn_directory_exists(at(c.path)), c.is_dir, c.dir_error);
        EXPECT_RESULT(zyn_file_exists(at(c.path)), c.is_file, c.file_error);
    }
    EXPECT_RESULT(zyn_file_exists(zyn_wstring()), 0, kNotFound);
    EXPECT_EQ(zyn_get_extendederror(), 0);
}

TEST_F(Directories, DeleteRemovesTheTreeAndLinksInItButNothingOutside)
{
    make({"tree/a.txt", "tree/sub/deeper/c.txt", "empty/", "file.txt", "outside/keep/x.sav"});
    read_only("tree/sub/locked.txt");
    const bool links = test::make_symlink(p("outside/keep"), p("tree/sub/dirlink"), true) &&
                       test::make_symlink(p("outside/keep/x.sav"), p("tree/filelink"), false) &&
                       test::make_symlink(p("nowhere"), p("tree/dangling"), false);
    EXPECT_RESULT(zyn_directory_delete(at("tree")), 1, 0);
    EXPECT_RESULT(zyn_directory_delete(at("empty\\")), 1, 0);
    EXPECT_RESULT(zyn_directory_delete(at("file.txt")), 0, kNotDir);
    EXPECT_RESULT(zyn_directory_delete(at("missing")), 0, kNotDir);
    EXPECT_TRUE(!there("tree") && !there("empty") && there("file.txt") && there("outside/keep/x.sav"));
    // A link given as the directory itself goes alone, with or without a trailing separator.
    for (const char* written : {"toplink", "toplink\\", "toplink/"})
        EXPECT_TRUE(!links || (test::make_symlink(p("outside/keep"), p("toplink"), true) && zyn_directory_delete(at(written)) == 1 &&
                               !there("toplink") && there("outside/keep/x.sav"))) << written;
    // "dir/.." and "dir/." name another directory than they seem to.
    for (const zyn_wchar* last : {ZW(".."), ZW("."), ZW("../"), ZW("./")})
        EXPECT_RESULT(zyn_directory_delete(test::wide_path(p("outside/keep")) + kSep + last), 0, ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_TRUE(there("outside/keep/x.sav"));
#if !defined(_WIN32)
    // Names unpacked from an archive may hold backslashes: a listing leaves
    // them out, and such a name joined to the directory leads nowhere else.
    make({"outside/keep/..\\..\\documents/", "outside/keep/..\\mine.txt", "documents/"});
    const zyn_wstring keep = test::wide_path(p("outside/keep"));
    wstring_list dirs, files;
    EXPECT_EQ(zyn_list_directories(keep, dirs) + zyn_list_files(keep, files), 2);
    EXPECT_EQ(dirs.count, 0u);
    EXPECT_EQ(test::sorted(files), under(keep, {ZW("/x.sav")}));
    EXPECT_EQ(zyn_directory_delete(keep + ZW("/..\\..\\documents")) + zyn_file_delete(keep + ZW("/..\\mine.txt")), 0);
    EXPECT_RESULT(zyn_list_files(keep + ZW("\\.."), files), 0, kNotFound); // a last step too
    EXPECT_EQ(zyn_directory_delete(keep), 1); // odd names and all
    EXPECT_TRUE(!there("outside/keep") && there("documents"));
    if (geteuid() != 0) { // permissions do not bind the superuser
        make({"tree/locked/inner.txt"});
        fs::permissions(p("tree/locked"), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_RESULT(zyn_directory_delete(at("tree")), 0, kFailed);
        EXPECT_TRUE(there("tree/locked/inner.txt"));
        fs::permissions(p("tree/locked"), fs::perms::owner_all);
    }
#endif
}

TEST_F(Directories, ListingsJoinThePathOnceKeepFilesAndDirectoriesApartAndFollowLinks)
{
    make({"empty/", "data/x.txt", "data/sub/deep.txt", "many/"});
    for (const zyn_wstring& base : {at("data"), at("data") + ZW("\\"), at("data") + ZW("/")}) { // no separator doubled
        const zyn_wstring joined = base == at("data") ? base + kSep : base;
        wstring_list files, dirs;
        EXPECT_RESULT(zyn_list_files(base, files), 1, 0);
        EXPECT_EQ(test::sorted(files), under(joined, {ZW("x.txt")}));
        EXPECT_RESULT(zyn_list_directories(base, dirs), 1, 0);
        EXPECT_EQ(test::sorted(dirs), under(joined, {ZW("sub")}));
    }
    wstring_list files, dirs;
    EXPECT_EQ(zyn_list_files(at("data"), files) + zyn_list_directories(at("data"), dirs), 2);
    EXPECT_RESULT(zyn_list_files(at("missing"), files), 0, kNotFound); // the earlier content stays
    EXPECT_RESULT(zyn_list_directories(at("data\\x.txt"), dirs), 0, kNotFound);
    EXPECT_TRUE(files.count == 1 && dirs.count == 1);
    EXPECT_EQ(zyn_list_files(at("empty"), files) + zyn_list_directories(at("data\\sub"), dirs), 2);
    EXPECT_TRUE(files.count == 0 && files.capacity == 0 && files.items == nullptr && dirs.count == 0);
    for (int i = 0; i < 150; ++i)
        make({"many/f" + std::to_string(i)});
    EXPECT_EQ(zyn_list_files(at("many"), files), 1);
    EXPECT_TRUE(files.count == 150 && files.capacity == 256);
    // A file of a non-ASCII name made through the library's own copy, then listed back.
    const zyn_wstring data = at("data") + kSep, uni = data + ZW("sav\u00e9 \u6587\U0001F600.txt");
    ASSERT_EQ(zyn_file_copy(data + ZW("x.txt"), uni, false), 1);
    EXPECT_EQ(zyn_file_exists(uni), 1);
    if (test::make_symlink(p("data/x.txt"), p("data/filelink"), false)) { // links followed, dangling ones left out
        ASSERT_TRUE(test::make_symlink(p("data/sub"), p("data/dirlink"), true) && test::make_symlink(p("no"), p("data/dangling"), false));
        EXPECT_RESULT(zyn_file_exists(at("data\\dangling")), 0, kNotFound);
        EXPECT_EQ(zyn_directory_exists(at("data\\dirlink")) + zyn_file_exists(at("data\\filelink")), 2);
        EXPECT_EQ(zyn_list_directories(at("data"), dirs), 1);
        EXPECT_EQ(test::sorted(dirs), under(data, {ZW("dirlink"), ZW("sub")}));
        EXPECT_TRUE(zyn_file_delete(at("data\\dangling")) == 1 && !there("data/dangling")); // the link itself goes
    }
    EXPECT_EQ(zyn_list_files(at("data"), files), 1);
    const std::vector<zyn_wstring> listed = test::sorted(files);
    EXPECT_NE(std::find(listed.begin(), listed.end(), uni), listed.end());
}

TEST_F(Directories, CopyOverwritesOnlyWhenAskedAndNeverDestroysTheSource)
{
    make({"src.sav", "folder/"});
    EXPECT_RESULT(zyn_file_copy(at("src.sav"), at("dst.sav"), false), 1, 0);
    EXPECT_EQ(test::file_bytes(p("dst.sav")), "src.sav");
    for (const zyn_bool overwrite : {zyn_bool(0), zyn_bool(1), zyn_bool(0x80)}) { // any non-zero byte is true
        test::put_file(p("dst.sav"), "older, longer content");
        EXPECT_RESULT(zyn_file_copy(at("src.sav"), at("dst.sav"), overwrite), overwrite ? 1 : 0, overwrite ? 0 : kFailed);
        EXPECT_EQ(test::file_bytes(p("dst.sav")), overwrite ? "src.sav" : "older, longer content");
    }
    std::vector<std::pair<std::string, std::string>> refused = {
        {"src.sav", "src.sav"}, {"missing.sav", "new.sav"}, {"folder", "new.sav"}, {"src.sav", "folder"}, {"src.sav", "nodir\\x.sav"}};
#if !defined(_WIN32)
    ASSERT_EQ(mkfifo(p("pipe").c_str(), 0600), 0); // opening a pipe would wait for its other end
    refused.insert(refused.end(), {{"pipe", "new.sav"}, {"src.sav", "pipe"}});
    wstring_list files;
    EXPECT_EQ(zyn_file_exists(at("pipe")) + zyn_list_files(at(""), files), 2);
    EXPECT_EQ(files.count, 2u); // not the pipe
#endif
    for (const auto& [from, to] : refused)
        EXPECT_RESULT(zyn_file_copy(at(from), at(to), true), 0, kFailed);
    EXPECT_TRUE(test::file_bytes(p("src.sav")) == "src.sav" && !there("new.sav"));
    EXPECT_EQ(zyn_get_extendederror(), 0);
}

TEST_F(Directories, FileDeleteRemovesFilesReadOnlyFilesAndLinksButNotDirectoriesOrFilesInUse)
{
    make({"a.sav", "folder/", "target.sav", "tree/sub/open.sav"});
    read_only("ro.sav");
    EXPECT_RESULT(zyn_file_delete(at("a.sav")), 1, 0);
    EXPECT_RESULT(zyn_file_delete(at("a.sav")), 0, kFailed);
    EXPECT_RESULT(zyn_file_delete(at("ro.sav")), 1, 0);
    EXPECT_RESULT(zyn_file_delete(at("folder")), 0, ZYN_ERR_IS_A_DIRECTORY);
    EXPECT_TRUE(!there("a.sav") && !there("ro.sav") && fs::is_directory(p("folder")));
    if (test::make_symlink(p("target.sav"), p("link.sav"), false)) {
        EXPECT_TRUE(zyn_file_delete(at("link.sav")) == 1 && !there("link.sav") && there("target.sav"));
    }
#if defined(_WIN32)
    std::FILE* held = std::fopen(p("tree/sub/open.sav").c_str(), "rb"); // shares no deletion
    EXPECT_RESULT(zyn_file_delete(at("tree\\sub\\open.sav")), 0, kFailed);
    EXPECT_RESULT(zyn_directory_delete(at("tree")), 0, kFailed);
    EXPECT_TRUE(there("tree/sub/open.sav"));
    std::fclose(held);
#endif
    EXPECT_TRUE(zyn_directory_delete(at("tree")) == 1 && !there("tree"));
}

TEST_F(Directories, RenameMovesFilesAndDirectoriesAndReplacesFiles)
{
    make({"old.sav", "taken.sav", "folder/inner/"});
    EXPECT_RESULT(zyn_file_rename(p("old.sav").c_str(), (dir.path() + "\\new.sav").c_str()), 1, 0);
    EXPECT_EQ(zyn_file_rename(p("new.sav").c_str(), p("taken.sav").c_str()) + zyn_file_rename(p("folder").c_str(), p("moved").c_str()), 2);
    EXPECT_TRUE(fs::is_directory(p("moved/inner")) && !there("old.sav") && !there("new.sav"));
    for (const char* from : {"missing", static_cast<const char*>(nullptr)})
        EXPECT_RESULT(zyn_file_rename(from ? p(from).c_str() : from, p("x").c_str()), 0, kFailed);
    EXPECT_RESULT(zyn_file_rename(p("taken.sav").c_str(), nullptr), 0, kFailed);
#if !defined(_WIN32)
    EXPECT_EQ(zyn_file_rename(p("taken.sav").c_str(), p("sav\xc3\xa9.sav").c_str()), 1); // narrow names are bytes
    EXPECT_EQ(test::file_bytes(p("sav\xc3\xa9.sav")), "old.sav");
#else
    EXPECT_EQ(test::file_bytes(p("taken.sav")), "old.sav");
#endif
}

TEST_F(Directories, NothingHappensWhileNotLoaded)
{
    make({"f.sav"});
    zyn_unload();
    wstring_list list;
    const auto refused = [](int result) { return result == 0 && zyn_geterror() == ZYN_ERR_NOT_LOADED; };
    const bool all[] = {refused(zyn_directory_create(at("new"))), refused(zyn_directory_delete(at(""))),
        refused(zyn_directory_exists(at(""))), refused(zyn_list_files(at(""), list)), refused(zyn_list_directories(at(""), list)),
        refused(zyn_file_copy(at("f.sav"), at("g.sav"), 1)), refused(zyn_file_delete(at("f.sav"))), refused(zyn_file_exists(at("f.sav"))),
        refused(zyn_file_rename(p("f.sav").c_str(), p("g.sav").c_str()))}; // in this order, each checked at once
    EXPECT_EQ(std::count(all, all + 9, true), 9);
    EXPECT_TRUE(zyn_get_extendederror() == 0 && there("f.sav") && !there("g.sav") && !there("new"));
}

} // namespace

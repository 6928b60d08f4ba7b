// Files by path on real files: whole files, directories, listings, copies, deletes, renames; links, pipes, odd names.
#include "support/files_support.h"

#include <cstdio>

using test::file_bytes;

namespace {

constexpr zyn_wchar kSep = zyn_wchar(fs::path::preferred_separator);
constexpr int kFailed = ZYN_ERR_OPERATION_FAILED, kNotDir = ZYN_ERR_NOT_A_DIRECTORY, kNotFound = ZYN_ERR_NOT_FOUND;

struct Files : test::LoadedLibrary {
    // A wide path under the temporary directory, written with backslashes as game code would.
    zyn_wstring at(const std::string& relative) const { return root + test::widen_ascii(relative); }
    std::string p(const std::string& relative) const { return dir.join(relative); }
    bool there(const std::string& relative) const { return fs::exists(fs::symlink_status(p(relative))); }
    // Each entry with its parents: a directory when the name ends with '/', else a file holding its name.
    void make(std::initializer_list<std::string> entries, bool read_only = false) const
    {
        for (const std::string& e : entries) {
            fs::create_directories(fs::path(p(e)).parent_path());
            if (e.back() != '/')
                test::put_file(p(e), e);
            if (read_only) {
                fs::permissions(p(e), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                                fs::perm_options::remove);
                ASSERT_EQ(fs::status(p(e)).permissions() & fs::perms::owner_write, fs::perms::none);
            }
        }
    }
    // What a read of at most `size` bytes leaves in a buffer of 16 '#'.
    static std::string read(const std::string& path, uint32_t size, uint32_t expected_count)
    {
        std::string buffer(16, '#');
        EXPECT_EQ(zyn_read_file(path.c_str(), buffer.data(), size), expected_count) << path;
        return buffer;
    }
    test::TempDir dir;
    const zyn_wstring root = test::wide_path(dir.path()) + ZW("\\");
};

TEST_F(Files, WholeFilesAreWrittenAppendedAndReadByteForByteOrGiveZeroWithoutAnError)
{
    const std::string path = p("save.bin"), binary("a\0b\r\nc\n\x1a" "d\r", 10); // all altered by text mode
    fs::create_directories(p("saves/sub"));
    EXPECT_EQ(zyn_write_file(path.c_str(), "12345", 5) + zyn_write_file(path.c_str(), "abc", 3), 2);
    EXPECT_EQ(zyn_write_file_append(path.c_str(), "de", 2) + zyn_write_file_append(p("new.bin").c_str(), "x", 1), 2);
    EXPECT_RESULT(zyn_get_file_size(path.c_str()), 5u, 0);
    EXPECT_TRUE(file_bytes(path) == "abcde" && file_bytes(p("new.bin")) == "x");
    ASSERT_EQ(zyn_write_file(path.c_str(), binary.data(), uint32_t(binary.size())), 1);
    EXPECT_EQ(read(path, 16, 10), binary + "######");
    EXPECT_EQ(read(path, 4, 4), binary.substr(0, 4) + std::string(12, '#'));
    EXPECT_RESULT(zyn_read_file(path.c_str(), nullptr, 0), 0u, 0);
    EXPECT_TRUE(zyn_write_file(path.c_str(), nullptr, 0) == 1 && file_bytes(path).empty());
    test::put_file(path, "keep"); // a missing buffer is refused before the file is touched
    EXPECT_RESULT(zyn_write_file(path.c_str(), nullptr, 3), 0, ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_RESULT(zyn_write_file_append(path.c_str(), nullptr, 3), 0, ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_RESULT(zyn_read_file(path.c_str(), nullptr, 3), 0u, ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(file_bytes(path), "keep");
    // Backslashes separate on every platform, but a name holding them joined to a directory stays inside it.
    EXPECT_EQ(zyn_write_file((dir.path() + "\\saves\\slot1.sav").c_str(), "slot", 4), 1);
    EXPECT_EQ(file_bytes(p("saves/slot1.sav")), "slot");
    std::vector<std::string> paths = {dir.path(), "", p("nodir/save.bin")}; // no directory is made for a file
#if !defined(_WIN32)
    for (const char* name : {"/sub/..\\up.bin", "/sub\\..\\up.bin", "/sub/.\\up.bin"})
        EXPECT_EQ(zyn_write_file((p("saves") + name).c_str(), "x", 1), 0) << name;
    EXPECT_EQ(test::entry_count(p("saves")), 2);
    // A pipe would wait for its other end and a device never end: refused at once.
    ASSERT_EQ(mkfifo(p("pipe").c_str(), 0600), 0);
    paths.push_back(p("pipe"));
#endif
    for (const std::string& at : paths) {
        EXPECT_RESULT(zyn_write_file(at.c_str(), "x", 1), 0, 0);
        EXPECT_RESULT(zyn_write_file_append(at.c_str(), "x", 1), 0, 0);
    }
    EXPECT_EQ(zyn_write_file(nullptr, "x", 1) + zyn_write_file_append(nullptr, "x", 1), 0);
    test::put_file(path, "");
    paths.insert(paths.end(), {p("missing.bin"), path});
#if !defined(_WIN32)
    paths.push_back("/dev/zero");
#endif
    for (const std::string& at : paths) {
        EXPECT_EQ(read(at, 4, 0), std::string(16, '#'));
        EXPECT_RESULT(zyn_get_file_size(at.c_str()), 0u, 0);
    }
    EXPECT_RESULT(zyn_get_file_size(nullptr) + zyn_read_file(nullptr, nullptr, 0), 0u, 0);
    EXPECT_FALSE(fs::exists(p("nodir")));
}

TEST_F(Files, AReplacementKeepsLinksAndPermissionsOrLeavesThePreviousFileWholeAndSizesSaturate)
{
    const std::string path = p("r"), link = p("link.sav"), before(1000, 'a'), after(5000, 'b');
    const zyn_wstring source = test::wide_path(p("source.bin"));
    test::put_file(path, before);
    test::put_file(p("source.bin"), after);
    {
        test::SaveBlocker blocked(path, 2000);
        EXPECT_RESULT(zyn_write_file(path.c_str(), after.data(), uint32_t(after.size())), 0, 0);
        EXPECT_RESULT(zyn_file_copy(source, test::wide_path(path), 1), 0, ZYN_ERR_OPERATION_FAILED);
    }
    EXPECT_TRUE(file_bytes(path) == before && test::entry_count(dir.path()) == 2); // no new file left behind
#if !defined(_WIN32)
    {
        test::SaveBlocker full(path, 2000); // an append stops part-way and says so, and a copy to a new file
        EXPECT_EQ(zyn_write_file_append(path.c_str(), after.data(), uint32_t(after.size())), 0);
        EXPECT_EQ(zyn_file_copy(source, test::wide_path(p("new.bin")), 0), 0);
    }
    EXPECT_FALSE(fs::exists(p("new.bin"))); // leaves no half-written file
    EXPECT_EQ(zyn_write_file("/dev/full", "x", 1) + zyn_write_file_append("/dev/full", "x", 1), 0); // takes no byte
    chmod(path.c_str(), 0640);
    EXPECT_TRUE(zyn_write_file(path.c_str(), "new", 3) == 1 && fs::status(path).permissions() == fs::perms(0640));
#else
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(zyn_write_file(path.c_str(), "new", 3) && (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN));
#endif
    EXPECT_EQ(file_bytes(path), "new");
    if (test::make_symlink("r", link, false)) { // a one-byte link target is followed too
        EXPECT_TRUE(zyn_write_file(link.c_str(), "linked", 6) == 1 && file_bytes(path) == "linked");
        EXPECT_EQ(zyn_file_copy(source, test::wide_path(link), 1), 1);
        EXPECT_TRUE(fs::is_symlink(link) && file_bytes(path) == after);
    }
    const uint64_t four_gib = uint64_t(1) << 32;
    for (const auto& [length, reported] : {std::pair<uint64_t, uint32_t>{four_gib + 5, UINT32_MAX},
             {four_gib, UINT32_MAX}, {four_gib - 1, UINT32_MAX}, {four_gib - 2, UINT32_MAX - 1}}) {
        std::error_code ec;
        fs::resize_file(p("source.bin"), length, ec); // sparse: no data blocks are written
        if (ec)
            GTEST_SKIP() << "no sparse 4 GiB file here: " << ec.message();
        EXPECT_EQ(zyn_get_file_size(p("source.bin").c_str()), reported) << length; // not wrapped, not one off
    }
}

TEST_F(Files, DirectoriesAreMadeTestedListedAndDeletedWithoutReachingOutside)
{
    make({"a/file"});
    wstring_list files, dirs;
    std::vector<std::pair<zyn_wstring, int>> creates = {{at("a\\b\\c"), 1}, {at("a\\b\\c"), 0}, {at("a/b/d/"), 1},
        {at("x\\\\y"), 1}, {at("a\\file"), 0}, {at("a\\file\\q"), 0}, {zyn_wstring(), 0},
        {at("z") + zyn_wchar(0) + ZW("tail"), 0}}; // an embedded zero must not make "z"
#if !defined(_WIN32)
    creates.push_back({at("z") + zyn_wchar(0xD800), 0}); // no UTF-8 form
#endif
    for (const auto& [path, made] : creates)
        EXPECT_RESULT(zyn_directory_create(path), made, made ? 0 : kFailed);
    EXPECT_TRUE(fs::is_directory(p("a/b/c")) && fs::is_directory(p("a/b/d")) && fs::is_directory(p("x/y")));
    EXPECT_FALSE(there("z"));
    const struct { const char* path; int is_dir, dir_error, is_file, file_error; } tests[] = {
        {"a\\b", 1, 0, 0, ZYN_ERR_IS_A_DIRECTORY}, {"a\\b\\", 1, 0, 0, ZYN_ERR_IS_A_DIRECTORY},
        {"a\\file", 0, kNotDir, 1, 0}, {"missing", 0, kNotDir, 0, kNotFound}};
    for (const auto& c : tests) {
        EXPECT_RESULT(zyn_directory_exists(at(c.path)), c.is_dir, c.dir_error);
        EXPECT_RESULT(zyn_file_exists(at(c.path)), c.is_file, c.file_error);
    }
    EXPECT_RESULT(zyn_file_exists(zyn_wstring()), 0, kNotFound);
    EXPECT_EQ(zyn_get_extendederror(), 0);
    // A delete removes the tree and the links in it, but nothing outside.
    make({"tree/a.txt", "tree/sub/deeper/c.txt", "empty/", "file.txt", "outside/keep/x.sav"});
    make({"tree/sub/locked.txt"}, true);
    const bool links = test::make_symlink(p("outside/keep"), p("tree/sub/dirlink"), true) &&
                       test::make_symlink(p("outside/keep/x.sav"), p("tree/filelink"), false) &&
                       test::make_symlink(p("nowhere"), p("tree/dangling"), false);
    for (const auto& [path, result, error] : {std::tuple{"tree", 1, 0}, {"empty\\", 1, 0}, {"file.txt", 0, kNotDir},
                                              {"missing", 0, kNotDir}})
        EXPECT_RESULT(zyn_directory_delete(at(path)), result, error);
    EXPECT_TRUE(!there("tree") && !there("empty") && there("file.txt") && there("outside/keep/x.sav"));
    // A link given as the directory itself goes alone, with or without a trailing separator.
    for (const char* written : {"toplink", "toplink\\", "toplink/"})
        EXPECT_TRUE(!links || (test::make_symlink(p("outside/keep"), p("toplink"), true) &&
                               zyn_directory_delete(at(written)) == 1 && !there("toplink"))) << written;
    // "dir/.." and "dir/." name another directory than they seem to.
    for (const zyn_wchar* last : {ZW(".."), ZW("."), ZW("../"), ZW("./")})
        EXPECT_RESULT(zyn_directory_delete(at("outside\\keep") + kSep + last), 0, ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_TRUE(there("outside/keep/x.sav"));
#if !defined(_WIN32)
    // Names from an archive may hold backslashes: listings leave them out, and joined they lead nowhere else.
    make({"outside/keep/..\\..\\documents/", "outside/keep/..\\mine.txt", "documents/"});
    const zyn_wstring keep = test::wide_path(p("outside/keep"));
    EXPECT_EQ(zyn_list_directories(keep, dirs) + zyn_list_files(keep, files), 2);
    EXPECT_TRUE(dirs.count == 0 && test::sorted(files) == std::vector<zyn_wstring>{keep + ZW("/x.sav")});
    EXPECT_EQ(zyn_directory_delete(keep + ZW("/..\\..\\documents")) + zyn_file_delete(keep + ZW("/..\\mine.txt")), 0);
    EXPECT_RESULT(zyn_list_files(keep + ZW("\\.."), files), 0, kNotFound); // a last step too
    EXPECT_TRUE(zyn_directory_delete(keep) == 1 && !there("outside/keep") && there("documents")); // odd names and all
    if (geteuid() != 0) { // permissions do not bind the superuser
        make({"tree/locked/inner.txt"});
        fs::permissions(p("tree/locked"), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_RESULT(zyn_directory_delete(at("tree")), 0, kFailed);
        EXPECT_TRUE(there("tree/locked/inner.txt"));
        fs::permissions(p("tree/locked"), fs::perms::owner_all);
    }
#endif
    // Listings join the path once, keep files and directories apart and follow links.
    make({"empty/", "data/x.txt", "data/sub/deep.txt"});
    for (const zyn_wstring& base : {at("data"), at("data") + ZW("\\"), at("data") + ZW("/")}) { // no separator doubled
        const zyn_wstring joined = base == at("data") ? base + kSep : base;
        EXPECT_TRUE(zyn_list_files(base, files) && files.count == 1 && files.items[0] == joined + ZW("x.txt"));
        EXPECT_TRUE(zyn_list_directories(base, dirs) && dirs.count == 1 && dirs.items[0] == joined + ZW("sub"));
    }
    EXPECT_RESULT(zyn_list_files(at("missing"), files), 0, kNotFound); // the earlier content stays
    EXPECT_RESULT(zyn_list_directories(at("data\\x.txt"), dirs), 0, kNotFound);
    EXPECT_TRUE(files.count == 1 && dirs.count == 1);
    EXPECT_EQ(zyn_list_files(at("empty"), files) + zyn_list_directories(at("data\\sub"), dirs), 2);
    EXPECT_TRUE(files.count == 0 && files.capacity == 0 && files.items == nullptr && dirs.count == 0);
    // A file of a non-ASCII name made through the library's own copy, then listed back.
    const zyn_wstring data = at("data") + kSep, uni = data + ZW("sav\u00e9 \u6587\U0001F600.txt");
    ASSERT_TRUE(zyn_file_copy(data + ZW("x.txt"), uni, false) == 1 && zyn_file_exists(uni) == 1);
    if (test::make_symlink(p("data/x.txt"), p("data/filelink"), false)) { // links followed, dangling ones left out
        ASSERT_TRUE(test::make_symlink(p("data/sub"), p("data/dirlink"), true) &&
                    test::make_symlink(p("no"), p("data/dangling"), false));
        EXPECT_RESULT(zyn_file_exists(at("data\\dangling")), 0, kNotFound);
        EXPECT_EQ(zyn_directory_exists(at("data\\dirlink")) + zyn_file_exists(at("data\\filelink")), 2);
        EXPECT_EQ(zyn_list_directories(at("data"), dirs), 1);
        EXPECT_EQ(test::sorted(dirs), (std::vector<zyn_wstring>{data + ZW("dirlink"), data + ZW("sub")}));
        EXPECT_TRUE(zyn_file_delete(at("data\\dangling")) == 1 && !there("data/dangling")); // the link itself goes
    }
    EXPECT_TRUE(zyn_list_files(at("data"), files) == 1 && std::count(files.items, files.items + files.count, uni) == 1);
}

TEST_F(Files, CopiesDeletesAndRenamesOfFilesAndNothingWhileUnloaded)
{
    make({"src.sav", "folder/"});
    EXPECT_RESULT(zyn_file_copy(at("src.sav"), at("dst.sav"), false), 1, 0);
    EXPECT_EQ(file_bytes(p("dst.sav")), "src.sav");
    for (const zyn_bool overwrite : {zyn_bool(0), zyn_bool(1), zyn_bool(0x80)}) { // any non-zero byte is true
        test::put_file(p("dst.sav"), "older, longer content");
        EXPECT_RESULT(zyn_file_copy(at("src.sav"), at("dst.sav"), overwrite), !!overwrite, overwrite ? 0 : kFailed);
        EXPECT_EQ(file_bytes(p("dst.sav")), overwrite ? "src.sav" : "older, longer content");
    }
    std::vector<std::pair<std::string, std::string>> bad = {{"src.sav", "src.sav"}, {"missing.sav", "new.sav"},
        {"folder", "new.sav"}, {"src.sav", "folder"}, {"src.sav", "nodir\\x.sav"}};
#if !defined(_WIN32)
    ASSERT_EQ(mkfifo(p("pipe").c_str(), 0600), 0); // opening a pipe would wait for its other end
    bad.insert(bad.end(), {{"pipe", "new.sav"}, {"src.sav", "pipe"}});
    wstring_list files;
    EXPECT_TRUE(zyn_file_exists(at("pipe")) + zyn_list_files(at(""), files) == 2 && files.count == 2); // not the pipe
#endif
    for (const auto& [from, to] : bad)
        EXPECT_RESULT(zyn_file_copy(at(from), at(to), true), 0, kFailed);
    EXPECT_TRUE(file_bytes(p("src.sav")) == "src.sav" && !there("new.sav") && zyn_get_extendederror() == 0);
    // A delete removes files, read-only ones and links, but no directory and no file in use.
    make({"a.sav", "target.sav", "tree/sub/open.sav"});
    make({"ro.sav"}, true);
    for (const auto& [path, result, error] : {std::tuple{"a.sav", 1, 0}, {"a.sav", 0, kFailed}, {"ro.sav", 1, 0},
                                              {"folder", 0, ZYN_ERR_IS_A_DIRECTORY}})
        EXPECT_RESULT(zyn_file_delete(at(path)), result, error);
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
    // A rename moves files and directories and replaces files.
    make({"old.sav", "taken.sav", "folder/inner/"});
    EXPECT_RESULT(zyn_file_rename(p("old.sav").c_str(), (dir.path() + "\\new.sav").c_str()), 1, 0);
    EXPECT_EQ(zyn_file_rename(p("new.sav").c_str(), p("taken.sav").c_str()), 1);
    EXPECT_EQ(zyn_file_rename(p("folder").c_str(), p("moved").c_str()), 1);
    EXPECT_TRUE(fs::is_directory(p("moved/inner")) && !there("old.sav") && !there("new.sav"));
    const std::string missing = p("missing"), taken = p("taken.sav");
    for (const auto& [from, to] : {std::pair{missing.c_str(), "x"}, {nullptr, "x"}, {taken.c_str(), nullptr}})
        EXPECT_RESULT(zyn_file_rename(from, to), 0, kFailed);
#if !defined(_WIN32)
    EXPECT_EQ(zyn_file_rename(p("taken.sav").c_str(), p("sav\xc3\xa9.sav").c_str()), 1); // narrow names are bytes
    EXPECT_EQ(file_bytes(p("sav\xc3\xa9.sav")), "old.sav");
    ASSERT_EQ(zyn_file_rename(p("sav\xc3\xa9.sav").c_str(), p("taken.sav").c_str()), 1);
#endif
    EXPECT_EQ(file_bytes(p("taken.sav")), "old.sav");
    zyn_unload();
    wstring_list list;
    char buffer[4] = {};
    const auto refused = [](int64_t result) { return result == 0 && zyn_geterror() == ZYN_ERR_NOT_LOADED; };
    const bool all[] = {refused(zyn_directory_create(at("new"))), refused(zyn_directory_delete(at("moved"))),
        refused(zyn_directory_exists(at(""))), refused(zyn_list_files(at(""), list)),
        refused(zyn_list_directories(at(""), list)), refused(zyn_file_copy(at("taken.sav"), at("g.sav"), 1)),
        refused(zyn_file_delete(at("taken.sav"))), refused(zyn_file_exists(at("taken.sav"))),
        refused(zyn_file_rename(taken.c_str(), p("g.sav").c_str())), refused(zyn_write_file(taken.c_str(), "x", 1)),
        refused(zyn_write_file_append(taken.c_str(), "x", 1)), refused(zyn_read_file(taken.c_str(), buffer, 4)),
        refused(zyn_get_file_size(taken.c_str()))}; // each checked at once
    EXPECT_EQ(std::count(all, std::end(all), true), 13);
    EXPECT_TRUE(zyn_get_extendederror() == 0 && buffer[0] == 0 && file_bytes(taken) == "old.sav");
    EXPECT_TRUE(there("moved") && !there("g.sav") && !there("new"));
}

} // namespace

// Helpers for the file tests: reading and writing real files directly, wide
// paths from the temporary directory, and a scoped change of directory.
#pragma once

#include <zyn/zyn.h>

#include <filesystem>
#include <string>
#include <vector>

namespace test {

// The whole content of a file, or "<missing>" when it cannot be opened.
std::string file_bytes(const std::string& path);

// Writes a file directly, bypassing the library.
void put_file(const std::string& path, const std::string& bytes);

// A narrow path of the platform as the library's wide path type.
zyn_wstring wide_path(const std::string& path);

// Makes a symbolic link at link that leads to target (a directory link when
// directory is true). False where the system does not let this process make one.
bool make_symlink(const std::string& target, const std::string& link, bool directory);

// True when an entry of any kind is at the path, a dangling link included
// (links are not followed).
bool entry_exists(const std::string& path);

// The list's strings, sorted (listings come in the system's order).
std::vector<zyn_wstring> sorted(const wstring_list& list);

// Makes every save that replaces the file at the path fail part-way for the
// life of the object: on Windows the file is held open without sharing its
// deletion, so it cannot be replaced; elsewhere the process's file size limit
// drops to the given number of bytes, as a full disk would stop it.
class SaveBlocker {
public:
    SaveBlocker(const std::string& path, unsigned long bytes);
    ~SaveBlocker();
    SaveBlocker(const SaveBlocker&) = delete;
    SaveBlocker& operator=(const SaveBlocker&) = delete;

private:
    void* held_ = nullptr;
    unsigned long long limit_ = 0;
};

// The number of entries in a directory (a save must leave no new file behind).
std::size_t entry_count(const std::string& dir);

// Makes a directory the current one for the life of the object.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& path);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

} // namespace test

// Helpers for the file and inventory tests: real files read and written
// directly, wide paths, links, and a save made to fail part-way.
#pragma once

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A call's result and the last error it left.
#define EXPECT_RESULT(call, result, error) \
    do { EXPECT_EQ(call, result) << #call; EXPECT_EQ(zyn_geterror(), error) << #call; } while (0)

namespace test {

#if defined(_WIN32)
inline const std::string kEol = "\r\n"; // the platform's text line end
#else
inline const std::string kEol = "\n";
#endif

std::string file_bytes(const std::string& path); // "<missing>" when it cannot be opened
void put_file(const std::string& path, const std::string& bytes);
zyn_wstring wide_path(const std::string& path);
bool make_symlink(const std::string& target, const std::string& link, bool directory); // false where not allowed
bool entry_exists(const std::string& path); // links not followed
std::vector<zyn_wstring> sorted(const wstring_list& list);
std::size_t entry_count(const std::string& dir);

// While it lives, a save that replaces the file fails part-way: on Windows the
// file is held open without sharing its deletion; elsewhere the file size
// limit drops to `bytes`, as a full disk would stop it.
struct SaveBlocker {
    SaveBlocker(const std::string& path, unsigned long bytes);
    ~SaveBlocker();
    void* held = nullptr;
    unsigned long long limit = 0;
};

} // namespace test

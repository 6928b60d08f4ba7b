// The path seams of directory management: the platform form of a wide path
// and where the root of a path ends (the walk of directory creation starts there).
#include "files/fs_sys.h"
#include "support/wide.h"

#include <gtest/gtest.h>

namespace sys = zyn::files::sys;

namespace {

std::size_t root_of(const zyn_wstring& path)
{
    sys::Path native;
    EXPECT_TRUE(sys::native_path(path, native));
    return sys::root_length(native);
}

TEST(FilesPaths, RootsEndBeforeTheFirstComponent)
{
    EXPECT_EQ(root_of(ZW("saves\\slot")), 0u);
    EXPECT_EQ(root_of(ZW("/saves")), 1u);
#if defined(_WIN32)
    EXPECT_EQ(root_of(ZW("\\\\server")), 8u); // a server name alone is all root
    EXPECT_EQ(root_of(ZW("C:\\saves")), 3u);
    EXPECT_EQ(root_of(ZW("c:/saves")), 3u);
    EXPECT_EQ(root_of(ZW("C:saves")), 2u);
    EXPECT_EQ(root_of(ZW("\\\\server\\share\\saves")), 15u);
    EXPECT_EQ(root_of(ZW("\\\\?\\C:\\saves")), 7u);
#else
    EXPECT_EQ(root_of(ZW("\\\\saves")), 2u);
    EXPECT_EQ(root_of(ZW("C:\\saves")), 0u); // no drives here: "C:" is a name
#endif
}

TEST(FilesPaths, WidePathsThatCannotNameAFileAreRefused)
{
    sys::Path native;
    zyn_wstring with_zero = ZW("a");
    with_zero += zyn_wchar(0);
    with_zero += ZW("b");
    EXPECT_FALSE(sys::native_path(with_zero, native));
#if defined(_WIN32)
    ASSERT_TRUE(sys::native_path(ZW("a\\b/c"), native));
    EXPECT_EQ(native, L"a\\b/c");
#else
    ASSERT_TRUE(sys::native_path(ZW("a\\b/c\u00e9\U0001F600"), native));
    EXPECT_EQ(native, "a/b/c\xc3\xa9\xf0\x9f\x98\x80");
    EXPECT_FALSE(sys::native_path(zyn_wstring(1, zyn_wchar(0xD800)) + ZW("x"), native));
    EXPECT_FALSE(sys::native_path(ZW("x") + zyn_wstring(1, zyn_wchar(0xDC00)), native));
    ASSERT_TRUE(sys::native_path_from_code_page("dir\\caf\xc3\xa9", native));
    EXPECT_EQ(native, "dir/caf\xc3\xa9");
#endif
}

} // namespace

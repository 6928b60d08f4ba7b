// Where a path's root ends: directory creation walks from there and a removal never strips its separator.
#include "files/fs_sys.h"
#include "support/library.h"

namespace {

TEST(FilesPaths, RootsEndBeforeTheFirstComponent)
{
    const std::pair<const zyn_wchar*, std::size_t> cases[] = {{ZW("saves\\slot"), 0}, {ZW("/saves"), 1},
#if defined(_WIN32)
        {ZW("\\\\server"), 8}, {ZW("C:\\saves"), 3}, {ZW("c:/saves"), 3}, {ZW("C:saves"), 2}, // a server alone is root
        {ZW("\\\\server\\share\\saves"), 15}, {ZW("\\\\?\\C:\\saves"), 7}};
#else
        {ZW("\\\\saves"), 2}, {ZW("C:\\saves"), 0}}; // no drives here: "C:" is a name
#endif
    for (const auto& [path, root] : cases) {
        zyn::files::sys::Path native;
        ASSERT_TRUE(zyn::files::sys::native_path(path, native));
        EXPECT_EQ(zyn::files::sys::root_length(native), root) << testing::PrintToString(native);
    }
}

} // namespace

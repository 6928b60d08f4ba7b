// The system family's text pieces: filter parsing, result joining within a
// capacity, and the narrow twins' widening and narrowing.
#include "system/dialogs.h"
#include "system/text_buffers.h"

#include "support/wide.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using zyn::system::FileType;

std::vector<FileType> parse(std::string text)
{
    std::vector<char> writable(text.begin(), text.end());
    writable.push_back('\0');
    return zyn::system::parse_file_types(writable.data());
}

TEST(DialogFilter, PairsNamesWithPatterns)
{
    auto types = parse("Images|*.png;*.jpg|All|*.*");
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].name, ZW("Images"));
    EXPECT_EQ(types[0].pattern, ZW("*.png;*.jpg"));
    EXPECT_EQ(types[1].name, ZW("All"));
    EXPECT_EQ(types[1].pattern, ZW("*.*"));

    // A name without a pattern ends the list.
    types = parse("Images|*.png|Orphan");
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0].name, ZW("Images"));

    // Runs of separators count as one; separators at either end are ignored.
    types = parse("||Text||*.txt");
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0].name, ZW("Text"));
    EXPECT_EQ(types[0].pattern, ZW("*.txt"));
    EXPECT_EQ(parse("|A|*.a|").size(), 1u);

    EXPECT_TRUE(parse("").empty());
    EXPECT_TRUE(parse("|||").empty());
    EXPECT_TRUE(parse("Lonely").empty());
    EXPECT_TRUE(zyn::system::parse_file_types(nullptr).empty());

    // UTF-8 names become UTF-16.
    types = parse("Bilder \xC3\xA4|*.png");
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0].name, ZW("Bilder \u00E4"));
}

TEST(DialogFilter, LeavesTheCallersTextWhole)
{
    // A filter kept by the game is used again and again; a literal is read-only.
    char text[] = "A|*.a||B|*.b";
    EXPECT_EQ(zyn::system::parse_file_types(text).size(), 2u);
    EXPECT_EQ(std::memcmp(text, "A|*.a||B|*.b", sizeof text), 0);
    EXPECT_EQ(zyn::system::parse_file_types(text).size(), 2u);
    EXPECT_EQ(zyn::system::parse_file_types("Images|*.png").size(), 1u);
}

TEST(DialogResult, StopsAtTheLastWholePathThatFits)
{
    const std::vector<std::string> paths{"/a/one", "/b/two", "/c/three"};
    const std::string all = "/a/one\r\n/b/two\r\n/c/three";
    char buffer[64];

    std::memset(buffer, '#', sizeof buffer);
    zyn::system::store_paths(paths, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), all);

    // Exactly enough for all three and the zero.
    std::memset(buffer, '#', sizeof buffer);
    zyn::system::store_paths(paths, buffer, uint32_t(all.size() + 1));
    EXPECT_EQ(std::string(buffer), all);

    // One byte short: the third path is left out, nothing written past the capacity.
    std::memset(buffer, '#', sizeof buffer);
    zyn::system::store_paths(paths, buffer, uint32_t(all.size()));
    EXPECT_EQ(std::string(buffer), "/a/one\r\n/b/two");
    for (size_t n = all.size(); n < sizeof buffer; ++n)
        ASSERT_EQ(buffer[n], '#') << n;

    // Not even the first path fits: an empty text.
    std::memset(buffer, '#', sizeof buffer);
    zyn::system::store_paths(paths, buffer, 6);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], '#');

    // Capacity 0 or a null buffer: untouched.
    std::memset(buffer, '#', sizeof buffer);
    zyn::system::store_paths(paths, buffer, 0);
    zyn::system::store_paths(paths, nullptr, 100);
    EXPECT_EQ(buffer[0], '#');

    // Items chosen, none of them with a file-system path: the buffer is emptied,
    // so an earlier choice left in it is not taken for this one.
    zyn::system::store_paths({}, buffer, sizeof buffer);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], '#');
}

TEST(NarrowTwins, WidenBySignAndNarrowByLowByte)
{
    const zyn_wstring wide = zyn::system::widen_bytes("A\xE4");
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_EQ(uint16_t(wide[0]), 0x41);
    EXPECT_EQ(uint16_t(wide[1]), 0xFFE4);
    EXPECT_TRUE(zyn::system::widen_bytes(nullptr).empty());

    const zyn_wchar units[] = {ZW('a'), zyn_wchar(0x263A), zyn_wchar(0x00E9), ZW('z'), 0, ZW('x')};
    EXPECT_EQ(zyn::system::narrow_low_bytes(units, 6), std::string("a\x3A\xE9z"));
    EXPECT_EQ(zyn::system::narrow_low_bytes(units, 2), std::string("a\x3A"));
    // A unit whose low byte is zero does not end the narrow text: it gives '?'.
    const zyn_wchar high[] = {ZW('a'), zyn_wchar(0x0100), ZW('b'), zyn_wchar(0x4E00), ZW('c'), 0, ZW('d')};
    EXPECT_EQ(zyn::system::narrow_low_bytes(high, 7), "a?b?c");
}

TEST(NarrowTwins, ListTwinCutsAndFills)
{
    auto wide_export = [](zyn_wchar* out, uint32_t length) {
        const zyn_wstring text = ZW("abc\u00FF\u0141");
        zyn::system::store_cut(text.data(), text.size(), out, length);
        return 1;
    };
    char out[8];
    std::memset(out, '#', sizeof out);
    ASSERT_EQ(zyn::system::narrow_list_twin(out, 7, wide_export), 1);
    EXPECT_EQ(std::string(out, 7), std::string("abc\xFF\x41\0\0", 7));
    EXPECT_EQ(out[7], '#');

    std::memset(out, '#', sizeof out);
    ASSERT_EQ(zyn::system::narrow_list_twin(out, 2, wide_export), 1);
    EXPECT_EQ(std::string(out, 3), "ab#");

    // A failing wide export leaves the buffer alone.
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(zyn::system::narrow_list_twin(out, 8, [](zyn_wchar*, uint32_t) { return 0; }), 0);
    EXPECT_EQ(out[0], '#');
}

} // namespace

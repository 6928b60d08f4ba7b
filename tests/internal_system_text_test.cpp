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

using namespace zyn::system;

TEST(SystemText, FiltersPairNamesWithPatternsAndStayWhole)
{
    // Runs of separators count as one and are ignored at either end; a name without a
    // pattern ends the list; UTF-8 names become UTF-16.
    const struct {
        const char* filter;
        zyn_wstring types;
    } cases[] = {{"Images|*.png;*.jpg|All|*.*", ZW("Images=*.png;*.jpg,All=*.*,")},
                 {"Images|*.png|Orphan", ZW("Images=*.png,")}, {"||Text||*.txt", ZW("Text=*.txt,")},
                 {"|A|*.a|", ZW("A=*.a,")}, {"A|*.a||B|*.b", ZW("A=*.a,B=*.b,")}, {"", ZW("")}, {"|||", ZW("")},
                 {"Lonely", ZW("")}, {"Bilder \xC3\xA4|*.png", ZW("Bilder \u00E4=*.png,")}};
    for (const auto& c : cases) {
        std::vector<char> text(c.filter, c.filter + std::strlen(c.filter) + 1);
        zyn_wstring types;
        for (const FileType& type : parse_file_types(text.data()))
            types += type.name + ZW("=") + type.pattern + ZW(",");
        EXPECT_EQ(types, c.types) << c.filter;
        EXPECT_STREQ(text.data(), c.filter); // a filter kept by the game is used again
    }
    EXPECT_EQ(parse_file_types("Images|*.png").size(), 1u); // a literal is read-only
    EXPECT_TRUE(parse_file_types(nullptr).empty());
}

TEST(SystemText, PathsStopAtTheLastWholeOneThatFits)
{
    const std::vector<std::string> paths{"/a/one", "/b/two", "/c/three"};
    const std::string all = "/a/one\r\n/b/two\r\n/c/three";
    // Capacity, then what is stored; nothing is ever written past the capacity.
    const struct {
        uint32_t capacity;
        std::string stored;
    } cases[] = {{64, all}, {uint32_t(all.size() + 1), all}, {uint32_t(all.size()), "/a/one\r\n/b/two"}, {7, "/a/one"},
                 {6, ""}};
    for (const auto& c : cases) {
        char buffer[65];
        std::memset(buffer, '#', sizeof buffer);
        store_paths(paths, buffer, c.capacity);
        EXPECT_EQ(std::string(buffer), c.stored) << c.capacity;
        EXPECT_EQ(std::string(buffer + c.stored.size() + 1, buffer + 65), std::string(64 - c.stored.size(), '#'));
    }
    char buffer[2] = {'#', '#'};
    store_paths(paths, buffer, 0); // capacity 0 or no buffer: untouched
    store_paths(paths, nullptr, 100);
    EXPECT_EQ(buffer[0], '#');
    // Chosen items without a file-system path empty the buffer: an earlier choice is not taken for this one.
    store_paths({}, buffer, 2);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0#", 2));
}

TEST(SystemText, NarrowTwinsWidenBySignAndNarrowByLowByte)
{
    EXPECT_EQ(widen_bytes("A\xE4"), (zyn_wstring{zyn_wchar(0x41), zyn_wchar(0xFFE4)}));
    EXPECT_TRUE(widen_bytes(nullptr).empty());
    // A unit beyond U+00FF whose low byte is zero gives '?' instead of ending the text.
    const zyn_wchar units[] = {ZW('a'), zyn_wchar(0x263A), zyn_wchar(0x00E9), zyn_wchar(0x0100), zyn_wchar(0x4E00),
                               ZW('z'), 0, ZW('x')};
    EXPECT_EQ(narrow_low_bytes(units, 8), "a\x3A\xE9??z");
    EXPECT_EQ(narrow_low_bytes(units, 2), "a\x3A");

    // The list twin cuts unterminated and fills with zeros to the length; a failing wide list leaves it alone.
    const auto wide_list = [](zyn_wchar* out, uint32_t length) {
        const zyn_wstring text = ZW("abc\u00FF\u0141");
        store_cut(text.data(), text.size(), out, length);
        return 1;
    };
    for (uint32_t length : {7u, 2u}) {
        char out[8];
        std::memset(out, '#', sizeof out);
        ASSERT_EQ(narrow_list_twin(out, length, wide_list), 1);
        EXPECT_EQ(std::string(out, 8), std::string("abc\xFF\x41\0\0#", 8).substr(0, length) +
                                           std::string(8 - length, '#'));
    }
    char out[2] = "#";
    EXPECT_EQ(narrow_list_twin(out, 2, [](zyn_wchar*, uint32_t) { return 0; }), 0);
    EXPECT_EQ(out[0], '#');
}

} // namespace

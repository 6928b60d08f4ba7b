// The dialogs' text pieces: filter parsing and result joining within a capacity.
#include "system/dialogs.h"

#include "support/library.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

using namespace zyn::system;

TEST(SystemText, FiltersPairNamesWithPatternsAndPathsStopAtTheLastWholeOneThatFits)
{
    // Runs of separators count as one; a name without a pattern ends the list. Literals: only read.
    const std::pair<const char*, zyn_wstring> cases[] = {
        {"Images|*.png;*.jpg|All|*.*", ZW("Images=*.png;*.jpg,All=*.*,")}, {"Images|*.png|Orphan", ZW("Images=*.png,")},
        {"||Text||*.txt", ZW("Text=*.txt,")}, {"|A|*.a|", ZW("A=*.a,")}, {"A|*.a||B|*.b", ZW("A=*.a,B=*.b,")},
        {"", ZW("")}, {"|||", ZW("")}, {"Lonely", ZW("")}, {"Bilder \xC3\xA4|*.png", ZW("Bilder \u00E4=*.png,")}};
    for (const auto& [filter, expected] : cases) {
        zyn_wstring types;
        for (const FileType& type : parse_file_types(filter))
            types += type.name + ZW("=") + type.pattern + ZW(",");
        EXPECT_EQ(types, expected) << filter;
    }
    EXPECT_TRUE(parse_file_types(nullptr).empty());
    EXPECT_EQ(split_chooser_answer("/x/no line end", ""), std::vector<std::string>{"/x/no line end"}); // all of it kept

    const std::vector<std::string> paths{"/a/one", "/b/two", "/c/three"};
    const std::string all = "/a/one\r\n/b/two\r\n/c/three";
    // Capacity, then what is stored; nothing is ever written past the capacity.
    const std::pair<uint32_t, std::string> fits[] = {
        {64, all}, {uint32_t(all.size() + 1), all}, {uint32_t(all.size()), "/a/one\r\n/b/two"}, {7, "/a/one"}, {6, ""}};
    for (const auto& [capacity, stored] : fits) {
        char buffer[65];
        std::memset(buffer, '#', sizeof buffer);
        store_paths(paths, buffer, capacity);
        EXPECT_EQ(std::string(buffer), stored) << capacity;
        EXPECT_EQ(std::string(buffer + stored.size() + 1, buffer + 65), std::string(64 - stored.size(), '#'));
    }
    char buffer[2] = {'#', '#'};
    store_paths(paths, nullptr, 100); // no buffer: nothing happens
    EXPECT_EQ(buffer[0], '#');
    // Chosen items without a file-system path empty the buffer: an earlier choice is not taken for this one.
    store_paths({}, buffer, 2);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0#", 2));
}

} // namespace

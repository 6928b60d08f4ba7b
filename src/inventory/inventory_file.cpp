// Reading an inventory file whole and writing its items.
#include "inventory/inventory_file.h"

#include "files/save.h"
#include "files/stream_sys.h"
#include "inventory/text_format.h"

#include <cstdio>

namespace zyn::inventory::file {

std::optional<std::string> read_all(const std::string& path)
{
    // The files family's open: its path rules, binary mode (text mode on
    // Windows would stop at a byte 26 inside a name), and only a regular
    // file, so a pipe cannot hang the load nor a device make it endless.
    std::FILE* f = path.empty() ? nullptr : files::sys::open_narrow(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    // Sized by the file's length first, so the text is held once, not in a
    // string grown by doubling; reading goes on to the end all the same,
    // should the file have grown meanwhile.
    std::string content;
    uint64_t length = 0;
    if (files::sys::length(f, length) && length < content.max_size())
        content.reserve(std::size_t(length));
    char chunk[16384];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        content.append(chunk, got);
    // A read error counts as a file that could not be read, so the caller
    // leaves the inventory alone.
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return content;
}

files::SaveOutcome write_items(const std::string& path, const Inventory& inventory)
{
#if defined(_WIN32)
    constexpr std::string_view kLineEnd = "\r\n"; // the platform's text files
#else
    constexpr std::string_view kLineEnd = "\n";
#endif
    std::string content;
    inventory.for_each_item([&](std::string_view name, int64_t quantity) {
        if (quantity <= 0)
            return;
        text::append_line(content, name, quantity);
        content.replace(content.size() - 1, 1, kLineEnd);
    });
    return files::save_narrow(path.c_str(), content);
}

} // namespace zyn::inventory::file

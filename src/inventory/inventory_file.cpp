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
    std::string content;
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

files::SaveOutcome write_items(const std::string& path, const std::list<Item>& items)
{
#if defined(_WIN32)
    constexpr std::string_view kLineEnd = "\r\n"; // the platform's text files
#else
    constexpr std::string_view kLineEnd = "\n";
#endif
    std::string content;
    for (const Item& item : items) {
        if (item.quantity <= 0)
            continue;
        text::append_line(content, item);
        content.replace(content.size() - 1, 1, kLineEnd);
    }
    return files::save_narrow(path.c_str(), content);
}

} // namespace zyn::inventory::file

#include "inventory/inventory_file.h"

#include "inventory/text_format.h"

#include <cstdio>

namespace zyn::inventory::file {

namespace {

#if defined(_WIN32)
constexpr const char* kWriteMode = "wt"; // text mode: each LF goes out as CR LF
#else
constexpr const char* kWriteMode = "w";
#endif

} // namespace

std::optional<std::string> read_all(const std::string& path)
{
    // Binary mode: text mode on Windows would stop at a byte 26 inside a name.
    std::FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string content;
    char chunk[16384];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        content.append(chunk, got);
    // A read error (a directory opened on Linux, an I/O failure) counts as a
    // file that could not be read, so the caller leaves the inventory alone.
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return content;
}

WriteOutcome write_items(const std::string& path, const std::vector<Item>& items)
{
    std::FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), kWriteMode);
    if (!f)
        return WriteOutcome::not_opened;
    bool ok = true;
    std::string line;
    for (const Item& item : items) {
        if (item.quantity <= 0)
            continue;
        line.clear();
        text::append_line(line, item);
        if (std::fwrite(line.data(), 1, line.size(), f) != line.size() || std::fflush(f) != 0) {
            ok = false;
            break;
        }
    }
    if (std::fclose(f) != 0)
        ok = false;
    return ok ? WriteOutcome::written : WriteOutcome::failed;
}

} // namespace zyn::inventory::file

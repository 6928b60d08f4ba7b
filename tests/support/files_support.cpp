#include "support/files_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace test {

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

zyn_wstring wide_path(const std::string& path)
{
#if defined(_WIN32)
    return std::filesystem::path(path).wstring();
#else
    const std::u16string units = std::filesystem::u8path(path).u16string();
    return zyn_wstring(units.begin(), units.end());
#endif
}

std::vector<zyn_wstring> sorted(const wstring_list& list)
{
    std::vector<zyn_wstring> items(list.items, list.items + list.count);
    std::sort(items.begin(), items.end());
    return items;
}

CurrentDirectory::CurrentDirectory(const std::string& path) : previous_(std::filesystem::current_path())
{
    std::filesystem::current_path(path);
}

CurrentDirectory::~CurrentDirectory()
{
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
}

} // namespace test

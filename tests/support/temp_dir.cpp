#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace test {

namespace {
std::atomic<unsigned> g_counter{0};

void make_writable_recursively(const fs::path& root)
{
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
}
} // namespace

TempDir::TempDir()
{
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path p = fs::temp_directory_path() /
                     ("zyn-test-" + std::to_string(stamp) + "-" + std::to_string(g_counter++));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p.make_preferred().string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ec;
    make_writable_recursively(path_); // read-only files inside must not be left behind
    fs::remove_all(path_, ec);
}

std::string TempDir::join(const std::string& name) const
{
    return (fs::path(path_) / fs::path(name).make_preferred()).string();
}

} // namespace test

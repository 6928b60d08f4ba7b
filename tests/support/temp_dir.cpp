#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

test::TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        fs::path p = fs::temp_directory_path() / ("zyn-test-" + stamp + "-" + std::to_string(counter++));
        if (std::error_code ec; fs::create_directory(p, ec)) path_ = p.make_preferred().string();
    }
    if (path_.empty()) throw std::runtime_error("cannot create a temporary directory");
}

test::TempDir::~TempDir()
{
    std::error_code ec; // read-only entries inside must not be left behind
    for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (!it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string test::TempDir::join(const std::string& name) const
{
    return (fs::path(path_) / fs::path(name).make_preferred()).string();
}

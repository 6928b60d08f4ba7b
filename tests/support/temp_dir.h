// A fresh, empty temporary directory for one test, removed with everything in it afterwards.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace test {

class TempDir {
public:
    TempDir()
    {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            std::filesystem::path p = std::filesystem::temp_directory_path() /
                                      ("zyn-test-" + stamp + "-" + std::to_string(counter++));
            if (std::error_code ec; std::filesystem::create_directory(p, ec)) path_ = p.make_preferred().string();
        }
        if (path_.empty()) throw std::runtime_error("cannot create a temporary directory");
    }
    ~TempDir()
    {
        namespace fs = std::filesystem;
        std::error_code ec; // read-only entries inside must not be left behind
        for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (!it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; } // no trailing separator, in the platform's form
    std::string join(const std::string& name) const    // with the platform's separator
    {
        return (std::filesystem::path(path_) / std::filesystem::path(name).make_preferred()).string();
    }

private:
    std::string path_;
};

} // namespace test

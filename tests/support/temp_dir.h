// A fresh, empty temporary directory for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory's path, without a trailing separator, in the platform's own form.
    const std::string& path() const { return path_; }
    // path() joined with a relative name using the platform's separator.
    std::string join(const std::string& name) const;

private:
    std::string path_;
};

} // namespace test

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
    const std::string& path() const { return path_; } // no trailing separator, in the platform's form
    std::string join(const std::string& name) const;  // with the platform's separator

private:
    std::string path_;
};

} // namespace test

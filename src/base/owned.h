// One owner for a system resource (a descriptor, a handle, a stream): it is
// released when its owner goes out of scope, so no early return leaks it.
#pragma once

#include <cstdio>

namespace zyn::base {

// Traits give the resource's type, its empty value and how to release it:
//   struct FdTraits { using Value = int; static int empty() { return -1; }
//                     static void release(int fd) { ::close(fd); } };
template <class Traits>
class Owned {
public:
    using Value = typename Traits::Value;

    Owned() noexcept : value_(Traits::empty()) {}
    explicit Owned(Value value) noexcept : value_(value) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Value get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::empty(); }

    // Releases what is held and holds the new value instead.
    void reset(Value value = Traits::empty()) noexcept
    {
        if (valid())
            Traits::release(value_);
        value_ = value;
    }

    // Gives up ownership without releasing.
    Value release() noexcept
    {
        const Value value = value_;
        value_ = Traits::empty();
        return value;
    }

private:
    Value value_;
};

// A C stream, closed with fclose.
struct StdioTraits {
    using Value = std::FILE*;
    static std::FILE* empty() { return nullptr; }
    static void release(std::FILE* file) { std::fclose(file); }
};
using OwnedFile = Owned<StdioTraits>;

} // namespace zyn::base

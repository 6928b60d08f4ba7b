// Random draws from a freshly seeded MT19937, mapped into inclusive bounds.
//
// Every draw behaves exactly as seeding a complete 624-word MT19937 state
// with one 32-bit seed and generating from it. The generator below computes
// only the part of that state its outputs depend on: output k of the first
// block needs seeded words k, k+1 and k+397, so one output costs 398 seeding
// steps instead of 624 plus a whole block regeneration.
#pragma once

#include <cstdint>

namespace zyn::numbers {

// MT19937 that seeds its state on demand and regenerates it one word at a
// time. Its output sequence equals that of std::mt19937 seeded the same way.
class LazyMt19937 {
public:
    explicit LazyMt19937(uint32_t seed) noexcept;
    uint32_t next() noexcept;

private:
    static constexpr uint32_t kWords = 624;
    void seed_up_to(uint32_t count) noexcept;

    uint32_t state_[kWords];
    uint32_t seeded_ = 1; // words of the initial state computed so far
    uint32_t index_ = 0;  // the word the next output regenerates
};

// Offset 0 .. n-1 from 32-bit draws (n from 1 to 2^32), by multiplying and
// rejecting the biased low products.
uint64_t offset_from_32bit_draws(LazyMt19937& generator, uint64_t n) noexcept;

// A draw between min and max inclusive, from the generator seeded with seed.
// When max is below min the range wraps through the ends of the width.
int32_t draw_int32(uint32_t seed, int32_t min, int32_t max) noexcept;
int64_t draw_int64(uint32_t seed, int64_t min, int64_t max) noexcept;

// The seed of a draw: the low 32 bits of the system clock in 100-ns ticks.
uint32_t clock_seed() noexcept;

} // namespace zyn::numbers

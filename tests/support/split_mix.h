#pragma once

// splitmix64: the same numbers on every machine and compiler, for the
// generated cases of the tests and benchmarks. Each user gives its own
// stream, so the same seed makes different cases in different places.

#include <cstdint>

namespace letterloom::testing {

class SplitMix {
public:
    SplitMix(std::uint64_t seed, std::uint64_t stream) : state_(seed * 0x9E3779B97F4A7C15ULL + stream) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // lo .. hi, both included.
    int range(int lo, int hi) { return lo + int(next() % std::uint64_t(hi - lo + 1)); }
    bool chance(int percent) { return range(0, 99) < percent; }

private:
    std::uint64_t state_;
};

}  // namespace letterloom::testing

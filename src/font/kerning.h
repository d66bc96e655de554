#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace letterloom::font {

// The widest a kerning pair may move its right glyph, either way, in pixels.
inline constexpr int kMaxKerning = 64;

// One pair: after the glyph of code left, the glyph of code right moves by
// amount pixels (negative: closer).
struct KerningPair {
    std::uint8_t left = 0;
    std::uint8_t right = 0;
    std::int32_t amount = 0;
    bool operator==(const KerningPair &other) const = default;
};

// A font's kerning pairs, each pair of codes at most once, none of amount 0.
// The pairs are kept sorted by left then right code, with where each left
// code's pairs start, so a look-up is a short binary search.
class Kerning {
public:
    Kerning() = default;
    // Later pairs of the same two codes replace earlier ones; a pair of
    // amount 0 removes the pair. Amounts are clamped to +-kMaxKerning.
    explicit Kerning(const std::vector<KerningPair> &pairs);

    std::int32_t amount(std::uint8_t left, std::uint8_t right) const
    {
        if (pairs_.empty())
            return 0;
        std::uint32_t low = starts_[left];
        std::uint32_t high = starts_[left + 1];
        while (low < high) {
            const std::uint32_t middle = (low + high) / 2;
            if (pairs_[middle].right < right)
                low = middle + 1;
            else
                high = middle;
        }
        return low < starts_[left + 1] && pairs_[low].right == right ? pairs_[low].amount : 0;
    }

    // Sets one pair (amount 0 removes it).
    void set(std::uint8_t left, std::uint8_t right, std::int32_t amount);

    const std::vector<KerningPair> &pairs() const { return pairs_; }
    bool isEmpty() const { return pairs_.empty(); }
    bool operator==(const Kerning &other) const { return pairs_ == other.pairs_; }

private:
    void index();

    std::vector<KerningPair> pairs_;
    std::array<std::uint32_t, 257> starts_{};
};

}  // namespace letterloom::font

#include "font/kerning.h"

#include <algorithm>
#include <map>

namespace letterloom::font {

Kerning::Kerning(const std::vector<KerningPair> &pairs)
{
    std::map<std::pair<int, int>, std::int32_t> kept;
    for (const KerningPair &pair : pairs)
        kept[{pair.left, pair.right}] = std::clamp(pair.amount, -kMaxKerning, kMaxKerning);
    for (const auto &[codes, amount] : kept)
        if (amount != 0)
            pairs_.push_back({std::uint8_t(codes.first), std::uint8_t(codes.second), amount});
    index();
}

void Kerning::set(std::uint8_t left, std::uint8_t right, std::int32_t amount)
{
    std::vector<KerningPair> pairs = pairs_;
    pairs.push_back({left, right, amount});
    *this = Kerning(pairs);
}

void Kerning::index()
{
    starts_.fill(0);
    for (const KerningPair &pair : pairs_)
        ++starts_[pair.left + 1];
    for (size_t i = 1; i < starts_.size(); ++i)
        starts_[i] += starts_[i - 1];
}

}  // namespace letterloom::font

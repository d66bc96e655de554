#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace letterloom::text {

// One line of laid-out text.
struct Twords {
    std::vector<QByteArray> words;         // after escapes are resolved; may be empty strings
    std::vector<std::int32_t> wordWidths;  // measured as typed, before escapes
    std::int32_t lineWidth = 0;            // sum of each word's width plus one space width
    std::int32_t gap = 0;                  // distance between words for justified text

    bool operator==(const Twords &other) const = default;
};

// The lines of the last refresh, top line first.
using LineTable = std::vector<Twords>;

void ClearLineTable(LineTable &lines);

}  // namespace letterloom::text

#pragma once

#include "font/glyph_table.h"

#include <cstdint>
#include <vector>

namespace letterloom::font {

// A glyph pixel position.
struct GlyphPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    bool operator==(const GlyphPoint &other) const = default;
};

// A growable list of glyph positions: the paint bucket's queue.
using TarrPoint = std::vector<GlyphPoint>;

// The paint bucket: gives the colour fill to the pixel (x, y) and to every
// pixel joined to it through left, right, up and down neighbours of its old
// colour. The area grows ring by ring from (x, y); within a ring the cells are
// taken in the order they were reached, and each cell looks left, up, right
// and down. Only pixels changes; the image follows when the glyph editor next
// copies it. Nothing happens when (x, y) lies outside the glyph or already
// has the colour. When painted is given, it receives the cells in the order
// they were painted.
void paintBucket(tGraphChar &glyph, std::int32_t x, std::int32_t y, Colour fill, TarrPoint *painted = nullptr);

}  // namespace letterloom::font

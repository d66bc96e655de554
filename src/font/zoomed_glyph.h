#pragma once

#include "font/flood_fill.h"
#include "font/glyph_table.h"
#include "raster/raster.h"

#include <QSize>

#include <optional>

namespace letterloom::font {

// The glyph editor's picture of a glyph: every glyph pixel a square of
// pixelSize x pixelSize, separated by black grid lines, inside a red border.

// The largest side of the glyph editor's canvas. A glyph at a huge pixel size
// is shown only as far as this reaches; it is the largest square the program
// makes a raster of, and larger than any screen.
inline constexpr qint64 kMaxZoomedSide = 8192;

// The canvas size that shows the whole glyph: width x pixelSize + 2 by
// height x pixelSize + 2, each side kept within 0 .. kMaxZoomedSide.
QSize zoomedGlyphSize(const tGraphChar &glyph, std::int32_t pixelSize);

// Draws the glyph into target, which keeps its size: white background, a
// one-pixel red border round width x pixelSize + 2 by height x pixelSize + 2,
// the squares, and black grid lines at x = i x pixelSize and y = j x
// pixelSize that cover the last pixel column or row of the squares before
// them; the squares of the last column and row keep their full pixelSize.
// What lies beyond target is left out. A pixel size below 1 shows only a
// 2 x 2 red square.
//
// On the way it copies every pixel of pixels into the glyph's image: this is
// how pencil and paint bucket changes reach the raster that text drawing uses.
void drawZoomedGlyph(raster::Raster &target, tGraphChar &glyph, std::int32_t pixelSize);

// The glyph pixel under the canvas position (x, y): a plain division by the
// pixel size, truncated toward zero, so a grid line belongs to the column or
// row after it and a position less than one pixel size left of or above the
// canvas still lands in column or row 0. Nothing when the position misses the
// glyph, and nothing at all for a pixel size below 1.
std::optional<GlyphPoint> glyphPixelAt(const tGraphChar &glyph, qint64 x, qint64 y, std::int32_t pixelSize);

}  // namespace letterloom::font

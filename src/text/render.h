#pragma once

#include "font/glyph_table.h"
#include "raster/raster.h"
#include "text/layout.h"
#include "text/line_table.h"

#include <cstdint>

namespace letterloom::text {

// Alignment values as stored in project files.
enum Alignment : std::uint8_t { kAlignLeft = 1, kAlignCentre = 2, kAlignRight = 3, kAlignJustify = 4 };

// Sizes the overlay to the area, clears it to white and draws every line's
// glyphs opaquely at the places the alignment gives. Throws
// "Text area is too large" for an area the program cannot hold; a negative
// width or height gives an empty overlay.
//
// Within a word the pen moves on after each character but the last by its
// glyph's width plus the tracking plus the kerning with the next character;
// after a word by the space glyph's width plus the word spacing. Right
// alignment runs the same steps from the right edge backwards.
void RenderLines(const LineTable &lines, std::int32_t areaWidth, std::int32_t areaHeight,
                 std::int32_t lineSpacing, std::uint8_t alignment, const font::GlyphTable &glyphs,
                 raster::Raster &overlay, const Spacing &spacing = {}, const font::Kerning *kerning = nullptr);

// Turns every pixel of exactly black into colour; nothing happens for black.
void TintOverlay(raster::Raster &overlay, raster::Colour colour);

// What a refresh reads besides the text and the glyphs.
struct TextSettings {
    std::int32_t areaWidth = 0;
    std::int32_t areaHeight = 0;
    std::int32_t lineSpacing = 10;
    std::uint8_t alignment = kAlignLeft;
    raster::Colour colour = raster::kBlack;
    Spacing spacing;
};

// Draws the lines straight onto picture, the area's top-left corner at
// (areaX, areaY), and returns true: the pixels that RenderLines into an
// overlay of the area, TintOverlay with settings.colour and drawing the
// overlay onto the picture leaving out white give together, without the
// overlay. Returns false and draws nothing where only the overlay gives them:
// where two glyphs may cover the same pixel (tracking, word spacing or
// kerning in use, lines closer together than their glyphs are tall, images
// wider than their glyphs' widths). Throws as RenderLines for an area too large.
bool DrawLinesOnto(raster::Raster &picture, std::int64_t areaX, std::int64_t areaY, const LineTable &lines,
                   const TextSettings &settings, const font::GlyphTable &glyphs,
                   const font::Kerning *kerning = nullptr);

// The refresh: clears the line table, lays the text out, renders it into the
// overlay and tints it. Returns the notice that ended the layout; rendering
// runs in any case and draws the lines placed before it. kerning is the
// font's (null for none).
Notice RefreshText(const QByteArray &text, const TextSettings &settings, const font::GlyphTable &glyphs,
                   LineTable &lines, raster::Raster &overlay, const font::Kerning *kerning = nullptr);

}  // namespace letterloom::text

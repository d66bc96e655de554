#pragma once

#include "font/glyph_table.h"
#include "raster/raster.h"

#include <QPoint>

namespace letterloom::cli {

// A specimen picture of a font: the 256 glyphs in a 16 x 16 table, code
// 16 * row + column in each cell, every glyph pixel drawn as a zoom x zoom
// square, with the hex digits of the codes along the top and left edges.
class FontSheet {
public:
    static constexpr int kTopBand = 16;   // column labels
    static constexpr int kLeftBand = 24;  // row labels
    static constexpr int kPadding = 3;    // between a cell's edge and its glyph
    static constexpr int kMinGlyphSide = 8;
    static constexpr raster::Colour kGrid = 0xA0A0A0;
    static constexpr raster::Colour kDefinedCell = 0xF4ECE4;  // light blue-grey
    static constexpr raster::Colour kEmptyCell = 0xC8C8C8;
    static constexpr raster::Colour kLabel = 0x404040;

    FontSheet(const font::GlyphTable &glyphs, int zoom);

    // Where the top-left pixel of a code's glyph lands.
    QPoint glyphOrigin(int code) const;
    // The whole sheet; throws when it would be too large to hold.
    raster::Raster draw() const;

private:
    const font::GlyphTable &glyphs_;
    int zoom_;
    int cellWidth_;
    int cellHeight_;
};

}  // namespace letterloom::cli

#pragma once

#include "font/glyph_table.h"
#include "raster/raster.h"
#include "text/layout.h"
#include "text/line_table.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace letterloom::text {

// How far a text that did not fit misses its area, beside the notice that
// stopped its layout.
//
// pixels: when the first word that was not placed fits no line even alone
// (the width notice, or a height notice ended by such a word), its measured
// width plus a space width minus W - 4; else 0.
// lines: for any other height notice, the number of lines past the last one
// a wrap may start ((lineSpacing + 2) x n <= H - 4) that the rest of the text
// takes when it is laid out without the height check (up to a word that fits
// no line); else 0.
// Both are 0 when every word was placed.
struct Overflow {
    std::int64_t pixels = 0;
    std::int64_t lines = 0;

    // The first word that was not placed, as the line table would hold it
    // (escapes resolved), its measured width and the line it would have
    // started; empty with line -1 when every word was placed.
    QByteArray word;
    std::int64_t wordWidth = 0;
    std::int64_t line = -1;

    bool any() const { return line >= 0; }
    bool operator==(const Overflow &other) const = default;
};

// The overflow of a layout of text: notice is what LayoutText returned for
// the same text, area, line spacing and glyphs, and lines the table it
// filled, spacing and kerning the same as it was given. Words are measured
// as layout measures them. Reads the text once more from the first word not
// placed; the table is not changed.
Overflow MeasureOverflow(const QByteArray &text, Notice notice, const LineTable &lines, std::int32_t areaWidth,
                         std::int32_t areaHeight, std::int32_t lineSpacing, const font::GlyphTable &glyphs,
                         const Spacing &spacing = {}, const font::Kerning *kerning = nullptr);

// "43 px too wide" or "2 lines too many"; empty when there is neither.
QString overflowText(const Overflow &overflow);

// The first word not placed as the area would draw it, the only word of its
// line at the place the alignment gives such a line, its glyphs on that
// line's baseline: at is where picture's top-left corner stands in the
// area. Every pixel of its glyphs that is not white takes colour, the rest
// of picture is white. picture is empty for an overflow without a word, or
// a word without pixels.
struct OverflowWord {
    raster::Raster picture;
    QPoint at;
};
OverflowWord drawOverflowWord(const Overflow &overflow, const font::GlyphTable &glyphs, std::int32_t areaWidth,
                              std::int32_t lineSpacing, std::uint8_t alignment, raster::Colour colour,
                              const Spacing &spacing = {}, const font::Kerning *kerning = nullptr);

}  // namespace letterloom::text

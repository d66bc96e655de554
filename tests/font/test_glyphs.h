#pragma once

// Whole glyph tables as little pictures for the font format tests, built on
// the glyph sketches ('.' white, '#' black, 'r' red, 'g' green, 'b' blue,
// 'y' yellow, 'c' cyan, 'm' magenta).

#include "font/glyph_sketch.h"

#include <QMap>

namespace letterloom::font::test {

// Pictures of the defined glyphs by code.
using Pictures = QMap<int, QStringList>;

// The glyph's pixels; a last line "image differs" when its image does not
// show the same pixels at the same size.
inline QStringList pictureOf(const tGraphChar &glyph)
{
    QStringList rows = testing::pixelSketch(glyph);
    const bool sameImage = glyph.image.width() == glyph.width && glyph.image.height() == glyph.height &&
                           testing::rasterSketch(glyph.image) == rows;
    if (!sameImage)
        rows << QStringLiteral("image differs");
    return rows;
}

inline QList<int> definedCodes(const GlyphTable &glyphs)
{
    QList<int> codes;
    for (int code = 0; code < GlyphTable::kSize; ++code)
        if (glyphs[code].defined)
            codes << code;
    return codes;
}

inline GlyphTable tableOf(const Pictures &pictures)
{
    GlyphTable glyphs;
    for (auto it = pictures.begin(); it != pictures.end(); ++it)
        glyphs[it.key()] = testing::sketchGlyph(it.value());
    return glyphs;
}

inline Pictures picturesOf(const GlyphTable &glyphs)
{
    Pictures pictures;
    for (int code : definedCodes(glyphs))
        pictures[code] = pictureOf(glyphs[code]);
    return pictures;
}

}  // namespace letterloom::font::test

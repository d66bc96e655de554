#pragma once

// Glyphs drawn as pictures for the font tests: one string a row, one
// character a pixel.

#include "font/glyph_table.h"

#include <QMap>
#include <QStringList>

namespace letterloom::font::test {

// '.' white, '#' black, 'r' red, 'g' green, 'b' blue, 'o' orange,
// 'k' near-black, 'x' black with a high byte; anything else reads back as '?'.
inline Colour colourOf(QChar symbol)
{
    switch (symbol.toLatin1()) {
    case '#': return raster::kBlack;
    case 'r': return raster::kRed;
    case 'g': return 0x00FF00;
    case 'b': return 0xFF0000;
    case 'o': return 0x0080FF;
    case 'k': return 0x010101;
    case 'x': return 0x01000000;
    default: return raster::kWhite;
    }
}

inline QChar symbolOf(Colour colour)
{
    for (char symbol : {'.', '#', 'r', 'g', 'b', 'o', 'k', 'x'})
        if (colourOf(QChar(symbol)) == colour)
            return QChar(symbol);
    return QChar('?');
}

// Makes code a defined glyph showing rows (its height is the row count, its
// width the length of the rows), image in step with pixels.
inline void setGlyph(GlyphTable &glyphs, int code, const QStringList &rows)
{
    tGraphChar &glyph = glyphs[code];
    glyph.defined = 1;
    resizeGlyph(glyph, rows.isEmpty() ? 0 : std::int32_t(rows.front().size()), std::int32_t(rows.size()));
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            glyph.pixels[std::size_t(x)][std::size_t(y)] = colourOf(rows[y][x]);
    syncImage(glyph);
}

// The glyph's pixels as rows; a row of the image that differs from the
// pixels is marked with a trailing '!'.
inline QStringList pictureOf(const tGraphChar &glyph)
{
    QStringList rows;
    for (std::int32_t y = 0; y < glyph.height; ++y) {
        QString row;
        bool matches = true;
        for (std::int32_t x = 0; x < glyph.width; ++x) {
            const Colour colour = glyph.pixels[std::size_t(x)][std::size_t(y)];
            row += symbolOf(colour);
            matches = matches && glyph.image.pixel(x, y) == (colour & 0xFFFFFFu);  // images hold no high byte
        }
        rows << (matches ? row : row + '!');
    }
    if (glyph.image.width() != glyph.width || glyph.image.height() != glyph.height)
        rows << QStringLiteral("image %1 x %2").arg(glyph.image.width()).arg(glyph.image.height());
    return rows;
}

// The codes of the defined glyphs.
inline QList<int> definedCodes(const GlyphTable &glyphs)
{
    QList<int> codes;
    for (int code = 0; code < GlyphTable::kSize; ++code)
        if (glyphs[code].defined)
            codes << code;
    return codes;
}

// Glyph tables as pictures by code.
using Pictures = QMap<int, QStringList>;

inline GlyphTable tableOf(const Pictures &pictures)
{
    GlyphTable glyphs;
    for (auto it = pictures.begin(); it != pictures.end(); ++it)
        setGlyph(glyphs, it.key(), it.value());
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

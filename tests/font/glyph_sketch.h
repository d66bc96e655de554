#pragma once

// Glyphs and rasters written as little pictures, one letter per pixel, one
// string per row from the top, so test tables show what the user would see.

#include "font/glyph_table.h"
#include "raster/raster.h"

#include <QStringList>

namespace letterloom::testing {

// '.' white, '#' black, 'r' red, 'g' green, 'b' blue, 'y' yellow, 'c' cyan,
// 'm' magenta; '?' stands for any other colour when a picture is read back.
inline raster::Colour sketchColour(QChar letter)
{
    switch (letter.toLatin1()) {
    case '#': return 0x000000;
    case 'r': return 0x0000FF;
    case 'g': return 0x00FF00;
    case 'b': return 0xFF0000;
    case 'y': return 0x00FFFF;
    case 'c': return 0xFFFF00;
    case 'm': return 0xFF00FF;
    default: return 0xFFFFFF;
    }
}

inline QChar sketchLetter(raster::Colour colour)
{
    for (const char letter : {'.', '#', 'r', 'g', 'b', 'y', 'c', 'm'})
        if (sketchColour(QChar(letter)) == colour)
            return QChar(letter);
    return QChar('?');
}

// A defined glyph with these pixels, its image showing the same.
inline font::tGraphChar sketchGlyph(const QStringList &rows)
{
    font::tGraphChar glyph;
    const int height = int(rows.size());
    const int width = rows.isEmpty() ? 0 : int(rows.first().size());
    glyph.defined = 1;
    font::resizeGlyph(glyph, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            glyph.pixels[std::size_t(x)][std::size_t(y)] = sketchColour(rows[y][x]);
    font::syncImage(glyph);
    return glyph;
}

inline QStringList pixelSketch(const font::tGraphChar &glyph)
{
    QStringList rows;
    for (int y = 0; y < glyph.height; ++y) {
        QString row;
        for (int x = 0; x < glyph.width; ++x)
            row += sketchLetter(glyph.pixels[std::size_t(x)][std::size_t(y)]);
        rows << row;
    }
    return rows;
}

inline QStringList rasterSketch(const raster::Raster &picture)
{
    QStringList rows;
    for (int y = 0; y < picture.height(); ++y) {
        QString row;
        for (int x = 0; x < picture.width(); ++x)
            row += sketchLetter(picture.pixel(x, y));
        rows << row;
    }
    return rows;
}

}  // namespace letterloom::testing

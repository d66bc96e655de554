#include "font/zoomed_glyph.h"

#include <algorithm>

namespace letterloom::font {

namespace {

qint64 zoomedSide(std::int32_t glyphSide, std::int32_t pixelSize)
{
    return std::clamp<qint64>(qint64(glyphSide) * pixelSize + 2, 0, kMaxZoomedSide);
}

}  // namespace

QSize zoomedGlyphSize(const tGraphChar &glyph, std::int32_t pixelSize)
{
    return {int(zoomedSide(glyph.width, pixelSize)), int(zoomedSide(glyph.height, pixelSize))};
}

void drawZoomedGlyph(raster::Raster &target, tGraphChar &glyph, std::int32_t pixelSize)
{
    const qint64 ps = std::max(pixelSize, 0);
    const qint64 w = glyph.width, h = glyph.height;
    const qint64 right = w * ps + 1, bottom = h * ps + 1;  // the border's inner edges

    target.fill(raster::kWhite);
    target.drawRectangle(0, 0, right + 1, bottom + 1, raster::kRed, raster::kWhite);

    // The squares row by row, in the raster's own memory order, and then the
    // grid lines over them. This is the same picture as drawing column by
    // column with each vertical line after its column and the horizontal lines
    // while the last column is drawn: no two squares overlap, and each line
    // lies only on squares that come before it in that order.
    for (qint64 j = 0; j < h && j * ps + 1 < target.height(); ++j)
        for (qint64 i = 0; i < w && i * ps + 1 < target.width(); ++i)
            target.fillRect(i * ps + 1, j * ps + 1, i * ps + 1 + ps, j * ps + 1 + ps,
                            glyph.pixels[std::size_t(i)][std::size_t(j)]);
    for (qint64 i = 1; i < w && i * ps < target.width(); ++i)
        target.drawLine(i * ps, 1, i * ps, bottom, raster::kBlack);
    for (qint64 j = 1; j < h && j * ps < target.height(); ++j)
        target.drawLine(1, j * ps, right, j * ps, raster::kBlack);

    syncImage(glyph);
}

std::optional<GlyphPoint> glyphPixelAt(const tGraphChar &glyph, qint64 x, qint64 y, std::int32_t pixelSize)
{
    if (pixelSize < 1)
        return std::nullopt;
    const qint64 column = x / pixelSize;  // C++ division truncates toward zero
    const qint64 row = y / pixelSize;
    if (column < 0 || row < 0 || column >= glyph.width || row >= glyph.height)
        return std::nullopt;
    return GlyphPoint{std::int32_t(column), std::int32_t(row)};
}

}  // namespace letterloom::font

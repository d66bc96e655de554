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
    for (qint64 i = 0; i < w; ++i) {
        const auto &column = glyph.pixels[std::size_t(i)];
        const qint64 x = i * ps;
        if (i > 0)
            target.drawLine(x, 1, x, bottom, raster::kBlack);
        // Columns beyond the canvas only need their image pixels copied.
        const bool visible = x < target.width();
        for (qint64 j = 0; j < h; ++j) {
            const raster::Colour colour = column[std::size_t(j)];
            if (j > 0 && i == w - 1)
                target.drawLine(1, j * ps, right, j * ps, raster::kBlack);
            glyph.image.setPixel(i, j, colour);
            // Pen and brush have the square's colour: the square is one fill.
            if (visible)
                target.fillRect(x + 1, j * ps + 1, x + 1 + ps, j * ps + 1 + ps, colour);
        }
    }
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

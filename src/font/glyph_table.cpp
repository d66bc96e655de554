#include "font/glyph_table.h"

#include <algorithm>

namespace letterloom::font {

void GlyphTable::clear()
{
    for (int code = 0; code < kSize; ++code)
        clearGlyph(code);
}

void GlyphTable::clearGlyph(int code)
{
    tGraphChar &glyph = (*this)[code];
    glyph.defined = 0;
    glyph.width = 0;
    glyph.height = 0;
    glyph.pixels.clear();
    glyph.pixels.shrink_to_fit();
    // An undefined glyph draws nothing: an image left behind would still be
    // drawn by text rendering, hanging below the baseline of its 0 height.
    glyph.image = raster::Raster();
}

void resizeGlyph(tGraphChar &glyph, std::int32_t width, std::int32_t height)
{
    glyph.width = width;
    glyph.height = height;
    glyph.image.setWidth(width);
    glyph.image.setHeight(height);
    // A glyph without rows holds no columns either: a crafted font of
    // thousands of zero-height columns would otherwise cost memory for nothing.
    if (width == 0 || height == 0) {
        glyph.pixels.clear();
        glyph.pixels.shrink_to_fit();
        return;
    }
    glyph.pixels.resize(std::size_t(width));
    for (auto &column : glyph.pixels)
        column.resize(std::size_t(height), raster::kBlack);
}

void setGlyphSize(tGraphChar &glyph, std::int32_t width, std::int32_t height)
{
    resizeGlyph(glyph, std::clamp(width, 1, kMaxGlyphSide), std::clamp(height, 1, kMaxGlyphSide));
}

void GlyphTable::setGlyphSize(int code, std::int32_t width, std::int32_t height)
{
    font::setGlyphSize((*this)[code], width, height);
}

void GlyphTable::clearOutside(int code, std::int32_t oldWidth, std::int32_t oldHeight)
{
    font::clearOutside((*this)[code], oldWidth, oldHeight);
}

void clearOutside(tGraphChar &glyph, std::int32_t oldWidth, std::int32_t oldHeight)
{
    for (std::int32_t x = std::max(oldWidth, 0); x < glyph.width && x < qsizetype(glyph.pixels.size()); ++x)
        std::fill(glyph.pixels[std::size_t(x)].begin(), glyph.pixels[std::size_t(x)].end(), raster::kWhite);
    for (std::int32_t x = 0; x < glyph.width; ++x)
        for (std::int32_t y = std::max(oldHeight, 0); y < glyph.height; ++y)
            glyph.pixels[std::size_t(x)][std::size_t(y)] = raster::kWhite;
}

void syncImage(tGraphChar &glyph)
{
    // Row by row, the image's memory order; pixels the image does not cover
    // are left out, as setPixel would.
    const std::int32_t width = std::min(glyph.width, glyph.image.width());
    const std::int32_t height = std::min(glyph.height, glyph.image.height());
    if (width <= 0 || height <= 0 || glyph.image.image().isNull())
        return;
    for (std::int32_t y = 0; y < height; ++y) {
        QRgb *row = glyph.image.scanLine(y);
        for (std::int32_t x = 0; x < width; ++x)
            row[x] = raster::toQRgb(glyph.pixels[std::size_t(x)][std::size_t(y)]);
    }
}

}  // namespace letterloom::font

#include "font/glyph_transforms.h"

namespace letterloom::font {

namespace {

// Moves the pixel at (fromX, fromY) to (x, y), in pixels and in image.
void movePixel(tGraphChar &glyph, std::int32_t x, std::int32_t y, std::int32_t fromX, std::int32_t fromY)
{
    glyph.pixels[std::size_t(x)][std::size_t(y)] = glyph.pixels[std::size_t(fromX)][std::size_t(fromY)];
    glyph.image.setPixel(x, y, glyph.image.pixel(fromX, fromY));
}

// Empties a vacated pixel. The image is whitened too, so text drawn with the
// glyph matches its pixels even before the glyph editor next copies them.
void vacatePixel(tGraphChar &glyph, std::int32_t x, std::int32_t y)
{
    glyph.pixels[std::size_t(x)][std::size_t(y)] = raster::kWhite;
    glyph.image.setPixel(x, y, raster::kWhite);
}

// Resizes the glyph and whitens whatever lies outside its old size. Shrinking
// whitens nothing, except for a 0 x 0 glyph that is raised to 1 x 1, whose new
// pixel would otherwise be black.
void resizeKeepingContent(tGraphChar &glyph, std::int32_t width, std::int32_t height)
{
    const std::int32_t oldWidth = glyph.width;
    const std::int32_t oldHeight = glyph.height;
    setGlyphSize(glyph, width, height);
    clearOutside(glyph, oldWidth, oldHeight);
}

// Moves every pixel one step by (dx, dy), each -1, 0 or 1. The walk starts at
// the side the pixels move towards, so every pixel is read before it is
// overwritten; what is pushed over the edge is lost, and the pixels left
// without a source (the vacated column or row) become white.
void shift(tGraphChar &glyph, std::int32_t dx, std::int32_t dy)
{
    const std::int32_t w = glyph.width, h = glyph.height;
    for (std::int32_t i = 0; i < w; ++i) {
        const std::int32_t x = dx > 0 ? w - 1 - i : i;
        for (std::int32_t j = 0; j < h; ++j) {
            const std::int32_t y = dy > 0 ? h - 1 - j : j;
            const std::int32_t fromX = x - dx, fromY = y - dy;
            if (fromX < 0 || fromX >= w || fromY < 0 || fromY >= h)
                vacatePixel(glyph, x, y);
            else
                movePixel(glyph, x, y, fromX, fromY);
        }
    }
}

}  // namespace

void shiftLeft(tGraphChar &glyph)
{
    shift(glyph, -1, 0);
}

void shiftRight(tGraphChar &glyph)
{
    shift(glyph, 1, 0);
}

void shiftUp(tGraphChar &glyph)
{
    shift(glyph, 0, -1);
}

void shiftDown(tGraphChar &glyph)
{
    shift(glyph, 0, 1);
}

void increaseWidth(tGraphChar &glyph)
{
    resizeKeepingContent(glyph, glyph.width + 1, glyph.height);
}

void decreaseWidth(tGraphChar &glyph)
{
    resizeKeepingContent(glyph, glyph.width - 1, glyph.height);
}

void increaseHeight(tGraphChar &glyph)
{
    resizeKeepingContent(glyph, glyph.width, glyph.height + 1);
}

void decreaseHeight(tGraphChar &glyph)
{
    resizeKeepingContent(glyph, glyph.width, glyph.height - 1);
}

}  // namespace letterloom::font

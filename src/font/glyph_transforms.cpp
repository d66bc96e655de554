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

}  // namespace

// Each shift walks towards the vacated side, so every pixel is read before it
// is overwritten.

void shiftLeft(tGraphChar &glyph)
{
    const std::int32_t w = glyph.width, h = glyph.height;
    for (std::int32_t x = 0; x < w; ++x)
        for (std::int32_t y = 0; y < h; ++y) {
            if (x == w - 1)
                vacatePixel(glyph, x, y);
            else
                movePixel(glyph, x, y, x + 1, y);
        }
}

void shiftRight(tGraphChar &glyph)
{
    const std::int32_t w = glyph.width, h = glyph.height;
    for (std::int32_t x = w - 1; x >= 0; --x)
        for (std::int32_t y = 0; y < h; ++y) {
            if (x == 0)
                vacatePixel(glyph, x, y);
            else
                movePixel(glyph, x, y, x - 1, y);
        }
}

void shiftUp(tGraphChar &glyph)
{
    const std::int32_t w = glyph.width, h = glyph.height;
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x) {
            if (y == h - 1)
                vacatePixel(glyph, x, y);
            else
                movePixel(glyph, x, y, x, y + 1);
        }
}

void shiftDown(tGraphChar &glyph)
{
    const std::int32_t w = glyph.width, h = glyph.height;
    for (std::int32_t y = h - 1; y >= 0; --y)
        for (std::int32_t x = 0; x < w; ++x) {
            if (y == 0)
                vacatePixel(glyph, x, y);
            else
                movePixel(glyph, x, y, x, y - 1);
        }
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

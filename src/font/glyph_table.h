#pragma once

#include "raster/raster.h"

#include <array>
#include <cstdint>
#include <vector>

namespace letterloom::font {

using raster::Colour;

// No glyph is wider or higher than this. Font files with larger glyphs are
// refused, and sizing a glyph never goes beyond it, so the program never
// writes a font that it would refuse to read.
inline constexpr std::int32_t kMaxGlyphSide = 4096;

// The most pixels the glyphs of one imported font may hold together (64 Mi,
// 256 MiB of colours). A crafted file that claims big cells for many glyphs is
// refused before they are allocated, and the program's own font file of such
// a font is still one it reads (font_file.h).
inline constexpr qint64 kMaxFontPixels = qint64(1) << 26;

// One glyph: its flag, its size, its colours indexed pixels[x][y], and the
// same colours as a raster that text drawing copies.
struct tGraphChar {
    std::uint8_t defined = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::vector<Colour>> pixels;  // width columns of height entries; none when a side is 0
    raster::Raster image;

    bool operator==(const tGraphChar &other) const = default;
};

// The loaded font: one glyph record for each 8-bit character code. The code of
// a text character is its index here; there is no other mapping.
class GlyphTable {
public:
    static constexpr int kSize = 256;

    tGraphChar &operator[](int code) { return glyphs_[std::size_t(code & 0xFF)]; }
    const tGraphChar &operator[](int code) const { return glyphs_[std::size_t(code & 0xFF)]; }

    // Every record becomes undefined, 0 x 0, without pixels, with an empty image.
    void clear();
    // The same for one record (deleting a glyph).
    void clearGlyph(int code);

    // Gives a glyph a new size, each side raised to at least 1 and kept at most
    // kMaxGlyphSide. Pixels where the old and the new sizes overlap keep their
    // colours; new entries of pixels are black and new image pixels white until
    // clearOutside runs. The flag is not changed.
    void setGlyphSize(int code, std::int32_t width, std::int32_t height);
    // Whitens every pixel of pixels that lies outside the old size.
    void clearOutside(int code, std::int32_t oldWidth, std::int32_t oldHeight);

    bool operator==(const GlyphTable &other) const = default;

private:
    std::array<tGraphChar, kSize> glyphs_;
};

// Sizes a record's pixel columns and image to its width and height: the
// overlap keeps its colours, new pixels are black and new image pixels white.
void resizeGlyph(tGraphChar &glyph, std::int32_t width, std::int32_t height);

// The record-level forms of GlyphTable::setGlyphSize and clearOutside, for
// code that works on one glyph (the glyph transforms).
void setGlyphSize(tGraphChar &glyph, std::int32_t width, std::int32_t height);
void clearOutside(tGraphChar &glyph, std::int32_t oldWidth, std::int32_t oldHeight);

// Copies every pixel of pixels into the glyph's image.
void syncImage(tGraphChar &glyph);

}  // namespace letterloom::font

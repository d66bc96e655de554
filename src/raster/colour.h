#pragma once

#include <QRgb>

#include <cstdint>

namespace letterloom::raster {

// A colour laid out as 0x00BBGGRR: red in the low byte. This is how glyph
// colours are held and stored in font files.
using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;  // the empty colour
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kCyan = 0xFFFF00;

constexpr QRgb toQRgb(Colour colour)
{
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

constexpr Colour fromQRgb(QRgb rgb)
{
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
}

constexpr Colour rgb(int red, int green, int blue)
{
    return Colour(red & 0xFF) | (Colour(green & 0xFF) << 8) | (Colour(blue & 0xFF) << 16);
}

}  // namespace letterloom::raster

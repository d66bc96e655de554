#include "sample_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace letterloom::tools {

namespace {

using raster::Colour;
using raster::Raster;

constexpr int kWidth = 320;
constexpr int kHeight = 200;

// The sign: its board (frame included) and its two posts.
constexpr int kBoardLeft = 48, kBoardTop = 24, kBoardRight = 272, kBoardBottom = 124;
constexpr int kPostWidth = 8, kPostLefts[] = {92, 220}, kPostBottom = 184;

constexpr Colour hex(std::uint32_t rrggbb)
{
    return raster::rgb(int(rrggbb >> 16), int(rrggbb >> 8), int(rrggbb));
}

// Ordered dithering between neighbouring colours gives the sky and the hills
// the stepped gradients of pixel art.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

Colour dithered(const Colour *steps, int count, double position, int x, int y)
{
    const double scaled = std::clamp(position, 0.0, 1.0) * (count - 1);
    const int low = std::min(int(scaled), count - 2);
    const double threshold = (kBayer[y % 4][x % 4] + 0.5) / 16.0;
    return steps[scaled - low > threshold ? low + 1 : low];
}

void fillCircle(Raster &picture, int cx, int cy, int radius, Colour colour)
{
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x)
            if (x * x + y * y <= radius * radius + radius)
                picture.setPixel(cx + x, cy + y, colour);
}

void drawSky(Raster &picture)
{
    static constexpr Colour steps[] = {hex(0x2E5C9A), hex(0x4A86C5), hex(0x7FB6E0), hex(0xB8DDF2)};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.setPixel(x, y, dithered(steps, 4, y / 130.0, x, y));
    fillCircle(picture, 288, 30, 15, hex(0xFFE066));
    fillCircle(picture, 288, 30, 10, hex(0xFFF3B0));
}

void drawCloud(Raster &picture, int x, int y)
{
    static constexpr int puffs[][3] = {{0, 4, 7}, {9, 0, 9}, {19, 3, 8}, {27, 6, 6}};
    for (const auto &puff : puffs)
        fillCircle(picture, x + puff[0], y + puff[1] + 2, puff[2], hex(0xC9DDEE));
    for (const auto &puff : puffs)
        fillCircle(picture, x + puff[0], y + puff[1], puff[2], hex(0xF4F8FC));
}

// A range of hills: for every column its top row, filled down to the bottom.
template <typename Top>
void drawHills(Raster &picture, Top top, const Colour *steps, int count, int depth)
{
    for (int x = 0; x < kWidth; ++x) {
        const int ridge = int(std::lround(top(x)));
        for (int y = ridge; y < kHeight; ++y)
            picture.setPixel(x, y, dithered(steps, count, double(y - ridge) / depth, x, y));
    }
}

void drawLandscape(Raster &picture)
{
    static constexpr Colour far[] = {hex(0x7FA8A0), hex(0x5F9088)};
    static constexpr Colour near[] = {hex(0x6CBF4A), hex(0x4C9A3E), hex(0x3A7F33)};
    static constexpr Colour meadow[] = {hex(0x4C9A3E), hex(0x3D8834), hex(0x2F6A28)};
    drawHills(picture, [](int x) { return 108 + 9 * std::sin(x / 31.0) + 6 * std::sin(x / 13.0 + 1); }, far, 2, 60);
    drawHills(picture, [](int x) { return 136 + 11 * std::sin(x / 47.0 + 2) + 4 * std::sin(x / 19.0); }, near, 3, 40);
    drawHills(picture, [](int x) { return 172 + 2 * std::sin(x / 9.0); }, meadow, 3, 28);

    // Tufts of grass, scattered by a fixed sequence so the picture never changes.
    std::uint32_t seed = 2024;
    auto next = [&seed](int range) { seed = seed * 1103515245u + 12345u; return int((seed >> 16) % unsigned(range)); };
    for (int i = 0; i < 90; ++i) {
        const int x = next(kWidth), y = 178 + next(20);
        picture.setPixel(x, y, hex(0x7FCF5A));
        picture.setPixel(x - 1, y + 1, hex(0x7FCF5A));
        picture.setPixel(x + 1, y + 1, hex(0x5FAF4A));
    }
}

void drawSign(Raster &picture)
{
    for (const int left : kPostLefts) {
        picture.fillRect(left, kBoardBottom, left + kPostWidth, kPostBottom, hex(0x6B4423));
        picture.fillRect(left, kBoardBottom, left + 2, kPostBottom, hex(0x8A5A30));
        picture.fillRect(left + kPostWidth - 2, kBoardBottom, left + kPostWidth, kPostBottom, hex(0x4A2E17));
        picture.fillRect(left - 2, kPostBottom - 2, left + kPostWidth + 2, kPostBottom, hex(0x2F4A1E));  // shadow
    }
    picture.fillRect(kBoardLeft + 3, kBoardBottom, kBoardRight + 3, kBoardBottom + 3, hex(0x35572A));  // shadow
    picture.drawRectangle(kBoardLeft, kBoardTop, kBoardRight, kBoardBottom, hex(0x4A2E17), hex(0x4A2E17));
    picture.drawRectangle(kBoardLeft + 2, kBoardTop + 2, kBoardRight - 2, kBoardBottom - 2, hex(0x8A5A30), hex(0xDDBC84));
    for (int seam = kBoardTop + 27; seam < kBoardBottom - 5; seam += 25)
        picture.fillRect(kBoardLeft + 3, seam, kBoardRight - 3, seam + 1, hex(0xD0AC72));
    for (const int x : {kBoardLeft + 5, kBoardRight - 7})
        for (const int y : {kBoardTop + 5, kBoardBottom - 7}) {
            picture.fillRect(x, y, x + 2, y + 2, hex(0x6E6E6E));
            picture.setPixel(x, y, hex(0xB0B0B0));
        }
}

// A parchment banner across the sky, for the title.
constexpr int kBannerLeft = 40, kBannerTop = 6, kBannerRight = 280, kBannerBottom = 32;
// A speech bubble whose tail points down at a little round creature.
constexpr int kBubbleLeft = 16, kBubbleTop = 44, kBubbleRight = 196, kBubbleBottom = 104;
constexpr int kCreatureX = 150, kCreatureY = 150;
// A small wooden plate in the meadow's corner, for a label.
constexpr int kPlateLeft = 224, kPlateTop = 162, kPlateRight = 308, kPlateBottom = 190;

void drawBanner(Raster &picture)
{
    picture.fillRect(kBannerLeft + 3, kBannerBottom, kBannerRight + 3, kBannerBottom + 2, hex(0x2E5C9A));  // shadow
    picture.drawRectangle(kBannerLeft, kBannerTop, kBannerRight, kBannerBottom, hex(0x8A5A30), hex(0xF3E2B3));
    for (const int x : {kBannerLeft - 10, kBannerRight})  // the ribbon's folded ends
        picture.drawRectangle(x, kBannerTop + 6, x + 10, kBannerBottom + 6, hex(0x8A5A30), hex(0xD9C08A));
}

void drawBubble(Raster &picture)
{
    const Colour ink = hex(0x202020), paper = hex(0xFFFFFF);
    // The tail: a wedge from the bubble's bottom down to the creature.
    for (int y = kBubbleBottom - 2; y < kCreatureY - 16; ++y) {
        const int spread = (kCreatureY - 16 - y) / 3;
        const int centre = 120 + (y - kBubbleBottom) / 2;
        picture.fillRect(centre - spread - 1, y, centre + spread + 2, y + 1, ink);
        picture.fillRect(centre - spread, y, centre + spread + 1, y + 1, paper);
    }
    picture.drawRectangle(kBubbleLeft + 4, kBubbleTop, kBubbleRight - 4, kBubbleBottom, ink, paper);
    picture.drawRectangle(kBubbleLeft, kBubbleTop + 4, kBubbleRight, kBubbleBottom - 4, ink, paper);
    picture.fillRect(kBubbleLeft + 1, kBubbleTop + 5, kBubbleRight, kBubbleBottom - 4, paper);
    picture.fillRect(kBubbleLeft + 5, kBubbleTop + 1, kBubbleRight - 4, kBubbleBottom, paper);
}

void drawCreature(Raster &picture)
{
    fillCircle(picture, kCreatureX, kCreatureY + 2, 14, hex(0x2F6A28));  // shadow
    fillCircle(picture, kCreatureX, kCreatureY, 13, hex(0xE07A2E));
    fillCircle(picture, kCreatureX - 4, kCreatureY - 5, 4, hex(0xF2A65A));
    for (const int x : {kCreatureX - 5, kCreatureX + 4}) {
        picture.fillRect(x, kCreatureY - 3, x + 3, kCreatureY + 2, hex(0xFFFFFF));
        picture.fillRect(x + 1, kCreatureY - 1, x + 3, kCreatureY + 2, hex(0x202020));
    }
    picture.fillRect(kCreatureX - 3, kCreatureY + 6, kCreatureX + 4, kCreatureY + 7, hex(0x6B2A10));
}

void drawPlate(Raster &picture)
{
    picture.fillRect(kPlateLeft + 36, kPlateBottom, kPlateLeft + 42, kHeight, hex(0x6B4423));  // post
    picture.drawRectangle(kPlateLeft, kPlateTop, kPlateRight, kPlateBottom, hex(0x4A2E17), hex(0xDDBC84));
}

}  // namespace

raster::Raster drawAreasPicture()
{
    Raster picture(kWidth, kHeight);
    drawSky(picture);
    drawCloud(picture, 240, 50);
    drawLandscape(picture);
    drawBanner(picture);
    drawBubble(picture);
    drawCreature(picture);
    drawPlate(picture);
    return picture;
}

std::vector<project::TextArea> areasPictureTextAreas()
{
    return {{kBannerLeft + 6, kBannerTop + 4, kBannerRight - kBannerLeft - 12, kBannerBottom - kBannerTop - 6},
            {kBubbleLeft + 8, kBubbleTop + 6, kBubbleRight - kBubbleLeft - 16, kBubbleBottom - kBubbleTop - 12},
            {kPlateLeft + 4, kPlateTop + 4, kPlateRight - kPlateLeft - 8, kPlateBottom - kPlateTop - 6}};
}

raster::Raster drawSamplePicture()
{
    Raster picture(kWidth, kHeight);
    drawSky(picture);
    drawCloud(picture, 24, 14);
    drawCloud(picture, 196, 4);
    drawLandscape(picture);
    drawSign(picture);
    return picture;
}

project::TextArea samplePictureTextArea()
{
    return {kBoardLeft + 8, kBoardTop + 8, kBoardRight - kBoardLeft - 16, kBoardBottom - kBoardTop - 16};
}

}  // namespace letterloom::tools

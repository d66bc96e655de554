// The glyph editor's costs: one timer tick (redrawing a 100 x 100 glyph at
// pixel size 20 into its 2002 x 2002 canvas and copying the pixels into the
// glyph's image), the paint box's copy of that canvas to the screen, and a
// paint bucket fill of the whole glyph. Prints the median of many runs.

#include "font/flood_fill.h"
#include "font/zoomed_glyph.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace letterloom;

namespace {

constexpr int kGlyphSide = 100;
constexpr int kPixelSize = 20;

// A glyph of many colours, so no square is like its neighbour.
font::tGraphChar colourfulGlyph(int side)
{
    font::tGraphChar glyph;
    glyph.defined = 1;
    font::setGlyphSize(glyph, side, side);
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y)
            glyph.pixels[std::size_t(x)][std::size_t(y)] = raster::Colour((x * 2654435761u) ^ (y * 40503u)) & 0xFFFFFF;
    return glyph;
}

font::tGraphChar whiteGlyph(int side)
{
    font::tGraphChar glyph;
    glyph.defined = 1;
    font::setGlyphSize(glyph, side, side);
    font::clearOutside(glyph, 0, 0);
    return glyph;
}

// The median time of runs of work, in milliseconds; prepare runs untimed
// before each.
double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[std::size_t(runs / 2)];
}

}  // namespace

int main()
{
    font::tGraphChar glyph = colourfulGlyph(kGlyphSide);
    const QSize canvasSize = font::zoomedGlyphSize(glyph, kPixelSize);
    raster::Raster canvas(canvasSize.width(), canvasSize.height());
    const double tick = medianMs(101, [] {}, [&] { font::drawZoomedGlyph(canvas, glyph, kPixelSize); });
    std::printf("tick, %d x %d glyph at pixel size %d (%d x %d canvas): %.2f ms\n", kGlyphSide, kGlyphSide,
                kPixelSize, canvasSize.width(), canvasSize.height(), tick);

    QImage screen(canvasSize, QImage::Format_RGB32);
    const double copy = medianMs(101, [] {}, [&] {
        QPainter painter(&screen);
        painter.drawImage(0, 0, canvas.image());
    });
    std::printf("paint box copy of the canvas: %.2f ms\n", copy);

    for (const int side : {kGlyphSide, 1000}) {
        font::tGraphChar blank;
        const double fill = medianMs(
            side == kGlyphSide ? 101 : 11, [&] { blank = whiteGlyph(side); },
            [&] { font::paintBucket(blank, side / 2, side / 2, raster::kBlack); });
        std::printf("paint bucket, whole %d x %d glyph from its centre: %.3f ms\n", side, side, fill);
    }
    return 0;
}

// Times the text effects on a 1920 x 1080 text area full of text: the grown
// mask of an outline of 1, 4 and 8 pixels, square and round, the whole layer
// with every effect, and its composition onto a picture. The outline's time
// should not grow with its size.

#include "text/effects.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <limits>

using namespace letterloom;
using namespace letterloom::text;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Lines of 6 x 8 letters 1 pixel apart, each letter a pseudo-random pattern,
// 12 pixels from baseline to baseline: about a third of the pixels are text.
raster::Raster textOverlay()
{
    raster::Raster overlay(kWidth, kHeight);
    std::uint32_t seed = 2024;
    for (int top = 2; top + 8 < kHeight; top += 12)
        for (int left = 2; left + 6 < kWidth; left += 7) {
            seed = seed * 1103515245u + 12345u;
            std::uint32_t bits = seed;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 6; ++x, bits = bits * 69069u + 1u)
                    if ((bits >> 28) < 9)
                        overlay.setPixel(left + x, top + y, raster::kBlack);
        }
    return overlay;
}

double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The best of some runs in the processor time of this thread: the machine is
// shared, and time spent waiting for a core is not the program's.
template <typename Step>
double millisecondsOf(Step step, int runs = 9)
{
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < runs; ++run) {
        const double start = threadMilliseconds();
        step();
        best = std::min(best, threadMilliseconds() - start);
    }
    return best;
}

}  // namespace

int main()
{
    const raster::Raster overlay = textOverlay();
    const TextMask mask = textMask(overlay);
    std::printf("area %d x %d, best of 9 runs, processor time of the thread\n\n", kWidth, kHeight);
    std::printf("text mask                          %6.2f ms\n", millisecondsOf([&] { (void)textMask(overlay); }));

    for (const OutlineShape shape : {OutlineShape::Square, OutlineShape::Round})
        for (const int size : {1, 4, 8}) {
            Effects effects;
            effects.outline = OutlineEffect{size, shape, raster::kBlack};
            // The layer's own grid, as the composition grows it.
            TextMask grid{mask.width + 2 * size, mask.height + 2 * size,
                          std::vector<std::uint8_t>(size_t(mask.width + 2 * size) * size_t(mask.height + 2 * size))};
            for (int y = 0; y < mask.height; ++y)
                std::copy_n(mask.bits.data() + size_t(y) * size_t(mask.width), mask.width,
                            grid.bits.data() + size_t(y + size) * size_t(grid.width) + size_t(size));
            const double grow = millisecondsOf([&] { (void)grownMask(grid, size, shape); });
            const double layer = millisecondsOf([&] { (void)effectsLayer(mask, effects); });
            std::printf("outline %d %-6s  grown mask %6.2f ms, layer %6.2f ms\n", size,
                        shape == OutlineShape::Square ? "square" : "round", grow, layer);
        }

    Effects all;
    all.outline = OutlineEffect{8, OutlineShape::Round, raster::kBlack};
    all.shadow = ShadowEffect{4, 4, raster::rgb(0x40, 0x40, 0x40)};
    all.plate = PlateEffect{16, raster::kWhite};
    raster::Raster picture(kWidth + 200, kHeight + 200);
    const QRect clip(0, 0, picture.width(), picture.height());
    std::printf("\nplate 16, shadow 4,4, round outline 8:\n");
    std::printf("  layer                            %6.2f ms\n", millisecondsOf([&] { (void)effectsLayer(mask, all); }));
    std::printf("  composed onto a picture          %6.2f ms\n",
                millisecondsOf([&] { drawWithEffects(picture, clip, 100, 100, overlay, mask, all); }));
    raster::Raster plain(kWidth + 200, kHeight + 200);
    std::printf("  without effects, as composed now %6.2f ms\n",
                millisecondsOf([&] { plain.drawLeavingOut(overlay, 100, 100, raster::kWhite); }));
    return 0;
}

#include "font/flood_fill.h"

namespace letterloom::font {

namespace {

bool inside(const tGraphChar &glyph, std::int32_t x, std::int32_t y)
{
    return x >= 0 && y >= 0 && std::size_t(x) < glyph.pixels.size()
           && std::size_t(y) < glyph.pixels[std::size_t(x)].size();
}

}  // namespace

void paintBucket(tGraphChar &glyph, std::int32_t x, std::int32_t y, Colour fill, TarrPoint *painted)
{
    if (!inside(glyph, x, y))
        return;
    const Colour target = glyph.pixels[std::size_t(x)][std::size_t(y)];
    if (target == fill)
        return;

    // Appending a cell paints it at once, so a cell never equals the target
    // again and is never appended twice.
    TarrPoint queue;
    const auto append = [&](std::int32_t px, std::int32_t py) {
        glyph.pixels[std::size_t(px)][std::size_t(py)] = fill;
        queue.push_back({px, py});
        if (painted)
            painted->push_back({px, py});
    };
    const auto appendIfTarget = [&](std::int32_t px, std::int32_t py) {
        if (inside(glyph, px, py) && glyph.pixels[std::size_t(px)][std::size_t(py)] == target)
            append(px, py);
    };

    append(x, y);
    while (!queue.empty()) {
        // One round examines the current ring; the cells it appends form the next.
        const std::size_t ring = queue.size();
        for (std::size_t k = 0; k < ring; ++k) {
            const GlyphPoint cell = queue[k];
            appendIfTarget(cell.x - 1, cell.y);
            appendIfTarget(cell.x, cell.y - 1);
            appendIfTarget(cell.x + 1, cell.y);
            appendIfTarget(cell.x, cell.y + 1);
        }
        queue.erase(queue.begin(), queue.begin() + std::ptrdiff_t(ring));
    }
}

}  // namespace letterloom::font

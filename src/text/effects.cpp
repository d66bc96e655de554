#include "text/effects.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace letterloom::text {

namespace {

int outlineOf(const Effects &effects)
{
    return effects.outline ? std::clamp(effects.outline->size, 0, kMaxOutline) : 0;
}

int shiftOf(int offset)
{
    return std::clamp(offset, -kMaxShadowOffset, kMaxShadowOffset);
}

// For every pixel, the distance up or down its column to the nearest pixel
// of the mask, capped at cap. Both passes run along whole rows.
std::vector<std::uint8_t> columnDistances(const TextMask &mask, std::uint8_t cap)
{
    const size_t width = size_t(mask.width);
    std::vector<std::uint8_t> distance(mask.bits.size());
    const std::uint8_t *bits = mask.bits.data();
    std::uint8_t *out = distance.data();
    for (size_t x = 0; x < width; ++x)
        out[x] = bits[x] ? 0 : cap;
    for (int y = 1; y < mask.height; ++y) {
        const std::uint8_t *in = bits + size_t(y) * width;
        const std::uint8_t *above = out + size_t(y - 1) * width;
        std::uint8_t *row = out + size_t(y) * width;
        for (size_t x = 0; x < width; ++x) {
            const std::uint8_t next = std::uint8_t(above[x] + 1);
            row[x] = in[x] ? 0 : std::min(next, cap);
        }
    }
    for (int y = mask.height - 2; y >= 0; --y) {
        const std::uint8_t *below = out + size_t(y + 1) * width;
        std::uint8_t *row = out + size_t(y) * width;
        for (size_t x = 0; x < width; ++x)
            row[x] = std::min(row[x], std::uint8_t(below[x] + 1));
    }
    return distance;
}

}  // namespace

int effectsReach(const Effects &effects)
{
    int shift = 0;
    if (effects.shadow)
        shift = std::max(std::abs(shiftOf(effects.shadow->dx)), std::abs(shiftOf(effects.shadow->dy)));
    const int padding = effects.plate ? std::clamp(effects.plate->padding, 0, kMaxPlatePadding) : 0;
    return std::max(outlineOf(effects) + shift, padding);
}

TextMask textMask(const raster::Raster &overlay)
{
    TextMask mask{overlay.width(), overlay.height(), {}};
    if (overlay.isEmpty())
        return mask;
    mask.bits.resize(size_t(mask.width) * size_t(mask.height));
    const QRgb white = raster::toQRgb(raster::kWhite);
    for (int y = 0; y < mask.height; ++y) {
        const QRgb *row = overlay.constScanLine(y);
        std::uint8_t *out = mask.bits.data() + size_t(y) * size_t(mask.width);
        for (int x = 0; x < mask.width; ++x)
            out[x] = row[x] != white;
    }
    return mask;
}

TextMask grownMask(const TextMask &mask, int size, OutlineShape shape)
{
    size = std::clamp(size, 0, kMaxOutline);
    if (size == 0 || mask.isEmpty())
        return mask;
    const std::uint8_t cap = std::uint8_t(size + 1);
    const std::vector<std::uint8_t> distance = columnDistances(mask, cap);
    TextMask grown{mask.width, mask.height, std::vector<std::uint8_t>(mask.bits.size())};
    const int width = mask.width;

    // Round: a column k away holds a pixel near enough when its distance is
    // within the disc's half-height at k.
    std::uint8_t halfHeight[kMaxOutline + 1] = {};
    for (int k = 0; k <= size; ++k) {
        int h = 0;
        while ((h + 1) * (h + 1) + k * k <= size * size)
            ++h;
        halfHeight[k] = std::uint8_t(h);
    }

    // Square: the rows of pixels within reach vertically, grown along the
    // row by size in steps of 1, 2, 4, ... (a segment of 2 * size + 1 is the
    // sum of such segments), each step a pass that the compiler vectorises.
    std::vector<int> steps;
    for (int left = size, step = 1; left > 0; step *= 2) {
        steps.push_back(std::min(step, left));
        left -= steps.back();
    }
    std::vector<std::uint8_t> spare(static_cast<size_t>(width));
    for (int y = 0; y < mask.height; ++y) {
        const std::uint8_t *column = distance.data() + size_t(y) * size_t(width);
        std::uint8_t *out = grown.bits.data() + size_t(y) * size_t(width);
        if (shape == OutlineShape::Square) {
            for (int x = 0; x < width; ++x)
                out[x] = std::uint8_t(column[x] <= size);
            for (const int step : steps) {
                std::uint8_t *from = spare.data();
                std::copy_n(out, width, from);
                for (int x = step; x < width; ++x)
                    out[x] |= from[x - step];
                for (int x = 0; x + step < width; ++x)
                    out[x] |= from[x + step];
            }
            continue;
        }
        for (int k = -size; k <= size; ++k) {
            const std::uint8_t limit = halfHeight[std::abs(k)];
            const int from = std::max(0, -k), to = std::min(width, width - k);
            const std::uint8_t *source = column + k;
            for (int x = from; x < to; ++x)
                out[x] |= std::uint8_t(source[x] <= limit);
        }
    }
    return grown;
}

EffectsLayer effectsLayer(const TextMask &mask, const Effects &effects)
{
    EffectsLayer layer;
    if (mask.isEmpty())
        return layer;
    const int margin = effectsReach(effects);
    layer.margin = margin;
    layer.width = mask.width + 2 * margin;
    layer.height = mask.height + 2 * margin;
    const size_t width = size_t(layer.width);

    TextMask text{layer.width, layer.height, std::vector<std::uint8_t>(width * size_t(layer.height))};
    int left = mask.width, right = -1, top = mask.height, bottom = -1;
    for (int y = 0; y < mask.height; ++y) {
        const std::uint8_t *in = mask.bits.data() + size_t(y) * size_t(mask.width);
        std::copy_n(in, mask.width, text.bits.data() + size_t(y + margin) * width + size_t(margin));
        const std::uint8_t *first = std::find(in, in + mask.width, 1);
        if (first == in + mask.width)
            continue;
        const std::uint8_t *last = std::find(std::make_reverse_iterator(in + mask.width),
                                             std::make_reverse_iterator(in), 1).base() - 1;
        left = std::min(left, int(first - in));
        right = std::max(right, int(last - in));
        top = std::min(top, y);
        bottom = y;
    }
    const int outline = outlineOf(effects);
    const TextMask grown = outline > 0 ? grownMask(text, outline, effects.outline->shape) : TextMask{};
    const TextMask &body = outline > 0 ? grown : text;

    // The parts are numbered in the order they are drawn, so each is laid on
    // with a maximum.
    std::vector<std::uint8_t> parts(width * size_t(layer.height), std::uint8_t(LayerPart::None));
    if (effects.plate && right >= 0) {
        const int padding = std::clamp(effects.plate->padding, 0, kMaxPlatePadding);
        for (int y = top + margin - padding; y <= bottom + margin + padding; ++y)
            std::fill(parts.begin() + ptrdiff_t(size_t(y) * width + size_t(left + margin - padding)),
                      parts.begin() + ptrdiff_t(size_t(y) * width + size_t(right + margin + padding + 1)),
                      std::uint8_t(LayerPart::Plate));
    }
    if (effects.shadow) {
        const int dx = shiftOf(effects.shadow->dx), dy = shiftOf(effects.shadow->dy);
        const int from = std::max(0, dx), to = std::min(layer.width, layer.width + dx);
        const std::uint8_t shadow = std::uint8_t(LayerPart::Shadow);
        for (int y = std::max(0, dy); y < std::min(layer.height, layer.height + dy); ++y) {
            const std::uint8_t *source = body.bits.data() + size_t(y - dy) * width;
            std::uint8_t *row = parts.data() + size_t(y) * width;
            for (int x = from; x < to; ++x)
                row[x] = std::max(row[x], std::uint8_t(source[x - dx] * shadow));
        }
    }
    const std::uint8_t *inText = text.bits.data(), *inBody = body.bits.data();
    std::uint8_t *out = parts.data();
    const std::uint8_t outlinePart = std::uint8_t(LayerPart::Outline), textPart = std::uint8_t(LayerPart::Text);
    for (size_t i = 0; i < parts.size(); ++i)
        out[i] = std::max({out[i], std::uint8_t(inBody[i] * outlinePart), std::uint8_t(inText[i] * textPart)});
    layer.parts = std::move(parts);
    return layer;
}

void drawWithEffects(raster::Raster &target, const QRect &clip, qint64 x, qint64 y, const raster::Raster &overlay,
                     const TextMask &mask, const Effects &effects)
{
    if (mask.width != overlay.width() || mask.height != overlay.height())
        return;
    const EffectsLayer layer = effectsLayer(mask, effects);
    const QRect inside = clip & QRect(0, 0, target.width(), target.height());
    if (layer.parts.empty() || inside.isEmpty())
        return;
    const qint64 originX = x - layer.margin, originY = y - layer.margin;
    const qint64 left = std::max<qint64>(inside.left(), originX);
    const qint64 right = std::min<qint64>(qint64(inside.right()) + 1, originX + layer.width);
    const qint64 top = std::max<qint64>(inside.top(), originY);
    const qint64 bottom = std::min<qint64>(qint64(inside.bottom()) + 1, originY + layer.height);
    if (left >= right || top >= bottom)
        return;
    const QRgb plate = raster::toQRgb(effects.plate ? effects.plate->colour : 0);
    const QRgb shadow = raster::toQRgb(effects.shadow ? effects.shadow->colour : 0);
    const QRgb outline = raster::toQRgb(effects.outline ? effects.outline->colour : 0);
    for (qint64 row = top; row < bottom; ++row) {
        const int layerY = int(row - originY);
        const std::uint8_t *parts = layer.parts.data() + size_t(layerY) * size_t(layer.width);
        const int overlayY = layerY - layer.margin;
        const QRgb *text = overlayY >= 0 && overlayY < overlay.height() ? overlay.constScanLine(overlayY) : nullptr;
        QRgb *to = target.scanLine(int(row));
        for (qint64 column = left; column < right; ++column) {
            const int layerX = int(column - originX);
            switch (LayerPart(parts[layerX])) {
            case LayerPart::None:
                break;
            case LayerPart::Plate:
                to[column] = plate;
                break;
            case LayerPart::Shadow:
                to[column] = shadow;
                break;
            case LayerPart::Outline:
                to[column] = outline;
                break;
            case LayerPart::Text:
                to[column] = text[layerX - layer.margin];
                break;
            }
        }
    }
}

}  // namespace letterloom::text

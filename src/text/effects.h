#pragma once

#include "raster/raster.h"

#include <QRect>

#include <cstdint>
#include <optional>
#include <vector>

namespace letterloom::text {

// The effects drawn around rendered text: a plate behind it, a shadow of it,
// an outline round it. Each is on while its member holds a value.
inline constexpr int kMaxOutline = 8;
inline constexpr int kMaxShadowOffset = 16;
inline constexpr int kMaxPlatePadding = 32;

enum class OutlineShape : std::uint8_t {
    Square,  // every pixel within the Chebyshev distance: max(|dx|, |dy|) <= size
    Round,   // every pixel within the Euclidean distance: dx² + dy² <= size²
};

struct OutlineEffect {
    int size = 1;  // 1 .. kMaxOutline
    OutlineShape shape = OutlineShape::Square;
    raster::Colour colour = raster::kBlack;
    bool operator==(const OutlineEffect &other) const = default;
};

// The text and its outline again, moved by (dx, dy), each -16 .. 16.
struct ShadowEffect {
    int dx = 2;
    int dy = 2;
    raster::Colour colour = raster::kBlack;
    bool operator==(const ShadowEffect &other) const = default;
};

// The text's bounding box grown by padding (0 .. 32) on every side, filled.
struct PlateEffect {
    int padding = 2;
    raster::Colour colour = raster::kBlack;
    bool operator==(const PlateEffect &other) const = default;
};

struct Effects {
    std::optional<OutlineEffect> outline;
    std::optional<ShadowEffect> shadow;
    std::optional<PlateEffect> plate;

    bool any() const { return outline || shadow || plate; }
    bool operator==(const Effects &other) const = default;
};

// How far the effects may draw past the text's pixels, on any side.
int effectsReach(const Effects &effects);

// One byte a pixel, row after row: 1 where there is text, 0 elsewhere.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    std::uint8_t at(int x, int y) const { return bits[size_t(y) * size_t(width) + size_t(x)]; }
    bool operator==(const TextMask &other) const = default;
};

// The text of a rendered overlay: every pixel that is not white, so it must
// be taken before tinting (which may turn the text white).
TextMask textMask(const raster::Raster &overlay);

// The mask grown by size (0 .. kMaxOutline): every pixel of the same grid
// within that distance of one of its pixels. The time is linear in the
// grid's pixels: the distance down the columns is found once, and the rows
// then look up to size columns either side.
TextMask grownMask(const TextMask &mask, int size, OutlineShape shape);

// What a pixel of the effects' layer shows, the later parts over the earlier.
enum class LayerPart : std::uint8_t { None, Plate, Shadow, Outline, Text };

// The layer of the text and its effects: the mask's grid with a margin of
// effectsReach on every side, its top-left corner at (-margin, -margin) of the
// mask's grid.
struct EffectsLayer {
    int margin = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> parts;  // LayerPart values, row after row

    LayerPart at(int x, int y) const { return LayerPart(parts[size_t(y) * size_t(width) + size_t(x)]); }
};

EffectsLayer effectsLayer(const TextMask &mask, const Effects &effects);

// Draws the tinted overlay with the effects onto target, the overlay's corner
// at (x, y): the plate, the shadow and the outline in their colours, then the
// overlay's pixels where its mask is, each only inside clip.
void drawWithEffects(raster::Raster &target, const QRect &clip, qint64 x, qint64 y, const raster::Raster &overlay,
                     const TextMask &mask, const Effects &effects);

}  // namespace letterloom::text

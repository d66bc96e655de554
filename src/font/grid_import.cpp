#include "font/grid_import.h"

#include "base/error.h"
#include "base/file_io.h"
#include "raster/colour_hex.h"
#include "font/foreign_font.h"
#include "raster/png_image.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace letterloom::font {

namespace {

constexpr int kExportColumns = 16;

void checkRange(const char *what, qint64 value, qint64 low, qint64 high)
{
    if (value < low || value > high)
        throw Error(QStringLiteral("The %1 %2 is not between %3 and %4")
                        .arg(QLatin1String(what)).arg(value).arg(low).arg(high));
}

void checkLayout(const GridLayout &grid, int lowestCell)
{
    checkRange("cell width", grid.cellWidth, lowestCell, kMaxGlyphSide);
    checkRange("cell height", grid.cellHeight, lowestCell, kMaxGlyphSide);
    checkRange("left margin", grid.marginX, 0, kMaxGridSpan);
    checkRange("top margin", grid.marginY, 0, kMaxGridSpan);
    checkRange("horizontal gap", grid.gapX, 0, kMaxGridSpan);
    checkRange("vertical gap", grid.gapY, 0, kMaxGridSpan);
    checkRange("number of columns", grid.columns, 0, kMaxGridSpan);
}

// How many cells of `cell` pixels, `gap` apart, fit after `margin` in `span` pixels.
int cellsThatFit(qint64 span, qint64 margin, qint64 cell, qint64 gap)
{
    if (span < margin + cell)
        return 0;
    return int((span - margin - cell) / (cell + gap) + 1);
}

int codeOfCell(const CellCodes &codes, qint64 cell)
{
    return cell < qint64(codes.size()) ? codes[std::size_t(cell)] : -1;
}

// The colours of a picture as the glyphs get them: background white, ink black.
class CellReader {
public:
    CellReader(const QImage &picture, Colour background, std::optional<Colour> ink)
        : picture_(picture), background_(background), ink_(ink) {}

    Colour at(int x, int y) const
    {
        const QRgb pixel = reinterpret_cast<const QRgb *>(picture_.constScanLine(y))[x];
        const Colour colour = raster::fromQRgb(pixel);
        if (qAlpha(pixel) < 128 || colour == background_)
            return raster::kWhite;
        if (ink_ && colour == *ink_)
            return raster::kBlack;
        return colour;
    }

private:
    const QImage &picture_;
    Colour background_;
    std::optional<Colour> ink_;
};

// The most common colour of the cells, leaving out the background and what
// is transparent; ties go to the lowest colour value, so the choice does not
// depend on the order of anything.
std::optional<Colour> mostCommonColour(const QImage &picture, Colour background,
                                       const std::vector<QPoint> &cells, const GridLayout &grid)
{
    std::unordered_map<Colour, qint64> counts;
    for (const QPoint &origin : cells) {
        for (int y = origin.y(); y < origin.y() + grid.cellHeight; ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
            for (int x = origin.x(); x < origin.x() + grid.cellWidth; ++x) {
                const Colour colour = raster::fromQRgb(row[x]);
                if (qAlpha(row[x]) >= 128 && colour != background)
                    ++counts[colour];
            }
        }
    }
    std::optional<Colour> best;
    qint64 bestCount = 0;
    for (const auto &[colour, count] : counts)
        if (count > bestCount || (count == bestCount && colour < *best)) {
            best = colour;
            bestCount = count;
        }
    return best;
}

}  // namespace

CellCodes consecutiveCodes(int first)
{
    CellCodes codes;
    for (int code = std::max(first, 0); code < GlyphTable::kSize; ++code)
        codes.push_back(code);
    return codes;
}

CellCodes codesOfCharacters(const QString &characters, const CharMap &map, QStringList *lost)
{
    CellCodes codes;
    QStringView rest(characters);
    while (!rest.isEmpty()) {
        const CharMap::Encoded encoded = map.encode(rest);
        for (const char byte : encoded.bytes)
            codes.push_back(quint8(byte));
        if (encoded.ok())
            break;
        const qsizetype at = encoded.failedAt;
        const qsizetype length = rest[at].isHighSurrogate() && at + 1 < rest.size() ? 2 : 1;
        const char32_t point = rest.sliced(at, length).toUcs4().value(0);
        codes.push_back(-1);
        if (lost)
            *lost << QStringLiteral("U+%1 %2").arg(uint(point), 4, 16, QLatin1Char('0')).toUpper()
                         .arg(rest.sliced(at, length).toString());
        rest = rest.sliced(at + length);
    }
    return codes;
}

GridImport importGrid(const QImage &source, const GridImportSettings &settings)
{
    const GridLayout &grid = settings.grid;
    checkLayout(grid, 1);
    checkRange("spacing", settings.spacing, 0, kMaxGlyphSide);
    if (settings.spaceWidth)
        checkRange("space width", *settings.spaceWidth, 1, kMaxGlyphSide);
    // Pictures without transparency are read as they are, not copied.
    const QImage picture = source.isNull() || source.format() == QImage::Format_RGB32
                               ? source
                               : raster::allocated(source.convertToFormat(QImage::Format_ARGB32));

    GridImport result;
    const int fitColumns = cellsThatFit(picture.width(), grid.marginX, grid.cellWidth, grid.gapX);
    const int fitRows = cellsThatFit(picture.height(), grid.marginY, grid.cellHeight, grid.gapY);
    if (fitColumns == 0 || fitRows == 0)
        throw Error(QStringLiteral("No cell of %1 x %2 pixels fits in the picture of %3 x %4 pixels")
                        .arg(grid.cellWidth).arg(grid.cellHeight).arg(picture.width()).arg(picture.height()));
    result.columns = grid.columns > 0 ? grid.columns : fitColumns;
    result.rows = fitRows;
    if (result.columns > fitColumns)
        result.warnings << QStringLiteral("Columns %1 to %2 reach past the picture's right edge and are left out")
                               .arg(fitColumns + 1).arg(result.columns);

    // The cells inside the picture that hold a code, each once.
    struct Cell {
        int code;
        QPoint origin;
    };
    std::vector<Cell> cells;
    std::vector<QPoint> origins;
    std::vector<QPoint> uncoded;
    std::set<int> taken, repeated;
    for (qint64 index = 0; index < qint64(result.columns) * result.rows; ++index) {
        const int column = int(index % result.columns), row = int(index / result.columns);
        if (column >= fitColumns)
            continue;
        const QPoint origin(grid.marginX + column * (grid.cellWidth + grid.gapX),
                            grid.marginY + row * (grid.cellHeight + grid.gapY));
        const int code = codeOfCell(settings.codes, index);
        if (code < 0 || code >= GlyphTable::kSize) {
            uncoded.push_back(origin);
            continue;
        }
        if (!taken.insert(code).second) {
            repeated.insert(code);
            continue;
        }
        cells.push_back({code, origin});
        origins.push_back(origin);
    }

    result.background = settings.background.value_or(raster::fromQRgb(picture.pixel(0, 0)));
    result.ink = settings.ink ? settings.ink : mostCommonColour(picture, result.background, origins, grid);
    const CellReader reader(picture, result.background, result.ink);

    const int spaceWidth = settings.spaceWidth.value_or(settings.trim ? std::max(grid.cellWidth / 2, 1)
                                                                      : grid.cellWidth);
    // Each cell's glyph width first, so that the glyphs' size is known
    // before any is made: cells cannot hold more than the picture, but a
    // large spacing or space width could.
    struct Made {
        const Cell *cell;
        int rightmost;
        int width;
    };
    std::vector<Made> glyphs;
    qint64 pixels = 0;
    for (const Cell &cell : cells) {
        int rightmost = -1;
        for (int x = grid.cellWidth - 1; x >= 0 && rightmost < 0; --x)
            for (int y = 0; y < grid.cellHeight; ++y)
                if (reader.at(cell.origin.x() + x, cell.origin.y() + y) != raster::kWhite) {
                    rightmost = x;
                    break;
                }
        if (rightmost < 0 && cell.code != ' ')
            continue;
        int width = spaceWidth;
        if (rightmost >= 0)
            width = settings.trim ? std::min(rightmost + 1 + settings.spacing, kMaxGlyphSide) : grid.cellWidth;
        glyphs.push_back({&cell, rightmost, width});
        pixels += qint64(width) * grid.cellHeight;
    }
    const qint64 budget = std::min(kMaxFontPixels, fontPixelBudget(0) + 2 * qint64(picture.width()) * picture.height());
    if (pixels > budget)
        throw Error(QStringLiteral("The glyphs would hold %1 pixels, more than the %2 a picture of this size may give: "
                                   "make the spacing or the space width smaller")
                        .arg(pixels).arg(budget));

    for (const Made &made : glyphs) {
        const Cell &cell = *made.cell;
        tGraphChar &glyph = result.glyphs[cell.code];
        glyph.defined = 1;
        resizeGlyph(glyph, made.width, grid.cellHeight);
        for (int x = 0; x < made.width; ++x)
            for (int y = 0; y < grid.cellHeight; ++y)
                glyph.pixels[std::size_t(x)][std::size_t(y)] =
                    x <= made.rightmost ? reader.at(cell.origin.x() + x, cell.origin.y() + y) : raster::kWhite;
        syncImage(glyph);
        result.made.push_back(cell.code);
    }
    std::sort(result.made.begin(), result.made.end());

    if (!repeated.empty())
        result.warnings << QStringLiteral("Kept only the first cell of codes %1, which appear more than once")
                               .arg(codeList(repeated));
    int inked = 0;
    for (const QPoint &origin : uncoded) {
        bool found = false;
        for (int y = 0; y < grid.cellHeight && !found; ++y)
            for (int x = 0; x < grid.cellWidth && !found; ++x)
                found = reader.at(origin.x() + x, origin.y() + y) != raster::kWhite;
        inked += found;
    }
    if (inked > 0)
        result.warnings << (inked == 1 ? QStringLiteral("Left out 1 cell that holds pixels but no character code")
                                       : QStringLiteral("Left out %1 cells that hold pixels but no character code")
                                             .arg(inked));
    return result;
}

void mergeImport(GlyphTable &glyphs, const GridImport &imported)
{
    for (int code : imported.made)
        glyphs[code] = imported.glyphs[code];
}

QImage readGridPicture(const QString &path)
{
    if (raster::Raster::isPngPath(path))
        return raster::decodePng(readWholeFile(path));
    return raster::Raster::readBmpFile(path).image();
}

namespace {

// A colour for the background that none of the glyphs uses, that is neither
// white nor the ink: magenta when it is free, as sheets often have.
Colour unusedColour(const GlyphTable &glyphs, const CellCodes &codes, Colour ink)
{
    std::unordered_set<Colour> used{raster::kWhite, ink};
    for (int code : codes) {
        if (code < 0 || code >= GlyphTable::kSize || !glyphs[code].defined)
            continue;
        for (const auto &column : glyphs[code].pixels)
            for (Colour colour : column)
                used.insert(colour & 0xFFFFFFu);
    }
    for (Colour candidate : {0xFF00FFu, 0x00FF00u, 0xFFFF00u, 0x808080u})
        if (!used.contains(candidate))
            return candidate;
    for (Colour candidate = 1; candidate < 0xFFFFFFu; ++candidate)
        if (!used.contains(candidate))
            return candidate;
    throw Error(QStringLiteral("The glyphs use every colour: no background is left for the grid"));
}

}  // namespace

GridExport exportGrid(const GlyphTable &glyphs, const GridExportSettings &settings)
{
    GridExport result;
    GridLayout grid = settings.grid;
    checkLayout(grid, 0);
    if (settings.codes.empty())
        throw Error(QStringLiteral("The grid has no cells to draw"));
    const Colour ink = settings.ink.value_or(raster::kBlack) & 0xFFFFFFu;
    if (grid.cellWidth == 0 || grid.cellHeight == 0) {
        int widest = 1, tallest = 1;
        for (int code : settings.codes)
            if (code >= 0 && code < GlyphTable::kSize && glyphs[code].defined) {
                widest = std::max(widest, glyphs[code].width);
                tallest = std::max(tallest, glyphs[code].height);
            }
        if (grid.cellWidth == 0)
            grid.cellWidth = widest;
        if (grid.cellHeight == 0)
            grid.cellHeight = tallest;
    }
    if (grid.columns == 0)
        grid.columns = kExportColumns;
    result.grid = grid;
    result.background = settings.background ? *settings.background & 0xFFFFFFu
                                            : unusedColour(glyphs, settings.codes, ink);

    const qint64 cells = qint64(settings.codes.size());
    const qint64 rows = (cells + grid.columns - 1) / grid.columns;
    const qint64 width = grid.marginX + grid.columns * qint64(grid.cellWidth) + (grid.columns - 1) * qint64(grid.gapX);
    const qint64 height = grid.marginY + rows * grid.cellHeight + (rows - 1) * qint64(grid.gapY);
    if (!raster::Raster::sizeAllowed(width, height))
        throw Error(QStringLiteral("The grid would be %1 x %2 pixels, too large to hold").arg(width).arg(height));
    result.picture = raster::Raster(int(width), int(height));
    result.picture.fill(result.background);

    std::set<int> cut, asBackground, asInk, drawn;
    std::unordered_map<Colour, qint64> counts;  // what the cells show, but the background
    for (qint64 index = 0; index < cells; ++index) {
        const int code = settings.codes[std::size_t(index)];
        if (code < 0 || code >= GlyphTable::kSize || !glyphs[code].defined || !drawn.insert(code).second)
            continue;
        const tGraphChar &glyph = glyphs[code];
        const qint64 left = grid.marginX + (index % grid.columns) * (grid.cellWidth + grid.gapX);
        const qint64 top = grid.marginY + (index / grid.columns) * (grid.cellHeight + grid.gapY);
        const qint64 lift = qint64(grid.cellHeight) - glyph.height;  // stands on the cell's bottom
        for (std::int32_t x = 0; x < glyph.width; ++x) {
            for (std::int32_t y = 0; y < glyph.height; ++y) {
                const Colour colour = glyph.pixels[std::size_t(x)][std::size_t(y)] & 0xFFFFFFu;
                if (x >= grid.cellWidth || y + lift < 0) {
                    if (colour != raster::kWhite)
                        cut.insert(code);
                    continue;
                }
                Colour shown = colour;
                if (colour == raster::kWhite) {
                    shown = result.background;
                } else if (colour == raster::kBlack) {
                    shown = ink;
                } else if (colour == result.background) {
                    asBackground.insert(code);
                } else if (colour == ink) {
                    asInk.insert(code);
                }
                result.picture.setPixel(left + x, top + y + lift, shown);
                if (shown != result.background)
                    ++counts[shown];
            }
        }
    }

    QStringList &warnings = result.warnings;
    if (!cut.empty())
        warnings << QStringLiteral("Cut to their cells of %1 x %2 pixels: glyphs %3")
                        .arg(grid.cellWidth).arg(grid.cellHeight).arg(codeList(cut));
    if (!asBackground.empty())
        warnings << QStringLiteral("Glyphs %1 use the background colour %2, which reads back as white")
                        .arg(codeList(asBackground), raster::colourHex(result.background));
    if (!asInk.empty())
        warnings << QStringLiteral("Glyphs %1 use the ink colour %2, which reads back as black")
                        .arg(codeList(asInk), raster::colourHex(ink));

    // What reading the picture back without naming the colours would take.
    QStringList needed;
    if (!settings.background && result.picture.pixel(0, 0) != result.background)
        needed << QStringLiteral("the background colour %1").arg(raster::colourHex(result.background));
    std::optional<Colour> common;
    qint64 commonCount = 0;
    for (const auto &[colour, count] : counts)
        if (count > commonCount || (count == commonCount && colour < *common)) {
            common = colour;
            commonCount = count;
        }
    if (!settings.ink && common && *common != ink)
        needed << QStringLiteral("the ink colour %1").arg(raster::colourHex(ink));
    if (!needed.isEmpty())
        warnings << QStringLiteral("Reading this picture back needs %1 given").arg(needed.join(QStringLiteral(" and ")));
    return result;
}

}  // namespace letterloom::font

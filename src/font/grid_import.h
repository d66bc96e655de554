#pragma once

#include "font/char_map.h"
#include "font/glyph_table.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace letterloom::font {

// Fonts drawn as a picture: a sprite sheet, a grid another tool exported or a
// screenshot of a game, read as cells of one size in rows and columns, and
// the way back, a font drawn as such a grid.

// Where the cells lie in the picture. Cells are numbered in reading order,
// left to right and top to bottom.
struct GridLayout {
    int cellWidth = 8;
    int cellHeight = 8;
    int marginX = 0;  // before the first column
    int marginY = 0;  // above the first row
    int gapX = 0;     // between two columns
    int gapY = 0;     // between two rows
    int columns = 0;  // cells in a row; 0: as many as fit in the picture (16 for a font drawn as a grid)

    bool operator==(const GridLayout &) const = default;
};

// The largest margin or gap a grid takes: the widest picture the program holds.
inline constexpr int kMaxGridSpan = 32767;

// The glyph codes cells hold, in reading order; a cell past the end of the
// list, or whose entry is negative, holds no glyph.
using CellCodes = std::vector<int>;

// Cells that hold the codes first, first + 1, ... up to 255.
CellCodes consecutiveCodes(int first);

// Cells that follow the characters of a text, each placed at the code the
// font's character map gives it (through none, characters 0-255 keep their
// numbers). The text is read as the map encodes text, the longest entry
// first, so one cell may stand for an entry of several characters ("th").
// A character without a code leaves its cell out, and is named in lost
// ("U+0416 Ж").
CellCodes codesOfCharacters(const QString &characters, const CharMap &map = {}, QStringList *lost = nullptr);

struct GridImportSettings {
    GridLayout grid;
    CellCodes codes = consecutiveCodes(32);
    // The font's character map, through which the grid dialog shows and
    // reads the characters of the cells; the codes are what counts.
    CharMap charMap;
    // This colour becomes white, and so does every pixel with an alpha below
    // 128. Default: the colour of the picture's top-left pixel.
    std::optional<Colour> background;
    // This colour becomes black, so that the text colour tints it; every other
    // colour is kept. Default: the most common colour of the cells other than
    // the background.
    std::optional<Colour> ink;
    // Trimming: a glyph is as wide as its rightmost column that is not white,
    // plus 1, plus the spacing; without it every glyph is a whole cell wide.
    bool trim = true;
    int spacing = 1;
    // The width of the space when its cell is empty. Default: half the cell
    // width when trimming, the whole cell otherwise (a font of one width keeps it).
    std::optional<int> spaceWidth;
};

// What a grid gives.
struct GridImport {
    GlyphTable glyphs;        // the glyphs of the cells; every other code undefined
    std::vector<int> made;    // the codes given a glyph, ascending
    int columns = 0;          // the grid as read
    int rows = 0;
    Colour background = raster::kWhite;  // as resolved
    std::optional<Colour> ink;           // none when the cells hold no colour but the background
    QStringList warnings;
};

// Reads the cells of a picture (any QImage; pixels with an alpha below 128 are
// background) into glyphs as tall as a cell. An empty cell gives no glyph,
// except that the space's cell gives a white glyph of the space width. Throws
// letterloom::Error for settings out of range, for a grid of which no cell
// fits in the picture, and for glyphs that would hold far more pixels than
// the picture (a huge spacing on thousands of tall cells).
GridImport importGrid(const QImage &picture, const GridImportSettings &settings);

// The glyphs of an import laid over a font: every code the import made is
// replaced, every other glyph stays as it was.
void mergeImport(GlyphTable &glyphs, const GridImport &imported);

// A picture file for a grid: PNG with its transparency (Format_ARGB32), or
// BMP (Format_RGB32).
QImage readGridPicture(const QString &path);

struct GridExportSettings {
    // A cell side of 0 takes the widest (or tallest) defined glyph; columns 0 is 16.
    GridLayout grid{0, 0};
    CellCodes codes = consecutiveCodes(32);
    CharMap charMap;  // as in GridImportSettings
    // The colour of everything but the glyphs' pixels; default: one that no
    // glyph uses. A glyph's white pixels are drawn in it.
    std::optional<Colour> background;
    // What a glyph's black pixels are drawn in; default black.
    std::optional<Colour> ink;
};

struct GridExport {
    raster::Raster picture;
    GridLayout grid;      // with the cell size and columns used
    Colour background = raster::kWhite;
    // Glyphs cut to their cells, colours that would not read back, and the
    // colours that reading back must be given when they are not found there.
    QStringList warnings;
};

// Draws the glyphs of the cells' codes as a plain grid: each glyph at its
// cell's left edge, standing on its bottom, its white pixels in the
// background colour; undefined glyphs leave their cells empty. Read with the
// same settings, the picture gives back the same pixels (widths as trimming
// gives them), except that an undefined space comes back as a blank one.
GridExport exportGrid(const GlyphTable &glyphs, const GridExportSettings &settings);

}  // namespace letterloom::font

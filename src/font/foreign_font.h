#pragma once

#include "font/font_extras.h"
#include "font/glyph_table.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace letterloom::font {

// Fonts made by other tools: what reading one gives, and the bookkeeping that
// their readers and writers share. The program's own font file stays the one
// format that keeps everything; converting to or from another one can lose
// something, and every such loss is named in a warning for the user.

// A font read from another tool's file, with what the conversion lost.
// (A font file of the program's own read the same way brings its extras,
// and notices about a damaged extension block as its warnings.)
//
// unicode: the file gives its glyphs as Unicode characters (a BDF font in
// the ISO10646 registry, a BMFont font, a console font with a Unicode table),
// so a character map chosen on reading decides which code each lands at, and
// the font takes that map. Any other file gives glyph codes, and brings the
// map its own code page names (a BDF font in the KOI8-R registry), if any.
struct ImportedFont {
    GlyphTable glyphs;
    QStringList warnings;
    FontExtras extras;
    bool unicode = false;
};

// Where the glyphs of a font that gives Unicode characters land through a
// character map: at each code, the glyph of the one character the map gives
// that code. A code whose text has several characters ("th") gets none.
// Map none is the program's own order, character n at code n.
class UnicodePlacement {
public:
    explicit UnicodePlacement(const CharMap &map);

    // The codes whose text is this character, ascending; empty for one the
    // map has no code for.
    const std::vector<int> &codesOf(qint64 point) const;
    bool throughNone() const { return none_; }
    // The notices of a reading through the map: which codes stayed undefined
    // because their texts have several characters. Empty for none.
    QStringList warnings() const;
    // "no code in the character map (windows-1251)", for a glyph left out.
    QString noCode() const;

private:
    bool none_ = true;
    QString description_;
    std::vector<std::pair<qint64, std::vector<int>>> codes_;  // sorted by character
    std::set<int> several_;
};

// The character each code is written as in a font file that gives Unicode
// characters: through map none the code itself; through a map the one
// character of the code's text. glyphs is the font with the glyphs that
// cannot be written so made undefined (codes without a text of one
// character, and codes whose character an earlier code already has), each
// loss named in warnings.
struct UnicodeExport {
    GlyphTable glyphs;
    std::array<char32_t, GlyphTable::kSize> characters{};
    QStringList warnings;
};
UnicodeExport unicodeExport(const GlyphTable &glyphs, const CharMap &map);

// Cells are mostly empty space around small bitmaps, so their pixels are not
// in the file; still, a font's cells grow with its file. A font may hold 4 Mi
// pixels (ample for 256 glyphs of 128 x 128) plus 256 for each byte of its
// file, up to kMaxFontPixels (glyph_table.h): a few hundred bytes cannot claim gigabytes.
qint64 fontPixelBudget(qint64 fileBytes);

// Builds the glyph table of an imported font. Other tools place each glyph's
// bitmap at an offset inside a cell: the advance wide and one common cell
// height high. Glyphs become defined white cells that the reader paints into;
// what falls outside its cell is cut off. Codes outside 0..255, unencoded and
// repeated glyphs are skipped, and every loss ends up as a warning.
class FontImport {
public:
    // format names the file kind in error messages ("BDF font"); fileBytes
    // is the size of the font's file, which bounds its cells (fontPixelBudget).
    FontImport(QString format, qint64 cellHeight, qint64 fileBytes);

    // Throws "Invalid <format>: <what>".
    [[noreturn]] void fail(const QString &what) const;

    // From here on addGlyph takes Unicode characters, and places each glyph
    // at every code the map gives its character (the font takes the map).
    void placeThrough(const CharMap &map);

    // A white cell of advance x cellHeight for code, or nullptr when the code
    // is not kept. code < 0 means the file gives the glyph no code.
    tGraphChar *addGlyph(qint64 code, qint64 advance);

    // Paints one cell pixel. A pixel outside the cell is dropped, and when it
    // is visible (not white) its glyph is reported as cut.
    void put(tGraphChar &glyph, qint64 x, qint64 y, Colour colour);

    // The codes at which addGlyph kept the glyph of a code or character (in
    // the file's own numbering); empty when it kept none.
    std::vector<int> keptCodesOf(qint64 code) const;

    // The code of a glyph that addGlyph kept, and the glyph of a code.
    int codeOf(const tGraphChar &glyph) const { return int(&glyph - &font_.glyphs[0]); }
    tGraphChar &glyph(int code) { return font_.glyphs[code]; }

    void warn(const QString &warning) { extraWarnings_ << warning; }

    // The finished font; glyph images are synced with their pixels.
    ImportedFont finish();

private:
    QString format_;
    std::int32_t cellHeight_ = 0;
    qint64 pixelsUsed_ = 0;
    qint64 pixelBudget_;
    ImportedFont font_;
    std::set<int> kept_;
    std::set<int> cut_;
    std::set<int> repeated_;
    int unencoded_ = 0;
    int outOfRange_ = 0;
    int unplaced_ = 0;
    std::optional<UnicodePlacement> placement_;
    std::set<qint64> characters_;                // placed so far, through a map
    std::vector<std::pair<int, int>> copies_;    // (from, to): one glyph at several codes
    QStringList extraWarnings_;
};

// What writers of other formats share: only defined glyphs are written, all
// standing on one baseline in cells as high as the tallest of them. (A lower
// glyph is written at its own height; reading the file back gives it the
// common cell height, padded with white above, where text drawing puts it
// all the same.)
struct ExportCells {
    std::int32_t cellHeight = 0;
    std::int32_t widest = 0;
    int count = 0;  // defined glyphs
};

ExportCells exportCells(const GlyphTable &glyphs);

// True when a colour shows as white (the high byte plays no part on screen).
constexpr bool isWhite(Colour colour)
{
    return (colour & 0xFFFFFFu) == raster::kWhite;
}

// The codes of the defined glyphs that hold at least one pixel for which test
// is true: the glyphs a conversion changes, for its warning.
std::set<int> glyphsWithPixel(const GlyphTable &glyphs, const std::function<bool(Colour)> &test);

// A list of glyph codes for a warning: "65, 66 and 103"; at most a few codes,
// then how many more.
QString codeList(const std::set<int> &codes);

}  // namespace letterloom::font

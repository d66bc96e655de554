#pragma once

#include "font/foreign_font.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace letterloom::font {

// BMFont text files: a ".fnt" text that places each glyph's box on a PNG page
// ("page id=0 file=...") and gives its offset in the line and its advance
// ("char id= x= y= width= height= xoffset= yoffset= xadvance= page= chnl=").
// Game engines and their font tools read and write it, in colour.

// The bytes of a page file, named as the .fnt names it (relative to its folder).
using PageLoader = std::function<QByteArray(const QString &fileName)>;

// Ids are Unicode characters: reading places them through the map `through`
// (see UnicodePlacement; none keeps the glyphs with ids 0..255 at their own
// codes), and the font takes that map. Each becomes a defined glyph as
// wide as its xadvance and as high as the line (lineHeight), its box copied
// from the page to its xoffset and yoffset in colour; fully transparent page
// pixels become white. Pages that hold their glyphs in the alpha channel alone
// (white everywhere it is not transparent, as many tools write them), and the
// channels of packed pages, are read as black glyphs on white. Page names
// that reach outside the font's folder are refused. Only the pages that kept
// glyphs use are loaded. Kerning lines ("kerning first= second= amount=")
// become the font's kerning pairs at the codes their glyphs landed at; a pair
// whose glyphs were not kept, that moves by more than kMaxKerning pixels or
// does not read, or that repeats an earlier one is dropped with a warning.
// The whole font is checked before anything is kept;
// a broken one throws "Invalid BMFont file: <what>".
ImportedFont parseBmFont(const QByteArray &fnt, const PageLoader &loadPage, const CharMap &through = {});
// Pages are read from the .fnt's folder.
ImportedFont readBmFontFile(const QString &path, const CharMap &through = {});

// Writing keeps every defined glyph, in colour, on one PNG page: white pixels
// become transparent and every other pixel opaque, so reading the font back
// gives the same glyphs. The glyphs stand on one baseline in a line as high
// as the tallest glyph. Through a character map other than none each glyph's
// id is the one character of its code's text (see unicodeExport), and the
// font says unicode=1. Kerning pairs whose glyphs are both written follow
// the chars as "kernings count=" and "kerning" lines; a font without pairs
// has none of these lines.
struct BmFontExport {
    QByteArray fnt;
    QByteArray page;       // PNG bytes
    QString pageFileName;  // as the .fnt names it
    QStringList warnings;
};
// baseName names the font and its page ("<baseName>_0.png").
BmFontExport bmFontBytes(const GlyphTable &glyphs, const QString &baseName, const CharMap &map = {},
                         const Kerning &kerning = {});

// Writes the page beside the .fnt first, then the .fnt, each all or nothing.
// Returns the warnings of the conversion.
QStringList writeBmFontFile(const QString &path, const GlyphTable &glyphs, const CharMap &map = {},
                            const Kerning &kerning = {});

}  // namespace letterloom::font

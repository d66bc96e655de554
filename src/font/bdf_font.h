#pragma once

#include "font/foreign_font.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace letterloom::font {

// BDF fonts: the text format of 1-bit bitmap fonts that nearly every bitmap
// font tool reads and writes.
//
// Reading keeps the glyphs with codes 0..255 (ENCODING). A font in the
// ISO10646 registry (CHARSET_REGISTRY, or the FONT name's last fields) gives
// Unicode characters instead, placed through the map `through` (see
// UnicodePlacement; none keeps characters 0..255 at their own codes); a font
// in the registry of an 8-bit code page (ISO8859-5, KOI8-R, microsoft-cp1251)
// keeps its codes and brings that code page as its character map. Each becomes a
// defined glyph as wide as its advance (DWIDTH) and as high as the font's
// cell (FONT_ASCENT + FONT_DESCENT, or the FONTBOUNDINGBOX when those are
// missing), with its bitmap placed at its BBX offset from the baseline: set
// bits black, clear bits white. Comments and properties the program has no
// use for are passed over. The whole file is checked before anything is kept;
// a broken one throws "Invalid BDF font: <what> (line N)".
ImportedFont parseBdf(const QByteArray &bytes, const CharMap &through = {});
ImportedFont readBdfFile(const QString &path, const CharMap &through = {});

// Writing keeps every defined glyph as a 1-bit bitmap, a pixel set wherever
// its colour is not white, all glyphs standing on one baseline in a cell as
// high as the tallest. Colours other than black are lost, and the warnings
// say for which glyphs. family goes into the FONT name. Through a character
// map other than none the font is written in the ISO10646 registry, each
// glyph at the one character of its code's text (see unicodeExport).
struct BdfExport {
    QByteArray bytes;
    QStringList warnings;
};
BdfExport bdfBytes(const GlyphTable &glyphs, const QString &family, const CharMap &map = {});

// Writes all or nothing; the family is the file's base name. Returns the
// warnings of the conversion.
QStringList writeBdfFile(const QString &path, const GlyphTable &glyphs, const CharMap &map = {});

}  // namespace letterloom::font

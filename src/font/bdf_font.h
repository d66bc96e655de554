#pragma once

#include "font/foreign_font.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace letterloom::font {

// BDF fonts: the text format of 1-bit bitmap fonts that nearly every bitmap
// font tool reads and writes.
//
// Reading keeps the glyphs with codes 0..255 (ENCODING). Each becomes a
// defined glyph as wide as its advance (DWIDTH) and as high as the font's
// cell (FONT_ASCENT + FONT_DESCENT, or the FONTBOUNDINGBOX when those are
// missing), with its bitmap placed at its BBX offset from the baseline: set
// bits black, clear bits white. Comments and properties the program has no
// use for are passed over. The whole file is checked before anything is kept;
// a broken one throws "Invalid BDF font: <what> (line N)".
ImportedFont parseBdf(const QByteArray &bytes);
ImportedFont readBdfFile(const QString &path);

// Writing keeps every defined glyph as a 1-bit bitmap, a pixel set wherever
// its colour is not white, all glyphs standing on one baseline in a cell as
// high as the tallest. Colours other than black are lost, and the warnings
// say for which glyphs. family goes into the FONT name.
struct BdfExport {
    QByteArray bytes;
    QStringList warnings;
};
BdfExport bdfBytes(const GlyphTable &glyphs, const QString &family);

// Writes all or nothing; the family is the file's base name. Returns the
// warnings of the conversion.
QStringList writeBdfFile(const QString &path, const GlyphTable &glyphs);

}  // namespace letterloom::font

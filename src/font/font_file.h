#pragma once

#include "font/glyph_table.h"

#include <QByteArray>
#include <QString>

namespace letterloom::font {

// A font file is 256 glyph records, codes 0 to 255, with no header: a flag
// byte, the width and the height (little-endian signed 32-bit), then
// 4 x width x height bytes of colours column by column (x outer, y inner).
// Bytes after the last record are ignored.

// Parses a whole font into a fresh table; the caller replaces its own table
// only when this returns, so a bad file changes nothing. Throws
// "Read beyond end of file" for a file that ends early and
// "Invalid glyph size in font file" for a negative or oversized glyph.
GlyphTable parseFont(const QByteArray &bytes);
QByteArray fontBytes(const GlyphTable &glyphs);

GlyphTable readFontFile(const QString &path);
// Writes all or nothing: a failed write leaves the old file as it was.
void writeFontFile(const QString &path, const GlyphTable &glyphs);

}  // namespace letterloom::font

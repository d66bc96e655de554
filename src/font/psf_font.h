#pragma once

#include "font/foreign_font.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace letterloom::font {

// PSF console fonts, the fonts of the Linux text console, in both versions
// (PSF1 and PSF2), gzip-compressed or not: 1-bit glyphs of one size, 8
// pixels wide in PSF1, any width in PSF2.
//
// Reading: a font with a Unicode table places each glyph at the code of
// every one of its characters in the character map `through` (see
// UnicodePlacement; through none U+0000-U+00FF land at their own codes), so
// one glyph may serve several codes, and the font takes that map; glyphs
// whose characters all lie outside the map are skipped and counted in a
// warning. A font without a table places glyph n at code n.
// Every glyph is a defined cell of the font's width and height, set bits
// black, clear bits white. A broken file throws "Invalid PSF font: <what>".
//
// fileBytes is the size of the file as it lies on disk (packed or not),
// which bounds the pixels its glyphs may hold (fontPixelBudget).
ImportedFont parsePsf(const QByteArray &bytes, qint64 fileBytes, const CharMap &through = {});
ImportedFont parsePsf(const QByteArray &bytes, const CharMap &through = {});
ImportedFont readPsfFile(const QString &path, const CharMap &through = {});

// Writing: all 256 codes as glyphs of one cell, as wide as the widest and as
// high as the tallest defined glyph, each glyph at the cell's left, standing
// on its bottom, a pixel set wherever its colour is not white. A cell 8
// pixels wide and at most 255 high is written as PSF1, any other as PSF2.
// The Unicode table gives each defined glyph its character (through a map
// other than none, the one character of its code's text, see
// unicodeExport); undefined glyphs get none, so they stay undefined when
// read back. The warnings say which
// glyphs lost their colours or their own width.
struct PsfExport {
    QByteArray bytes;
    QStringList warnings;
};
PsfExport psfBytes(const GlyphTable &glyphs, const CharMap &map = {});

// Writes all or nothing, gzip-compressed when the name ends in ".gz".
// Returns the warnings of the conversion.
QStringList writePsfFile(const QString &path, const GlyphTable &glyphs, const CharMap &map = {});

}  // namespace letterloom::font

#pragma once

#include "font/glyph_table.h"

#include <QByteArray>
#include <QString>

namespace letterloom::tools {

// Reads a font drawn as text. The format:
//
//   palette                 one line per colour: a character and the colour
//   . FFFFFF                as RRGGBB in hex, red first
//   # 000000
//   end
//
//   glyph 65 6x9            a glyph: its code (0..255) and width x height,
//   .###..                  then exactly height rows of width palette
//   #...#.                  characters, taken as they stand
//   ...
//
// "//" starts a comment on palette and glyph lines; blank lines and comment
// lines between them are skipped. Every glyph named is defined; the others
// stay undefined and empty. Throws letterloom::Error with "NAME:LINE: what"
// for the first thing that does not add up.
font::GlyphTable parseFontSource(const QByteArray &source, const QString &name);

}  // namespace letterloom::tools

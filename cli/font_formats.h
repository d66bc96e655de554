#pragma once

#include "font/glyph_table.h"

#include <QString>

namespace letterloom::cli {

// Font files of any kind the program knows, told apart by their extension
// (.llf, .bdf, .fnt). What a conversion loses is reported on stderr.
font::GlyphTable readFont(const QString &path);
void writeFont(const QString &path, const font::GlyphTable &glyphs);

}  // namespace letterloom::cli

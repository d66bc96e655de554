#pragma once

#include "font/foreign_font.h"
#include "font/glyph_table.h"

#include <QString>

namespace letterloom::cli {

// Font files of any kind the program knows, told apart by their extension
// (.llf, .bdf, .fnt). What a conversion loses, and what is damaged in a font
// file's extras, is reported on stderr.
font::ImportedFont readFontWithExtras(const QString &path);
font::GlyphTable readFont(const QString &path);
// The extras are kept when the font is written in the program's own format.
void writeFont(const QString &path, const font::GlyphTable &glyphs, const font::FontExtras &extras = {});

}  // namespace letterloom::cli

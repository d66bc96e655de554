#pragma once

#include "font/foreign_font.h"
#include "font/glyph_table.h"

#include <QString>

#include <optional>

namespace letterloom::cli {

// Font files of any kind the program knows, told apart by their extension
// (.llf, .bdf, .fnt, .psf). What a conversion loses, and what is damaged in a
// font file's extras, is reported on stderr. A map given (--map) places the
// glyphs of a font of Unicode characters, and replaces any other font's map.
font::ImportedFont readFontWithExtras(const QString &path, const std::optional<font::CharMap> &map = std::nullopt);
font::GlyphTable readFont(const QString &path, const std::optional<font::CharMap> &map = std::nullopt);
// The extras are kept when the font is written in the program's own format.
void writeFont(const QString &path, const font::GlyphTable &glyphs, const font::FontExtras &extras = {});

}  // namespace letterloom::cli

#pragma once

#include "font/foreign_font.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace letterloom::font {

// The font files the program reads and writes, told apart by their
// extension (in any letter case): its own ".llf", BDF ".bdf", BMFont ".fnt"
// and PSF console fonts ".psf" or ".psfu", either of them packed as ".gz".
enum class FontFormat { Llf, Bdf, BmFont, Psf };

std::optional<FontFormat> fontFormatOf(const QString &path);

// Reads a font of any of these formats; a font file of the program's own
// comes without warnings. A font that gives Unicode characters is placed
// through the map `through` (ImportedFont::unicode); other fonts ignore it.
// Throws "Unknown font file type \"<name>\"" for any other extension.
ImportedFont readAnyFont(const QString &path, const CharMap &through = {});

// Writes a font in the format its extension names, returning the warnings of
// the conversion. Only the program's own format keeps the extras; the others
// write Unicode characters through the extras' character map.
QStringList writeAnyFont(const QString &path, const GlyphTable &glyphs, const FontExtras &extras = {});

}  // namespace letterloom::font

#include "font_formats.h"

#include "cli.h"

#include "font/font_formats.h"

namespace letterloom::cli {

namespace {

void reportLosses(const QStringList &warnings)
{
    for (const QString &warning : warnings)
        printMessage(warning);
}

}  // namespace

font::ImportedFont readFontWithExtras(const QString &path, const std::optional<font::CharMap> &map)
{
    font::ImportedFont imported = font::readAnyFont(path, map.value_or(font::CharMap()));
    if (map)
        imported.extras.charMap = *map;
    reportLosses(imported.warnings);
    return imported;
}

font::GlyphTable readFont(const QString &path, const std::optional<font::CharMap> &map)
{
    return readFontWithExtras(path, map).glyphs;
}

void writeFont(const QString &path, const font::GlyphTable &glyphs, const font::FontExtras &extras)
{
    reportLosses(font::writeAnyFont(path, glyphs, extras));
}

}  // namespace letterloom::cli

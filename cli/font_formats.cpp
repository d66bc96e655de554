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

font::GlyphTable readFont(const QString &path)
{
    font::ImportedFont imported = font::readAnyFont(path);
    reportLosses(imported.warnings);
    return std::move(imported.glyphs);
}

void writeFont(const QString &path, const font::GlyphTable &glyphs)
{
    reportLosses(font::writeAnyFont(path, glyphs));
}

}  // namespace letterloom::cli

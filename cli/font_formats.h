#pragma once

#include "font/glyph_table.h"

#include <QString>

#include <functional>
#include <vector>

namespace letterloom::cli {

// A kind of font file the tool reads and writes, known by its extension.
// Every command that takes a font file goes through this list, so a new kind
// of file is one more entry here.
struct FontFormat {
    QString extension;  // lower case, without the dot
    QString description;
    std::function<font::GlyphTable(const QString &path)> read;
    std::function<void(const QString &path, const font::GlyphTable &glyphs)> write;
};

const std::vector<FontFormat> &fontFormats();

// The format of a path by its extension (case ignored); throws
// letterloom::Error naming the known extensions for any other.
const FontFormat &fontFormatOf(const QString &path);

font::GlyphTable readFont(const QString &path);
void writeFont(const QString &path, const font::GlyphTable &glyphs);

}  // namespace letterloom::cli

#include "font_formats.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/font_file.h"

#include <QFileInfo>
#include <QStringList>

namespace letterloom::cli {

const std::vector<FontFormat> &fontFormats()
{
    static const std::vector<FontFormat> formats{
        {QStringLiteral("llf"), QStringLiteral("Letterloom font"), font::readFontFile, font::writeFontFile},
    };
    return formats;
}

const FontFormat &fontFormatOf(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    QStringList known;
    for (const FontFormat &format : fontFormats()) {
        if (format.extension == extension)
            return format;
        known << QStringLiteral(".") + format.extension;
    }
    throw Error(QStringLiteral("Unknown kind of font file \"%1\" (known: %2)")
                    .arg(fileNameOf(path), known.join(QStringLiteral(", "))));
}

font::GlyphTable readFont(const QString &path)
{
    return fontFormatOf(path).read(path);
}

void writeFont(const QString &path, const font::GlyphTable &glyphs)
{
    fontFormatOf(path).write(path, glyphs);
}

}  // namespace letterloom::cli

#include "font/font_formats.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/bdf_font.h"
#include "font/bmfont.h"
#include "font/font_file.h"
#include "font/psf_font.h"

#include <QFileInfo>

namespace letterloom::font {

std::optional<FontFormat> fontFormatOf(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"llf")
        return FontFormat::Llf;
    if (extension == u"bdf")
        return FontFormat::Bdf;
    if (extension == u"fnt")
        return FontFormat::BmFont;
    const QString name = QFileInfo(path).fileName().toLower();
    for (const char *ending : {".psf", ".psfu", ".psf.gz", ".psfu.gz"})
        if (name.endsWith(QLatin1String(ending)))
            return FontFormat::Psf;
    return std::nullopt;
}

namespace {

FontFormat knownFormat(const QString &path)
{
    const auto format = fontFormatOf(path);
    if (!format)
        throw Error(QStringLiteral("Unknown font file type \"%1\"").arg(fileNameOf(path)));
    return *format;
}

}  // namespace

ImportedFont readAnyFont(const QString &path, const CharMap &through)
{
    switch (knownFormat(path)) {
    case FontFormat::Llf: {
        FontFile font = loadFontFile(path);
        return {std::move(font.glyphs), std::move(font.notices), std::move(font.extras)};
    }
    case FontFormat::Bdf: return readBdfFile(path, through);
    case FontFormat::BmFont: return readBmFontFile(path, through);
    case FontFormat::Psf: return readPsfFile(path, through);
    }
    return {};
}

namespace {

// BDF and PSF fonts have no kerning: the pairs are named as lost.
QStringList withoutKerning(QStringList warnings, const Kerning &kerning, const char *format)
{
    const qsizetype pairs = qsizetype(kerning.pairs().size());
    if (pairs > 0)
        warnings << QStringLiteral("Dropped the kerning of %1: %2 fonts have none")
                        .arg(pairs == 1 ? QStringLiteral("1 pair") : QStringLiteral("%1 pairs").arg(pairs))
                        .arg(QLatin1String(format));
    return warnings;
}

}  // namespace

QStringList writeAnyFont(const QString &path, const GlyphTable &glyphs, const FontExtras &extras)
{
    switch (knownFormat(path)) {
    case FontFormat::Llf: writeFontFile(path, glyphs, extras); return {};
    case FontFormat::Bdf: return withoutKerning(writeBdfFile(path, glyphs, extras.charMap), extras.kerning, "BDF");
    case FontFormat::BmFont: return writeBmFontFile(path, glyphs, extras.charMap, extras.kerning);
    case FontFormat::Psf: return withoutKerning(writePsfFile(path, glyphs, extras.charMap), extras.kerning, "PSF");
    }
    return {};
}

}  // namespace letterloom::font

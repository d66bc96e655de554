#include "font/font_file.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/extension_block.h"
#include "base/file_io.h"

namespace letterloom::font {

namespace {

// Reads the 256 records; in is left just after the last one.
GlyphTable readGlyphs(ByteReader &in)
{
    GlyphTable glyphs;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        tGraphChar &glyph = glyphs[code];
        const std::uint8_t defined = in.u8();
        const std::int32_t width = in.i32();
        const std::int32_t height = in.i32();
        if (width < 0 || height < 0 || width > kMaxGlyphSide || height > kMaxGlyphSide)
            throw Error(QStringLiteral("Invalid glyph size in font file"));
        in.require(qint64(4) * width * height);

        glyph.defined = defined;
        resizeGlyph(glyph, width, height);
        for (auto &column : glyph.pixels)  // none when a side is 0
            for (auto &colour : column)
                colour = in.u32();
        syncImage(glyph);
    }
    return glyphs;
}

}  // namespace

GlyphTable parseFont(const QByteArray &bytes)
{
    ByteReader in(bytes);
    return readGlyphs(in);
}

FontFile parseFontFile(const QByteArray &bytes, const QString &fileName)
{
    ByteReader in(bytes);
    FontFile font;
    font.glyphs = readGlyphs(in);
    const ExtensionBlock block = readExtensionBlock(bytes, in.position());
    if (!block.damage.isEmpty())
        font.notices << extensionDamageNotice(fileName, block.damage);
    ExtensionKeys keys(block.keys);
    font.extras = readFontExtras(keys);
    if (!keys.dropped().isEmpty())
        font.notices << droppedKeysNotice(fileName, keys.dropped());
    return font;
}

QByteArray fontFileBytes(const GlyphTable &glyphs, const FontExtras &extras)
{
    return fontBytes(glyphs) + extensionBlockBytes(fontExtrasKeys(extras));
}

QByteArray fontBytes(const GlyphTable &glyphs)
{
    ByteWriter out;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const tGraphChar &glyph = glyphs[code];
        out.u8(glyph.defined);
        out.i32(glyph.width);
        out.i32(glyph.height);
        for (std::int32_t x = 0; x < glyph.width; ++x)
            for (std::int32_t y = 0; y < glyph.height; ++y)
                out.u32(glyph.pixels[std::size_t(x)][std::size_t(y)]);
    }
    return out.result();
}

GlyphTable readFontFile(const QString &path)
{
    return parseFont(readWholeFile(path, kMaxFontFileSize));
}

FontFile loadFontFile(const QString &path)
{
    return parseFontFile(readWholeFile(path, kMaxFontFileSize), fileNameOf(path));
}

void writeFontFile(const QString &path, const GlyphTable &glyphs, const FontExtras &extras)
{
    const QByteArray bytes = fontFileBytes(glyphs, extras);
    if (bytes.size() > kMaxFontFileSize)
        throw Error(QStringLiteral("The font is too large to be saved"));
    writeWholeFile(path, bytes);
}

}  // namespace letterloom::font

#include "font/font_file.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/extension_block.h"
#include "base/file_io.h"

#include <bit>
#include <cstring>
#include <limits>

namespace letterloom::font {

namespace {

// Colours as stored: little-endian 32-bit values, one after the other.
void loadColours(const char *from, Colour *to, std::size_t count)
{
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(to, from, count * sizeof(Colour));
    } else {
        for (std::size_t i = 0; i < count; ++i, from += 4)
            to[i] = std::uint8_t(from[0]) | Colour(std::uint8_t(from[1])) << 8 | Colour(std::uint8_t(from[2])) << 16
                    | Colour(std::uint8_t(from[3])) << 24;
    }
}

char *storeColours(const Colour *from, std::size_t count, char *to)
{
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(to, from, count * sizeof(Colour));
        return to + count * sizeof(Colour);
    }
    for (std::size_t i = 0; i < count; ++i)
        for (int b = 0; b < 4; ++b)
            *to++ = char((from[i] >> (8 * b)) & 0xFF);
    return to;
}

char *storeI32(std::int32_t value, char *to)
{
    const Colour bits = Colour(value);
    return storeColours(&bits, 1, to);
}

// Reads the 256 records; in is left just after the last one. Each column of
// colours is copied whole from the bytes, and the glyph's image is filled
// row by row from the columns, made once at its size.
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
        const char *colours = in.skip(qint64(4) * width * height);

        glyph.defined = defined;
        if (width == 0 || height == 0) {
            resizeGlyph(glyph, width, height);  // no pixels, an image of its size without any
            continue;
        }
        glyph.width = width;
        glyph.height = height;
        glyph.pixels.resize(std::size_t(width));
        for (auto &column : glyph.pixels) {
            column.resize(std::size_t(height));
            loadColours(colours, column.data(), column.size());
            colours += 4 * qsizetype(height);
        }
        QImage image = raster::allocated(QImage(width, height, QImage::Format_RGB32));
        for (std::int32_t y = 0; y < height; ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (std::int32_t x = 0; x < width; ++x)
                row[x] = raster::toQRgb(glyph.pixels[std::size_t(x)][std::size_t(y)]);
        }
        glyph.image = raster::Raster(image);
    }
    return glyphs;
}

// The bytes of the 256 records followed by tail, made in one buffer of the
// final size. Throws "The font is too large to be saved" beyond limit bytes,
// before anything is allocated.
QByteArray recordBytes(const GlyphTable &glyphs, const QByteArray &tail,
                       qint64 limit = std::numeric_limits<qint64>::max())
{
    const auto colourCount = [](const tGraphChar &glyph) {
        return glyph.width > 0 && glyph.height > 0 ? qint64(glyph.width) * glyph.height : 0;
    };
    qint64 size = tail.size();
    for (int code = 0; code < GlyphTable::kSize; ++code)
        size += 9 + 4 * colourCount(glyphs[code]);
    if (size > limit)
        throw Error(QStringLiteral("The font is too large to be saved"));
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    char *to = bytes.data();
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const tGraphChar &glyph = glyphs[code];
        *to++ = char(glyph.defined);
        to = storeI32(glyph.width, to);
        to = storeI32(glyph.height, to);
        if (colourCount(glyph) == 0)
            continue;
        for (std::int32_t x = 0; x < glyph.width; ++x)
            to = storeColours(glyph.pixels[std::size_t(x)].data(), std::size_t(glyph.height), to);
    }
    std::memcpy(to, tail.constData(), std::size_t(tail.size()));
    return bytes;
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
    return recordBytes(glyphs, extensionBlockBytes(fontExtrasKeys(extras)));
}

QByteArray fontBytes(const GlyphTable &glyphs)
{
    return recordBytes(glyphs, {});
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
    writeWholeFile(path, recordBytes(glyphs, extensionBlockBytes(fontExtrasKeys(extras)), kMaxFontFileSize));
}

}  // namespace letterloom::font

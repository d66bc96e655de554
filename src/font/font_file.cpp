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

// The start of a record: its flag and its size, proven against the file.
// in is left at its colours, which take 4 x width x height bytes.
struct RecordHeader {
    std::uint8_t defined;
    std::int32_t width;
    std::int32_t height;
};

RecordHeader readRecordHeader(ByteReader &in)
{
    RecordHeader header;
    header.defined = in.u8();
    header.width = in.i32();
    header.height = in.i32();
    if (header.width < 0 || header.height < 0 || header.width > kMaxGlyphSide || header.height > kMaxGlyphSide)
        throw Error(QStringLiteral("Invalid glyph size in font file"));
    return header;
}

// Reads the 256 records; in is left just after the last one. Each column of
// colours is copied whole from the bytes, and the glyph's image is filled
// from the columns, made once at its size.
GlyphTable readGlyphs(ByteReader &in)
{
    GlyphTable glyphs;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        tGraphChar &glyph = glyphs[code];
        const auto [defined, width, height] = readRecordHeader(in);
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
        // Column by column, as the colours lie: a glyph's image is small
        // enough to stay in the cache while its rows are written across.
        QImage image = raster::allocated(QImage(width, height, QImage::Format_RGB32));
        uchar *const bits = image.bits();
        const qsizetype stride = image.bytesPerLine();
        for (std::int32_t x = 0; x < width; ++x) {
            const Colour *column = glyph.pixels[std::size_t(x)].data();
            uchar *pixel = bits + 4 * qsizetype(x);
            for (std::int32_t y = 0; y < height; ++y, pixel += stride) {
                const QRgb rgb = raster::toQRgb(column[y]);
                std::memcpy(pixel, &rgb, sizeof rgb);
            }
        }
        glyph.image = raster::Raster(image);
    }
    return glyphs;
}

// Checks the 256 records as readGlyphs reads them, without keeping them;
// in is left just after the last one.
void checkRecords(ByteReader &in)
{
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const RecordHeader header = readRecordHeader(in);
        in.skip(qint64(4) * header.width * header.height);
    }
}

// The extras and notices of the block that starts at offset.
void readExtras(const QByteArray &bytes, qsizetype offset, const QString &fileName, FontExtras &extras,
                QStringList &notices)
{
    const ExtensionBlock block = readExtensionBlock(bytes, offset);
    if (!block.damage.isEmpty())
        notices << extensionDamageNotice(fileName, block.damage);
    ExtensionKeys keys(block.keys);
    extras = readFontExtras(keys);
    if (!keys.dropped().isEmpty())
        notices << droppedKeysNotice(fileName, keys.dropped());
}

[[noreturn]] void throwTooLarge()
{
    throw Error(QStringLiteral("The font is too large to be saved"));
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
        throwTooLarge();
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
    readExtras(bytes, in.position(), fileName, font.extras, font.notices);
    return font;
}

FontRecords parseFontRecords(QByteArray bytes, const QString &fileName)
{
    FontRecords font;
    ByteReader in(bytes);
    checkRecords(in);
    font.recordsSize = in.position();
    readExtras(bytes, font.recordsSize, fileName, font.extras, font.notices);
    font.bytes = std::move(bytes);
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

FontRecords loadFontRecords(const QString &path)
{
    return parseFontRecords(readWholeFile(path, kMaxFontFileSize), fileNameOf(path));
}

QByteArray fontRecordsFileBytes(FontRecords font)
{
    const QByteArray tail = extensionBlockBytes(fontExtrasKeys(font.extras));
    if (qint64(font.recordsSize) + tail.size() > kMaxFontFileSize)
        throwTooLarge();
    // In place: the bytes after the records (the old block, anything behind
    // it) give way to the new block, and the records are never copied while
    // it fits where the file's bytes were.
    QByteArray bytes = std::move(font.bytes);
    bytes.truncate(font.recordsSize);
    bytes.append(tail);
    return bytes;
}

void writeFontRecords(const QString &path, FontRecords font)
{
    writeWholeFile(path, fontRecordsFileBytes(std::move(font)));
}

void writeFontFile(const QString &path, const GlyphTable &glyphs, const FontExtras &extras)
{
    writeWholeFile(path, recordBytes(glyphs, extensionBlockBytes(fontExtrasKeys(extras)), kMaxFontFileSize));
}

}  // namespace letterloom::font

#include "raster/bmp_check.h"

#include "base/error.h"
#include "raster/raster.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace letterloom::raster {

namespace {

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

[[noreturn]] void invalid()
{
    throw Error(QStringLiteral("Bitmap image is not valid"));
}

std::uint32_t u16At(const QByteArray &bytes, qint64 offset)
{
    return std::uint8_t(bytes[offset]) | (std::uint32_t(std::uint8_t(bytes[offset + 1])) << 8);
}

std::uint32_t u32At(const QByteArray &bytes, qint64 offset)
{
    return u16At(bytes, offset) | (u16At(bytes, offset + 2) << 16);
}

// The pixels a run-length picture may leave to colour 0 (skipped by moves and
// early line and picture ends) beyond as many as its stream sets: 1 Mi, or
// 4 MB decoded. Honest encoders set every pixel, so any picture the program
// holds passes; a few bytes that end at once cannot claim millions of pixels.
constexpr qint64 kMaxGapPixels = qint64(1) << 20;

// Walks a run-length encoded pixel stream and fails unless it ends with its
// end-of-picture mark inside the bytes. Returns the pixels it sets (runs and
// literal groups).
qint64 checkRunLengths(const QByteArray &bytes, qint64 position, bool fourBits)
{
    const qint64 size = bytes.size();
    qint64 set = 0;
    while (position + 2 <= size) {
        const int count = std::uint8_t(bytes[position]);
        const int code = std::uint8_t(bytes[position + 1]);
        position += 2;
        if (count > 0) {
            set += count;  // a run of count pixels in one colour
            continue;
        }
        if (code == 0)
            continue;  // end of line
        if (code == 1)
            return set;  // end of picture
        if (code == 2) {
            position += 2;  // a move
            continue;
        }
        // code pixels given literally, padded to a whole 16-bit word
        set += code;
        const qint64 literal = fourBits ? (code + 1) / 2 : code;
        position += (literal + 1) / 2 * 2;
    }
    invalid();
}

// The pictures the program writes itself, and most others: 24 bits a pixel,
// uncompressed, the 40-byte header, no colour table. Their rows are turned
// into the picture directly, as the platform's decoder turns them, without
// going through a device a few bytes at a time.
QImage decodeRgb24(const QByteArray &bytes, qint64 pixelStart, qint64 width, qint64 height)
{
    const qint64 rows = height < 0 ? -height : height;
    const qint64 rowBytes = (width * 24 + 31) / 32 * 4;
    QImage image = newImage(int(width), int(rows), QImage::Format_RGB32);
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData()) + pixelStart;
    uchar *const top = image.bits();
    for (qint64 stored = 0; stored < rows; ++stored) {
        const std::uint8_t *from = data + stored * rowBytes;
        auto *to = reinterpret_cast<QRgb *>(top + (height < 0 ? stored : rows - 1 - stored) * image.bytesPerLine());
        // Four bytes at a time, the fourth (the next pixel's blue) replaced
        // by an opaque alpha; the row's last pixel byte by byte, as the
        // bytes may end right after it.
        for (qint64 x = 0; x + 1 < width; ++x, from += 3) {
            std::uint32_t pixel;
            std::memcpy(&pixel, from, 4);
            to[x] = pixel | 0xFF000000u;
        }
        to[width - 1] = qRgb(from[2], from[1], from[0]);
    }
    image.setDotsPerMeterX(std::int32_t(u32At(bytes, 38)));
    image.setDotsPerMeterY(std::int32_t(u32At(bytes, 42)));
    return image;
}

}  // namespace

void allowLargestPictures()
{
    // The limit is in MiB and the same for every reader of the process.
    static const bool raised = [] {
        QImageReader::setAllocationLimit(int(Raster::kMaxPixels * 8 / (1024 * 1024)));
        return true;
    }();
    (void)raised;
}

QImage loadCheckedBmp(const QByteArray &bytes)
{
    const qint64 size = bytes.size();
    if (size < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        invalid();
    const qint64 dataOffset = u32At(bytes, 10);
    const qint64 headerSize = u32At(bytes, 14);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || headerSize > 4096))
        invalid();
    if (14 + headerSize > size)
        invalid();

    qint64 width, height;
    std::uint32_t bitsPerPixel, compression = kRgb, coloursUsed = 0;
    if (core) {
        width = u16At(bytes, 18);
        height = std::int16_t(u16At(bytes, 20));
        bitsPerPixel = u16At(bytes, 24);
    } else {
        width = std::int32_t(u32At(bytes, 18));
        height = std::int32_t(u32At(bytes, 22));
        bitsPerPixel = u16At(bytes, 28);
        compression = u32At(bytes, 30);
        coloursUsed = u32At(bytes, 46);
    }
    const qint64 rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0 || !Raster::sizeAllowed(width, rows))
        invalid();

    switch (bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: invalid();
    }
    const bool runLengths = compression == kRle8 || compression == kRle4;
    if (compression == kRle8 && bitsPerPixel != 8)
        invalid();
    if (compression == kRle4 && bitsPerPixel != 4)
        invalid();
    if (compression == kBitfields && bitsPerPixel != 16 && bitsPerPixel != 32)
        invalid();
    if (compression > kBitfields)
        invalid();
    if (runLengths && height < 0)
        invalid();  // run-length pictures are stored bottom-up only

    // Headers, colour masks and colour table must all be there.
    qint64 tables = 14 + headerSize;
    if (compression == kBitfields && headerSize == 40)
        tables += 12;
    if (bitsPerPixel <= 8) {
        const qint64 maxColours = qint64(1) << bitsPerPixel;
        if (coloursUsed > maxColours)
            invalid();
        const qint64 colours = coloursUsed ? coloursUsed : maxColours;
        tables += colours * (core ? 3 : 4);
    }
    if (tables > size)
        invalid();
    const qint64 pixelStart = dataOffset ? dataOffset : tables;
    if (pixelStart < 14 + headerSize || pixelStart > size)
        invalid();

    if (runLengths) {
        const qint64 set = std::min(checkRunLengths(bytes, pixelStart, compression == kRle4), width * rows);
        if (width * rows - set > std::max(kMaxGapPixels, set))
            invalid();
    } else {
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        if (rowBytes * rows > size - pixelStart)
            invalid();
    }

    if (headerSize == 40 && bitsPerPixel == 24 && compression == kRgb && coloursUsed == 0 && u16At(bytes, 26) == 1)
        return decodeRgb24(bytes, pixelStart, width, height);

    allowLargestPictures();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // The decoder writes only the pixels a run-length stream names: those it
    // skips (moves, early line and picture ends) would keep whatever the
    // memory held. So it decodes into a picture already cleared to colour 0,
    // which it reuses since size and format match.
    QImage image;
    if (runLengths) {
        image = allocated(QImage(int(width), int(rows), QImage::Format_Indexed8));
        image.fill(0);
    }
    if (!reader.read(&image)) {
        // The headers add up, so a picture that cannot be read is most likely
        // one that cannot be held.
        allocated(QImage(int(width), int(rows), QImage::Format_ARGB32));
        invalid();
    }
    if (image.width() != width || image.height() != rows)
        invalid();
    return image;
}

}  // namespace letterloom::raster

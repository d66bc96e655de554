#include "raster/png_image.h"

#include "base/error.h"
#include "raster/bmp_check.h"
#include "raster/raster.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace letterloom::raster {

namespace {

[[noreturn]] void invalid()
{
    throw Error(QStringLiteral("PNG image is not valid"));
}

quint32 bigEndian32(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

}  // namespace

// Walks the chunks and returns the picture size of the header chunk.
QSize pngSize(const QByteArray &bytes)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (!bytes.startsWith(signature))
        invalid();
    QSize size;
    for (qsizetype at = signature.size();;) {
        constexpr qsizetype kFrame = 12;  // length, type, checksum
        if (bytes.size() - at < kFrame)
            invalid();
        const quint32 length = bigEndian32(bytes, at);
        if (length > quint64(bytes.size() - at - kFrame))
            invalid();
        const QByteArray type = bytes.mid(at + 4, 4);
        if (size.isEmpty() != (type == "IHDR"))
            invalid();  // the header comes first, and only once
        if (type == "IHDR") {
            if (length != 13)
                invalid();
            const quint32 width = bigEndian32(bytes, at + 8);
            const quint32 height = bigEndian32(bytes, at + 12);
            if (width == 0 || height == 0 || !Raster::sizeAllowed(width, height))
                invalid();
            size = QSize(int(width), int(height));
        }
        if (type == "IEND")
            return size;
        at += kFrame + length;
    }
}

QImage decodePng(const QByteArray &bytes)
{
    const QSize size = pngSize(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    allowLargestPictures();
    const QImage image = reader.read();
    if (image.isNull()) {
        // The chunks add up, so a picture that cannot be read is most likely
        // one that cannot be held.
        allocated(QImage(size, QImage::Format_ARGB32));
        invalid();
    }
    if (image.size() != size)
        invalid();
    return allocated(image.convertToFormat(QImage::Format_ARGB32));
}

QByteArray encodePng(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        throw Error(QStringLiteral("Cannot write the picture as a PNG file"));
    return bytes;
}

}  // namespace letterloom::raster

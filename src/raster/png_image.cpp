#include "raster/png_image.h"

#include "base/error.h"
#include "raster/bmp_check.h"
#include "raster/raster.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

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

// One decoding by the PNG library, which reports through callbacks: an error
// ends the decoding, warnings are dropped. Its own printing (which would put
// its lines on stderr ahead of the program's message) never happens.
struct QuietDecoding {
    const QByteArray &bytes;
    std::size_t at = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_byte> row;

    explicit QuietDecoding(const QByteArray &source) : bytes(source) {}
    ~QuietDecoding() { png_destroy_read_struct(&png, &info, nullptr); }
};

void readFromBytes(png_structp png, png_bytep out, std::size_t count)
{
    auto *decoding = static_cast<QuietDecoding *>(png_get_io_ptr(png));
    if (count > std::size_t(decoding->bytes.size()) - decoding->at)
        png_error(png, "the file ends early");
    std::memcpy(out, decoding->bytes.constData() + decoding->at, count);
    decoding->at += count;
}

void failQuietly(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// True when every row and every chunk of the bytes decodes without an error.
// The platform's decoder, which prints the library's errors itself, is only
// handed bytes that pass.
bool decodesCleanly(const QByteArray &bytes)
{
    QuietDecoding decoding(bytes);
    decoding.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreWarning);
    if (!decoding.png)
        throw std::bad_alloc();
    decoding.info = png_create_info_struct(decoding.png);
    if (!decoding.info)
        throw std::bad_alloc();
    png_set_read_fn(decoding.png, &decoding, readFromBytes);
    if (setjmp(png_jmpbuf(decoding.png)))
        return false;
    png_read_info(decoding.png, decoding.info);
    const int passes = png_set_interlace_handling(decoding.png);
    png_read_update_info(decoding.png, decoding.info);
    decoding.row.resize(png_get_rowbytes(decoding.png, decoding.info));
    const png_uint_32 rows = png_get_image_height(decoding.png, decoding.info);
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < rows; ++y)
            png_read_row(decoding.png, decoding.row.data(), nullptr);
    png_read_end(decoding.png, nullptr);
    return true;
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
    if (!decodesCleanly(bytes))
        invalid();
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

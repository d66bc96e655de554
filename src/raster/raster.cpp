#include "raster/raster.h"

#include "base/error.h"
#include "base/file_io.h"
#include "base/large_pages.h"
#include "raster/bmp_check.h"
#include "raster/png_image.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace letterloom::raster {

namespace {

QImage blankImage(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage image = newImage(width, height, QImage::Format_RGB32);
    image.fill(toQRgb(kWhite));
    return image;
}

QFont drawingFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The part of a source of size (w, h) placed at (x, y) that lands inside a
// target of size (tw, th), as source and target start columns and rows and a size.
struct Clip {
    int sx = 0, sy = 0, tx = 0, ty = 0, w = 0, h = 0;
};

Clip clip(qint64 x, qint64 y, int w, int h, int tw, int th)
{
    const qint64 left = std::max<qint64>(x, 0);
    const qint64 top = std::max<qint64>(y, 0);
    const qint64 right = std::min<qint64>(x + w, tw);
    const qint64 bottom = std::min<qint64>(y + h, th);
    if (left >= right || top >= bottom)
        return {};
    return {int(left - x), int(top - y), int(left), int(top), int(right - left), int(bottom - top)};
}

}  // namespace

QImage allocated(QImage image)
{
    if (image.isNull())
        throw std::bad_alloc();
    return image;
}

QImage newImage(int width, int height, QImage::Format format)
{
    const qsizetype bytesPerLine = (qsizetype(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    const std::size_t size = std::size_t(std::max<qsizetype>(bytesPerLine, 0)) * std::size_t(std::max(height, 0));
    if (width <= 0 || height <= 0 || size < kLargePage)
        return allocated(QImage(width, height, format));
    void *pixels = allocateLargeBuffer(size);
    if (!pixels)
        throw std::bad_alloc();
    return allocated(
        QImage(static_cast<uchar *>(pixels), width, height, bytesPerLine, format, releaseLargeBuffer, pixels));
}

Raster::Raster(int width, int height)
{
    setSize(width, height);
}

Raster::Raster(const QImage &image)
    : width_(image.width()), height_(image.height()),
      image_(image.isNull() ? QImage() : allocated(image.convertToFormat(QImage::Format_RGB32)))
{
}

bool Raster::sizeAllowed(qint64 width, qint64 height)
{
    width = std::max<qint64>(width, 0);
    height = std::max<qint64>(height, 0);
    return width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

void Raster::setSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    if (!sizeAllowed(width, height))
        throw Error(QStringLiteral("A picture of %1 x %2 pixels is too large").arg(width).arg(height));
    QImage resized = blankImage(width, height);
    if (!resized.isNull() && !image_.isNull()) {
        const int w = std::min(width, width_);
        const int h = std::min(height, height_);
        for (int y = 0; y < h; ++y)
            std::copy_n(reinterpret_cast<const QRgb *>(image_.constScanLine(y)), w,
                        reinterpret_cast<QRgb *>(resized.scanLine(y)));
    }
    image_ = std::move(resized);
    width_ = width;
    height_ = height;
}

Colour Raster::pixel(qint64 x, qint64 y) const
{
    if (!contains(x, y))
        return kWhite;
    return fromQRgb(reinterpret_cast<const QRgb *>(image_.constScanLine(int(y)))[x]);
}

void Raster::setPixel(qint64 x, qint64 y, Colour colour)
{
    if (contains(x, y))
        reinterpret_cast<QRgb *>(image_.scanLine(int(y)))[x] = toQRgb(colour);
}

void Raster::resetResolution()
{
    if (image_.isNull())
        return;
    const QImage fresh(1, 1, QImage::Format_RGB32);
    image_.setDotsPerMeterX(fresh.dotsPerMeterX());
    image_.setDotsPerMeterY(fresh.dotsPerMeterY());
}

void Raster::fill(Colour colour)
{
    if (!image_.isNull())
        image_.fill(toQRgb(colour));
}

void Raster::fillRect(qint64 x1, qint64 y1, qint64 x2, qint64 y2, Colour colour)
{
    if (x2 <= x1 || y2 <= y1)
        return;
    const qint64 left = std::max<qint64>(x1, 0), top = std::max<qint64>(y1, 0);
    const qint64 right = std::min<qint64>(x2, width_), bottom = std::min<qint64>(y2, height_);
    if (left >= right || top >= bottom)
        return;
    const QRgb value = toQRgb(colour);
    // One detach for the whole rectangle: the glyph editor fills thousands of
    // small squares on every tick, and a detach per row would dominate.
    QRgb *first = reinterpret_cast<QRgb *>(image_.scanLine(int(top)));
    const qsizetype stride = image_.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (qint64 row = 0; row < bottom - top; ++row) {
        QRgb *line = first + row * stride;
        std::fill(line + left, line + right, value);
    }
}

void Raster::drawOutline(qint64 x1, qint64 y1, qint64 x2, qint64 y2, Colour colour)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (x2 <= x1 || y2 <= y1)
        return;
    fillRect(x1, y1, x2, y1 + 1, colour);
    fillRect(x1, y2 - 1, x2, y2, colour);
    fillRect(x1, y1, x1 + 1, y2, colour);
    fillRect(x2 - 1, y1, x2, y2, colour);
}

void Raster::drawRectangle(qint64 x1, qint64 y1, qint64 x2, qint64 y2, Colour pen, Colour brush)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    fillRect(x1 + 1, y1 + 1, x2 - 1, y2 - 1, brush);
    drawOutline(x1, y1, x2, y2, pen);
}

void Raster::drawLine(qint64 xa, qint64 ya, qint64 xb, qint64 yb, Colour colour)
{
    // Straight lines, the only ones the program draws, are filled spans.
    if (xa == xb) {
        if (ya < yb)
            fillRect(xa, ya, xa + 1, yb, colour);
        else if (yb < ya)
            fillRect(xa, yb + 1, xa + 1, ya + 1, colour);
        return;
    }
    if (ya == yb) {
        if (xa < xb)
            fillRect(xa, ya, xb, ya + 1, colour);
        else
            fillRect(xb + 1, ya, xa + 1, ya + 1, colour);
        return;
    }
    // Any other line: Bresenham from (xa, ya), stopping before (xb, yb).
    const qint64 dx = std::llabs(xb - xa), dy = -std::llabs(yb - ya);
    const qint64 stepX = xa < xb ? 1 : -1, stepY = ya < yb ? 1 : -1;
    qint64 error = dx + dy;
    qint64 x = xa, y = ya;
    while (x != xb || y != yb) {
        setPixel(x, y, colour);
        const qint64 twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void Raster::drawText(int x, int y, const QString &text, Colour colour)
{
    if (image_.isNull() || text.isEmpty())
        return;
    QPainter painter(&image_);
    painter.setFont(drawingFont());
    painter.setPen(QColor::fromRgb(toQRgb(colour)));
    const QFontMetrics metrics(painter.font());
    painter.drawText(x, y + metrics.ascent(), text);
}

QSize Raster::measureText(const QString &text)
{
    const QFontMetrics metrics(drawingFont());
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void Raster::drawOpaque(const Raster &source, qint64 x, qint64 y)
{
    const Clip c = clip(x, y, source.width_, source.height_, width_, height_);
    if (source.image_.isNull())
        return;
    for (int row = 0; row < c.h; ++row) {
        const QRgb *from = reinterpret_cast<const QRgb *>(source.image_.constScanLine(c.sy + row)) + c.sx;
        std::copy_n(from, c.w, reinterpret_cast<QRgb *>(image_.scanLine(c.ty + row)) + c.tx);
    }
}

void Raster::drawLeavingOut(const Raster &source, qint64 x, qint64 y, Colour leftOut)
{
    const Clip c = clip(x, y, source.width_, source.height_, width_, height_);
    if (source.image_.isNull())
        return;
    const QRgb key = toQRgb(leftOut);
    for (int row = 0; row < c.h; ++row) {
        const QRgb *from = reinterpret_cast<const QRgb *>(source.image_.constScanLine(c.sy + row)) + c.sx;
        QRgb *to = reinterpret_cast<QRgb *>(image_.scanLine(c.ty + row)) + c.tx;
        for (int column = 0; column < c.w; ++column)
            if (from[column] != key)
                to[column] = from[column];
    }
}

void Raster::drawTintedWithin(const Raster &source, qint64 x, qint64 y, Colour colour, qint64 x1, qint64 y1,
                              qint64 x2, qint64 y2)
{
    // The source as far as it lies in both this raster and the rectangle.
    const qint64 left = std::max<qint64>(x, x1), top = std::max<qint64>(y, y1);
    const qint64 right = std::min<qint64>(x + source.width_, x2), bottom = std::min<qint64>(y + source.height_, y2);
    if (source.image_.isNull() || left >= right || top >= bottom)
        return;
    Clip c = clip(left, top, int(right - left), int(bottom - top), width_, height_);
    c.sx += int(left - x);
    c.sy += int(top - y);
    const bool tint = colour != kBlack;
    const QRgb tinted = toQRgb(colour), white = toQRgb(kWhite);
    // Glyphs are small and many: the rows are found from the first one, not
    // asked of the image one by one.
    const qsizetype fromStride = source.image_.bytesPerLine() / qsizetype(sizeof(QRgb));
    const qsizetype toStride = image_.bytesPerLine() / qsizetype(sizeof(QRgb));
    const QRgb *from = reinterpret_cast<const QRgb *>(source.image_.constBits()) + c.sy * fromStride + c.sx;
    QRgb *to = reinterpret_cast<QRgb *>(image_.bits()) + c.ty * toStride + c.tx;
    for (int row = 0; row < c.h; ++row, from += fromStride, to += toStride) {
        for (int column = 0; column < c.w; ++column) {
            QRgb pixel = from[column];
            if (tint && (pixel & 0xFFFFFFu) == 0)
                pixel = tinted;
            if (pixel != white)
                to[column] = pixel;
        }
    }
}

void Raster::drawOpaqueLeavingOutWithin(const Raster &source, qint64 x, qint64 y, Colour leftOut, qint64 x1,
                                        qint64 y1, qint64 x2, qint64 y2)
{
    const Clip c = clip(x, y, source.width_, source.height_, width_, height_);
    if (source.image_.isNull())
        return;
    const QRgb key = toQRgb(leftOut);
    for (int row = 0; row < c.h; ++row) {
        const QRgb *from = reinterpret_cast<const QRgb *>(source.image_.constScanLine(c.sy + row)) + c.sx;
        QRgb *to = reinterpret_cast<QRgb *>(image_.scanLine(c.ty + row)) + c.tx;
        const qint64 atY = c.ty + row;
        const bool rowWithin = atY >= y1 && atY < y2;
        for (int column = 0; column < c.w; ++column) {
            const qint64 atX = c.tx + column;
            if (!rowWithin || atX < x1 || atX >= x2 || from[column] != key)
                to[column] = from[column];
        }
    }
}

void Raster::drawZoomed(const Raster &source, qint64 originX, qint64 originY, int zoom)
{
    if (image_.isNull())
        return;
    zoom = std::max(zoom, 1);
    const QRgb white = toQRgb(kWhite);
    // The source column or row shown at a point of the enlarged source, -1
    // where there is none.
    const auto sourceIndex = [zoom](qint64 at, int size) {
        return at < 0 || at / zoom >= size ? -1 : int(at / zoom);
    };
    std::vector<int> columns(static_cast<size_t>(width_));
    for (int x = 0; x < width_; ++x)
        columns[size_t(x)] = sourceIndex(originX + x, source.width_);
    int previousRow = -2;
    for (int y = 0; y < height_; ++y) {
        QRgb *to = reinterpret_cast<QRgb *>(image_.scanLine(y));
        const int row = sourceIndex(originY + y, source.height_);
        // A row repeats the one above it while both show the same source row.
        if (row == previousRow) {
            std::copy_n(reinterpret_cast<const QRgb *>(image_.constScanLine(y - 1)), width_, to);
            continue;
        }
        previousRow = row;
        if (row < 0 || source.image_.isNull()) {
            std::fill_n(to, width_, white);
            continue;
        }
        const QRgb *from = reinterpret_cast<const QRgb *>(source.image_.constScanLine(row));
        for (int x = 0; x < width_; ++x)
            to[x] = columns[size_t(x)] < 0 ? white : from[columns[size_t(x)]];
    }
}

namespace {

// BMP files of 24 bits a pixel, bottom row first, each row padded to whole
// 32-bit words: the header fields are those the platform's writer gives.
constexpr qint64 kBmpHeaderBytes = 14 + 40;

qint64 bmpRowBytes(int width)
{
    return (qint64(width) * 24 + 31) / 32 * 4;
}

// The header of a BMP file of the raster, with the raster's resolution.
void putBmpHeader(std::uint8_t *to, int width, int height, const QImage &image)
{
    const qint64 pixelBytes = bmpRowBytes(width) * height;
    const auto put = [&to](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            *to++ = std::uint8_t(value >> (8 * i));
    };
    put('B' | 'M' << 8, 2);
    put(std::uint32_t(kBmpHeaderBytes + pixelBytes), 4);
    put(0, 4);
    put(kBmpHeaderBytes, 4);
    put(40, 4);
    put(std::uint32_t(width), 4);
    put(std::uint32_t(height), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(std::uint32_t(pixelBytes), 4);
    put(std::uint32_t(image.dotsPerMeterX() ? image.dotsPerMeterX() : 2834), 4);
    put(std::uint32_t(image.dotsPerMeterY() ? image.dotsPerMeterY() : 2834), 4);
    put(0, 4);
    put(0, 4);
}

// One row as stored: blue, green, red for each pixel, then zeros to the
// row's end. Each pixel is stored as 4 bytes whose last one the next pixel
// overwrites; the row's last pixel is stored byte by byte, so that nothing
// is written past the row.
void putBmpRow(std::uint8_t *to, const QRgb *from, int width, qint64 rowBytes)
{
    std::uint8_t *end = to + rowBytes;
    for (int x = 0; x + 1 < width; ++x, to += 3) {
        const std::uint32_t pixel = from[x];
        std::memcpy(to, &pixel, 4);
    }
    to[0] = std::uint8_t(qBlue(from[width - 1]));
    to[1] = std::uint8_t(qGreen(from[width - 1]));
    to[2] = std::uint8_t(qRed(from[width - 1]));
    std::fill(to + 3, end, std::uint8_t(0));
}

}  // namespace

QByteArray Raster::toBmp() const
{
    if (image_.isNull())
        return {};
    // Made in one buffer of the file's size, straight from the rows.
    const qint64 rowBytes = bmpRowBytes(width_);
    QByteArray bytes(qsizetype(kBmpHeaderBytes + rowBytes * height_), Qt::Uninitialized);
    preferLargePages(bytes.data(), std::size_t(bytes.size()));
    auto *to = reinterpret_cast<std::uint8_t *>(bytes.data());
    putBmpHeader(to, width_, height_, image_);
    to += kBmpHeaderBytes;
    for (int y = height_ - 1; y >= 0; --y, to += rowBytes)
        putBmpRow(to, constScanLine(y), width_, rowBytes);
    return bytes;
}

void Raster::writeBmpPieces(const WritePiece &write) const
{
    if (image_.isNull())
        return;
    // As many rows at a time as fill a piece small enough to stay in the
    // processor's cache between being made and being written.
    constexpr qint64 kPieceBytes = 64 * 1024;
    const qint64 rowBytes = bmpRowBytes(width_);
    const qint64 rowsAtOnce = std::max<qint64>(1, kPieceBytes / rowBytes);
    QByteArray piece(qsizetype(std::max(rowBytes * std::min<qint64>(rowsAtOnce, height_), kBmpHeaderBytes)),
                     Qt::Uninitialized);
    auto *const start = reinterpret_cast<std::uint8_t *>(piece.data());
    putBmpHeader(start, width_, height_, image_);
    write(QByteArrayView(start, kBmpHeaderBytes));
    for (int y = height_ - 1; y >= 0;) {
        std::uint8_t *to = start;
        for (qint64 row = 0; row < rowsAtOnce && y >= 0; ++row, --y, to += rowBytes)
            putBmpRow(to, constScanLine(y), width_, rowBytes);
        write(QByteArrayView(start, to - start));
    }
}

Raster Raster::fromBmp(const QByteArray &bytes)
{
    return Raster(loadCheckedBmp(bytes));
}

namespace {

void refuseEmpty(const Raster &picture)
{
    if (picture.isEmpty())
        throw Error(QStringLiteral("An empty picture cannot be written"));
}

}  // namespace

QByteArray Raster::bmpFileBytes() const
{
    refuseEmpty(*this);
    return toBmp();
}

void Raster::writeBmpFile(const QString &path) const
{
    refuseEmpty(*this);
    writeWholeFileInPieces(path, [this](const WritePiece &write) { writeBmpPieces(write); });
}

Raster Raster::readBmpFile(const QString &path)
{
    return fromBmp(readWholeFile(path));
}

QByteArray Raster::toPng() const
{
    if (image_.isNull())
        return {};
    return encodePng(image_);
}

Raster Raster::fromPng(const QByteArray &bytes)
{
    const QImage decoded = decodePng(bytes);
    QImage flat = allocated(QImage(decoded.size(), QImage::Format_RGB32));
    flat.fill(toQRgb(kWhite));
    QPainter painter(&flat);
    painter.drawImage(0, 0, decoded);
    painter.end();
    return Raster(flat);
}

bool Raster::isPngPath(const QString &path)
{
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

Raster::PictureKind Raster::writableKindOf(const QString &path)
{
    const QString extension = QFileInfo(path).suffix();
    if (extension.compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0)
        return PictureKind::Png;
    if (extension.isEmpty() || extension.compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0)
        return PictureKind::Bmp;
    throw Error(QStringLiteral("A picture cannot be written as a .%1 file, so \"%2\" was not written: "
                               "choose a name ending in .bmp (BMP) or .png (PNG).")
                    .arg(extension, QFileInfo(path).fileName()));
}

void Raster::writePictureFile(const QString &path) const
{
    if (writableKindOf(path) == PictureKind::Bmp)
        return writeBmpFile(path);
    refuseEmpty(*this);
    writeWholeFile(path, toPng());
}

Raster Raster::readPictureFile(const QString &path)
{
    return isPngPath(path) ? fromPng(readWholeFile(path)) : readBmpFile(path);
}

bool Raster::operator==(const Raster &other) const
{
    return width_ == other.width_ && height_ == other.height_ && image_ == other.image_;
}

}  // namespace letterloom::raster

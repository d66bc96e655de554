#pragma once

#include "base/file_io.h"
#include "raster/colour.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace letterloom::raster {

// The image itself; throws std::bad_alloc ("Out of memory") when it is null
// although made from something: the platform's pictures report a failed
// allocation that way, never with an exception.
QImage allocated(QImage image);

// A new image of this size and format with its pixels uninitialised; a large
// one begins on a large page (see base/large_pages.h). Throws std::bad_alloc
// when the memory is not there.
QImage newImage(int width, int height, QImage::Format format);

// A width x height image of Colours, (0, 0) at the top-left. Every drawing
// operation clips to the raster, and all coordinate arithmetic is done in 64
// bits, so positions taken from a file can be anything.
//
// A raster keeps its size even when one side is 0 (a 3 x 0 glyph image is 3
// wide); it holds pixels only when both sides are at least 1.
class Raster {
public:
    // The largest raster the program makes: 32767 pixels a side (the limit of
    // the platform's painter) and 64 Mi pixels (256 MiB) in all.
    static constexpr int kMaxSide = 32767;
    static constexpr qint64 kMaxPixels = qint64(1) << 26;

    Raster() = default;
    Raster(int width, int height);  // white
    explicit Raster(const QImage &image);

    // True when a raster of this size can be made; negative sides count as 0.
    static bool sizeAllowed(qint64 width, qint64 height);

    int width() const { return width_; }
    int height() const { return height_; }
    QSize size() const { return {width_, height_}; }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }

    // Resizing keeps the pixels where the old and the new sizes overlap and
    // makes the rest white. Negative sizes count as 0; a size beyond the limits
    // above throws.
    void setWidth(int width) { setSize(width, height_); }
    void setHeight(int height) { setSize(width_, height); }
    void setSize(int width, int height);

    bool contains(qint64 x, qint64 y) const
    {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    // A pixel outside the raster reads as white.
    Colour pixel(qint64 x, qint64 y) const;
    void setPixel(qint64 x, qint64 y, Colour colour);

    // Gives the raster the resolution that a new raster has (the platform's
    // default), which its BMP file records: a picture drawn onto as the view
    // of an export is written as that view would be.
    void resetResolution();

    void fill(Colour colour);
    // Fills columns x1 .. x2 - 1 and rows y1 .. y2 - 1; nothing when empty.
    void fillRect(qint64 x1, qint64 y1, qint64 x2, qint64 y2, Colour colour);
    // A one-pixel outline of the rectangle between the corners (x1, y1) and
    // (x2, y2), right and bottom edges excluded; corners in either order.
    void drawOutline(qint64 x1, qint64 y1, qint64 x2, qint64 y2, Colour colour);
    // An outline in pen colour with the inside filled with brush colour.
    void drawRectangle(qint64 x1, qint64 y1, qint64 x2, qint64 y2, Colour pen, Colour brush);
    // A one-pixel line that leaves out its end point.
    void drawLine(qint64 xa, qint64 ya, qint64 xb, qint64 yb, Colour colour);

    // Text in the drawing font, its top-left corner at (x, y), on a
    // transparent background, without smoothing (every drawn pixel has colour).
    void drawText(int x, int y, const QString &text, Colour colour);
    static QSize measureText(const QString &text);

    // Draws source with its top-left corner at (x, y): every pixel replaces the
    // one below, white included.
    void drawOpaque(const Raster &source, qint64 x, qint64 y);
    // The same, leaving out the source pixels of one colour.
    void drawLeavingOut(const Raster &source, qint64 x, qint64 y, Colour leftOut);
    // drawOpaque, except that inside the columns x1 .. x2 - 1 and rows
    // y1 .. y2 - 1 of this raster the source pixels of colour leftOut are left
    // out, as drawLeavingOut leaves them.
    void drawOpaqueLeavingOutWithin(const Raster &source, qint64 x, qint64 y, Colour leftOut, qint64 x1, qint64 y1,
                                    qint64 x2, qint64 y2);
    // Draws source at (x, y) inside the columns x1 .. x2 - 1 and rows
    // y1 .. y2 - 1 only, its black pixels in colour and leaving out the
    // pixels that are then white: a text drawn in black, tinted, and laid on
    // the raster without its white background.
    void drawTintedWithin(const Raster &source, qint64 x, qint64 y, Colour colour, qint64 x1, qint64 y1, qint64 x2,
                          qint64 y2);
    // Fills the whole raster with a part of source enlarged zoom times
    // (nearest neighbour, zoom at least 1): pixel (x, y) shows source pixel
    // ((originX + x) div zoom, (originY + y) div zoom), white where that lies
    // outside source (or left of or above it).
    void drawZoomed(const Raster &source, qint64 originX, qint64 originY, int zoom);

    // The pixels as an image in Format_RGB32 (a null image when empty).
    const QImage &image() const { return image_; }
    // Row y (0 <= y < height) as QRgb values, for the algorithms that work on
    // whole rows.
    QRgb *scanLine(int y) { return reinterpret_cast<QRgb *>(image_.scanLine(y)); }
    const QRgb *constScanLine(int y) const { return reinterpret_cast<const QRgb *>(image_.constScanLine(y)); }

    // Windows BMP bytes of the raster (24 bits per pixel); empty for an empty raster.
    QByteArray toBmp() const;
    // The same bytes handed to write a piece at a time (nothing for an
    // empty raster), without a buffer of the file's size.
    void writeBmpPieces(const WritePiece &write) const;
    // Reads BMP bytes; throws "Bitmap image is not valid" for anything that is
    // not a complete, sensible BMP file.
    static Raster fromBmp(const QByteArray &bytes);

    // The bytes of a BMP file of the raster, as writeBmpFile writes them;
    // throws "An empty picture cannot be written" for an empty raster.
    QByteArray bmpFileBytes() const;
    void writeBmpFile(const QString &path) const;
    static Raster readBmpFile(const QString &path);

    // PNG bytes of the raster, and a raster of checked PNG bytes with any
    // transparency laid over white. Throws "PNG image is not valid".
    QByteArray toPng() const;
    static Raster fromPng(const QByteArray &bytes);

    // Pictures as files of either kind, told apart by the name's extension:
    // ".png" (in any case) is PNG, anything else BMP.
    static bool isPngPath(const QString &path);
    // The kind a picture is written as: PNG for ".png", BMP for ".bmp" or a
    // name without an extension (case ignored). Any other extension names a
    // kind the program cannot write, which throws a message that says so.
    enum class PictureKind { Bmp, Png };
    static PictureKind writableKindOf(const QString &path);
    // Writes the picture in the kind its name asks for (writableKindOf).
    void writePictureFile(const QString &path) const;
    static Raster readPictureFile(const QString &path);

    bool operator==(const Raster &other) const;

private:
    int width_ = 0;
    int height_ = 0;
    QImage image_;
};

}  // namespace letterloom::raster

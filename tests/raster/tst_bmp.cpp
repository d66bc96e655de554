#include "raster/raster.h"

#include "base/byte_reader.h"
#include "base/error.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <functional>

using namespace letterloom;
using namespace letterloom::raster;

namespace {

// The colours of the 5 x 3 test picture, as 0x00BBGGRR.
Colour expectedColour(int x, int y, int bitsPerPixel)
{
    static const Colour palette[4] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00};
    if (bitsPerPixel == 1)
        return palette[(x + y) % 2];
    if (bitsPerPixel <= 8)
        return palette[(x + 2 * y) % 4];
    if (bitsPerPixel == 16)
        return rgb(x * 8 * 6, y * 8 * 10, 248);  // 5 bits a channel
    return rgb(x * 50, y * 100, 7 + x + y);
}

// A BMP file of the 5 x 3 test picture in the given variant, written the way
// other tools write them.
QByteArray makeBmp(int bitsPerPixel, bool topDown = false, int headerSize = 40)
{
    const int width = 5, height = 3;
    const int paletteSize = bitsPerPixel <= 8 ? (1 << bitsPerPixel) : 0;
    const int entry = headerSize == 12 ? 3 : 4;
    const int rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    const int offset = 14 + headerSize + paletteSize * entry;

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(offset + rowBytes * height);
    out.u32(0);
    out.u32(offset);
    out.u32(headerSize);
    if (headerSize == 12) {
        out.u8(width); out.u8(0);
        out.u8(height); out.u8(0);
        out.u8(1); out.u8(0);
        out.u8(bitsPerPixel); out.u8(0);
    } else {
        out.i32(width);
        out.i32(topDown ? -height : height);
        out.u8(1); out.u8(0);
        out.u8(bitsPerPixel); out.u8(0);
        out.u32(0);  // no compression
        out.u32(rowBytes * height);
        out.u32(2835);
        out.u32(2835);
        out.u32(0);
        out.u32(0);
        for (int i = 40; i < headerSize; ++i)
            out.u8(0);
    }
    for (int i = 0; i < paletteSize; ++i) {
        const Colour c = expectedColour(i % 2, (i / 2) % 2, 8) ;
        const Colour pal[4] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00};
        const Colour p = i < 4 ? pal[i] : c;
        out.u8((p >> 16) & 0xFF);  // blue, green, red
        out.u8((p >> 8) & 0xFF);
        out.u8(p & 0xFF);
        if (entry == 4)
            out.u8(0);
    }
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        QByteArray line(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const Colour c = expectedColour(x, y, bitsPerPixel);
            const int index = bitsPerPixel == 1 ? (x + y) % 2 : (x + 2 * y) % 4;
            switch (bitsPerPixel) {
            case 1: line[x / 8] = char(line[x / 8] | (index << (7 - x % 8))); break;
            case 4: line[x / 2] = char(line[x / 2] | (index << (x % 2 ? 0 : 4))); break;
            case 8: line[x] = char(index); break;
            case 16: {
                const int v = ((c & 0xFF) >> 3 << 10) | (((c >> 8) & 0xFF) >> 3 << 5) | (((c >> 16) & 0xFF) >> 3);
                line[2 * x] = char(v & 0xFF);
                line[2 * x + 1] = char(v >> 8);
                break;
            }
            default:
                line[x * (bitsPerPixel / 8)] = char((c >> 16) & 0xFF);
                line[x * (bitsPerPixel / 8) + 1] = char((c >> 8) & 0xFF);
                line[x * (bitsPerPixel / 8) + 2] = char(c & 0xFF);
            }
        }
        out.bytes(line);
    }
    return out.result();
}

void expectInvalid(const QByteArray &bytes)
{
    try {
        Raster::fromBmp(bytes);
        QFAIL("the picture was accepted");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QStringLiteral("Bitmap image is not valid"));
    }
}

void putU32(QByteArray &bytes, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}


// A 24-bit BMP file of width x height pixels of varied colours, with its
// header fields given: rows top-down when topDown, a header of headerSize
// bytes, `colours` table entries announced and stored, `gap` bytes between
// the tables and the pixels, and the row padding filled with 0xA5.
struct Bmp24 {
    int width = 1, height = 1;
    bool topDown = false;
    std::int32_t dpmX = 2835, dpmY = 2835;
    int headerSize = 40;
    int colours = 0;
    int planes = 1;
    int gap = 0;

    QByteArray bytes() const
    {
        const int rowBytes = (width * 24 + 31) / 32 * 4;
        const int offset = 14 + headerSize + colours * 4 + gap;
        ByteWriter out;
        out.u8('B'); out.u8('M');
        out.u32(offset + rowBytes * height); out.u32(0); out.u32(offset);
        out.u32(headerSize); out.i32(width); out.i32(topDown ? -height : height);
        out.u8(planes); out.u8(0); out.u8(24); out.u8(0);
        out.u32(0); out.u32(rowBytes * height); out.i32(dpmX); out.i32(dpmY);
        out.u32(colours); out.u32(0);
        for (int i = 40; i < headerSize; ++i)
            out.u8(0);
        for (int i = 0; i < colours * 4 + gap; ++i)
            out.u8(0x11 * (i % 7));
        std::uint32_t seed = std::uint32_t(width * 7919 + height);
        for (int row = 0; row < height; ++row) {
            QByteArray line(rowBytes, char(0xA5));
            for (int x = 0; x < width * 3; ++x, seed = seed * 1103515245u + 12345u)
                line[x] = char(seed >> 16);
            out.bytes(line);
        }
        return out.result();
    }
};

// What the platform's own BMP reader makes of the bytes, as RGB32; a null
// image when it refuses them.
QImage platformRead(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QImage image = reader.read();
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

// The platform's BMP writer's bytes for an image.
QByteArray platformWrite(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return {};
    return bytes;
}

}  // namespace

Q_DECLARE_METATYPE(Bmp24)

class TestBmp : public QObject {
    Q_OBJECT

private slots:
    void variantsAreRead_data()
    {
        QTest::addColumn<int>("bitsPerPixel");
        QTest::addColumn<bool>("topDown");
        QTest::addColumn<int>("headerSize");
        for (int bits : {1, 4, 8, 16, 24, 32}) {
            QTest::addRow("%d bits", bits) << bits << false << 40;
            QTest::addRow("%d bits, top-down", bits) << bits << true << 40;
        }
        QTest::newRow("24 bits, version 5 header") << 24 << false << 124;
        QTest::newRow("8 bits, oldest header") << 8 << false << 12;
        QTest::newRow("24 bits, oldest header") << 24 << false << 12;
    }
    void variantsAreRead()
    {
        QFETCH(int, bitsPerPixel);
        QFETCH(bool, topDown);
        QFETCH(int, headerSize);
        const Raster r = Raster::fromBmp(makeBmp(bitsPerPixel, topDown, headerSize));
        QCOMPARE(r.size(), QSize(5, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                QCOMPARE(r.pixel(x, y), expectedColour(x, y, bitsPerPixel));
    }

    void loosePartsAreForgiven()
    {
        QByteArray bytes = makeBmp(24);
        putU32(bytes, 2, 12345678);  // file size
        putU32(bytes, 34, 0);        // image size
        bytes.append("trailing bytes");
        QCOMPARE(Raster::fromBmp(bytes).pixel(4, 2), expectedColour(4, 2, 24));
    }

    void brokenFilesAreNotValid_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = makeBmp(24);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not BM") << QByteArray("PK").append(good.mid(2));
        QTest::newRow("cut in the header") << good.left(30);
        QTest::newRow("pixel data one byte short") << good.chopped(1);
        QTest::newRow("pixel data half missing") << good.left(good.size() - 20);
        QTest::newRow("palette cut short") << makeBmp(8).left(14 + 40 + 100);
        QTest::newRow("1 bit, last row missing") << makeBmp(1).chopped(4);
        QByteArray huge = good;
        putU32(huge, 18, 30000);
        putU32(huge, 22, 30000);
        QTest::newRow("claims 30000 x 30000") << huge;
        QByteArray wide = good;
        putU32(wide, 18, 0x7FFFFFFF);
        putU32(wide, 22, 1);
        QTest::newRow("claims 2^31 - 1 wide") << wide;
        QByteArray zero = good;
        putU32(zero, 18, 0);
        QTest::newRow("zero width") << zero;
        QByteArray negative = good;
        putU32(negative, 18, quint32(-5));
        QTest::newRow("negative width") << negative;
        QByteArray noHeight = good;
        putU32(noHeight, 22, 0);
        QTest::newRow("zero height") << noHeight;
        QByteArray odd = good;
        odd[28] = 7;
        QTest::newRow("7 bits per pixel") << odd;
        QByteArray header = good;
        putU32(header, 14, 20);
        QTest::newRow("unknown header size") << header;
        QByteArray offset = good;
        putU32(offset, 10, good.size() + 100);
        QTest::newRow("pixels start past the end") << offset;
        QByteArray compression = good;
        putU32(compression, 30, 4);  // embedded JPEG
        QTest::newRow("embedded JPEG") << compression;
    }
    void brokenFilesAreNotValid()
    {
        QFETCH(QByteArray, bytes);
        expectInvalid(bytes);
    }

    // The program's own reader and writer of 24-bit pictures against the
    // platform's: the same pixels and resolution read, the same bytes
    // written, and the files it leaves to the platform read as the platform
    // reads them (or refused when the platform refuses them).
    void sameAsThePlatform_data()
    {
        QTest::addColumn<Bmp24>("file");
        const auto sized = [](int width, int height) {
            Bmp24 file;
            file.width = width;
            file.height = height;
            return file;
        };
        for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 13, 640, 1001})
            QTest::addRow("%d x 3", width) << sized(width, 3);
        QTest::newRow("1 x 1") << sized(1, 1);
        QTest::newRow("1 x 300") << sized(1, 300);
        QTest::newRow("700 x 40: written in two pieces") << sized(700, 40);
        QTest::newRow("30000 x 2: rows longer than a piece") << sized(30000, 2);
        Bmp24 file = sized(7, 5);
        file.topDown = true;
        QTest::newRow("top-down 7 x 5") << file;
        file = sized(1, 1);
        file.topDown = true;
        QTest::newRow("top-down 1 x 1") << file;
        file = sized(9, 4);
        file.dpmX = file.dpmY = 0;
        QTest::newRow("no resolution") << file;
        file.dpmX = 1;
        file.dpmY = 0x7FFFFFFF;
        QTest::newRow("resolution 1 and 2^31 - 1") << file;
        file.dpmX = -5;
        file.dpmY = 11811;
        QTest::newRow("negative resolution") << file;
        file = sized(6, 3);
        file.colours = 2;
        QTest::newRow("a colour table") << file;
        file.colours = 0;
        file.gap = 10;
        QTest::newRow("a gap before the pixels") << file;
        file.gap = 0;
        file.headerSize = 108;
        QTest::newRow("version 4 header") << file;
        file.headerSize = 124;
        file.topDown = true;
        QTest::newRow("version 5 header, top-down") << file;
        file.headerSize = 40;
        file.topDown = false;
        file.planes = 2;
        QTest::newRow("two planes") << file;
        file.planes = 0;
        QTest::newRow("no planes") << file;
    }
    void sameAsThePlatform()
    {
        QFETCH(Bmp24, file);
        const QByteArray bytes = file.bytes();
        const QImage expected = platformRead(bytes);
        if (expected.isNull()) {
            expectInvalid(bytes);
            return;
        }
        const Raster read = Raster::fromBmp(bytes);
        QCOMPARE(read.image(), expected);  // pixels and size
        QCOMPARE(read.image().dotsPerMeterX(), expected.dotsPerMeterX());
        QCOMPARE(read.image().dotsPerMeterY(), expected.dotsPerMeterY());
        QCOMPARE(read.toBmp(), platformWrite(expected));

        // A picture made in the program, at the resolution new pictures get.
        Raster made(file.width, file.height);
        for (int y = 0; y < made.height(); ++y)
            for (int x = 0; x < made.width(); ++x)
                made.setPixel(x, y, rgb(x * 37 + y, y * 11, x ^ y));
        QCOMPARE(made.toBmp(), platformWrite(made.image()));
        QByteArray pieces;
        made.writeBmpPieces([&pieces](QByteArrayView piece) { pieces += piece; });
        QCOMPARE(pieces, made.toBmp());
    }

    void runLengthPictures()
    {
        // 4 x 2, 8 bits, run-length encoded: a run of 4 in colour 2, end of
        // line, 3 literal pixels 0, 1 and 3 (padded to a word), a run of 1
        // in colour 3, end of picture.
        ByteWriter out;
        const QByteArray stream("\x04\x02\x00\x00\x00\x03\x00\x01\x03\x00\x01\x03\x00\x01", 14);
        const int offset = 14 + 40 + 4 * 4;
        out.u8('B'); out.u8('M');
        out.u32(offset + stream.size()); out.u32(0); out.u32(offset);
        out.u32(40); out.i32(4); out.i32(2);
        out.u8(1); out.u8(0); out.u8(8); out.u8(0);
        out.u32(1); out.u32(stream.size()); out.u32(0); out.u32(0); out.u32(4); out.u32(0);
        for (Colour c : {0x000000u, 0xFFFFFFu, 0x0000FFu, 0x00FF00u}) {
            out.u8((c >> 16) & 0xFF); out.u8((c >> 8) & 0xFF); out.u8(c & 0xFF); out.u8(0);
        }
        out.bytes(stream);
        const QByteArray bytes = out.result();
        const Raster r = Raster::fromBmp(bytes);
        QCOMPARE(r.size(), QSize(4, 2));
        QCOMPARE(r.pixel(0, 1), kRed);       // bottom row first
        QCOMPARE(r.pixel(3, 1), kRed);
        QCOMPARE(r.pixel(0, 0), kBlack);
        QCOMPARE(r.pixel(1, 0), kWhite);
        QCOMPARE(r.pixel(2, 0), Colour(0x00FF00));
        QCOMPARE(r.pixel(3, 0), Colour(0x00FF00));

        expectInvalid(bytes.chopped(2));  // no end-of-picture mark
    }

    void writtenPicturesReadBackTheSame()
    {
        Raster r(7, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                r.setPixel(x, y, rgb(x * 30, y * 50, x * y));
        const QByteArray bytes = r.toBmp();
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(Raster::fromBmp(bytes), r);

        QTemporaryDir dir;
        r.writeBmpFile(dir.filePath("p.bmp"));
        QCOMPARE(Raster::readBmpFile(dir.filePath("p.bmp")), r);
        QVERIFY(Raster().toBmp().isEmpty());
        QVERIFY_THROWS_EXCEPTION(Error, Raster().writeBmpFile(dir.filePath("empty.bmp")));
    }
};

QTEST_MAIN(TestBmp)
#include "tst_bmp.moc"

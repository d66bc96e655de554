#include "font/glyph_sketch.h"
#include "font/zoomed_glyph.h"

#include <QTest>

#include <limits>

using namespace letterloom;
using letterloom::testing::pixelSketch;
using letterloom::testing::rasterSketch;
using letterloom::testing::sketchGlyph;

class TestZoomedGlyph : public QObject {
    Q_OBJECT
private slots:
    void picture_data();
    void picture();
    void copiesPixelsIntoImage();
    void pixelAt_data();
    void pixelAt();
    void canvasSize_data();
    void canvasSize();
};

void TestZoomedGlyph::picture_data()
{
    QTest::addColumn<QStringList>("glyph");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<QStringList>("picture");

    // Grid lines cover the last pixel column or row of the squares before
    // them; the last column and row keep their full five pixels.
    QTest::newRow("2 x 2 at 5") << QStringList{"gb", "y."} << 5 << QSize(14, 14)
                                << QStringList{
                                       "rrrrrrrrrrrr..",
                                       "rgggg#bbbbbr..",
                                       "rgggg#bbbbbr..",
                                       "rgggg#bbbbbr..",
                                       "rgggg#bbbbbr..",
                                       "r##########r..",
                                       "ryyyy#.....r..",
                                       "ryyyy#.....r..",
                                       "ryyyy#.....r..",
                                       "ryyyy#.....r..",
                                       "ryyyy#.....r..",
                                       "rrrrrrrrrrrr..",
                                       "..............",
                                       "..............",
                                   };
    QTest::newRow("1 x 1 has no grid lines") << QStringList{"#"} << 3 << QSize(6, 6)
                                             << QStringList{"rrrrr.", "r###r.", "r###r.", "r###r.", "rrrrr.", "......"};
    QTest::newRow("3 x 1 at 2") << QStringList{"gby"} << 2 << QSize(9, 5)
                                << QStringList{"rrrrrrrr.", "rg#b#yyr.", "rg#b#yyr.", "rrrrrrrr.", "........."};
    // At pixel size 1 the grid lines cover every square but the last column's and row's.
    QTest::newRow("2 x 2 at 1") << QStringList{"gb", "y."} << 1 << QSize(5, 4)
                                << QStringList{"rrrr.", "r##r.", "r#.r.", "rrrr."};
    QTest::newRow("undefined glyph") << QStringList{} << 20 << QSize(5, 4)
                                     << QStringList{"rr...", "rr...", ".....", "....."};
    QTest::newRow("pixel size 0") << QStringList{"gb", "y."} << 0 << QSize(5, 4)
                                  << QStringList{"rr...", "rr...", ".....", "....."};
    QTest::newRow("negative pixel size") << QStringList{"gb", "y."} << -4 << QSize(5, 4)
                                         << QStringList{"rr...", "rr...", ".....", "....."};
    // Far more than the canvas holds: the first square fills what is there.
    QTest::newRow("huge pixel size") << QStringList{"gb", "y."} << std::numeric_limits<int>::max() << QSize(4, 3)
                                     << QStringList{"rrrr", "rggg", "rggg"};
}

void TestZoomedGlyph::picture()
{
    QFETCH(QStringList, glyph);
    QFETCH(int, pixelSize);
    QFETCH(QSize, canvas);
    QFETCH(QStringList, picture);

    font::tGraphChar record = glyph.isEmpty() ? font::tGraphChar() : sketchGlyph(glyph);
    raster::Raster target(canvas.width(), canvas.height());
    target.fill(0x123456);
    font::drawZoomedGlyph(target, record, pixelSize);
    QCOMPARE(rasterSketch(target), picture);
}

void TestZoomedGlyph::copiesPixelsIntoImage()
{
    font::tGraphChar glyph = sketchGlyph({"gb", "y."});
    glyph.pixels[1][1] = 0xFF00FF;
    glyph.pixels[0][0] = 0x000000;
    raster::Raster target(10, 10);
    font::drawZoomedGlyph(target, glyph, 3);
    QCOMPARE(rasterSketch(glyph.image), QStringList({"#b", "ym"}));
    QCOMPARE(pixelSketch(glyph), QStringList({"#b", "ym"}));
}

void TestZoomedGlyph::pixelAt_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<qint64>("x");
    QTest::addColumn<qint64>("y");
    QTest::addColumn<QPoint>("pixel");  // (-1, -1): the position misses the glyph

    const QPoint miss(-1, -1);
    // A 3 x 2 glyph.
    QTest::newRow("border corner") << 5 << qint64(0) << qint64(0) << QPoint(0, 0);
    QTest::newRow("inside a square") << 5 << qint64(7) << qint64(3) << QPoint(1, 0);
    QTest::newRow("vertical grid line") << 5 << qint64(5) << qint64(2) << QPoint(1, 0);
    QTest::newRow("horizontal grid line") << 5 << qint64(2) << qint64(5) << QPoint(0, 1);
    QTest::newRow("last square's last column") << 5 << qint64(14) << qint64(9) << QPoint(2, 1);
    QTest::newRow("x at width times size") << 5 << qint64(15) << qint64(0) << miss;
    QTest::newRow("right border") << 5 << qint64(16) << qint64(0) << miss;
    QTest::newRow("y at height times size") << 5 << qint64(0) << qint64(10) << miss;
    QTest::newRow("left by less than the size") << 5 << qint64(-4) << qint64(6) << QPoint(0, 1);
    QTest::newRow("left by the size") << 5 << qint64(-5) << qint64(6) << miss;
    QTest::newRow("above by less than the size") << 5 << qint64(11) << qint64(-4) << QPoint(2, 0);
    QTest::newRow("above by the size") << 5 << qint64(11) << qint64(-5) << miss;
    QTest::newRow("far away") << 5 << qint64(1) << (qint64(1) << 40) << miss;
    QTest::newRow("pixel size 0") << 0 << qint64(3) << qint64(3) << miss;
    QTest::newRow("negative pixel size, left and above") << -5 << qint64(-6) << qint64(-1) << miss;
}

void TestZoomedGlyph::pixelAt()
{
    QFETCH(int, pixelSize);
    QFETCH(qint64, x);
    QFETCH(qint64, y);
    QFETCH(QPoint, pixel);

    const font::tGraphChar glyph = sketchGlyph({"...", "..."});
    const auto hit = font::glyphPixelAt(glyph, x, y, pixelSize);
    QCOMPARE(hit ? QPoint(hit->x, hit->y) : QPoint(-1, -1), pixel);
}

void TestZoomedGlyph::canvasSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QSize>("size");

    QTest::newRow("2 x 2 at 5") << 2 << 2 << 5 << QSize(12, 12);
    QTest::newRow("8 x 10 at 20") << 8 << 10 << 20 << QSize(162, 202);
    QTest::newRow("undefined") << 0 << 0 << 20 << QSize(2, 2);
    QTest::newRow("pixel size 0") << 3 << 3 << 0 << QSize(2, 2);
    QTest::newRow("negative pixel size") << 3 << 3 << -7 << QSize(0, 0);
    QTest::newRow("huge pixel size") << 100 << 1 << std::numeric_limits<int>::max()
                                     << QSize(int(font::kMaxZoomedSide), int(font::kMaxZoomedSide));
    QTest::newRow("just within") << 4095 << 1 << 2 << QSize(8192, 4);
    QTest::newRow("just beyond") << 4096 << 1 << 2 << QSize(8192, 4);
}

void TestZoomedGlyph::canvasSize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, pixelSize);
    QFETCH(QSize, size);

    font::tGraphChar glyph;
    glyph.width = width;
    glyph.height = height;
    QCOMPARE(font::zoomedGlyphSize(glyph, pixelSize), size);
}

QTEST_GUILESS_MAIN(TestZoomedGlyph)
#include "tst_zoomed_glyph.moc"

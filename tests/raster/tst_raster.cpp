#include "raster/raster.h"

#include "base/error.h"

#include <QTest>

using namespace letterloom;
using namespace letterloom::raster;

namespace {

// The raster's pixels row by row, one character a pixel: '.' white, '#' black,
// 'r' red, 'g' 0x00FF00, 'b' 0xFF0000, '?' anything else.
QStringList picture(const Raster &r)
{
    QStringList rows;
    for (int y = 0; y < r.height(); ++y) {
        QString row;
        for (int x = 0; x < r.width(); ++x) {
            switch (r.pixel(x, y)) {
            case kWhite: row += '.'; break;
            case kBlack: row += '#'; break;
            case kRed: row += 'r'; break;
            case 0x00FF00: row += 'g'; break;
            case 0xFF0000: row += 'b'; break;
            default: row += '?';
            }
        }
        rows << row;
    }
    return rows;
}

Raster fromPicture(const QStringList &rows)
{
    Raster r(rows.isEmpty() ? 0 : int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x) {
            const QChar c = rows[y][x];
            r.setPixel(x, y, c == '#' ? kBlack : c == 'r' ? kRed : c == 'g' ? 0x00FF00 : c == 'b' ? 0xFF0000 : kWhite);
        }
    return r;
}

}  // namespace

class TestRaster : public QObject {
    Q_OBJECT

private slots:
    void colourLayoutIsRedInTheLowByte()
    {
        Raster r(1, 1);
        r.setPixel(0, 0, 0x0000FF);
        QCOMPARE(r.image().pixel(0, 0), qRgb(255, 0, 0));
        r.setPixel(0, 0, 0x123456);
        QCOMPARE(r.image().pixel(0, 0), qRgb(0x56, 0x34, 0x12));
        QCOMPARE(r.pixel(0, 0), Colour(0x123456));
        QCOMPARE(rgb(0x56, 0x34, 0x12), Colour(0x123456));
    }

    void resizeKeepsTheOverlapAndWhitensTheRest_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("grow") << 4 << 3 << QStringList{"#r..", "gb..", "...."};
        QTest::newRow("shrink") << 1 << 1 << QStringList{"#"};
        QTest::newRow("wider, lower") << 3 << 1 << QStringList{"#r."};
        QTest::newRow("to nothing") << 0 << 2 << QStringList{"", ""};
        QTest::newRow("negative counts as 0") << -5 << 2 << QStringList{"", ""};
    }
    void resizeKeepsTheOverlapAndWhitensTheRest()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QStringList, expected);
        Raster r = fromPicture({"#r", "gb"});
        r.setWidth(width);
        r.setHeight(height);
        QCOMPARE(r.width(), std::max(width, 0));
        QCOMPARE(r.height(), height);
        QCOMPARE(picture(r), expected);
    }

    void emptySidesKeepTheOtherSide()
    {
        Raster r;
        r.setWidth(3);
        QCOMPARE(r.size(), QSize(3, 0));
        QVERIFY(r.isEmpty());
        r.setHeight(2);
        QCOMPARE(picture(r), (QStringList{"...", "..."}));
    }

    void oversizedRastersAreRefused()
    {
        Raster r;
        QVERIFY_THROWS_EXCEPTION(Error, r.setSize(Raster::kMaxSide + 1, 1));
        QVERIFY_THROWS_EXCEPTION(Error, r.setSize(20000, 20000));
        QVERIFY(r.isEmpty());
        QVERIFY(Raster::sizeAllowed(8192, 8192));
        QVERIFY(!Raster::sizeAllowed(2147483647, 2147483647));
    }

    void drawingIsClipped_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("fill inside") << "fill 1 1 3 2" << QStringList{"....", ".##.", "...."};
        QTest::newRow("fill over the edges") << "fill -5 -5 2 9" << QStringList{"##..", "##..", "##.."};
        QTest::newRow("fill empty") << "fill 2 1 2 3" << QStringList{"....", "....", "...."};
        QTest::newRow("fill reversed draws nothing") << "fill 3 2 1 1" << QStringList{"....", "....", "...."};
        QTest::newRow("outline") << "outline 0 0 4 3" << QStringList{"####", "#..#", "####"};
        QTest::newRow("outline reversed corners") << "outline 4 3 0 0" << QStringList{"####", "#..#", "####"};
        QTest::newRow("outline one wide") << "outline 1 0 2 3" << QStringList{".#..", ".#..", ".#.."};
        QTest::newRow("outline beyond") << "outline -1 -1 3 9" << QStringList{"..#.", "..#.", "..#."};
        QTest::newRow("line right leaves out its end") << "line 0 1 3 1" << QStringList{"....", "###.", "...."};
        QTest::newRow("line left") << "line 3 1 0 1" << QStringList{"....", ".###", "...."};
        QTest::newRow("line down") << "line 2 0 2 2" << QStringList{"..#.", "..#.", "...."};
        QTest::newRow("line up") << "line 2 2 2 0" << QStringList{"....", "..#.", "..#."};
        QTest::newRow("diagonal") << "line 0 0 3 3" << QStringList{"#...", ".#..", "..#."};
        QTest::newRow("single point is nothing") << "line 1 1 1 1" << QStringList{"....", "....", "...."};
        QTest::newRow("far away") << "line 2147483000 0 2147483600 0" << QStringList{"....", "....", "...."};
    }
    void drawingIsClipped()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, expected);
        Raster r(4, 3);
        const QStringList parts = operation.split(' ');
        qint64 v[4];
        for (int i = 0; i < 4; ++i)
            v[i] = parts[i + 1].toLongLong();
        if (parts[0] == "fill")
            r.fillRect(v[0], v[1], v[2], v[3], kBlack);
        else if (parts[0] == "outline")
            r.drawOutline(v[0], v[1], v[2], v[3], kBlack);
        else
            r.drawLine(v[0], v[1], v[2], v[3], kBlack);
        QCOMPARE(picture(r), expected);
    }

    void rectangleHasPenOutlineAndBrushInside()
    {
        Raster r(5, 4);
        r.drawRectangle(0, 0, 5, 4, kRed, kBlack);
        QCOMPARE(picture(r), (QStringList{"rrrrr", "r###r", "r###r", "rrrrr"}));
    }

    void blitsAreOpaqueOrLeaveOutOneColour_data()
    {
        QTest::addColumn<bool>("keyed");
        QTest::addColumn<qint64>("x");
        QTest::addColumn<qint64>("y");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("opaque") << false << qint64(1) << qint64(0) << QStringList{"r#.r", "r.#r", "rrrr"};
        QTest::newRow("keyed") << true << qint64(1) << qint64(0) << QStringList{"r#rr", "rr#r", "rrrr"};
        QTest::newRow("opaque, top-left outside") << false << qint64(-1) << qint64(-1) << QStringList{"#rrr", "rrrr", "rrrr"};
        QTest::newRow("keyed, bottom-right outside") << true << qint64(3) << qint64(2) << QStringList{"rrrr", "rrrr", "rrr#"};
        QTest::newRow("far outside") << false << qint64(-2147483648LL) << qint64(2147483647LL) << QStringList{"rrrr", "rrrr", "rrrr"};
    }
    void blitsAreOpaqueOrLeaveOutOneColour()
    {
        QFETCH(bool, keyed);
        QFETCH(qint64, x);
        QFETCH(qint64, y);
        QFETCH(QStringList, expected);
        Raster target(4, 3);
        target.fill(kRed);
        const Raster source = fromPicture({"#.", ".#"});
        if (keyed)
            target.drawLeavingOut(source, x, y, kWhite);
        else
            target.drawOpaque(source, x, y);
        QCOMPARE(picture(target), expected);
    }

    // Every pixel of the enlarged part against a plain division per pixel.
    void zoomedPartsAreWholePixels_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("origin");
        QTest::addColumn<QSize>("size");
        QTest::newRow("1x, scrolled") << 1 << QPoint(2, 1) << QSize(3, 2);
        QTest::newRow("2x from a half pixel") << 2 << QPoint(1, 3) << QSize(7, 4);
        QTest::newRow("3x, past the bottom-right") << 3 << QPoint(9, 5) << QSize(9, 6);
        QTest::newRow("8x, one source pixel and white") << 8 << QPoint(33, 17) << QSize(10, 10);
        QTest::newRow("4x, left of and above the source") << 4 << QPoint(-5, -3) << QSize(8, 8);
    }
    void zoomedPartsAreWholePixels()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, origin);
        QFETCH(QSize, size);
        const Raster source = fromPicture({"#rg.b", "b#rg.", ".b#rg"});
        Raster target(size.width(), size.height());
        target.fill(0x123456);
        target.drawZoomed(source, origin.x(), origin.y(), zoom);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const int sx = origin.x() + x, sy = origin.y() + y;
                const Colour expected = sx < 0 || sy < 0 ? kWhite : source.pixel(sx / zoom, sy / zoom);
                QCOMPARE(target.pixel(x, y), expected);
            }
    }

    // Rasters of some megabytes keep their pixels in memory of their own
    // (on large pages); they must behave as every other raster does.
    void largeRastersAreRastersLikeAnyOther_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("small") << QSize(40, 30);
        QTest::newRow("just under 2 MiB") << QSize(1024, 511);
        QTest::newRow("2 MiB") << QSize(1024, 512);
        QTest::newRow("picture of 1920 x 1080") << QSize(1920, 1080);
        QTest::newRow("wide and low") << QSize(Raster::kMaxSide - 1, 17);
    }
    void largeRastersAreRastersLikeAnyOther()
    {
        QFETCH(QSize, size);
        Raster r(size.width(), size.height());
        QCOMPARE(r.pixel(size.width() - 1, size.height() - 1), kWhite);
        r.setPixel(size.width() - 1, size.height() - 1, kRed);
        r.setPixel(0, 0, 0x123456);
        Raster copy = r;
        copy.setPixel(0, 0, kBlack);
        QCOMPARE(r.pixel(0, 0), Colour(0x123456));
        QCOMPARE(copy.pixel(size.width() - 1, size.height() - 1), kRed);
        const Raster back = Raster::fromBmp(r.toBmp());
        QVERIFY(back == r);
        r.setSize(size.width() + 1, size.height());
        QCOMPARE(r.pixel(size.width() - 1, size.height() - 1), kRed);
        QCOMPARE(r.pixel(size.width(), 0), kWhite);
    }

    void textIsDrawnInOneColourOnATransparentBackground()
    {
        Raster r(120, 30);
        r.fill(0x00FF00);
        const QSize extent = Raster::measureText("Load picture here!");
        QVERIFY(extent.width() > 40 && extent.height() > 5);
        r.drawText(2, 2, "Load picture here!", kRed);
        int red = 0;
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x) {
                const Colour c = r.pixel(x, y);
                QVERIFY2(c == kRed || c == 0x00FF00, "no smoothed pixels");
                red += c == kRed;
                if (c == kRed) {
                    QVERIFY(x >= 2 && x < 2 + extent.width() + 1);
                    QVERIFY(y >= 2 && y < 2 + extent.height());
                }
            }
        QVERIFY(red > 30);
    }
};

QTEST_MAIN(TestRaster)
#include "tst_raster.moc"

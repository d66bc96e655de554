#include "font/flood_fill.h"
#include "font/glyph_sketch.h"

#include <QTest>

using namespace letterloom;
using letterloom::testing::pixelSketch;
using letterloom::testing::rasterSketch;
using letterloom::testing::sketchColour;
using letterloom::testing::sketchGlyph;

namespace {

QList<QPoint> pointsOf(const font::TarrPoint &cells)
{
    QList<QPoint> points;
    for (const font::GlyphPoint &cell : cells)
        points << QPoint(cell.x, cell.y);
    return points;
}

}  // namespace

class TestFloodFill : public QObject {
    Q_OBJECT
private slots:
    void fills_data();
    void fills();
    void spreadsRingByRing_data();
    void spreadsRingByRing();
    void leavesTheImageToTheEditor();
};

void TestFloodFill::fills_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QChar>("fill");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("whole glyph") << QStringList{"...", "...", "..."} << QPoint(1, 1) << QChar('r')
                                 << QStringList{"rrr", "rrr", "rrr"};
    QTest::newRow("no diagonal steps") << QStringList{"..#", ".#.", "#.."} << QPoint(0, 0) << QChar('r')
                                       << QStringList{"rr#", "r#.", "#.."};
    QTest::newRow("around a wall") << QStringList{".#..", ".#.#", "...#"} << QPoint(0, 0) << QChar('g')
                                   << QStringList{"g#gg", "g#g#", "ggg#"};
    QTest::newRow("fills black too") << QStringList{"##.", "#.."} << QPoint(1, 0) << QChar('y')
                                     << QStringList{"yy.", "y.."};
    QTest::newRow("white fill erases") << QStringList{"#r#", "###"} << QPoint(0, 0) << QChar('.')
                                       << QStringList{".r.", "..."};
    QTest::newRow("colour already there") << QStringList{"rr", "r#"} << QPoint(0, 0) << QChar('r')
                                          << QStringList{"rr", "r#"};
    QTest::newRow("outside the glyph") << QStringList{"..", ".."} << QPoint(2, 0) << QChar('r')
                                       << QStringList{"..", ".."};
    QTest::newRow("negative position") << QStringList{"..", ".."} << QPoint(0, -1) << QChar('r')
                                       << QStringList{"..", ".."};
}

void TestFloodFill::fills()
{
    QFETCH(QStringList, before);
    QFETCH(QPoint, start);
    QFETCH(QChar, fill);
    QFETCH(QStringList, after);

    font::tGraphChar glyph = sketchGlyph(before);
    font::paintBucket(glyph, start.x(), start.y(), sketchColour(fill));
    QCOMPARE(pixelSketch(glyph), after);
}

void TestFloodFill::spreadsRingByRing_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QList<QPoint>>("order");

    // The start, then its neighbours left, up, right, down, then theirs in turn.
    QTest::newRow("from the centre")
        << QStringList{"...", "...", "..."} << QPoint(1, 1)
        << QList<QPoint>{{1, 1}, {0, 1}, {1, 0}, {2, 1}, {1, 2}, {0, 0}, {0, 2}, {2, 0}, {2, 2}};
    QTest::newRow("from a corner")
        << QStringList{"...", "..."} << QPoint(0, 0)
        << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}, {2, 0}, {1, 1}, {2, 1}};
    QTest::newRow("a corridor")
        << QStringList{"....", "###."} << QPoint(3, 1)
        << QList<QPoint>{{3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}};
    QTest::newRow("a single pixel") << QStringList{"r"} << QPoint(0, 0) << QList<QPoint>{{0, 0}};
}

void TestFloodFill::spreadsRingByRing()
{
    QFETCH(QStringList, before);
    QFETCH(QPoint, start);
    QFETCH(QList<QPoint>, order);

    font::tGraphChar glyph = sketchGlyph(before);
    font::TarrPoint painted;
    font::paintBucket(glyph, start.x(), start.y(), 0x123456, &painted);
    QCOMPARE(pointsOf(painted), order);
}

void TestFloodFill::leavesTheImageToTheEditor()
{
    font::tGraphChar glyph = sketchGlyph({"..", ".#"});
    font::paintBucket(glyph, 0, 0, sketchColour('b'));
    QCOMPARE(pixelSketch(glyph), QStringList({"bb", "b#"}));
    QCOMPARE(rasterSketch(glyph.image), QStringList({"..", ".#"}));
}

QTEST_GUILESS_MAIN(TestFloodFill)
#include "tst_flood_fill.moc"

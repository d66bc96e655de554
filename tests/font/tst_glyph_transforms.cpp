#include "font/glyph_sketch.h"
#include "font/glyph_transforms.h"

#include <QTest>

using namespace letterloom;
using letterloom::testing::pixelSketch;
using letterloom::testing::rasterSketch;
using letterloom::testing::sketchGlyph;

namespace {

using Transform = void (*)(font::tGraphChar &);

Transform transformNamed(const QString &name)
{
    static const QHash<QString, Transform> transforms = {
        {"left", font::shiftLeft},           {"right", font::shiftRight},
        {"up", font::shiftUp},               {"down", font::shiftDown},
        {"width+", font::increaseWidth},     {"width-", font::decreaseWidth},
        {"height+", font::increaseHeight},   {"height-", font::decreaseHeight},
    };
    return transforms.value(name);
}

// Applies the transform to a defined glyph drawn as before; its pixels and
// its image must both show after, at after's size, and it stays defined.
void checkTransform(const QString &transform, const QStringList &before, const QStringList &after)
{
    font::tGraphChar glyph = sketchGlyph(before);
    transformNamed(transform)(glyph);

    QCOMPARE(pixelSketch(glyph), after);
    QCOMPARE(rasterSketch(glyph.image), after);
    QCOMPARE(glyph.width, int(after.first().size()));
    QCOMPARE(glyph.height, int(after.size()));
    QCOMPARE(glyph.defined, std::uint8_t(1));
}

}  // namespace

class TestGlyphTransforms : public QObject {
    Q_OBJECT
private slots:
    void shifts_data();
    void shifts();
    void repeatedShiftsEmptyTheGlyph_data();
    void repeatedShiftsEmptyTheGlyph();
    void sizeCommands_data();
    void sizeCommands();
    void undefinedGlyph_data();
    void undefinedGlyph();
};

void TestGlyphTransforms::shifts_data()
{
    QTest::addColumn<QString>("transform");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");

    // The vacated column or row is white in pixels and image alike.
    QTest::newRow("left") << "left" << QStringList{"rgb", "#.y"} << QStringList{"gb.", ".y."};
    QTest::newRow("right") << "right" << QStringList{"rgb", "#.y"} << QStringList{".rg", ".#."};
    QTest::newRow("up") << "up" << QStringList{"rg", "b#", "y."} << QStringList{"b#", "y.", ".."};
    QTest::newRow("down") << "down" << QStringList{"rg", "b#", "y."} << QStringList{"..", "rg", "b#"};
    QTest::newRow("left, one column") << "left" << QStringList{"r", "g"} << QStringList{".", "."};
    QTest::newRow("right, one column") << "right" << QStringList{"r", "g"} << QStringList{".", "."};
    QTest::newRow("up, one row") << "up" << QStringList{"rgb"} << QStringList{"..."};
    QTest::newRow("down, one row") << "down" << QStringList{"rgb"} << QStringList{"..."};
    QTest::newRow("no wrap round") << "right" << QStringList{"#..r"} << QStringList{".#.."};
}

void TestGlyphTransforms::shifts()
{
    QFETCH(QString, transform);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QCOMPARE(after.size(), before.size());  // a shift keeps the size
    QCOMPARE(after.first().size(), before.first().size());
    checkTransform(transform, before, after);
}

void TestGlyphTransforms::repeatedShiftsEmptyTheGlyph_data()
{
    QTest::addColumn<QString>("transform");
    QTest::addColumn<int>("times");
    QTest::newRow("left, width times") << "left" << 3;
    QTest::newRow("right, width times") << "right" << 3;
    QTest::newRow("up, height times") << "up" << 2;
    QTest::newRow("down, height times") << "down" << 2;
}

void TestGlyphTransforms::repeatedShiftsEmptyTheGlyph()
{
    QFETCH(QString, transform);
    QFETCH(int, times);

    font::tGraphChar glyph = sketchGlyph({"rgb", "#y#"});
    for (int n = 0; n < times; ++n)
        transformNamed(transform)(glyph);

    const QStringList white{"...", "..."};
    QCOMPARE(pixelSketch(glyph), white);
    QCOMPARE(rasterSketch(glyph.image), white);
}

void TestGlyphTransforms::sizeCommands_data()
{
    QTest::addColumn<QString>("transform");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("increase width") << "width+" << QStringList{"rg", "b#"} << QStringList{"rg.", "b#."};
    QTest::newRow("decrease width") << "width-" << QStringList{"rg", "b#"} << QStringList{"r", "b"};
    QTest::newRow("increase height") << "height+" << QStringList{"rg", "b#"} << QStringList{"rg", "b#", ".."};
    QTest::newRow("decrease height") << "height-" << QStringList{"rg", "b#"} << QStringList{"rg"};
    QTest::newRow("decrease width at 1") << "width-" << QStringList{"r", "#"} << QStringList{"r", "#"};
    QTest::newRow("decrease height at 1") << "height-" << QStringList{"r#"} << QStringList{"r#"};
    // The glyph size dialog stops at 100; these commands do not.
    QTest::newRow("increase width past 100") << "width+" << QStringList{QString(100, '#')}
                                             << QStringList{QString(100, '#') + '.'};
}

void TestGlyphTransforms::sizeCommands()
{
    QFETCH(QString, transform);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    checkTransform(transform, before, after);
}

void TestGlyphTransforms::undefinedGlyph_data()
{
    QTest::addColumn<QString>("transform");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("left") << "left" << QStringList{};
    QTest::newRow("right") << "right" << QStringList{};
    QTest::newRow("up") << "up" << QStringList{};
    QTest::newRow("down") << "down" << QStringList{};
    QTest::newRow("increase width") << "width+" << QStringList{"."};
    QTest::newRow("increase height") << "height+" << QStringList{"."};
    // Shrinking an empty glyph still gives it one pixel, and that pixel is
    // white like every other new pixel, not black.
    QTest::newRow("decrease width") << "width-" << QStringList{"."};
    QTest::newRow("decrease height") << "height-" << QStringList{"."};
}

void TestGlyphTransforms::undefinedGlyph()
{
    QFETCH(QString, transform);
    QFETCH(QStringList, after);

    font::tGraphChar glyph;
    transformNamed(transform)(glyph);

    QCOMPARE(pixelSketch(glyph), after);
    QCOMPARE(rasterSketch(glyph.image), after);
    QCOMPARE(glyph.defined, std::uint8_t(0));
}

QTEST_GUILESS_MAIN(TestGlyphTransforms)
#include "tst_glyph_transforms.moc"

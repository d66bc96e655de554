#include "font/glyph_table.h"

#include <QTest>

using namespace letterloom;
using namespace letterloom::font;

namespace {

// A glyph's pixels column by column as text, and whether its image agrees.
QString columns(const tGraphChar &g)
{
    QStringList parts;
    for (const auto &column : g.pixels) {
        QStringList values;
        for (Colour c : column)
            values << QString::number(c, 16);
        parts << values.join(',');
    }
    return parts.join('|');
}

bool imageMatchesPixels(const tGraphChar &g)
{
    if (g.image.width() != g.width || g.image.height() != g.height)
        return false;
    for (int x = 0; x < g.width; ++x)
        for (int y = 0; y < g.height; ++y)
            if (g.image.pixel(x, y) != g.pixels[x][y])
                return false;
    return true;
}

void paint(GlyphTable &table, int code, const QList<QList<Colour>> &cols)
{
    table.setGlyphSize(code, int(cols.size()), int(cols[0].size()));
    for (int x = 0; x < cols.size(); ++x)
        for (int y = 0; y < cols[x].size(); ++y)
            table[code].pixels[x][y] = cols[x][y];
    syncImage(table[code]);
}

}  // namespace

class TestGlyphTable : public QObject {
    Q_OBJECT

private slots:
    void startsEmpty()
    {
        const GlyphTable table;
        for (int code = 0; code < 256; ++code) {
            QCOMPARE(table[code].defined, 0);
            QCOMPARE(table[code].width, 0);
            QVERIFY(table[code].pixels.empty());
            QCOMPARE(table[code].image.size(), QSize(0, 0));
        }
    }

    void setGlyphSizeThenClearOutside_data()
    {
        QTest::addColumn<QList<QList<Colour>>>("before");  // columns; empty = 0 x 0 glyph
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("after");
        QTest::newRow("0 x 0 to 3 x 2")
            << QList<QList<Colour>>{} << 3 << 2 << QSize(3, 2) << "ffffff,ffffff|ffffff,ffffff|ffffff,ffffff";
        QTest::newRow("grow 2 x 2 to 3 x 3")
            << QList<QList<Colour>>{{1, 2}, {3, 4}} << 3 << 3 << QSize(3, 3)
            << "1,2,ffffff|3,4,ffffff|ffffff,ffffff,ffffff";
        QTest::newRow("shrink 3 x 3 to 2 x 2")
            << QList<QList<Colour>>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}} << 2 << 2 << QSize(2, 2) << "1,2|4,5";
        QTest::newRow("0 x 0 raised to 1 x 1")
            << QList<QList<Colour>>{} << 0 << 0 << QSize(1, 1) << "ffffff";
        QTest::newRow("negative raised to 1 x 1")
            << QList<QList<Colour>>{{1, 2}} << -4 << -9 << QSize(1, 1) << "1";
        QTest::newRow("wider, lower") << QList<QList<Colour>>{{1, 2}} << 2 << 1 << QSize(2, 1) << "1|ffffff";
    }
    void setGlyphSizeThenClearOutside()
    {
        QFETCH(QList<QList<Colour>>, before);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QSize, size);
        QFETCH(QString, after);
        GlyphTable table;
        if (!before.isEmpty())
            paint(table, 65, before);
        const int oldWidth = table[65].width, oldHeight = table[65].height;
        table.setGlyphSize(65, width, height);
        table.clearOutside(65, oldWidth, oldHeight);
        QCOMPARE(QSize(table[65].width, table[65].height), size);
        QCOMPARE(columns(table[65]), after);
        QVERIFY(imageMatchesPixels(table[65]));
        QCOMPARE(table[65].defined, 0);  // sizing never defines a glyph
    }

    void newPixelsAreBlackUntilClearedOutside()
    {
        GlyphTable table;
        table.setGlyphSize(7, 2, 1);
        QCOMPARE(columns(table[7]), QStringLiteral("0|0"));
        QCOMPARE(table[7].image.pixel(1, 0), raster::kWhite);
    }

    void sizesStayWithinTheLimit()
    {
        GlyphTable table;
        table.setGlyphSize(1, 100000, 3);
        QCOMPARE(table[1].width, kMaxGlyphSide);
        QCOMPARE(table[1].height, 3);
    }

    void clearingEmptiesEveryRecordAndItsImage()
    {
        GlyphTable table;
        paint(table, 65, {{1, 2}, {3, 4}});
        table[65].defined = 1;
        paint(table, 0, {{1}});
        table.clear();
        for (int code : {0, 65}) {
            QCOMPARE(table[code].defined, 0);
            QCOMPARE(table[code].width, 0);
            QCOMPARE(table[code].height, 0);
            QVERIFY(table[code].pixels.empty());
            // An undefined glyph draws nothing, so it keeps no old picture.
            QVERIFY(table[code].image.isEmpty());
        }
    }

    void deletingOneGlyphLeavesTheOthers()
    {
        GlyphTable table;
        paint(table, 65, {{1, 2}});
        paint(table, 66, {{3}});
        table.clearGlyph(65);
        QVERIFY(table[65].image.isEmpty());
        QCOMPARE(columns(table[66]), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestGlyphTable)
#include "tst_glyph_table.moc"

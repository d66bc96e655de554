#include "font/grid_import.h"

#include "base/error.h"
#include "font/test_glyphs.h"

#include <QRandomGenerator>
#include <QTest>

using namespace letterloom;
using namespace letterloom::font;
using namespace letterloom::font::test;

namespace {

// A picture drawn as sketch rows; beyond the sketch colours, 't' is a fully
// transparent red, 'h' a black of alpha 100 and 'o' a black of alpha 200.
QImage imageOf(const QStringList &rows)
{
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const char letter = rows[y][x].toLatin1();
            QRgb pixel = raster::toQRgb(testing::sketchColour(QChar(letter)));
            if (letter == 't')
                pixel = qRgba(255, 0, 0, 0);
            else if (letter == 'h')
                pixel = qRgba(0, 0, 0, 100);
            else if (letter == 'o')
                pixel = qRgba(0, 0, 0, 200);
            image.setPixel(x, y, pixel);
        }
    return image;
}

// A colour as RRGGBB, red first.
Colour rgbOf(const QString &hex)
{
    const uint value = hex.toUInt(nullptr, 16);
    return raster::rgb(int(value >> 16), int(value >> 8), int(value));
}

// Settings written as the command line writes them:
// "cell=3x2 margin=1,0 gap=1,1 columns=2 first=65 chars=BA background=00FF00
// ink=FF0000 notrim spacing=0 space=2".
GridImportSettings settingsOf(const QString &text)
{
    GridImportSettings settings;
    auto pair = [](const QString &value, QChar separator) {
        return std::pair{value.section(separator, 0, 0).toInt(), value.section(separator, 1, 1).toInt()};
    };
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = word.section(u'=', 0, 0), value = word.section(u'=', 1);
        if (key == u"cell")
            std::tie(settings.grid.cellWidth, settings.grid.cellHeight) = pair(value, u'x');
        else if (key == u"margin")
            std::tie(settings.grid.marginX, settings.grid.marginY) = pair(value, u',');
        else if (key == u"gap")
            std::tie(settings.grid.gapX, settings.grid.gapY) = pair(value, u',');
        else if (key == u"columns")
            settings.grid.columns = value.toInt();
        else if (key == u"first")
            settings.codes = consecutiveCodes(value.toInt());
        else if (key == u"chars")
            settings.codes = codesOfCharacters(value);
        else if (key == u"background")
            settings.background = rgbOf(value);
        else if (key == u"ink")
            settings.ink = rgbOf(value);
        else if (key == u"notrim")
            settings.trim = false;
        else if (key == u"spacing")
            settings.spacing = value.toInt();
        else if (key == u"space")
            settings.spaceWidth = value.toInt();
        else
            qFatal("unknown setting %s", qPrintable(key));
    }
    return settings;
}

// The grid read the plain way: every cell's pixels looked up one by one,
// the ink counted over the cells that hold a code, each pixel mapped, and
// each glyph cut where trimming says.
GlyphTable referenceImport(const QImage &picture, const GridImportSettings &settings, Colour background)
{
    const GridLayout &grid = settings.grid;
    int columns = 0;
    while (grid.marginX + (columns + 1) * grid.cellWidth + columns * grid.gapX <= picture.width())
        ++columns;
    const int perRow = grid.columns > 0 ? grid.columns : columns;
    QList<std::pair<int, QPoint>> cells;
    QSet<int> taken;
    for (std::size_t cell = 0; cell < settings.codes.size(); ++cell) {
        const int code = settings.codes[cell];
        const int column = int(cell) % perRow, row = int(cell) / perRow;
        const QPoint corner(grid.marginX + column * (grid.cellWidth + grid.gapX),
                            grid.marginY + row * (grid.cellHeight + grid.gapY));
        if (code >= 0 && column < columns && corner.y() + grid.cellHeight <= picture.height() && !taken.contains(code)) {
            taken.insert(code);
            cells.append({code, corner});
        }
    }
    auto colourAt = [&](QPoint at) {
        const QColor colour = picture.pixelColor(at);
        return std::pair{raster::rgb(colour.red(), colour.green(), colour.blue()), colour.alpha()};
    };
    std::optional<Colour> ink = settings.ink;
    if (!ink) {
        QMap<Colour, int> counts;
        for (const auto &[code, corner] : cells)
            for (int y = 0; y < grid.cellHeight; ++y)
                for (int x = 0; x < grid.cellWidth; ++x)
                    if (const auto [colour, alpha] = colourAt(corner + QPoint(x, y)); alpha >= 128 && colour != background)
                        ++counts[colour];
        for (auto it = counts.begin(); it != counts.end(); ++it)
            if (!ink || it.value() > counts[*ink])
                ink = it.key();
    }

    GlyphTable glyphs;
    for (const auto &[code, corner] : cells) {
        QStringList rows;
        int width = 0;
        for (int y = 0; y < grid.cellHeight; ++y) {
            QString line;
            for (int x = 0; x < grid.cellWidth; ++x) {
                auto [mapped, alpha] = colourAt(corner + QPoint(x, y));
                if (alpha < 128 || mapped == background)
                    mapped = raster::kWhite;
                else if (ink && mapped == *ink)
                    mapped = raster::kBlack;
                if (mapped != raster::kWhite)
                    width = std::max(width, x + 1 + settings.spacing);
                line += testing::sketchLetter(mapped);
            }
            rows << line;
        }
        if (width == 0 && code != ' ')
            continue;
        if (width == 0)
            width = settings.spaceWidth.value_or(std::max(grid.cellWidth / 2, 1));
        for (QString &line : rows)
            line = line.leftJustified(width, u'.', true);
        glyphs[code] = testing::sketchGlyph(rows);
    }
    return glyphs;
}

const QList<Colour> kPalette = {raster::kBlack, raster::kBlack, raster::kBlack, raster::kBlack, raster::kWhite,
                                raster::kWhite, raster::kWhite, raster::kRed,   0x00FF00,       0xFF0000};

}  // namespace

class TestGridImport : public QObject {
    Q_OBJECT

private slots:
    void codesThroughMaps_data();
    void codesThroughMaps();
    void readsCells_data();
    void readsCells();
    void refusesSettings_data();
    void refusesSettings();
    void matchesReference();
    void mergeReplacesOnlyWhatCellsMake();
    void drawsGrid_data();
    void drawsGrid();
    void roundTrip_data();
    void roundTrip();
};

// The characters of the cells through the font's map: each at its code, an
// entry of several characters in one cell, a character without a code
// leaving its cell out.
void TestGridImport::codesThroughMaps_data()
{
    QTest::addColumn<QString>("map");  // a code page, the lines of a table, or none
    QTest::addColumn<QString>("characters");
    QTest::addColumn<CellCodes>("codes");
    QTest::addColumn<QStringList>("lost");
    QTest::newRow("none: Latin-1") << "" << u"Aé Ж"_qs << CellCodes{0x41, 0xE9, 0x20, -1} << QStringList{u"U+0416 Ж"_qs};
    QTest::newRow("windows-1251") << "windows-1251" << u"Привет"_qs << CellCodes{0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2}
                                  << QStringList();
    QTest::newRow("KOI8-R") << "KOI8-R" << u"Привет"_qs << CellCodes{0xF0, 0xD2, 0xC9, 0xD7, 0xC5, 0xD4} << QStringList();
    QTest::newRow("Greek, a Latin letter lost") << "ISO-8859-7" << u"Καλé"_qs << CellCodes{0xCA, 0xE1, 0xEB, -1}
                                                << QStringList{u"U+00E9 é"_qs};
    QTest::newRow("Central European") << "windows-1250" << u"Łódź"_qs << CellCodes{0xA3, 0xF3, 0x64, 0x9F}
                                      << QStringList();
    QTest::newRow("DTE table, the longest entry first")
        << "41=A\nE0=th\n74=t\n68=h\n" << "thAht" << CellCodes{0xE0, 0x41, 0x68, 0x74} << QStringList();
    QTest::newRow("outside the BMP") << "windows-1251" << u"П😀р"_qs << CellCodes{0xCF, -1, 0xF0}
                                     << QStringList{u"U+1F600 😀"_qs};
}

void TestGridImport::codesThroughMaps()
{
    QFETCH(QString, map);
    QFETCH(QString, characters);
    QFETCH(CellCodes, codes);
    QFETCH(QStringList, lost);
    const CharMap through = map.contains(u'=') ? readTable(map.toUtf8()).map
                            : map.isEmpty()    ? CharMap()
                                               : CharMap::fromCodePage(map);
    QStringList got;
    QCOMPARE(codesOfCharacters(characters, through, &got), codes);
    QCOMPARE(got, lost);
}

void TestGridImport::readsCells_data()
{
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<Pictures>("glyphs");
    QTest::addColumn<QStringList>("warnings");

    const QStringList twoCells{".#...#", "#...#."};
    const QStringList a{".#.", "#.."}, b{"..#.", ".#.."};
    QTest::newRow("black on white, trimmed with a spacing of 1")
        << twoCells << "cell=3x2 first=65" << Pictures{{65, a}, {66, b}} << QStringList{};
    QTest::newRow("spacing 0")
        << twoCells << "cell=3x2 first=65 spacing=0" << Pictures{{65, {".#", "#."}}, {66, {"..#", ".#."}}}
        << QStringList{};
    QTest::newRow("spacing 3: wider than the cell")
        << twoCells << "cell=3x2 first=65 spacing=3"
        << Pictures{{65, {".#...", "#...."}}, {66, {"..#...", ".#...."}}} << QStringList{};
    QTest::newRow("without trimming, every glyph a cell wide")
        << twoCells << "cell=3x2 first=65 notrim" << Pictures{{65, a}, {66, {"..#", ".#."}}} << QStringList{};
    QTest::newRow("white on black: the background becomes white, the ink black")
        << QStringList{"#.###.", "#.##.#"} << "cell=3x2 first=65"
        << Pictures{{65, {".#.", ".#."}}, {66, {"..#.", ".#.."}}} << QStringList{};
    QTest::newRow("the most common colour is the ink, other colours stay")
        << QStringList{"rrr#g.", "r#rr#r"} << "cell=3x2 first=65"
        << Pictures{{65, {"...", ".#."}}, {66, {"#g.", ".#."}}} << QStringList{};
    QTest::newRow("a given ink; black stays black")
        << QStringList{".g#.g.", ".g#.gg"} << "cell=3x2 first=65 ink=00FF00"
        << Pictures{{65, {".##.", ".##."}}, {66, {".#..", ".##."}}} << QStringList{};
    QTest::newRow("transparent pixels are background, opaque enough ones are not")
        << QStringList{"th#tto", "t#ht#t"} << "cell=3x2 first=65"
        << Pictures{{65, {"..#.", ".#.."}}, {66, {"..#.", ".#.."}}} << QStringList{};
    QTest::newRow("a grid of lines, read with the given background")
        << QStringList{"ggggggg", "g#.g.#g", "g#.g##g", "ggggggg"} << "cell=2x2 margin=1,1 gap=1,1 first=65 background=FFFFFF"
        << Pictures{{65, {"#.", "#."}}, {66, {".#.", "##."}}} << QStringList{};
    const QStringList dot{"#", "."};
    QTest::newRow("rows read left to right, then top to bottom")
        << QStringList{".#.", "...", "#.#", "..."} << "cell=1x2 first=65 spacing=0"
        << Pictures{{66, dot}, {68, dot}, {70, dot}} << QStringList{};
    QTest::newRow("fewer columns than fit")
        << QStringList{".#.", "...", "#.#", "..."} << "cell=1x2 columns=2 first=65 spacing=0"
        << Pictures{{66, dot}, {67, dot}} << QStringList{};
    QTest::newRow("more columns than fit")
        << QStringList{".#", "..", "#.", ".."} << "cell=1x2 columns=3 first=65 spacing=0"
        << Pictures{{66, dot}, {68, dot}}
        << QStringList{"Columns 3 to 3 reach past the picture's right edge and are left out"};
    QTest::newRow("an empty space gets the space width: half a cell")
        << QStringList{".....#", "....#."} << "cell=3x2" << Pictures{{32, {".", "."}}, {33, {"..#.", ".#.."}}}
        << QStringList{};
    QTest::newRow("a space width given")
        << QStringList{".....#", "....#."} << "cell=3x2 space=5" << Pictures{{32, {".....", "....."}}, {33, {"..#.", ".#.."}}}
        << QStringList{};
    QTest::newRow("untrimmed, the space is a cell wide")
        << QStringList{".....#", "....#."} << "cell=3x2 notrim" << Pictures{{32, {"...", "..."}}, {33, {"..#", ".#."}}}
        << QStringList{};
    QTest::newRow("cells following characters")
        << twoCells << "cell=3x2 chars=ba" << Pictures{{98, a}, {97, b}} << QStringList{};
    QTest::newRow("a character outside the map leaves its cell out")
        << twoCells << QStringLiteral("cell=3x2 chars=\u0416a") << Pictures{{97, b}}
        << QStringList{"Left out 1 cell that holds pixels but no character code"};
    QTest::newRow("a character twice: its first cell")
        << twoCells << "cell=3x2 chars=aa" << Pictures{{97, a}}
        << QStringList{"Kept only the first cell of codes 97, which appear more than once"};
    QTest::newRow("cells past code 255")
        << twoCells << "cell=3x2 first=255" << Pictures{{255, a}}
        << QStringList{"Left out 1 cell that holds pixels but no character code"};
    QTest::newRow("an empty cell past the codes is no loss")
        << QStringList{".#....", "#....."} << "cell=3x2 first=255" << Pictures{{255, a}} << QStringList{};
    QTest::newRow("the part below the last whole row is not a cell")
        << QStringList{"..#", "#.#", "###"} << "cell=3x2 first=65" << Pictures{{65, {"..#.", "#.#."}}} << QStringList{};
}

void TestGridImport::readsCells()
{
    QFETCH(QStringList, picture);
    QFETCH(QString, settings);
    QFETCH(Pictures, glyphs);
    QFETCH(QStringList, warnings);

    const GridImport imported = importGrid(imageOf(picture), settingsOf(settings));
    QCOMPARE(picturesOf(imported.glyphs), glyphs);
    QCOMPARE(QList<int>(imported.made.begin(), imported.made.end()), glyphs.keys());
    QCOMPARE(imported.warnings, warnings);
}

void TestGridImport::refusesSettings_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("message");

    QTest::newRow("cell width 0") << "cell=0x2" << "The cell width 0 is not between 1 and 4096";
    QTest::newRow("cell height 5000") << "cell=2x5000" << "The cell height 5000 is not between 1 and 4096";
    QTest::newRow("negative margin") << "cell=2x2 margin=-1,0" << "The left margin -1 is not between 0 and 32767";
    QTest::newRow("negative gap") << "cell=2x2 gap=0,-3" << "The vertical gap -3 is not between 0 and 32767";
    QTest::newRow("negative columns") << "cell=2x2 columns=-1" << "The number of columns -1 is not between 0 and 32767";
    QTest::newRow("negative spacing") << "cell=2x2 spacing=-1" << "The spacing -1 is not between 0 and 4096";
    QTest::newRow("space width 0") << "cell=2x2 space=0" << "The space width 0 is not between 1 and 4096";
    QTest::newRow("a cell wider than the picture")
        << "cell=7x2" << "No cell of 7 x 2 pixels fits in the picture of 6 x 2 pixels";
    QTest::newRow("a margin past the picture")
        << "cell=2x2 margin=0,1" << "No cell of 2 x 2 pixels fits in the picture of 6 x 2 pixels";
}

void TestGridImport::refusesSettings()
{
    QFETCH(QString, settings);
    QFETCH(QString, message);
    try {
        importGrid(imageOf({"#..#.#", "#...#."}), settingsOf(settings));
        QFAIL("the settings were taken");
    } catch (const Error &error) {
        QCOMPARE(error.message(), message);
    }
}

// Random pictures of a few colours and random grids, read as the reference reads them.
void TestGridImport::matchesReference()
{
    QRandomGenerator random(23);
    for (int round = 0; round < 200; ++round) {
        QImage picture(random.bounded(1, 40), random.bounded(1, 30), QImage::Format_ARGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const Colour colour = kPalette[random.bounded(int(kPalette.size()))];
                picture.setPixel(x, y, (raster::toQRgb(colour) & 0xFFFFFF) | (QRgb(random.bounded(2) ? 255 : 60) << 24));
            }
        GridImportSettings settings;
        settings.grid = {random.bounded(1, 6), random.bounded(1, 6), random.bounded(3), random.bounded(3),
                         random.bounded(3), random.bounded(3), random.bounded(4)};
        settings.codes = random.bounded(2) ? consecutiveCodes(random.bounded(250)) : codesOfCharacters("The quick fox!");
        settings.spacing = random.bounded(3);
        if (random.bounded(2))
            settings.background = kPalette[random.bounded(int(kPalette.size()))];
        if (random.bounded(2))
            settings.ink = kPalette[random.bounded(int(kPalette.size()))];
        GridImport imported;
        try {
            imported = importGrid(picture, settings);
        } catch (const Error &) {
            QVERIFY(settings.grid.marginX + settings.grid.cellWidth > picture.width() ||
                    settings.grid.marginY + settings.grid.cellHeight > picture.height());
            continue;
        }
        if (settings.background)
            QCOMPARE(imported.background, *settings.background);
        else
            QCOMPARE(imported.background, raster::fromQRgb(picture.pixel(0, 0)));
        const GlyphTable expected = referenceImport(picture, settings, imported.background);
        QCOMPARE(picturesOf(imported.glyphs), picturesOf(expected));
    }
}

void TestGridImport::mergeReplacesOnlyWhatCellsMake()
{
    GlyphTable font = tableOf({{65, {"rr", "rr"}}, {66, {"r"}}, {90, {"g"}}});
    // Cells for A, B and C; B's is empty.
    const GridImport imported = importGrid(imageOf({".#..#.", ".#..#."}), settingsOf("cell=2x2 first=65"));
    mergeImport(font, imported);
    QCOMPARE(picturesOf(font), (Pictures{{65, {".#.", ".#."}}, {66, {"r"}}, {67, {"#.", "#."}}, {90, {"g"}}}));
}

void TestGridImport::drawsGrid_data()
{
    QTest::addColumn<Pictures>("font");
    QTest::addColumn<QString>("settings");  // cell, margin, gap, columns, first, chars, background, ink
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<QStringList>("warnings");

    const Pictures ab{{65, {"#.", "#."}}, {66, {"r#", ".#"}}};
    QTest::newRow("on magenta, cells as large as the largest glyph")
        << ab << "chars=AB columns=2 margin=1,0" << QStringList{"m#mr#", "m#mm#"} << QStringList{};
    QTest::newRow("a given cell, margin and gap; lower glyphs stand on the cell's bottom")
        << Pictures{{65, {"#"}}, {66, {"#", "#"}}} << "cell=2x2 margin=1,0 gap=1,1 columns=2 chars=AB"
        << QStringList{"mmmm#m", "m#mm#m"} << QStringList{};
    QTest::newRow("wrapped after the columns; undefined glyphs leave their cells empty")
        << ab << "chars=AxB columns=2 margin=1,0" << QStringList{"m#mmm", "m#mmm", "mr#mm", "mm#mm"}
        << QStringList{};
    QTest::newRow("a given background and ink")
        << ab << "chars=AB columns=2 margin=1,0 background=00FF00 ink=FF0000" << QStringList{"grgrr", "grggr"}
        << QStringList{"Glyphs 66 use the ink colour FF0000, which reads back as black"};
    QTest::newRow("magenta taken by a glyph")
        << Pictures{{65, {"m#"}}} << "chars=A columns=1 margin=1,0" << QStringList{"gm#"} << QStringList{};
    QTest::newRow("a glyph using the given background")
        << Pictures{{65, {"g#"}}} << "chars=A columns=1 margin=1,0 background=00FF00" << QStringList{"gg#"}
        << QStringList{"Glyphs 65 use the background colour 00FF00, which reads back as white"};
    QTest::newRow("glyphs larger than the cell are cut")
        << Pictures{{65, {"##", "#."}}} << "cell=1x1 chars=A columns=1 margin=1,0" << QStringList{"m#"}
        << QStringList{"Cut to their cells of 1 x 1 pixels: glyphs 65"};
    QTest::newRow("red more common than black")
        << Pictures{{65, {"rr#"}}} << "chars=A columns=1 margin=1,0" << QStringList{"mrr#"}
        << QStringList{"Reading this picture back needs the ink colour 000000 given"};
    QTest::newRow("a glyph in the top-left corner")
        << Pictures{{65, {"#"}}} << "chars=A columns=1" << QStringList{"#"}
        << QStringList{"Reading this picture back needs the background colour FF00FF given"};
}

void TestGridImport::drawsGrid()
{
    QFETCH(Pictures, font);
    QFETCH(QString, settings);
    QFETCH(QStringList, picture);
    QFETCH(QStringList, warnings);

    const GridImportSettings read = settingsOf(settings);
    GridExportSettings draw;
    draw.grid = read.grid;
    if (!settings.contains("cell="))
        draw.grid.cellWidth = draw.grid.cellHeight = 0;
    draw.codes = read.codes;
    draw.background = read.background;
    draw.ink = read.ink;
    const GridExport drawn = exportGrid(tableOf(font), draw);
    QCOMPARE(testing::rasterSketch(drawn.picture), picture);
    QCOMPARE(drawn.warnings, warnings);
}

void TestGridImport::roundTrip_data()
{
    QTest::addColumn<QString>("settings");
    QTest::newRow("defaults") << "";
    QTest::newRow("first code 0, margins and gaps") << "first=0 margin=3,1 gap=2,1";
    QTest::newRow("ten columns, spacing 2") << "first=40 columns=10 spacing=2";
    QTest::newRow("characters, a given background and ink") << "chars=Hello,\u00E9t\u00E9! background=00FFFF ink=FF0000";
    QTest::newRow("a given cell wider than the glyphs") << "cell=20x11 first=100 gap=1,0";
}

// Random fonts of one height whose widths follow the trimming rule come back
// from their grid as they were: with the colours the export names when it
// says they are needed, with the defaults otherwise.
void TestGridImport::roundTrip()
{
    QFETCH(QString, settings);
    QRandomGenerator random(qHash(settings));
    for (int round = 0; round < 20; ++round) {
        GridImportSettings read = settingsOf(settings);
        read.spaceWidth = 3;
        GridExportSettings draw;
        draw.grid = read.grid;
        if (!settings.contains("cell="))
            draw.grid.cellWidth = draw.grid.cellHeight = 0;
        draw.codes = read.codes;
        draw.background = read.background;
        draw.ink = read.ink;

        // A given cell is as high as the font; a taller one would pad every glyph.
        const int height = settings.contains("cell=") ? read.grid.cellHeight : random.bounded(1, 12);
        GlyphTable font;
        for (int code : read.codes) {
            // The space's cell, empty, always gives the space.
            if (code < 0 || (code != ' ' && random.bounded(3) == 0))
                continue;
            QStringList rows(height, QString());
            const int rightmost = random.bounded(8);
            const int width = code == ' ' ? 3 : rightmost + 1 + read.spacing;
            for (int x = 0; x < width; ++x)
                for (int y = 0; y < height; ++y) {
                    Colour colour = x <= rightmost && code != ' ' ? kPalette[random.bounded(int(kPalette.size()))]
                                                                 : raster::kWhite;
                    if (colour == draw.background || (read.ink && colour == *read.ink))
                        colour = raster::kBlack;
                    rows[y] += testing::sketchLetter(colour);
                }
            if (code != ' ')
                rows[random.bounded(height)][rightmost] = u'#';
            font[code] = testing::sketchGlyph(rows);
        }

        const GridExport drawn = exportGrid(font, draw);
        read.grid = drawn.grid;
        read.grid.columns = 0;
        const bool needsColours = !drawn.warnings.isEmpty();
        if (needsColours) {
            QCOMPARE(drawn.warnings.size(), 1);
            QVERIFY(drawn.warnings.first().startsWith("Reading this picture back needs"));
            read.background = drawn.background;
            read.ink = raster::kBlack;
        }
        const GridImport imported = importGrid(drawn.picture.image(), read);
        QCOMPARE(picturesOf(imported.glyphs), picturesOf(font));
        QCOMPARE(imported.glyphs, font);
    }
}

QTEST_GUILESS_MAIN(TestGridImport)
#include "tst_grid_import.moc"

#include "font/bdf_font.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "font/test_glyphs.h"

#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::font;
using namespace letterloom::font::test;

namespace {

const QString kHandmade = QStringLiteral(LETTERLOOM_TEST_DATA "/fonts/handmade.bdf");

// One glyph block: its code, advance, BBX and bitmap rows (space-separated hex).
QByteArray glyph(int code, int advance, const char *bbx, const char *rows)
{
    QByteArray block = "STARTCHAR g" + QByteArray::number(code) + "\nENCODING " + QByteArray::number(code) +
                       "\nSWIDTH 500 0\nDWIDTH " + QByteArray::number(advance) + " 0\nBBX " + bbx + "\nBITMAP\n";
    for (const QByteArray &row : QByteArray(rows).split(' '))
        if (!row.isEmpty())
            block += row + '\n';
    return block + "ENDCHAR\n";
}

const QByteArray kAscent3Descent1 = "STARTPROPERTIES 2\nFONT_ASCENT 3\nFONT_DESCENT 1\nENDPROPERTIES\n";

// A font around glyph blocks, its CHARS counting them.
QByteArray bdfFont(const QByteArray &glyphs, const QByteArray &metrics = kAscent3Descent1)
{
    return "STARTFONT 2.1\nFONT -Test-Small-Medium-R-Normal--4-40-75-75-P-30-ISO8859-1\nSIZE 4 75 75\n" + metrics +
           "CHARS " + QByteArray::number(glyphs.count("STARTCHAR")) + "\n" + glyphs + "ENDFONT\n";
}

}  // namespace

class TestBdfFont : public QObject {
    Q_OBJECT

private slots:
    void readsHandmadeFont_data();
    void readsHandmadeFont();
    void handmadeFontKeepsOnlyItsCodes();
    void placesBitmaps_data();
    void placesBitmaps();
    void writesFont();
    void roundTrip_data();
    void roundTrip();
    void rejectsBrokenFont_data();
    void rejectsBrokenFont();
    void rejectsEveryTruncation();
};

// A font as other tools write it: comments, properties the program does not
// use, a descender, glyphs narrower than their advance or reaching left of it,
// a glyph above 255 and an unencoded one. Cell: ascent 6 + descent 2.
void TestBdfFont::readsHandmadeFont_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("picture");

    QTest::newRow("space: advance only") << 32 << QStringList(8, QStringLiteral("...."));
    QTest::newRow("A: on the baseline") << 65
        << QStringList{"..#...", ".#.#..", "#...#.", "#####.", "#...#.", "#...#.", "......", "......"};
    QTest::newRow("g: into the descent") << 103
        << QStringList{".....", ".....", ".###.", "#..#.", "#..#.", ".###.", "...#.", ".##.."};
    QTest::newRow("i: offset right in its advance") << 105
        << QStringList{"...", ".#.", "...", ".#.", ".#.", ".#.", "...", "..."};
    QTest::newRow("j: the column left of its cell cut") << 106
        << QStringList{".#.", "...", ".#.", ".#.", ".#.", ".#.", ".#.", "#.."};
    QTest::newRow("m: two bytes a row") << 109
        << QStringList{"..........", "..........", "####.###..", "#...#...#.", "#...#...#.", "#...#...#.",
                       "..........", ".........."};
}

void TestBdfFont::readsHandmadeFont()
{
    QFETCH(int, code);
    QFETCH(QStringList, picture);
    const ImportedFont imported = readBdfFile(kHandmade);
    QCOMPARE(imported.glyphs[code].defined, 1);
    QCOMPARE(pictureOf(imported.glyphs[code]), picture);
}

void TestBdfFont::handmadeFontKeepsOnlyItsCodes()
{
    const ImportedFont imported = readBdfFile(kHandmade);
    QCOMPARE(definedCodes(imported.glyphs), (QList<int>{32, 65, 103, 105, 106, 109}));
    QCOMPARE(imported.warnings, (QStringList{"Skipped 1 glyph with codes above 255",
                                             "Skipped 1 glyph without a character code",
                                             "Cut to their cells of advance x 8 pixels: glyphs 106"}));
}

void TestBdfFont::placesBitmaps_data()
{
    QTest::addColumn<QByteArray>("bdf");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<QStringList>("warnings");

    const QStringList none;
    QTest::newRow("clear bits beyond the advance lose nothing")
        << bdfFont(glyph(65, 2, "4 2 0 0", "40 80")) << 65 << QStringList{"..", ".#", "#.", ".."} << none;
    QTest::newRow("set bit right of the advance")
        << bdfFont(glyph(65, 2, "3 1 0 0", "A0")) << 65 << QStringList{"..", "..", "#.", ".."}
        << QStringList{"Cut to their cells of advance x 4 pixels: glyphs 65"};
    QTest::newRow("set bits above and below the cell")
        << bdfFont(glyph(65, 1, "1 6 0 -2", "80 00 00 00 00 80")) << 65 << QStringList{".", ".", ".", "."}
        << QStringList{"Cut to their cells of advance x 4 pixels: glyphs 65"};
    QTest::newRow("the first of a repeated code kept")
        << bdfFont(glyph(65, 1, "1 1 0 0", "80") + glyph(65, 2, "2 1 0 0", "C0")) << 65
        << QStringList{".", ".", "#", "."}
        << QStringList{"Kept only the first glyph of codes 65, which appear more than once"};
    QTest::newRow("codes above 255 skipped")
        << bdfFont(glyph(256, 1, "1 1 0 0", "80") + glyph(65, 1, "1 1 0 0", "80") + glyph(1000, 1, "1 1 0 0", "80"))
        << 65 << QStringList{".", ".", "#", "."} << QStringList{"Skipped 2 glyphs with codes above 255"};
    QTest::newRow("cell from the bounding box without properties")
        << bdfFont(glyph(65, 2, "2 3 0 -1", "80 40 C0"), "FONTBOUNDINGBOX 2 5 0 -1\n") << 65
        << QStringList{"..", "..", "#.", ".#", "##"} << none;
    QTest::newRow("properties win over the bounding box")
        << bdfFont(glyph(65, 1, "1 1 0 0", "80"), "FONTBOUNDINGBOX 2 9 0 -4\n" + kAscent3Descent1) << 65
        << QStringList{".", ".", "#", "."} << none;
    QTest::newRow("advance from the box when DWIDTH is missing")
        << bdfFont("STARTCHAR x\nENCODING 65\nBBX 2 1 1 0\nBITMAP\nC0\nENDCHAR\n") << 65
        << QStringList{"...", "...", ".##", "..."} << none;
    QTest::newRow("lower-case hex and padded rows")
        << bdfFont(glyph(65, 3, "3 1 0 0", "a0ff")) << 65 << QStringList{"...", "...", "#.#", "..."} << none;
}

void TestBdfFont::placesBitmaps()
{
    QFETCH(QByteArray, bdf);
    QFETCH(int, code);
    QFETCH(QStringList, picture);
    QFETCH(QStringList, warnings);
    const ImportedFont imported = parseBdf(bdf);
    QCOMPARE(definedCodes(imported.glyphs), QList<int>{code});
    QCOMPARE(pictureOf(imported.glyphs[code]), picture);
    QCOMPARE(imported.warnings, warnings);
}

// Only defined glyphs, standing on one baseline; every pixel that is not
// white is set, and colours other than black are named in a warning.
void TestBdfFont::writesFont()
{
    GlyphTable glyphs = tableOf({{65, {"#.#", ".r."}}, {66, {"##"}}});
    glyphs.setGlyphSize(67, 2, 2);  // sized but not defined

    const BdfExport exported = bdfBytes(glyphs, QStringLiteral("tiny-font?"));
    QCOMPARE(QString::fromLatin1(exported.bytes), QStringLiteral(
        "STARTFONT 2.1\n"
        "FONT -Letterloom-tinyfont-Medium-R-Normal--2-20-72-72-P-25-ISO8859-1\n"
        "SIZE 2 72 72\n"
        "FONTBOUNDINGBOX 3 2 0 0\n"
        "STARTPROPERTIES 2\n"
        "FONT_ASCENT 2\n"
        "FONT_DESCENT 0\n"
        "ENDPROPERTIES\n"
        "CHARS 2\n"
        "STARTCHAR C065\nENCODING 65\nSWIDTH 1500 0\nDWIDTH 3 0\nBBX 3 2 0 0\nBITMAP\nA0\n40\nENDCHAR\n"
        "STARTCHAR C066\nENCODING 66\nSWIDTH 1000 0\nDWIDTH 2 0\nBBX 2 1 0 0\nBITMAP\nC0\nENDCHAR\n"
        "ENDFONT\n"));
    QCOMPARE(exported.warnings, QStringList{"Colours dropped, drawn in black: glyphs 65"});
}

// .llf -> .bdf -> .llf through files: the same glyphs in black and white.
void TestBdfFont::roundTrip_data()
{
    QTest::addColumn<Pictures>("font");
    QTest::addColumn<Pictures>("expected");
    QTest::addColumn<QStringList>("warnings");

    const Pictures blackAndWhite{{32, {"...", "...", "..."}}, {65, {"#.#", "###", "#.#"}}, {255, {"##.", "#.#", "##."}}};
    QTest::newRow("black and white") << blackAndWhite << blackAndWhite << QStringList();
    const Pictures wide{{1, {"#.......#", ".#######."}}, {2, {"#..............#", "################"}},
                        {3, {"#.#.#.#.#.#.#.#.#", ".#.#.#.#.#.#.#.#."}}};
    QTest::newRow("rows of two and three bytes") << wide << wide << QStringList();
    QTest::newRow("colours become black")
        << Pictures{{65, {"r.g", "bym"}}, {66, {"#."}}, {67, {"c", "."}}}
        << Pictures{{65, {"#.#", "###"}}, {66, {"..", "#."}}, {67, {"#", "."}}}
        << QStringList{"Colours dropped, drawn in black: glyphs 65 and 67"};
    QTest::newRow("lower glyphs come back standing on the baseline")
        << Pictures{{46, {"#"}}, {65, {".#.", "#.#", "###"}}}
        << Pictures{{46, {".", ".", "#"}}, {65, {".#.", "#.#", "###"}}} << QStringList();
    QTest::newRow("a glyph of no width keeps its advance of 0")
        << Pictures{{0, {}}, {65, {"#", "#"}}} << Pictures{{0, {"", ""}}, {65, {"#", "#"}}} << QStringList();
    QTest::newRow("no glyphs") << Pictures() << Pictures() << QStringList();
}

void TestBdfFont::roundTrip()
{
    QFETCH(Pictures, font);
    QFETCH(Pictures, expected);
    QFETCH(QStringList, warnings);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    writeFontFile(dir.filePath("in.llf"), tableOf(font));
    QCOMPARE(writeBdfFile(dir.filePath("font.bdf"), readFontFile(dir.filePath("in.llf"))), warnings);
    const ImportedFont imported = readBdfFile(dir.filePath("font.bdf"));
    QCOMPARE(imported.warnings, QStringList());
    QCOMPARE(picturesOf(imported.glyphs), expected);
    writeFontFile(dir.filePath("out.llf"), imported.glyphs);
    QCOMPARE(readWholeFile(dir.filePath("out.llf")), fontBytes(tableOf(expected)));
}

// Each row edits a small valid font (one glyph, 3 x 4 BBX) in one place.
void TestBdfFont::rejectsBrokenFont_data()
{
    QTest::addColumn<QByteArray>("bdf");
    QTest::addColumn<QString>("message");

    const QByteArray valid = bdfFont(glyph(65, 3, "3 4 0 -1", "40 A0 E0 A0"));
    const auto edited = [&valid](const QByteArray &from, const QByteArray &to) {
        return QByteArray(valid).replace(from, to);
    };
    const QByteArray bbx = "BBX 3 4 0 -1";

    QTest::newRow("empty") << QByteArray() << "Invalid BDF font: it does not begin with STARTFONT (line 1)";
    QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                               << "Invalid BDF font: it does not begin with STARTFONT (line 1)";
    QTest::newRow("no cell height") << edited(kAscent3Descent1, "")
        << "Invalid BDF font: it gives neither FONT_ASCENT and FONT_DESCENT nor FONTBOUNDINGBOX (line 4)";
    QTest::newRow("cell too high") << edited("FONT_ASCENT 3", "FONT_ASCENT 5000")
        << "Invalid BDF font: its cell height 5001 is not between 0 and 4096";
    QTest::newRow("negative cell") << edited("FONT_DESCENT 1", "FONT_DESCENT -9")
        << "Invalid BDF font: its cell height -6 is not between 0 and 4096";
    QTest::newRow("advance too large") << edited("DWIDTH 3 0", "DWIDTH 4097 0")
        << "Invalid BDF font: glyph 65 has an advance of 4097, not between 0 and 4096";
    QTest::newRow("negative advance") << edited("DWIDTH 3 0", "DWIDTH -3 0")
        << "Invalid BDF font: glyph 65 has an advance of -3, not between 0 and 4096";
    QTest::newRow("not a number") << edited(bbx, "BBX 3 x 0 -1") << "Invalid BDF font: BBX needs whole numbers (line 13)";
    QTest::newRow("value missing") << edited(bbx, "BBX 3 4 0") << "Invalid BDF font: BBX needs whole numbers (line 13)";
    QTest::newRow("beyond 32 bits") << edited("CHARS 1", "CHARS 99999999999")
        << "Invalid BDF font: CHARS needs whole numbers (line 8)";
    QTest::newRow("negative CHARS") << edited("CHARS 1", "CHARS -1") << "Invalid BDF font: CHARS is negative (line 8)";
    QTest::newRow("negative box") << edited(bbx, "BBX -3 4 0 -1")
        << "Invalid BDF font: glyph \"g65\" has a negative BBX size (line 13)";
    QTest::newRow("no ENCODING") << edited("ENCODING 65\n", "")
        << "Invalid BDF font: glyph \"g65\" has no ENCODING (line 13)";
    QTest::newRow("no BBX") << edited(bbx + "\n", "") << "Invalid BDF font: glyph \"g65\" has no BBX (line 13)";
    QTest::newRow("no BITMAP") << edited("BITMAP\n40\nA0\nE0\nA0\n", "")
        << "Invalid BDF font: glyph \"g65\" has no BITMAP (line 14)";
    QTest::newRow("row not hexadecimal") << edited("E0", "G0")
        << "Invalid BDF font: a bitmap row of glyph \"g65\" is not hexadecimal (line 17)";
    QTest::newRow("row shorter than the box") << edited(bbx, "BBX 9 4 0 -1")
        << "Invalid BDF font: a bitmap row of glyph \"g65\" is shorter than its BBX width (line 15)";
    QTest::newRow("more rows than the box") << edited(bbx, "BBX 3 3 0 -1")
        << "Invalid BDF font: glyph \"g65\" has more bitmap rows than its BBX height (line 18)";
    QTest::newRow("fewer rows than the box") << edited(bbx, "BBX 3 5 0 -1")
        << "Invalid BDF font: glyph \"g65\" has fewer bitmap rows than its BBX height (line 19)";
    QTest::newRow("huge box") << edited(bbx, "BBX 2000000000 2000000000 0 0")
        << "Invalid BDF font: a bitmap row of glyph \"g65\" is shorter than its BBX width (line 15)";
    QTest::newRow("huge box height") << edited(bbx, "BBX 1 2000000000 0 0")
        << "Invalid BDF font: glyph \"g65\" has fewer bitmap rows than its BBX height (line 19)";
    const QByteArray bigCells = edited("FONT_ASCENT 3", "FONT_ASCENT 4095").replace("DWIDTH 3 0", "DWIDTH 4096 0");
    QTest::newRow("cells too large for the file") << bigCells
        << QStringLiteral("Invalid BDF font: its glyphs together hold more than %1 pixels")
               .arg(fontPixelBudget(bigCells.size()));
    QTest::newRow("huge CHARS") << edited("CHARS 1", "CHARS 2000000000")
        << "Invalid BDF font: CHARS gives 2000000000 glyphs but the file has 1 (line 20)";
    QTest::newRow("no ENDCHAR") << edited("ENDCHAR\n", "")
        << "Invalid BDF font: glyph \"g65\" ends without ENDCHAR (line 19)";
    QTest::newRow("no ENDFONT") << edited("ENDFONT\n", "") << "Invalid BDF font: it ends before ENDFONT (line 19)";
    QTest::newRow("glyph before CHARS") << edited("CHARS 1\n", "")
        << "Invalid BDF font: STARTCHAR comes before CHARS (line 8)";
    QTest::newRow("properties without end") << edited("ENDPROPERTIES\n", "")
        << "Invalid BDF font: the properties end without ENDPROPERTIES (line 7)";
    QTest::newRow("stray line between glyphs") << edited("ENDCHAR\n", "ENDCHAR\nFOO 1\n")
        << "Invalid BDF font: STARTCHAR or ENDFONT expected, not FOO (line 20)";
}

void TestBdfFont::rejectsBrokenFont()
{
    QFETCH(QByteArray, bdf);
    QFETCH(QString, message);
    try {
        parseBdf(bdf);
        QFAIL("the font was accepted");
    } catch (const Error &error) {
        QCOMPARE(error.message(), message);
    }
}

// A file cut anywhere before the end of its ENDFONT is refused, whatever part
// of it got lost.
void TestBdfFont::rejectsEveryTruncation()
{
    const QByteArray whole = readWholeFile(kHandmade);
    const qsizetype end = whole.lastIndexOf("ENDFONT") + qsizetype(qstrlen("ENDFONT"));
    for (qsizetype size = 0; size < end; ++size) {
        try {
            parseBdf(whole.left(size));
            QFAIL(qPrintable(QStringLiteral("a file cut to %1 bytes was accepted").arg(size)));
        } catch (const Error &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Invalid BDF font: ")), qPrintable(error.message()));
        }
    }
    QCOMPARE(definedCodes(parseBdf(whole.left(end)).glyphs).size(), 6);
}

QTEST_GUILESS_MAIN(TestBdfFont)
#include "tst_bdf_font.moc"

#include "font/bmfont.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "font/test_glyphs.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::font;
using namespace letterloom::font::test;

namespace {

const QString kHandmade = QStringLiteral(LETTERLOOM_TEST_DATA "/fonts/handmade.fnt");

// Page pixels by symbol: '.' transparent black, ',' transparent white,
// '#' black, 'r' red, 'g' green, 'W' white (all opaque), 'h' and 'l' white
// three quarters and one quarter opaque, 's' red half opaque, 'B' and 'G'
// the blue and the green channel alone (as packed pages hold glyphs).
QRgb pagePixel(QChar symbol)
{
    switch (symbol.toLatin1()) {
    case ',': return qRgba(255, 255, 255, 0);
    case '#': return qRgba(0, 0, 0, 255);
    case 'r': return qRgba(255, 0, 0, 255);
    case 'g': return qRgba(0, 255, 0, 255);
    case 'W': return qRgba(255, 255, 255, 255);
    case 'h': return qRgba(255, 255, 255, 0xC0);
    case 'l': return qRgba(255, 255, 255, 0x40);
    case 's': return qRgba(255, 0, 0, 0x80);
    case 'B': return qRgba(0, 0, 255, 0);
    case 'G': return qRgba(0, 255, 0, 0);
    default: return qRgba(0, 0, 0, 0);
    }
}

QByteArray pngOf(const QStringList &rows)
{
    QImage image(int(rows.front().size()), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            image.setPixel(x, y, pagePixel(rows[y][x]));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A page as symbols: '.' for any transparent pixel, else as pagePixel.
QStringList pageRows(const QImage &page)
{
    QStringList rows;
    for (int y = 0; y < page.height(); ++y) {
        QString row;
        for (int x = 0; x < page.width(); ++x) {
            const QRgb pixel = page.pixel(x, y);
            QChar symbol = '?';
            for (char candidate : {'#', 'r', 'g', 'b', 'W'})
                if (pagePixel(QChar(candidate)) == pixel)
                    symbol = QChar(candidate);
            if (pixel == qRgba(0, 0, 255, 255))
                symbol = 'b';
            row += qAlpha(pixel) == 0 ? QChar('.') : symbol;
        }
        rows << row;
    }
    return rows;
}

// Serves page files from memory; a name it does not hold is not found.
PageLoader pagesOf(const QMap<QString, QByteArray> &pages)
{
    return [pages](const QString &name) {
        if (!pages.contains(name))
            throw Error(QStringLiteral("File not found"));
        return pages.value(name);
    };
}

// A font whose page is "p.png", lineHeight 3, with the given char lines.
QByteArray fnt(const QByteArray &chars, const QByteArray &common = "lineHeight=3 base=3 pages=1 packed=0")
{
    return "info face=\"t\" size=3 bold=0\ncommon " + common + "\npage id=0 file=\"p.png\"\nchars count=" +
           QByteArray::number(chars.count("char id=")) + "\n" + chars;
}

QByteArray charLine(int id, const char *box, const char *place)
{
    return "char id=" + QByteArray::number(id) + ' ' + box + ' ' + place + " page=0 chnl=15\n";
}

}  // namespace

class TestBmFont : public QObject {
    Q_OBJECT

private slots:
    void readsHandmadeFont_data();
    void readsHandmadeFont();
    void handmadeFontKeepsOnlyItsCodes();
    void readsPages_data();
    void readsPages();
    void readsKerning_data();
    void readsKerning();
    void writesKerning_data();
    void writesKerning();
    void writesFont();
    void roundTrip_data();
    void roundTrip();
    void dropsHighBytes();
    void pageNamesInsideTheFolder_data();
    void pageNamesInsideTheFolder();
    void rejectsBrokenFont_data();
    void rejectsBrokenFont();
    void rejectsEveryTruncation();
};

// A font as game-font tools write it: CRLF lines, padded columns, white
// glyphs held in the page's transparency (with smoothed edges), a glyph that
// reaches left of its cell, one above 255 and kerning. lineHeight 10.
void TestBmFont::readsHandmadeFont_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("picture");

    QTest::newRow("space: advance only") << 32 << QStringList(10, QStringLiteral("..."));
    QTest::newRow("A: edges more than half opaque count") << 65
        << QStringList{"......", "..#...", ".#.#..", "#...#.", "#...#.", "#####.", "#...#.", "##..#.", "......",
                       "......"};
    QTest::newRow("j: the column left of its cell cut") << 106
        << QStringList{"...", ".#.", "...", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", "#.."};
}

void TestBmFont::readsHandmadeFont()
{
    QFETCH(int, code);
    QFETCH(QStringList, picture);
    const ImportedFont imported = readBmFontFile(kHandmade);
    QCOMPARE(pictureOf(imported.glyphs[code]), picture);
}

void TestBmFont::handmadeFontKeepsOnlyItsCodes()
{
    const ImportedFont imported = readBmFontFile(kHandmade);
    QCOMPARE(definedCodes(imported.glyphs), (QList<int>{32, 65, 106}));
    QCOMPARE(imported.warnings, (QStringList{"Skipped 1 glyph with codes above 255",
                                             "Cut to their cells of advance x 10 pixels: glyphs 106",
                                             "Read as black on white from the transparency of page \"handmade_0.png\""}));
    QCOMPARE(imported.extras.kerning.pairs(), (std::vector<KerningPair>{{65, 106, -1}}));
}

void TestBmFont::readsPages_data()
{
    QTest::addColumn<QByteArray>("font");
    QTest::addColumn<QStringList>("page");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<QStringList>("warnings");

    const QStringList none;
    QTest::newRow("colours kept, transparent pixels white")
        << fnt(charLine(65, "x=0 y=0 width=3 height=2", "xoffset=0 yoffset=1 xadvance=3"))
        << QStringList{"#r.", "g,W"} << 65 << QStringList{"...", "#r.", "g.."} << none;
    QTest::newRow("partly transparent colours made opaque")
        << fnt(charLine(65, "x=0 y=0 width=2 height=1", "xoffset=0 yoffset=2 xadvance=2"))
        << QStringList{"s#"} << 65 << QStringList{"..", "..", "r#"}
        << QStringList{"Partly transparent pixels made opaque on page \"p.png\""};
    QTest::newRow("white on transparency read as black")
        << fnt(charLine(65, "x=0 y=0 width=2 height=2", "xoffset=0 yoffset=0 xadvance=2"))
        << QStringList{"Wh", "l."} << 65 << QStringList{"##", "..", ".."}
        << QStringList{"Read as black on white from the transparency of page \"p.png\""};
    QTest::newRow("packed: the blue channel")
        << fnt("char id=65 x=0 y=0 width=2 height=2 xoffset=0 yoffset=0 xadvance=2 page=0 chnl=1\n",
               "lineHeight=2 base=2 pages=1 packed=1")
        << QStringList{"BG", "GB"} << 65 << QStringList{"#.", ".#"}
        << QStringList{"Read as black on white from the channels of packed page \"p.png\""};
    QTest::newRow("packed: the green channel")
        << fnt("char id=65 x=0 y=0 width=2 height=2 xoffset=0 yoffset=0 xadvance=2 page=0 chnl=2\n",
               "lineHeight=2 base=2 pages=1 packed=1")
        << QStringList{"BG", "GB"} << 65 << QStringList{".#", "#."}
        << QStringList{"Read as black on white from the channels of packed page \"p.png\""};
    QTest::newRow("nothing visible")
        << fnt(charLine(65, "x=0 y=0 width=2 height=2", "xoffset=0 yoffset=0 xadvance=2"))
        << QStringList{".,", ",."} << 65 << QStringList{"..", "..", ".."} << none;
    QTest::newRow("the box placed by its offsets")
        << fnt(charLine(65, "x=1 y=1 width=2 height=2", "xoffset=2 yoffset=1 xadvance=5"))
        << QStringList{"###", "#rg", "#g#"} << 65 << QStringList{".....", "..rg.", "..g#."} << none;
    QTest::newRow("cut at the right and the bottom")
        << fnt(charLine(65, "x=0 y=0 width=3 height=3", "xoffset=0 yoffset=1 xadvance=2"))
        << QStringList{"#r#", "g#.", ".r."} << 65 << QStringList{"..", "#r", "g#"}
        << QStringList{"Cut to their cells of advance x 3 pixels: glyphs 65"};
    QTest::newRow("transparent padding beyond the cell loses nothing")
        << fnt(charLine(65, "x=0 y=0 width=4 height=4", "xoffset=-1 yoffset=-1 xadvance=2"))
        << QStringList{"....", ".#r.", ".g#.", "...."} << 65 << QStringList{"#r", "g#", ".."} << none;
    QTest::newRow("lines the reader does not use may hold anything")
        << QByteArray("# made by hand\ninfo face=\"Odd\nkernings\n" +
                      fnt(charLine(65, "x=0 y=0 width=1 height=1", "xoffset=0 yoffset=0 xadvance=1")))
        << QStringList{"r"} << 65 << QStringList{"r", ".", "."} << none;
    QTest::newRow("byte order mark and CRLF lines")
        << QByteArray("\xEF\xBB\xBF" + fnt(charLine(65, "x=0 y=0 width=1 height=1", "xoffset=0 yoffset=0 xadvance=1"))
                                            .replace("\n", "\r\n"))
        << QStringList{"r"} << 65 << QStringList{"r", ".", "."} << none;
}

void TestBmFont::readsPages()
{
    QFETCH(QByteArray, font);
    QFETCH(QStringList, page);
    QFETCH(int, code);
    QFETCH(QStringList, picture);
    QFETCH(QStringList, warnings);
    const ImportedFont imported = parseBmFont(font, pagesOf({{"p.png", pngOf(page)}}));
    QCOMPARE(definedCodes(imported.glyphs), QList<int>{code});
    QCOMPARE(pictureOf(imported.glyphs[code]), picture);
    QCOMPARE(imported.warnings, warnings);
}

namespace {

QString pairsText(const Kerning &kerning)
{
    QStringList pairs;
    for (const KerningPair &pair : kerning.pairs())
        pairs << QStringLiteral("%1,%2,%3").arg(pair.left).arg(pair.right).arg(pair.amount);
    return pairs.join(u' ');
}

}  // namespace

// Kerning lines become pairs at the codes their glyphs landed at (through a
// character map, its codes); pairs that cannot be kept are counted.
void TestBmFont::readsKerning_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("pairs");  // "left,right,pixels" in code order
    QTest::addColumn<QStringList>("warnings");
    const QString notKept = QStringLiteral("Dropped the kerning of %1 whose glyphs were not kept");
    const QString badAmount =
        QStringLiteral("Dropped the kerning of %1 that do not read as whole numbers or move more than 64 pixels");
    QTest::newRow("pairs of kept glyphs") << QByteArray("kernings count=2\nkerning first=86 second=65 amount=1\n"
                                                        "kerning first=65  second=86 amount=-2\n")
                                          << "" << "65,86,-2 86,65,1" << QStringList();
    QTest::newRow("both ends of the range")
        << QByteArray("kerning first=65 second=65 amount=-64\nkerning first=86 second=86 amount=64\n") << ""
        << "65,65,-64 86,86,64" << QStringList();
    QTest::newRow("a glyph not kept") << QByteArray("kerning first=65 second=300 amount=-1\n"
                                                    "kerning first=66 second=65 amount=-1\n")
                                      << "" << "" << QStringList{notKept.arg("2 pairs")};
    QTest::newRow("out of range or not a number")
        << QByteArray("kerning first=65 second=86 amount=65\nkerning first=65 second=86 amount=x\n"
                      "kerning first=65 second=86\nkerning first=65 second=86 amount\n"
                      "kerning first=86 second=65 amount=-3\n")
        << "" << "86,65,-3" << QStringList{badAmount.arg("4 pairs")};
    QTest::newRow("the first of a pair given twice")
        << QByteArray("kerning first=65 second=86 amount=-1\nkerning first=65 second=86 amount=-5\n") << ""
        << "65,86,-1" << QStringList{"Kept only the first kerning of 1 pair given more than once"};
    QTest::newRow("amount 0 kerns nothing") << QByteArray("kerning first=65 second=86 amount=0\n") << "" << ""
                                            << QStringList();
    QTest::newRow("before the chars") << QByteArray("kerning first=65 second=86 amount=2\n") << "before" << "65,86,2"
                                      << QStringList();
    QTest::newRow("through windows-1251")
        << QByteArray("kerning first=1040 second=1041 amount=-1\nkerning first=65 second=1040 amount=3\n")
        << "windows-1251" << "65,192,3 192,193,-1" << QStringList();
}

void TestBmFont::readsKerning()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, map);
    QFETCH(QString, pairs);
    QFETCH(QStringList, warnings);
    const char *box = "x=0 y=0 width=1 height=1";
    const char *place = "xoffset=0 yoffset=0 xadvance=1";
    const QByteArray chars = map == "windows-1251"
                                 ? charLine(65, box, place) + charLine(1040, box, place) + charLine(1041, box, place)
                                 : charLine(65, box, place) + charLine(86, box, place);
    const QByteArray font = map == "before" ? lines + fnt(chars) : fnt(chars) + lines;
    const CharMap through = map == "windows-1251" ? CharMap::fromCodePage(map) : CharMap();
    const ImportedFont imported = parseBmFont(font, pagesOf({{"p.png", pngOf({"#"})}}), through);
    QCOMPARE(pairsText(imported.extras.kerning), pairs);
    QCOMPARE(imported.warnings, warnings);
}

// Pairs follow the chars as "kerning" lines with the glyphs' ids, and read
// back as they were; a pair whose glyph is not written is named.
void TestBmFont::writesKerning_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QByteArray>("lines");  // the .fnt after its char lines
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("codes as ids") << "" << QByteArray("kernings count=2\nkerning first=65 second=192 amount=-2\n"
                                                      "kerning first=192 second=65 amount=64\n")
                                  << QStringList{"Dropped the kerning of 1 pair whose glyphs are not written"};
    QTest::newRow("through windows-1251") << "windows-1251"
                                          << QByteArray("kernings count=2\nkerning first=65 second=1040 amount=-2\n"
                                                        "kerning first=1040 second=65 amount=64\n")
                                          << QStringList{"Dropped the kerning of 1 pair whose glyphs are not written"};
}

void TestBmFont::writesKerning()
{
    QFETCH(QString, map);
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, warnings);
    const GlyphTable glyphs = tableOf({{65, {"#"}}, {192, {"r"}}});
    const Kerning kerning({{65, 192, -2}, {192, 65, 64}, {65, 66, 5}});
    const CharMap charMap = map.isEmpty() ? CharMap() : CharMap::fromCodePage(map);
    const BmFontExport exported = bmFontBytes(glyphs, QStringLiteral("k"), charMap, kerning);
    QVERIFY2(exported.fnt.endsWith("page=0 chnl=15\n" + lines), exported.fnt.constData());
    QCOMPARE(exported.warnings, warnings);
    const ImportedFont imported = parseBmFont(exported.fnt, pagesOf({{"k_0.png", exported.page}}), charMap);
    QCOMPARE(imported.extras.kerning.pairs(), (std::vector<KerningPair>{{65, 192, -2}, {192, 65, 64}}));
    QCOMPARE(imported.warnings, QStringList());
}

// Only defined glyphs, all on one page, boxes one pixel apart, each standing
// on the baseline at the bottom of the line; white is transparent.
void TestBmFont::writesFont()
{
    GlyphTable glyphs = tableOf({{65, {"#r", ".g"}}, {66, {"b"}}, {67, {}}});
    glyphs.setGlyphSize(68, 2, 2);  // sized but not defined

    const BmFontExport exported = bmFontBytes(glyphs, QStringLiteral("tiny"));
    QCOMPARE(exported.pageFileName, QStringLiteral("tiny_0.png"));
    QCOMPARE(QString::fromUtf8(exported.fnt), QStringLiteral(
        "info face=\"tiny\" size=2 bold=0 italic=0 charset=\"\" unicode=0 stretchH=100 smooth=0 aa=1 "
        "padding=0,0,0,0 spacing=1,1 outline=0\n"
        "common lineHeight=2 base=2 scaleW=4 scaleH=2 pages=1 packed=0 alphaChnl=0 redChnl=0 greenChnl=0 blueChnl=0\n"
        "page id=0 file=\"tiny_0.png\"\n"
        "chars count=3\n"
        "char id=65 x=0 y=0 width=2 height=2 xoffset=0 yoffset=0 xadvance=2 page=0 chnl=15\n"
        "char id=66 x=3 y=0 width=1 height=1 xoffset=0 yoffset=1 xadvance=1 page=0 chnl=15\n"
        "char id=67 x=0 y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=0 page=0 chnl=15\n"));
    QImage page;
    QVERIFY(page.loadFromData(exported.page, "PNG"));
    QCOMPARE(pageRows(page.convertToFormat(QImage::Format_ARGB32)), (QStringList{"#r.b", ".g.."}));
    QCOMPARE(exported.warnings, QStringList());
}

// .llf -> .fnt -> .llf through files: the same glyphs, colours included.
void TestBmFont::roundTrip_data()
{
    QTest::addColumn<Pictures>("font");
    QTest::addColumn<Pictures>("expected");
    QTest::addColumn<QStringList>("warnings");

    const Pictures colours{{65, {"r.g", "#yb", "m.c"}}, {66, {"...", "...", "..."}}, {97, {"#..", ".#.", "..#"}}};
    QTest::newRow("colours, white inside and all-white glyphs") << colours << colours << QStringList();

    Pictures full;
    const QString symbols = QStringLiteral("#rgbycm.");
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        QStringList rows;
        for (int y = 0; y < 8; ++y) {
            QString row;
            for (int x = 0; x < 1 + code % 9; ++x)
                row += symbols[(code + 3 * x + 5 * y) % symbols.size()];
            rows << row;
        }
        full[code] = rows;
    }
    QTest::newRow("256 glyphs of many widths") << full << full << QStringList();
    QTest::newRow("a glyph of no width keeps its advance of 0")
        << Pictures{{0, {}}, {65, {"r", "#"}}} << Pictures{{0, {"", ""}}, {65, {"r", "#"}}} << QStringList();
    QTest::newRow("lower glyphs come back standing on the baseline")
        << Pictures{{46, {"g"}}, {65, {".r.", "r.r", "rrr"}}}
        << Pictures{{46, {".", ".", "g"}}, {65, {".r.", "r.r", "rrr"}}} << QStringList();
    QTest::newRow("no glyphs") << Pictures() << Pictures() << QStringList();
}

void TestBmFont::roundTrip()
{
    QFETCH(Pictures, font);
    QFETCH(Pictures, expected);
    QFETCH(QStringList, warnings);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    writeFontFile(dir.filePath("in.llf"), tableOf(font));
    QCOMPARE(writeBmFontFile(dir.filePath("font.fnt"), readFontFile(dir.filePath("in.llf"))), warnings);
    QVERIFY(isRegularFile(dir.filePath("font_0.png")));
    const ImportedFont imported = readBmFontFile(dir.filePath("font.fnt"));
    QCOMPARE(imported.warnings, QStringList());
    QCOMPARE(picturesOf(imported.glyphs), expected);
    QVERIFY(imported.glyphs == tableOf(expected));
    writeFontFile(dir.filePath("out.llf"), imported.glyphs);
    QCOMPARE(readWholeFile(dir.filePath("out.llf")), fontBytes(tableOf(expected)));
}

// A colour's high byte, which no picture holds, is named when it is lost.
void TestBmFont::dropsHighBytes()
{
    GlyphTable glyphs = tableOf({{65, {"##"}}, {66, {"r"}}});
    glyphs[65].pixels[1][0] = 0x01000000;
    const BmFontExport exported = bmFontBytes(glyphs, QStringLiteral("high"));
    QCOMPARE(exported.warnings, QStringList{"Colour high bytes dropped: glyphs 65"});
    const ImportedFont imported = parseBmFont(exported.fnt, pagesOf({{"high_0.png", exported.page}}));
    QCOMPARE(picturesOf(imported.glyphs), (Pictures{{65, {"##"}}, {66, {"r"}}}));
}

// Names with dots that are not a folder "..", and backslashes, which are
// slashes: the page is loaded by the name with slashes.
void TestBmFont::pageNamesInsideTheFolder_data()
{
    QTest::addColumn<QByteArray>("name");  // as the .fnt gives it
    QTest::addColumn<QString>("loaded");
    QTest::newRow("dots inside a name") << QByteArray("p..png") << "p..png";
    QTest::newRow("a folder beginning with dots") << QByteArray("..sub/p.png") << "..sub/p.png";
    QTest::newRow("a folder ending with dots") << QByteArray("sub../x/p.png") << "sub../x/p.png";
    QTest::newRow("a folder of three dots") << QByteArray(".../p.png") << ".../p.png";
    QTest::newRow("backslashes") << QByteArray("sub\\p.png") << "sub/p.png";
}

void TestBmFont::pageNamesInsideTheFolder()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, loaded);
    const QByteArray font = fnt(charLine(65, "x=0 y=0 width=1 height=1", "xoffset=0 yoffset=0 xadvance=1"))
                                .replace("\"p.png\"", '"' + name + '"');
    const ImportedFont imported = parseBmFont(font, pagesOf({{loaded, pngOf({"r"})}}));
    QCOMPARE(definedCodes(imported.glyphs), QList<int>{65});
}

// Each row edits a small valid font (one 2 x 2 glyph on a 2 x 2 page) in one
// place, or gives it another page.
void TestBmFont::rejectsBrokenFont_data()
{
    QTest::addColumn<QByteArray>("font");
    QTest::addColumn<QByteArray>("page");  // "p.png"; none when empty
    QTest::addColumn<QString>("message");

    const QByteArray valid = fnt(charLine(65, "x=0 y=0 width=2 height=2", "xoffset=0 yoffset=1 xadvance=2"));
    const QByteArray page = pngOf({"#r", "g#"});
    const auto edited = [&valid](const QByteArray &from, const QByteArray &to) {
        return QByteArray(valid).replace(from, to);
    };
    const QString invalid = QStringLiteral("Invalid BMFont file: ");

    QTest::newRow("binary format") << QByteArray("BMF\x03\x01\x10\0\0\0", 9) << page
                                   << invalid + "it is in the binary format; only the text format is read";
    QTest::newRow("XML format") << QByteArray("<?xml version=\"1.0\"?>\n<font>\n") << page
                                << invalid + "it is in the XML format; only the text format is read";
    QTest::newRow("empty") << QByteArray() << page << invalid + "it has no common line";
    QTest::newRow("char before common") << edited("common ", "commons ") << page
                                        << invalid + "a char line comes before the common line (line 5)";
    QTest::newRow("two common lines") << edited("page id", "common lineHeight=3\npage id") << page
                                      << invalid + "the font has more than one common line (line 3)";
    QTest::newRow("no chars count") << edited("chars count=1\n", "") << page << invalid + "it has no chars count";
    QTest::newRow("chars without count") << edited("chars count=1", "chars") << page
                                         << invalid + "chars lacks count= (line 4)";
    QTest::newRow("count disagrees") << edited("count=1", "count=2") << page
                                     << invalid + "chars count=2 but the file has 1 char lines";
    QTest::newRow("key without value") << edited("chnl=15", "chnl") << page << invalid + "\"chnl\" has no value (line 5)";
    QTest::newRow("unclosed quote") << edited("\"p.png\"", "\"p.png") << page
                                    << invalid + "the text of \"file\" has no closing quote (line 3)";
    QTest::newRow("not a number") << edited("x=0", "x=zero") << page << invalid + "x= needs a whole number (line 5)";
    QTest::newRow("beyond 32 bits") << edited("xadvance=2", "xadvance=4294967298") << page
                                    << invalid + "xadvance= needs a whole number (line 5)";
    QTest::newRow("required value missing") << edited("xadvance=2 ", "") << page
                                            << invalid + "char lacks xadvance= (line 5)";
    QTest::newRow("negative box") << edited("width=2", "width=-2") << page
                                  << invalid + "char 65 has a negative box (line 5)";
    QTest::newRow("line too high") << edited("lineHeight=3", "lineHeight=5000") << page
                                   << invalid + "its cell height 5000 is not between 0 and 4096";
    QTest::newRow("advance too large") << edited("xadvance=2", "xadvance=4097") << page
                                       << invalid + "glyph 65 has an advance of 4097, not between 0 and 4096";
    QTest::newRow("page not named") << edited("page=0", "page=1") << page
                                    << invalid + "char 65 is on page 1, which the font does not name (line 5)";
    QTest::newRow("page id beyond the count") << edited("id=0", "id=3") << page
                                              << invalid + "page id 3 is not one of its 1 pages (line 3)";
    QTest::newRow("page named twice") << edited("chars", "page id=0 file=\"q.png\"\nchars") << page
                                      << invalid + "page 0 is named twice (line 4)";
    for (const char *name : {"../p.png", "/etc/p.png", "sub\\..\\..\\p.png", "C:\\p.png", "", "..", "sub/..",
                             "sub/../p.png", "sub\\.."})
        QTest::addRow("page name \"%s\"", name)
            << edited("\"p.png\"", '"' + QByteArray(name) + '"') << page
            << invalid + QStringLiteral("its page \"%1\" lies outside the font's folder (line 3)")
                             .arg(QString::fromLatin1(name).replace('\\', '/'));
    QTest::newRow("box outside the page") << edited("x=0", "x=1") << page
                                          << invalid + "char 65 lies outside its page \"p.png\"";
    QByteArray bigBoxes;
    for (int id = 1; id <= 5; ++id)
        bigBoxes += charLine(id, "x=0 y=0 width=4096 height=4096", "xadvance=1");
    QTest::newRow("glyph boxes too large together")
        << fnt(bigBoxes) << page << invalid + "its glyph boxes together hold more than 67108864 pixels (line 9)";
    QTest::newRow("page missing") << valid << QByteArray() << "Cannot read the BMFont page \"p.png\": File not found";
    QTest::newRow("page not a PNG") << valid << QByteArray("GIF89a\x02\0\x02\0", 10)
                                    << invalid + "its page \"p.png\" is not a valid PNG image";
    QTest::newRow("page cut short") << valid << page.left(page.size() - 13)
                                    << invalid + "its page \"p.png\" is not a valid PNG image";
    QTest::newRow("page with damaged pixel data")
        << valid << QByteArray(page).replace(page.indexOf("IDAT") + 6, 4, "\xFF\xFF\xFF\xFF")
        << invalid + "its page \"p.png\" is not a valid PNG image";
    const QByteArray huge("\x89PNG\r\n\x1a\n\0\0\0\x0DIHDR\0\x01\x86\xA0\0\x01\x86\xA0\x08\x06\0\0\0\0\0\0\0"
                          "\0\0\0\0IEND\xAE\x42\x60\x82", 45);
    QTest::newRow("page claiming 100000 x 100000 pixels")
        << valid << huge << invalid + "its page \"p.png\" is not a valid PNG image";
}

void TestBmFont::rejectsBrokenFont()
{
    QFETCH(QByteArray, font);
    QFETCH(QByteArray, page);
    QFETCH(QString, message);
    QMap<QString, QByteArray> pages;
    if (!page.isEmpty())
        pages["p.png"] = page;
    try {
        parseBmFont(font, pagesOf(pages));
        QFAIL("the font was accepted");
    } catch (const Error &error) {
        QCOMPARE(error.message(), message);
    }
}

// A file cut anywhere before its last char line is refused; the format has
// no end mark, so the chars count is what shows that lines were lost.
void TestBmFont::rejectsEveryTruncation()
{
    const QByteArray whole = readWholeFile(kHandmade);
    const auto page = pagesOf({{"handmade_0.png", readWholeFile(QStringLiteral(LETTERLOOM_TEST_DATA "/fonts/handmade_0.png"))}});
    const qsizetype lastChar = whole.lastIndexOf("char id=");
    for (qsizetype size = 0; size < lastChar; ++size) {
        try {
            parseBmFont(whole.left(size), page);
            QFAIL(qPrintable(QStringLiteral("a file cut to %1 bytes was accepted").arg(size)));
        } catch (const Error &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Invalid BMFont file: ")), qPrintable(error.message()));
        }
    }
}

QTEST_GUILESS_MAIN(TestBmFont)
#include "tst_bmfont.moc"

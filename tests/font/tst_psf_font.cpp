#include "font/psf_font.h"

#include "base/error.h"
#include "base/file_io.h"
#include "base/gzip.h"
#include "font/bdf_font.h"
#include "font/font_formats.h"
#include "font/test_glyphs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

using namespace letterloom;
using namespace letterloom::font;
using namespace letterloom::font::test;

namespace {

// The console fonts Debian ships (console-setup-linux), files the program did not write.
const QString kConsoleFonts = QStringLiteral("/usr/share/consolefonts");

// A console font decoded the plain way, with zlib's own file reader: its
// glyphs as rows of '#' and '.', and each glyph's characters.
struct PlainFont {
    int width = 0;
    int height = 0;
    QList<QStringList> glyphs;
    QList<QList<uint>> characters;  // empty lists when the font has no table
};

PlainFont decodePlainly(const QString &path)
{
    QByteArray bytes;
    gzFile file = gzopen(QFile::encodeName(path).constData(), "rb");
    char buffer[4096];
    for (int got; file && (got = gzread(file, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, got);
    if (file)
        gzclose(file);
    auto byte = [&bytes](qsizetype at) { return uint(quint8(bytes.at(at))); };
    auto word = [&](qsizetype at) { return byte(at) | byte(at + 1) << 8 | byte(at + 2) << 16 | byte(at + 3) << 24; };

    PlainFont font;
    uint count = 0, glyphSize = 0, start = 0;
    bool table = false, psf2 = byte(0) == 0x72;
    if (psf2) {
        start = word(8);
        table = word(12) & 1;
        count = word(16);
        glyphSize = word(20);
        font.height = int(word(24));
        font.width = int(word(28));
    } else {
        count = byte(2) & 1 ? 512 : 256;
        table = byte(2) & 6;
        glyphSize = byte(3);
        font.height = int(byte(3));
        font.width = 8;
        start = 4;
    }
    const uint rowSize = (uint(font.width) + 7) / 8;
    for (uint g = 0; g < count; ++g) {
        QStringList rows;
        for (int y = 0; y < font.height; ++y) {
            QString row;
            for (int x = 0; x < font.width; ++x)
                row += byte(start + g * glyphSize + uint(y) * rowSize + uint(x) / 8) & (0x80u >> (x % 8)) ? u'#' : u'.';
            rows << row;
        }
        font.glyphs << rows;
    }
    qsizetype at = start + count * glyphSize;
    for (uint g = 0; table && g < count; ++g) {
        QList<uint> characters;
        if (psf2) {
            const qsizetype end = bytes.indexOf('\xFF', at);
            const QByteArray entry = bytes.mid(at, end - at);
            at = end + 1;
            for (char32_t point : QString::fromUtf8(entry.left(entry.indexOf('\xFE') < 0 ? entry.size() : entry.indexOf('\xFE'))).toUcs4())
                characters << uint(point);
        } else {
            bool sequence = false;
            for (uint unit; (unit = byte(at) | byte(at + 1) << 8) != 0xFFFF; at += 2) {
                sequence = sequence || unit == 0xFFFE;
                if (!sequence)
                    characters << unit;
            }
            at += 2;
        }
        font.characters << characters;
    }
    return font;
}

// The glyphs of a console font as a BDF font in the ISO10646 registry, glyph
// n under its first character (glyphs without one left out): the Unicode BDF
// font another tool would have made of it.
QByteArray unicodeBdfOf(const PlainFont &font)
{
    QByteArray glyphs;
    int count = 0;
    for (qsizetype g = 0; g < font.glyphs.size(); ++g) {
        if (font.characters[g].isEmpty())
            continue;
        ++count;
        glyphs += "STARTCHAR g" + QByteArray::number(g) + "\nENCODING " + QByteArray::number(font.characters[g].front())
                  + "\nDWIDTH " + QByteArray::number(font.width) + " 0\nBBX " + QByteArray::number(font.width) + ' '
                  + QByteArray::number(font.height) + " 0 0\nBITMAP\n";
        for (const QString &row : font.glyphs[g]) {
            uint bits = 0;
            for (int x = 0; x < 8 * ((font.width + 7) / 8); ++x)
                bits = bits << 1 | uint(x < row.size() && row[x] == u'#');
            glyphs += QByteArray::number(bits, 16).rightJustified((font.width + 7) / 8 * 2, '0') + '\n';
        }
        glyphs += "ENDCHAR\n";
    }
    return "STARTFONT 2.1\nFONT -misc-console-medium-r-normal--16-160-75-75-c-80-iso10646-1\nFONTBOUNDINGBOX "
           + QByteArray::number(font.width) + ' ' + QByteArray::number(font.height)
           + " 0 0\nSTARTPROPERTIES 2\nFONT_ASCENT " + QByteArray::number(font.height)
           + "\nFONT_DESCENT 0\nENDPROPERTIES\nCHARS " + QByteArray::number(count) + '\n' + glyphs + "ENDFONT\n";
}

QStringList consoleFonts()
{
    return QDir(kConsoleFonts).entryList({"*.psf", "*.psfu", "*.psf.gz", "*.psfu.gz"}, QDir::Files, QDir::Name);
}

// A PSF1 font of 256 or 512 glyphs 8 x height, glyph n showing the bits of
// the bytes given for it (the others empty), with an optional table of
// 16-bit units.
QByteArray psf1(int mode, int height, const QMap<int, QByteArray> &bits, const QList<QList<int>> &table = {})
{
    const int count = mode & 1 ? 512 : 256;
    QByteArray out = QByteArray::fromHex("3604") + char(mode) + char(height);
    for (int g = 0; g < count; ++g)
        out += bits.value(g).leftJustified(height, '\0', true);
    for (const QList<int> &entry : table)
        for (int unit : entry)
            out += char(unit & 0xFF) + QByteArray(1, char(unit >> 8));
    return out;
}

QByteArray le32(uint value)
{
    QByteArray out;
    for (int i = 0; i < 4; ++i)
        out += char(value >> (8 * i));
    return out;
}

// A PSF2 font of count glyphs width x height, with rows of (width + 7) / 8
// bytes given per glyph, and table bytes after them.
QByteArray psf2(uint count, uint width, uint height, const QMap<int, QByteArray> &bits, const QByteArray &table = {},
                uint headerSize = 32)
{
    const uint glyphSize = (width + 7) / 8 * height;
    QByteArray out = QByteArray::fromHex("72b54a86") + le32(0) + le32(headerSize) + le32(table.isEmpty() ? 0 : 1) +
                     le32(count) + le32(glyphSize) + le32(height) + le32(width);
    out += QByteArray(int(headerSize) - 32, '\0');
    for (uint g = 0; g < count; ++g)
        out += bits.value(int(g)).leftJustified(int(glyphSize), '\0', true);
    return out + table;
}

QList<QList<int>> emptyTable(int count)
{
    return QList<QList<int>>(count, QList<int>{0xFFFF});
}

}  // namespace

class TestPsfFont : public QObject {
    Q_OBJECT

private slots:
    void readsConsoleFonts_data();
    void readsConsoleFonts();
    void readsConsoleFontsThroughMaps_data();
    void readsConsoleFontsThroughMaps();
    void placesGlyphs_data();
    void placesGlyphs();
    void rejectsBrokenFont_data();
    void rejectsBrokenFont();
    void rejectsEveryTruncation();
    void writesFont_data();
    void writesFont();
};

void TestPsfFont::readsConsoleFonts_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = consoleFonts();
    // A machine set up by make has console-setup-linux and its hundreds of fonts.
    QVERIFY2(names.size() >= 100, "the console fonts are missing: make deps installs console-setup-linux");
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

// Each glyph lands at the Latin-1 code of every character the table gives
// it, the first glyph claiming a code keeping it; codes no glyph claims
// stay undefined.
void TestPsfFont::readsConsoleFonts()
{
    QFETCH(QString, name);
    const QString path = kConsoleFonts + u'/' + name;
    const PlainFont plain = decodePlainly(path);
    QVERIFY(!plain.glyphs.isEmpty());
    Pictures expected;
    for (qsizetype g = 0; g < plain.glyphs.size(); ++g) {
        const QList<uint> characters = plain.characters.isEmpty() ? QList<uint>{uint(g)} : plain.characters[g];
        for (uint point : characters)
            if (point < 256 && !expected.contains(int(point)))
                expected[int(point)] = plain.glyphs[g];
    }
    const ImportedFont font = readAnyFont(path);
    const Pictures read = picturesOf(font.glyphs);
    QCOMPARE(read.keys(), expected.keys());
    for (int code : expected.keys())
        if (read[code] != expected[code])
            QFAIL(qPrintable(QStringLiteral("glyph %1 differs: %2").arg(code).arg(read[code].join(u'/'))));
}

void TestPsfFont::readsConsoleFontsThroughMaps_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("text");  // characters the font must give through the map
    QTest::newRow("Cyrillic, windows-1251") << "CyrSlav-Fixed16.psf.gz" << "windows-1251" << u"Привет, ЁёЎў"_qs;
    QTest::newRow("Cyrillic, KOI8-R") << "CyrKoi-Terminus16.psf.gz" << "KOI8-R" << u"Здравствуй, Ёё"_qs;
    QTest::newRow("Greek, ISO-8859-7") << "Greek-VGA16.psf.gz" << "ISO-8859-7" << u"Καλημέρα"_qs;
    QTest::newRow("Central European, windows-1250") << "Lat2-Fixed16.psf.gz" << "windows-1250" << u"Łódź, Žluťoučký"_qs;
    QTest::newRow("Central European, ISO-8859-2") << "Lat2-Terminus16.psf.gz" << "ISO-8859-2" << u"Łódź, Šťastný"_qs;
}

// Through a map each code gets the first glyph whose characters include the
// one character of the code's text, from the console font and from the same
// glyphs as a Unicode BDF font; the font takes the map.
void TestPsfFont::readsConsoleFontsThroughMaps()
{
    QFETCH(QString, name);
    QFETCH(QString, map);
    QFETCH(QString, text);
    const QString path = kConsoleFonts + u'/' + name;
    if (!QFile::exists(path))
        QSKIP("this console font is missing");
    const PlainFont plain = decodePlainly(path);
    const CharMap through = CharMap::fromCodePage(map);
    Pictures expected, asBdf;
    for (int code = 0; code < 256; ++code) {
        const QList<uint> character = through.text(code).toUcs4();
        for (qsizetype g = 0; character.size() == 1 && g < plain.glyphs.size(); ++g) {
            if (plain.characters[g].contains(character.front()) && !expected.contains(code))
                expected[code] = plain.glyphs[g];
            if (plain.characters[g].value(0) == character.front() && !asBdf.contains(code))
                asBdf[code] = plain.glyphs[g];
        }
    }
    for (const char32_t point : text.toUcs4())
        QVERIFY2(expected.contains(through.code(QString::fromUcs4(&point, 1)).value_or(-1)), qPrintable(name));

    const ImportedFont font = readAnyFont(path, through);
    QVERIFY(font.unicode);
    QCOMPARE(font.extras.charMap, through);
    QCOMPARE(picturesOf(font.glyphs), expected);
    const ImportedFont bdf = parseBdf(unicodeBdfOf(plain), through);
    QVERIFY(bdf.unicode);
    QCOMPARE(bdf.extras.charMap, through);
    QCOMPARE(picturesOf(bdf.glyphs), asBdf);
}

void TestPsfFont::placesGlyphs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Pictures>("glyphs");
    QTest::addColumn<QStringList>("warnings");

    const QMap<int, QByteArray> bits{{65, "\x80\x01"}, {66, "\xFF"}};
    const Pictures ab{{65, {"#.......", ".......#"}}, {66, {"########", "........"}}};
    Pictures all;
    for (int code = 0; code < 256; ++code)
        all[code] = {"........", "........"};
    all.insert(ab);

    QTest::newRow("PSF1 without a table: glyph n at code n") << psf1(0, 2, bits) << all << QStringList{};
    QTest::newRow("PSF1 of 512 glyphs without a table")
        << psf1(1, 2, bits) << all << QStringList{"Skipped 256 glyphs with codes above 255"};
    QList<QList<int>> table = emptyTable(256);
    table[65] = {0x42, 0xFFFF};  // glyph 65 stands for B
    table[66] = {0x41, 0xC5, 0xFFFE, 0x41, 0x30A, 0xFFFF};  // glyph 66 for A, Å and the sequence A + ring
    table[67] = {0x416, 0xFFFF};  // a character outside Latin-1
    QTest::newRow("PSF1 with a table, sequences passed over")
        << psf1(2, 2, bits, table)
        << Pictures{{66, {"#.......", ".......#"}}, {65, ab[66]}, {0xC5, ab[66]}}
        << QStringList{"Skipped 1 glyph whose characters have no code in the character map"};
    table[68] = {0x42, 0xFFFF};
    QTest::newRow("PSF1, a code claimed twice")
        << psf1(6, 2, bits, table) << Pictures{{66, ab[65]}, {65, ab[66]}, {0xC5, ab[66]}}
        << QStringList{"Kept only the first glyph of codes 66, which appear more than once",
                       "Skipped 1 glyph whose characters have no code in the character map"};

    const QMap<int, QByteArray> wide{{0, QByteArray::fromHex("8040 0080 ffc0")}, {1, QByteArray::fromHex("0000 0000 0040")}};
    const Pictures wideGlyphs{{0, {"#........#", "........#.", "##########"}},
                              {1, {"..........", "..........", ".........#"}}};
    QTest::newRow("PSF2 of 10 x 3 without a table") << psf2(2, 10, 3, wide) << wideGlyphs << QStringList{};
    QTest::newRow("PSF2 with a longer header") << psf2(2, 10, 3, wide, {}, 40) << wideGlyphs << QStringList{};
    QTest::newRow("PSF2 with a UTF-8 table")
        << psf2(2, 10, 3, wide, QByteArray("a\xC3\xA9\xFE" "e\xCC\x81\xFF" "\xE2\x82\xAC" "b\xFF"))
        << Pictures{{'a', wideGlyphs[0]}, {0xE9, wideGlyphs[0]}, {'b', wideGlyphs[1]}} << QStringList{};
    QTest::newRow("PSF2, gzip-compressed") << gzip(psf2(2, 10, 3, wide)) << wideGlyphs << QStringList{};
}

void TestPsfFont::placesGlyphs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Pictures, glyphs);
    QFETCH(QStringList, warnings);
    const ImportedFont font = parsePsf(bytes);
    QCOMPARE(picturesOf(font.glyphs), glyphs);
    QCOMPARE(font.warnings, warnings);
}

void TestPsfFont::rejectsBrokenFont_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    QTest::newRow("not a PSF font") << QByteArray("STARTFONT") << "it does not begin with the mark of either PSF version";
    QTest::newRow("PSF1 header cut short") << QByteArray::fromHex("360400") << "its header is cut short";
    QTest::newRow("PSF1 of glyphs 0 high") << psf1(0, 0, {}) << "its glyphs are 0 pixels high";
    QTest::newRow("PSF1 glyphs cut short") << psf1(0, 2, {}).left(300) << "it ends inside its 256 glyphs";
    QTest::newRow("PSF1 table cut short")
        << psf1(2, 2, {}, emptyTable(255)) << "its Unicode table ends inside the entry of glyph 255";
    QTest::newRow("PSF1 table cut inside a unit")
        << psf1(2, 2, {}, emptyTable(256)).chopped(1) << "its Unicode table ends inside the entry of glyph 255";
    QTest::newRow("PSF2 header cut short") << psf2(1, 8, 8, {}).left(31) << "its header is cut short";
    QTest::newRow("PSF2 header larger than the file")
        << psf2(1, 8, 8, {}).replace(8, 4, le32(1000)) << "its header size 1000 does not fit the file";
    QTest::newRow("PSF2 header smaller than its fields")
        << psf2(1, 8, 8, {}).replace(8, 4, le32(16)) << "its header size 16 does not fit the file";
    QTest::newRow("PSF2 glyphs 5000 wide")
        << psf2(1, 5000, 1, {}) << "its glyphs of 5000 x 1 pixels are not between 1 and 4096 a side";
    QTest::newRow("PSF2 glyphs 0 high") << psf2(1, 8, 0, {}) << "its glyphs of 8 x 0 pixels are not between 1 and 4096 a side";
    QTest::newRow("PSF2 glyph bytes too few for the size")
        << psf2(1, 8, 8, {}).replace(20, 4, le32(7)) << "its glyphs of 7 bytes cannot hold 8 x 8 pixels";
    QTest::newRow("PSF2 of four billion glyphs")
        << psf2(1, 8, 8, {}).replace(16, 4, le32(0xFFFFFFFFu)) << "it ends inside its 4294967295 glyphs";
    QTest::newRow("PSF2 of four billion glyphs of four billion bytes")
        << psf2(1, 8, 8, {}).replace(16, 8, le32(0xFFFFFFFFu) + le32(0xFFFFFFFFu)) << "it ends inside its 4294967295 glyphs";
    QTest::newRow("PSF2 table cut short")
        << psf2(2, 8, 1, {}, "a\xFF" "b") << "its Unicode table ends inside the entry of glyph 1";
    QTest::newRow("PSF2 table not UTF-8")
        << psf2(1, 8, 1, {}, "\xC3(\xFF") << "the Unicode table entry of glyph 0 is not UTF-8";
    QTest::newRow("damaged gzip") << gzip(psf2(1, 8, 1, {})).chopped(12) << "the gzip compression is damaged";
    QTest::newRow("gzip followed by rubbish") << gzip(psf2(1, 8, 1, {})) + "rubbish" << "the gzip compression is damaged";
}

void TestPsfFont::rejectsBrokenFont()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    try {
        parsePsf(bytes);
        QFAIL("a broken font was read");
    } catch (const Error &error) {
        QCOMPARE(error.message(), QStringLiteral("Invalid PSF font: ") + message);
    }
}

void TestPsfFont::rejectsEveryTruncation()
{
    QByteArray table;
    for (int code = 0; code < 3; ++code)
        table += QByteArray(1, char('a' + code)) + "\xC3\xA9\xFF";
    for (const QByteArray &whole : {psf1(2, 3, {{1, "\x10"}}, emptyTable(256)), psf2(3, 12, 2, {{2, "\xFF\xF0"}}, table),
                                    gzip(psf2(3, 12, 2, {}, table))}) {
        for (qsizetype size = 0; size < whole.size(); ++size) {
            try {
                parsePsf(whole.left(size));
                QFAIL(qPrintable(QStringLiteral("a file cut to %1 bytes was accepted").arg(size)));
            } catch (const Error &error) {
                QVERIFY2(error.message().startsWith(QStringLiteral("Invalid PSF font: ")), qPrintable(error.message()));
            }
        }
        parsePsf(whole);
    }
}

void TestPsfFont::writesFont_data()
{
    QTest::addColumn<Pictures>("font");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("header");  // the file's first bytes, unpacked
    QTest::addColumn<Pictures>("readBack");
    QTest::addColumn<QStringList>("warnings");

    const Pictures eight{{65, {"#......#", ".######."}}, {200, {"########", "#......#"}}};
    QTest::newRow("8 wide: PSF1 with a table") << eight << "out.psf" << QByteArray::fromHex("36040202") << eight
                                               << QStringList{};
    QTest::newRow("8 wide, gzip-compressed") << eight << "out.psfu.gz" << QByteArray::fromHex("36040202") << eight
                                             << QStringList{};
    const Pictures odd{{33, {"#.#", "...", "#.#"}}, {34, {"r"}}, {255, {"#..#."}}};
    QTest::newRow("any other width: PSF2, lower glyphs standing on the bottom, colours dropped")
        << odd << "out.psf"
        << QByteArray::fromHex("72b54a86 00000000 20000000 01000000 00010000 03000000 03000000 05000000")
        << Pictures{{33, {"#.#..", "...", "#.#.."}}, {34, {".....", ".....", "#...."}}, {255, {".....", ".....", "#..#."}}}
        << QStringList{"Colours dropped, drawn in black: glyphs 34", "Made 5 pixels wide, the one width of a console font: glyphs 33 and 34"};
}

void TestPsfFont::writesFont()
{
    QFETCH(Pictures, font);
    QFETCH(QString, name);
    QFETCH(QByteArray, header);
    QFETCH(Pictures, readBack);
    QFETCH(QStringList, warnings);

    // The rows of a narrower glyph read back as wide as the font.
    for (QStringList &rows : readBack)
        for (QString &row : rows)
            row = row.leftJustified(readBack.first().first().size(), u'.');
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    QCOMPARE(writeAnyFont(path, tableOf(font)), warnings);
    const QByteArray written = readWholeFile(path);
    QCOMPARE(isGzip(written), name.endsWith(".gz"));
    QVERIFY((isGzip(written) ? gunzip(written, 1 << 20) : written).startsWith(header));
    const ImportedFont read = readAnyFont(path);
    QCOMPARE(picturesOf(read.glyphs), readBack);
    QCOMPARE(read.warnings, QStringList{});
}

QTEST_GUILESS_MAIN(TestPsfFont)
#include "tst_psf_font.moc"

#include "font/font_formats.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/test_glyphs.h"

#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::font;
using namespace letterloom::font::test;

class TestFontFormats : public QObject {
    Q_OBJECT

private slots:
    void convertsByExtension_data();
    void convertsByExtension();
    void reportsFailures_data();
    void reportsFailures();
    void writesUnicodeThroughMap_data();
    void writesUnicodeThroughMap();
    void kerningByFormat_data();
    void kerningByFormat();
};

// Writing and reading a font by its file name picks the format from the
// extension, in any letter case; the files begin the way each format does.
void TestFontFormats::convertsByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<Pictures>("expected");
    QTest::addColumn<QStringList>("warnings");

    const Pictures colours{{65, {"r#", "#g"}}};
    const Pictures blackAndWhite{{65, {"##", "##"}}};
    const QStringList dropped{"Colours dropped, drawn in black: glyphs 65"};
    QTest::newRow("own font file") << "font.llf" << QByteArray("\0\0\0\0\0\0\0\0\0", 9) << colours << QStringList();
    QTest::newRow("own font file, capitals") << "FONT.LLF" << QByteArray("\0", 1) << colours << QStringList();
    QTest::newRow("BDF") << "font.bdf" << QByteArray("STARTFONT 2.1\n") << blackAndWhite << dropped;
    QTest::newRow("BDF, capitals") << "font.Bdf" << QByteArray("STARTFONT") << blackAndWhite << dropped;
    QTest::newRow("BMFont") << "font.fnt" << QByteArray("info face=\"font\"") << colours << QStringList();
}

void TestFontFormats::convertsByExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    QFETCH(Pictures, expected);
    QFETCH(QStringList, warnings);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);

    QCOMPARE(writeAnyFont(path, tableOf({{65, {"r#", "#g"}}})), warnings);
    QVERIFY(readWholeFile(path).startsWith(start));
    const ImportedFont imported = readAnyFont(path);
    QCOMPARE(picturesOf(imported.glyphs), expected);
    QCOMPARE(imported.warnings, QStringList());
}

void TestFontFormats::reportsFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // none when empty
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown extension") << "font.txt" << QByteArray("STARTFONT 2.1\n")
                                       << "Unknown font file type \"font.txt\"";
    QTest::newRow("no extension") << "font" << QByteArray() << "Unknown font file type \"font\"";
    QTest::newRow("missing font file") << "font.llf" << QByteArray() << "File not found";
    QTest::newRow("missing BDF font") << "font.bdf" << QByteArray() << "File not found";
    QTest::newRow("missing BMFont") << "font.fnt" << QByteArray() << "File not found";
    QTest::newRow("missing BMFont page")
        << "font.fnt" << QByteArray("common lineHeight=1\npage id=0 file=\"font_0.png\"\nchars count=1\n"
                                    "char id=65 x=0 y=0 width=1 height=1 xadvance=1\n")
        << "Cannot read the BMFont page \"font_0.png\": File not found";
}

void TestFontFormats::reportsFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);
    if (!content.isEmpty())
        writeWholeFile(path, content);
    try {
        readAnyFont(path);
        QFAIL("the font was read");
    } catch (const Error &error) {
        QCOMPARE(error.message(), message);
    }
}

// Through a map the other formats hold the Unicode characters of the codes,
// and reading them through the same map puts every glyph back, but those
// whose codes have no character of their own.
void TestFontFormats::writesUnicodeThroughMap_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("map");      // a code page, or the lines of a table
    QTest::addColumn<QByteArrayList>("markers");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<Pictures>("readBack");
    QTest::addColumn<QStringList>("readWarnings");

    const Pictures all{{0xCF, {"#.", ".#"}}, {0xF0, {"##", ".."}}, {'A', {".#", "#."}}, {0xE0, {"..", "##"}}};
    QTest::newRow("BDF, windows-1251") << "font.bdf" << "windows-1251"
                                       << QByteArrayList{"-ISO10646-1\n", "CHARSET_REGISTRY \"ISO10646\"\n",
                                                         "ENCODING 1055\n", "ENCODING 1088\n", "ENCODING 1072\n"}
                                       << QStringList() << all << QStringList();
    QTest::newRow("BMFont, ISO-8859-7") << "font.fnt" << "ISO-8859-7"
                                        << QByteArrayList{"unicode=1", "char id=927 ", "char id=960 ", "char id=65 "}
                                        << QStringList() << all << QStringList();
    QTest::newRow("PSF, KOI8-R") << "font.psfu" << "KOI8-R" << QByteArrayList{"\xD0\x9F\xFF", "\xD0\xAE\xFF"} << QStringList() << all
                                 << QStringList();
    Pictures withoutTh = all;
    withoutTh.remove(0xE0);
    const QString several = "Left undefined, their texts in the character map (table) have several characters: codes 224";
    QTest::newRow("BDF, a DTE table") << "font.bdf" << "CF=\u041F\nF0=\u0440\nE0=th\n41=A\n"
                                      << QByteArrayList{"ENCODING 1055\n", "ENCODING 1088\n", "ENCODING 65\n"}
                                      << QStringList{"Skipped, no single character in the character map (table): glyphs 224"}
                                      << withoutTh << QStringList{several};
    Pictures twice = withoutTh;
    twice[0xF0] = all[0xCF];
    QTest::newRow("BMFont, two codes of one character")
        << "font.fnt" << "CF=\u041F\nF0=\u041F\nE0=th\n41=A\n" << QByteArrayList{"char id=1055 "}
        << QStringList{"Skipped, no single character in the character map (table): glyphs 224",
                       "Skipped, their characters belong to lower codes in the character map (table): glyphs 240"}
        << twice << QStringList{several};
    QTest::newRow("BDF, no map: the codes themselves")
        << "font.bdf" << "" << QByteArrayList{"-ISO8859-1\n", "STARTPROPERTIES 2\n", "ENCODING 207\n"} << QStringList()
        << all << QStringList();
}

void TestFontFormats::writesUnicodeThroughMap()
{
    QFETCH(QString, name);
    QFETCH(QString, map);
    QFETCH(QByteArrayList, markers);
    QFETCH(QStringList, warnings);
    QFETCH(Pictures, readBack);
    QFETCH(QStringList, readWarnings);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    FontExtras extras;
    if (map.contains(u'='))
        extras.charMap = readTable(map.toUtf8()).map;
    else if (!map.isEmpty())
        extras.charMap = CharMap::fromCodePage(map);
    const Pictures all{{0xCF, {"#.", ".#"}}, {0xF0, {"##", ".."}}, {'A', {".#", "#."}}, {0xE0, {"..", "##"}}};

    QCOMPARE(writeAnyFont(path, tableOf(all), extras), warnings);
    const QByteArray bytes = readWholeFile(path);
    for (const QByteArray &marker : markers)
        QVERIFY2(bytes.contains(marker), marker.constData());
    const ImportedFont read = readAnyFont(path, extras.charMap);
    QCOMPARE(picturesOf(read.glyphs), readBack);
    QCOMPARE(read.warnings, readWarnings);
}

// The program's own font and BMFont keep a font's kerning pairs; BDF and PSF
// have none and name the pairs as lost.
void TestFontFormats::kerningByFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("own font file") << "font.llf" << true << QStringList();
    QTest::newRow("BMFont") << "font.fnt" << true << QStringList();
    QTest::newRow("BDF") << "font.bdf" << false
                         << QStringList{"Dropped the kerning of 2 pairs: BDF fonts have none"};
    QTest::newRow("PSF") << "font.psf" << false
                         << QStringList{"Dropped the kerning of 2 pairs: PSF fonts have none"};
}

void TestFontFormats::kerningByFormat()
{
    QFETCH(QString, name);
    QFETCH(bool, kept);
    QFETCH(QStringList, warnings);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    FontExtras extras;
    extras.kerning = Kerning({{'A', 'B', -1}, {'B', 'A', 2}});
    GlyphTable glyphs = tableOf({{'A', {"#", "#"}}, {'B', {"#", "#"}}});
    QCOMPARE(writeAnyFont(path, glyphs, extras), warnings);
    const ImportedFont read = readAnyFont(path);
    QCOMPARE(read.extras.kerning, kept ? extras.kerning : Kerning());
}

QTEST_GUILESS_MAIN(TestFontFormats)
#include "tst_font_formats.moc"

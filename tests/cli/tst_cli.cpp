// letterloom-cli run as a user runs it: a separate process on files in a
// temporary folder, judged by its exit status, its output and the files it
// leaves behind.

#include "base/byte_reader.h"
#include "base/extension_block.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "font/glyph_sketch.h"
#include "project/project_file.h"
#include "support/full_disk.h"
#include "support/run_length_bmp.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>

#include <tuple>
#include <zlib.h>

#include "support/sanitized.h"

using namespace letterloom;
using testing::rasterSketch;
using testing::sketchGlyph;

namespace {

constexpr raster::Colour kGrey = 0x808080;

using Widths = QMap<int, int>;  // code -> width of the glyph there

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

font::tGraphChar block(int width, int height, raster::Colour colour, bool defined = true)
{
    font::tGraphChar glyph;
    glyph.defined = defined;
    font::resizeGlyph(glyph, width, height);
    for (auto &column : glyph.pixels)
        std::fill(column.begin(), column.end(), colour);
    font::syncImage(glyph);
    return glyph;
}

// The glyphs of the test projects: a and b black blocks, a space of 5, \u00E9,
// an X of two colours whose white pixel is its background, and an undefined
// glyph that holds pixels all the same.
font::GlyphTable testFont()
{
    font::GlyphTable glyphs;
    glyphs['a'] = block(5, 7, raster::kBlack);
    glyphs['b'] = block(3, 7, raster::kBlack);
    glyphs[' '] = block(5, 7, raster::kWhite);
    glyphs[233] = block(5, 7, raster::kBlack);
    glyphs[7] = block(2, 2, raster::kBlack, false);
    glyphs['X'] = sketchGlyph({"#g", ".#"});
    return glyphs;
}

QByteArray greyPicture()
{
    raster::Raster picture(80, 60);
    picture.fill(kGrey);
    return picture.toBmp();
}

QByteArray projectFile(project::TextArea area, const QString &fontPath, const QByteArray &text,
                       const QByteArray &picture = greyPicture())
{
    project::ProjectFile file;
    file.settings.area = area;
    file.storedFontPath = fontPath.toUtf8();
    file.text = text;
    file.pictureBmp = picture;
    return project::projectBytes(file);
}

// A project of several text areas, the first in the described fields.
QByteArray areasFile(const std::vector<project::AreaText> &areas, const QString &fontPath)
{
    project::ProjectFile file;
    project::ProjectExtras extras;
    project::splitAreas(areas, file.settings, file.text, extras);
    file.extensions.keys = project::projectExtrasKeys(extras);
    file.storedFontPath = fontPath.toUtf8();
    file.pictureBmp = greyPicture();
    return project::projectBytes(file);
}

// The three areas of areas.llp: one that fits, one too narrow for its second
// word, one too low for its lines (centred, narrower line spacing).
const std::vector<project::AreaText> kThreeAreas{
    {{10, 20, 60, 30}, "X", 1, 10, {}, raster::kBlack, {}, {}},
    {{2, 2, 13, 50}, "b aa", 1, 10, {}, raster::kBlack, {}, {}},
    {{40, 5, 24, 14}, "aa aa aa", 2, 6, {}, raster::kBlack, {}, {}},
};

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes;
    for (int shift : {24, 16, 8, 0})
        bytes += char(value >> shift);
    return bytes;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    const QByteArray body = type + data;
    return bigEndian32(quint32(data.size())) + body
           + bigEndian32(quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))));
}

// A 4 x 2 RGB PNG whose chunks add up, with rows as given (each a filter byte
// and 12 bytes) and compressed as given.
QByteArray pngOf(const QByteArray &idat)
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", QByteArray::fromHex("00000004 00000002 0802000000"))
           + pngChunk("IDAT", idat) + pngChunk("IEND", {});
}

QByteArray zlibOf(const QByteArray &bytes)
{
    QByteArray packed(int(compressBound(uLong(bytes.size()))), '\0');
    uLongf size = uLongf(packed.size());
    compress(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(bytes.constData()),
             uLong(bytes.size()));
    return packed.left(qsizetype(size));
}

// Two rows of four grey pixels, each row with the given filter byte.
QByteArray pngRows(char filter)
{
    return (filter + QByteArray(12, '\x80')).repeated(2);
}

}  // namespace

class CliTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    // "@name" stands for a file of the temporary folder.
    QString expand(QString text) const { return text.replace(QLatin1Char('@'), dir_.path() + u'/'); }
    QString path(const QString &name) const { return dir_.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const { writeWholeFile(path(name), bytes); }

    // addressSpace, when given, limits the process's address space (bytes);
    // platform, when given, is the platform plugin the process is told to use.
    // input, when given, is written to its standard input.
    Run cli(const QStringList &arguments, qint64 addressSpace = 0, const QString &platform = {},
            const QByteArray &input = {}) const
    {
        QStringList expanded;
        for (const QString &argument : arguments)
            expanded << expand(argument);
        QProcess process;
        if (addressSpace > 0)
            process.setChildProcessModifier([addressSpace] {
                const rlimit bounds{rlim_t(addressSpace), rlim_t(addressSpace)};
                setrlimit(RLIMIT_AS, &bounds);
            });
        if (!platform.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
            process.setProcessEnvironment(environment);
        }
        process.start(QStringLiteral(LETTERLOOM_CLI), expanded);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(-1))
            qFatal("letterloom-cli did not run: %s", qPrintable(process.errorString()));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        const QByteArray font = font::fontBytes(testFont());
        write("font.llf", font);
        write("truncated.llf", font.left(100));
        write("font.xyz", font);
        font::FontExtras kerned;
        kerned.kerning = font::Kerning({{'a', 'a', -1}, {'a', 'b', -2}});
        write("kerned.llf", font::fontFileBytes(testFont(), kerned));
        const QString fontPath = path("font.llf");
        write("fits.llp", projectFile({10, 20, 60, 30}, fontPath, "X"));
        write("wide.llp", projectFile({10, 20, 8, 30}, fontPath, "aa"));
        write("tall.llp", projectFile({10, 20, 24, 14}, fontPath, "aa aa aa"));
        write("lone-cr.llp", projectFile({10, 20, 60, 30}, fontPath, "aa\rb"));
        write("missingfont.llp", projectFile({10, 20, 60, 30}, path("none.llf"), "X"));
        write("nopicture.llp", projectFile({10, 20, 60, 30}, fontPath, "X", {}));
        write("truncated.llp", projectFile({10, 20, 60, 30}, fontPath, "X").left(30));
        write("grid.png", raster::Raster(testing::sketchGlyph({".#.#", "#.##"}).image).toPng());
        QByteArray look = projectFile({10, 20, 60, 30}, fontPath, "X");
        look += extensionBlockBytes(QJsonDocument::fromJson(
            R"({"textColour":"FF0000","effects":{"outline":{"size":1,"colour":"0000FF"}}})").object());
        write("look.llp", look);
        write("damaged.llp", projectFile({10, 20, 60, 30}, fontPath, "X") + QByteArray("LLX1\xff\x00\x00\x00{}", 10));
        write("areas.llp", areasFile(kThreeAreas, fontPath));
        for (size_t i = 0; i < kThreeAreas.size(); ++i)
            write(QStringLiteral("area%1.llp").arg(i + 1), areasFile({kThreeAreas[i]}, fontPath));
        write("runs.llp", projectFile({10, 20, 60, 30}, fontPath, "X",
                                      testing::runLengthBmp(256, 256, testing::oneColourRuns(256, 256))));
        QByteArray badChecksum = pngOf(zlibOf(pngRows(0)));
        badChecksum[badChecksum.indexOf("IEND") - 5] ^= 1;  // the last byte of the pixel data
        write("checksum.png", badChecksum);
        write("inflate.png", pngOf("not compressed data"));
        write("filter.png", pngOf(zlibOf(pngRows(7))));
        write("short.png", pngOf(zlibOf(pngRows(0).left(13))));
    }

    void init()
    {
        for (const QString &name : QDir(dir_.path()).entryList({"out.*", "out_*"}, QDir::AllEntries | QDir::System | QDir::Hidden))
            QFile::remove(path(name));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");  // the start of stderr
        QTest::addColumn<QString>("output");   // the file the command would write
        QTest::addColumn<bool>("written");

        const QString width = "letterloom-cli: Text does not fit in the specified area by width!\n";
        const QString height = "letterloom-cli: Text does not fit in the specified area by height!\n";
        QTest::newRow("render that fits") << QStringList{"render", "@fits.llp", "-o", "@out.bmp"} << 0 << "" << "out.bmp" << true;
        QTest::newRow("render to PNG") << QStringList{"render", "@fits.llp", "-o", "@out.png"} << 0 << "" << "out.png" << true;
        QTest::newRow("render to PNG, extension in capitals") << QStringList{"render", "@fits.llp", "-o", "@out.PNG"} << 0 << "" << "out.PNG" << true;
        QTest::newRow("render to a kind it cannot write")
            << QStringList{"render", "@fits.llp", "-o", "@out.jpg"} << 2
            << "letterloom-cli: A picture cannot be written as a .jpg file, so \"out.jpg\" was not written: "
               "choose a name ending in .bmp (BMP) or .png (PNG).\n" << "out.jpg" << false;
        QTest::newRow("render, word too wide") << QStringList{"render", "@wide.llp", "-o", "@out.bmp"} << 3 << width << "out.bmp" << true;
        QTest::newRow("render, lines too many") << QStringList{"render", "@tall.llp", "-o", "@out.bmp"} << 3 << height << "out.bmp" << true;
        QTest::newRow("render, font missing")
            << QStringList{"render", "@missingfont.llp", "-o", "@out.bmp"} << 0
            << "letterloom-cli: Font specified in project file was not found: @none.llf\n" << "out.bmp" << true;
        QTest::newRow("render, missing font replaced")
            << QStringList{"render", "@missingfont.llp", "--font", "@font.llf", "-o", "@out.bmp"} << 0 << "" << "out.bmp" << true;
        QTest::newRow("render, project cut short")
            << QStringList{"render", "@truncated.llp", "-o", "@out.bmp"} << 1
            << "letterloom-cli: Read beyond end of file\n" << "out.bmp" << false;
        QTest::newRow("render, no such project")
            << QStringList{"render", "@none.llp", "-o", "@out.bmp"} << 1 << "letterloom-cli: File not found\n" << "out.bmp" << false;
        QTest::newRow("render, project without picture")
            << QStringList{"render", "@nopicture.llp", "-o", "@out.bmp"} << 1
            << "letterloom-cli: The project has no picture\n" << "out.bmp" << false;
        QTest::newRow("render, font cut short")
            << QStringList{"render", "@fits.llp", "--font", "@truncated.llf", "-o", "@out.bmp"} << 1
            << "letterloom-cli: Read beyond end of file\n" << "out.bmp" << false;
        QTest::newRow("render, unknown kind of font")
            << QStringList{"render", "@fits.llp", "--font", "@font.xyz", "-o", "@out.bmp"} << 1
            << "letterloom-cli: Unknown font file type \"font.xyz\"" << "out.bmp" << false;
        QTest::newRow("render without -o")
            << QStringList{"render", "@fits.llp"} << 2 << "letterloom-cli: Missing option --output" << "" << false;
        QTest::newRow("render, colour not hex")
            << QStringList{"render", "@fits.llp", "-o", "@out.bmp", "--color", "12345G"} << 2
            << "letterloom-cli: --color takes six hex digits" << "out.bmp" << false;
        QTest::newRow("render, colour too short")
            << QStringList{"render", "@fits.llp", "-o", "@out.bmp", "--color", "FFF"} << 2
            << "letterloom-cli: --color takes six hex digits" << "out.bmp" << false;
        QTest::newRow("render, outline of 9")
            << QStringList{"render", "@fits.llp", "-o", "@out.bmp", "--outline", "9"} << 2
            << "letterloom-cli: --outline: 9 is not from 0 to 8" << "out.bmp" << false;
        QTest::newRow("render, shadow without DY")
            << QStringList{"render", "@fits.llp", "-o", "@out.bmp", "--shadow", "3:000000"} << 2
            << "letterloom-cli: --shadow takes DX,DY[:RRGGBB], not '3:000000'" << "out.bmp" << false;
        QTest::newRow("render, tracking of 17")
            << QStringList{"render", "@fits.llp", "-o", "@out.bmp", "--tracking", "17"} << 2
            << "letterloom-cli: --tracking: 17 is not from -8 to 16" << "out.bmp" << false;
        QTest::newRow("layout, word spacing not a number")
            << QStringList{"layout", "@fits.llp", "--json", "--word-spacing", "1.5"} << 2
            << "letterloom-cli: --word-spacing takes a whole number from -8 to 16, not '1.5'" << "" << false;
        QTest::newRow("fit, word spacing of -9")
            << QStringList{"fit", "@fits.llp", "--text", "@none.txt", "--word-spacing=-9"} << 2
            << "letterloom-cli: --word-spacing: -9 is not from -8 to 16" << "" << false;
        QTest::newRow("render, plate with a bad colour")
            << QStringList{"render", "@fits.llp", "-o", "@out.bmp", "--plate", "2:red"} << 2
            << "letterloom-cli: --plate takes PAD[:RRGGBB], not '2:red'" << "out.bmp" << false;
        QTest::newRow("render, unknown option")
            << QStringList{"render", "@fits.llp", "-o", "@out.bmp", "--colour", "FF0000"} << 2
            << "letterloom-cli: Unknown option 'colour'." << "out.bmp" << false;
        QTest::newRow("render, two projects")
            << QStringList{"render", "@fits.llp", "@wide.llp", "-o", "@out.bmp"} << 2
            << "letterloom-cli: Unexpected argument" << "out.bmp" << false;
        QTest::newRow("unknown command") << QStringList{"draw", "@fits.llp"} << 2 << "letterloom-cli: Unknown command 'draw" << "" << false;
        QTest::newRow("no command") << QStringList{} << 2 << "letterloom-cli: Missing command\n" << "" << false;
        QTest::newRow("layout without --json") << QStringList{"layout", "@fits.llp"} << 2 << "letterloom-cli: layout prints JSON only" << "" << false;
        QTest::newRow("layout, word too wide") << QStringList{"layout", "@wide.llp", "--json"} << 3 << width << "" << false;
        QTest::newRow("fit without --text") << QStringList{"fit", "@fits.llp"} << 2 << "letterloom-cli: Missing option --text" << "" << false;
        QTest::newRow("font info, font cut short")
            << QStringList{"font", "info", "@truncated.llf"} << 1 << "letterloom-cli: Read beyond end of file\n" << "" << false;
        QTest::newRow("font sheet without -o") << QStringList{"font", "sheet", "@font.llf"} << 2 << "letterloom-cli: Missing option --output" << "" << false;
        QTest::newRow("font sheet to a kind it cannot write")
            << QStringList{"font", "sheet", "@font.llf", "-o", "@out.gif"} << 2
            << "letterloom-cli: A picture cannot be written as a .gif file" << "out.gif" << false;
        QTest::newRow("font sheet, zoom 0")
            << QStringList{"font", "sheet", "@font.llf", "-o", "@out.bmp", "--zoom", "0"} << 2
            << "letterloom-cli: --zoom takes a whole number" << "out.bmp" << false;
        QTest::newRow("font convert to an unknown kind")
            << QStringList{"font", "convert", "@font.llf", "@out.xyz"} << 1
            << "letterloom-cli: Unknown font file type \"out.xyz\"" << "out.xyz" << false;
        QTest::newRow("font convert to BDF, which has no colours")
            << QStringList{"font", "convert", "@font.llf", "@out.bdf"} << 0
            << "letterloom-cli: Colours dropped, drawn in black: glyph" << "out.bdf" << true;
        QTest::newRow("font convert, nothing to read")
            << QStringList{"font", "convert", "@none.llf", "@out.llf"} << 1 << "letterloom-cli: File not found\n" << "out.llf" << false;
        QTest::newRow("import-grid without --cell")
            << QStringList{"font", "import-grid", "@grid.png", "-o", "@out.llf"} << 2
            << "letterloom-cli: Missing option --cell" << "out.llf" << false;
        QTest::newRow("import-grid, a cell not WxH")
            << QStringList{"font", "import-grid", "@grid.png", "--cell", "8,8", "-o", "@out.llf"} << 2
            << "letterloom-cli: --cell takes two whole numbers as WIDTHxHEIGHT" << "out.llf" << false;
        QTest::newRow("import-grid, a cell of width 0")
            << QStringList{"font", "import-grid", "@grid.png", "--cell", "0x8", "-o", "@out.llf"} << 2
            << "letterloom-cli: --cell takes sides from 1 to 4096" << "out.llf" << false;
        QTest::newRow("import-grid, --first and --chars")
            << QStringList{"font", "import-grid", "@grid.png", "--cell", "2x2", "--first", "65", "--chars", "AB", "-o", "@out.llf"}
            << 2 << "letterloom-cli: --first and --chars both give the cells' codes" << "out.llf" << false;
        QTest::newRow("import-grid, first code 256")
            << QStringList{"font", "import-grid", "@grid.png", "--cell", "2x2", "--first", "256", "-o", "@out.llf"} << 2
            << "letterloom-cli: --first takes a whole number from 0 to 255" << "out.llf" << false;
        QTest::newRow("import-grid, ink not hex")
            << QStringList{"font", "import-grid", "@grid.png", "--cell", "2x2", "--ink", "black", "-o", "@out.llf"} << 2
            << "letterloom-cli: --ink takes six hex digits" << "out.llf" << false;
        QTest::newRow("import-grid, a cell larger than the picture")
            << QStringList{"font", "import-grid", "@grid.png", "--cell", "9x9", "-o", "@out.llf"} << 1
            << "letterloom-cli: No cell of 9 x 9 pixels fits in the picture of 4 x 2 pixels\n" << "out.llf" << false;
        QTest::newRow("import-grid, not a picture")
            << QStringList{"font", "import-grid", "@font.llf", "--cell", "2x2", "-o", "@out.llf"} << 1
            << "letterloom-cli: Bitmap image is not valid\n" << "out.llf" << false;
        QTest::newRow("import-grid, a character outside the map")
            << QStringList{"font", "import-grid", "@grid.png", "--cell", "2x2", "--chars", QStringLiteral("\u0416B"), "-o", "@out.llf"}
            << 0 << QStringLiteral("letterloom-cli: Not in the character map, their cells left out: U+0416 \u0416\n"
                                   "letterloom-cli: Left out 1 cell that holds pixels but no character code\n")
            << "out.llf" << true;
        QTest::newRow("sheet, grid options without --grid")
            << QStringList{"font", "sheet", "@font.llf", "-o", "@out.png", "--cell", "8x8"} << 2
            << "letterloom-cli: The grid options need --grid" << "out.png" << false;
        QTest::newRow("sheet, --grid with --zoom")
            << QStringList{"font", "sheet", "@font.llf", "-o", "@out.png", "--grid", "--zoom", "2"} << 2
            << "letterloom-cli: --zoom draws the specimen table" << "out.png" << false;
        QTest::newRow("sheet --grid, glyphs cut to a small cell")
            << QStringList{"font", "sheet", "@font.llf", "-o", "@out.png", "--grid", "--cell", "2x2", "--chars", "ab"} << 0
            << "letterloom-cli: Cut to their cells of 2 x 2 pixels: glyphs 97 and 98\n" << "out.png" << true;
        QTest::newRow("render, run-length picture of 25 pixels a byte")
            << QStringList{"render", "@runs.llp", "-o", "@out.bmp"} << 0 << "" << "out.bmp" << true;
        // Damaged pictures come to the program's own message alone.
        for (const char *name : {"checksum", "inflate", "filter", "short"})
            QTest::newRow(qPrintable(QStringLiteral("import-grid, PNG: %1").arg(name)))
                << QStringList{"font", "import-grid", QStringLiteral("@%1.png").arg(name), "--cell", "2x2", "-o", "@out.llf"}
                << 1 << "letterloom-cli: PNG image is not valid\n" << "out.llf" << false;
        QTest::newRow("render, damaged extras of the project")
            << QStringList{"render", "@damaged.llp", "-o", "@out.bmp"} << 0
            << "letterloom-cli: The extras stored at the end of \"damaged.llp\" are damaged and were left out: "
               "its length of 255 bytes runs past the end of the file.\n" << "out.bmp" << true;
        QTest::newRow("font without its command") << QStringList{"font", "@font.llf"} << 2 << "letterloom-cli: Unknown command" << "" << false;
    }

    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(QString, output);
        QFETCH(bool, written);

        const Run run = cli(arguments);
        QCOMPARE(run.status, status);
        if (message.isEmpty() && status != 2)
            QCOMPARE(run.err, QByteArray());
        else
            QVERIFY2(QString::fromUtf8(run.err).startsWith(expand(message)), run.err.constData());
        if (!output.isEmpty())
            QCOMPARE(QFile::exists(path(output)), written);
        if (written && output.endsWith(".png", Qt::CaseInsensitive))
            QVERIFY(readWholeFile(path(output)).startsWith("\x89PNG"));
    }

    void outOfMemory_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("megabytes");  // of address space
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("message");

        // A BMFont line of 3 million keys that the reader does not use (32 MB).
        QByteArray keys = "common lineHeight=8 pages=1\npage id=0 file=\"page.png\"\nchars count=1\n"
                          "char id=65 x=0 y=0 width=1 height=1 xadvance=1";
        for (int i = 0; i < 3'000'000; ++i)
            keys += " k" + QByteArray::number(i) + "=1";
        write("keys.fnt", keys + '\n');
        raster::Raster page(1, 1);
        page.fill(raster::kBlack);
        write("page.png", page.toPng());
        // 8000 x 8000 pixels of one colour in 0.5 MB: 256 MB once decoded.
        write("runs.bmp", testing::runLengthBmp(8000, 8000, testing::oneColourRuns(8000, 8000)));
        // A font whose extras are a list of 15 million numbers.
        const QByteArray numbers = "{\"x\": [" + QByteArray("1,").repeated(15'000'000) + "1]}";
        ByteWriter block;
        block.bytes("LLX1");
        block.u32(std::uint32_t(numbers.size()));
        write("numbers.llf", font::fontBytes(testFont()) + block.result() + numbers);

        const QByteArray outOfMemory = "letterloom-cli: Out of memory\n";
        QTest::newRow("font info, BMFont line of 3 million keys")
            << QStringList{"font", "info", "@keys.fnt"} << 400 << 0 << QByteArray();
        QTest::newRow("import-grid, picture too large to hold")
            << QStringList{"font", "import-grid", "@runs.bmp", "--cell", "8x8", "-o", "@out.llf"} << 250 << 1 << outOfMemory;
        QTest::newRow("font info, extras too large to hold")
            << QStringList{"font", "info", "@numbers.llf"} << 150 << 1 << outOfMemory;
    }

    // Memory running out ends a command with its message, never an abort.
    void outOfMemory()
    {
#ifdef LETTERLOOM_SANITIZED
        QSKIP("The sanitizers reserve terabytes of address space: no limit on it can be set here");
#endif
        QFETCH(QStringList, arguments);
        QFETCH(int, megabytes);
        QFETCH(int, status);
        QFETCH(QByteArray, message);

        const Run run = cli(arguments, qint64(megabytes) << 20);
        QCOMPARE(run.err, message);
        QCOMPARE(run.status, status);
        QVERIFY(!QFile::exists(path("out.llf")));
    }

    // Long texts are laid out, printed and checked in memory that grows with
    // the text by a few bytes a byte: 20 MB of one-letter lines rendered, 5 MB
    // printed as JSON, 30 MB of line breaks checked paragraph by paragraph.
    void largeTextsInBoundedMemory_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("megabytes");  // the address space allowed
        QTest::addColumn<QByteArray>("outputEnd");
        QTest::newRow("render, 20 MB of lines") << QStringList{"render", "@one-line.llp", "--text-bytes", "@large.txt", "-o", "@large.bmp"}
                                                << QByteArray("a\r\n").repeated(6666667) << 700 << QByteArray();
        QTest::newRow("layout --json, 5 MB of lines") << QStringList{"layout", "@one-line.llp", "--text-bytes", "@large.txt", "--json"}
                                                      << QByteArray("a\r\n").repeated(1666667) << 300
                                                      << QByteArray("{\"words\": [\"a\"], \"wordWidths\": [5], \"lineWidth\": 10, \"gap\": 0}],\n"
                                                                    " \"overflowPixels\": 0, \"overflowLines\": 0}\n");
        QTest::newRow("fit, 30 MB of line breaks") << QStringList{"fit", "@one-line.llp", "--text-bytes", "@large.txt"}
                                                   << QByteArray(30000000, '\n') << 400 << QByteArray();
        // A BDF font whose name is 10 million words or 20 million dashes.
        const QByteArray glyph = "\nSIZE 8 75 75\nFONTBOUNDINGBOX 1 1 0 0\nCHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 500 0\n"
                                 "DWIDTH 1 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\nENDFONT\n";
        const QByteArray listed = "colours used (glyphs using each): 000000 (1)\n";
        QTest::newRow("BDF font name of many words") << QStringList{"font", "info", "@large.bdf"}
                                                     << "STARTFONT 2.1\nFONT " + QByteArray("x ").repeated(10000000) + glyph
                                                     << 250 << listed;
        QTest::newRow("BDF font name of many dashes") << QStringList{"font", "info", "@large.bdf"}
                                                      << "STARTFONT 2.1\nFONT " + QByteArray(20000000, '-') + glyph
                                                      << 250 << listed;
        // A BMFont font whose one page lies 10 million folders deep.
        QTest::newRow("BMFont page name of many folders")
            << QStringList{"font", "info", "@large.fnt"}
            << "info face=\"f\" size=8\ncommon lineHeight=8 base=8 scaleW=8 scaleH=8\npage id=0 file=\""
                   + QByteArray("a/").repeated(10000000) + "p.png\"\nchars count=0\n"
            << 250 << QByteArray("colours used (glyphs using each): \n");
        // Tables of 20 million empty fields in a row, and of 10 million columns.
        QTest::newRow("texts import, a row of many fields")
            << QStringList{"texts", "import", "@one-line.llp", "@large.csv", "-o", "@large.llp"}
            << "area,text\r\n" + QByteArray(20000000, ',') + "\r\n" << 250 << QByteArray();
        QTest::newRow("texts import, many columns")
            << QStringList{"texts", "import", "@one-line.llp", "@large.csv", "-o", "@large.llp"}
            << QByteArray("x,").repeated(5000000) + "area,text\r\n" + QByteArray(5000000, ',') + "1,b\r\n" << 250
            << QByteArray();
    }

    void largeTextsInBoundedMemory()
    {
#ifdef LETTERLOOM_SANITIZED
        QSKIP("The sanitizers reserve terabytes of address space: no limit on it can be set here");
#endif
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, text);
        QFETCH(int, megabytes);
        QFETCH(QByteArray, outputEnd);
        project::ProjectFile file;
        file.settings.area = {0, 0, 80, 60};
        file.settings.lineSpacing = -2;  // every line on one baseline: all of them fit
        file.storedFontPath = path("font.llf").toUtf8();
        file.text = "a";
        file.pictureBmp = greyPicture();
        write("one-line.llp", project::projectBytes(file));
        const QString input = arguments.filter(QRegularExpression("^@large\\.")).first();
        write(input.mid(1), text);

        QStringList expanded;
        for (const QString &argument : arguments)
            expanded << expand(argument);
        QProcess process;
        const qint64 addressSpace = qint64(megabytes) << 20;
        process.setChildProcessModifier([addressSpace] {
            const rlimit bounds{rlim_t(addressSpace), rlim_t(addressSpace)};
            setrlimit(RLIMIT_AS, &bounds);
        });
        process.setStandardOutputFile(path("large.out"));
        process.start(QStringLiteral(LETTERLOOM_CLI), expanded);
        QVERIFY(process.waitForFinished(-1));
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QFile out(path("large.out"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        if (outputEnd.isEmpty()) {
            QCOMPARE(out.size(), 0);
        } else {
            QVERIFY(out.size() >= outputEnd.size());
            QVERIFY(out.seek(out.size() - outputEnd.size()));
            QCOMPARE(out.readAll(), outputEnd);
        }
        if (arguments.contains("@large.llp")) {  // the table's text went into the project
            project::ProjectFile written = project::parseProject(readWholeFile(path("large.llp")));
            QCOMPARE(written.text, text.endsWith("1,b\r\n") ? QByteArray("b") : file.text);
        }
        for (const QString &name : QDir(path(".")).entryList({"large.*"}, QDir::Files))
            QFile::remove(path(name));
    }

    // The largest font an import may hold, written as the program's own font
    // file and read back.
    void fontAtTheLimitReadsBack()
    {
#ifdef LETTERLOOM_SANITIZED
        QSKIP("Fonts of 256 MiB take minutes under the sanitizers");
#endif
        // Four cells of 4096 x 4096 (64 Mi pixels), paid for by a 280 KB file.
        QByteArray bdf = "STARTFONT 2.1\nFONT limit\nSIZE 16 75 75\nFONTBOUNDINGBOX 4096 4096 0 0\n";
        bdf += ("COMMENT " + QByteArray(70, 'x') + '\n').repeated(3600);
        bdf += "CHARS 4\n";
        for (int code = 'A'; code <= 'D'; ++code)
            bdf += "STARTCHAR c\nENCODING " + QByteArray::number(code)
                   + "\nSWIDTH 500 0\nDWIDTH 4096 0\nBBX 8 1 0 0\nBITMAP\nFF\nENDCHAR\n";
        write("limit.bdf", bdf + "ENDFONT\n");

        const Run convert = cli({"font", "convert", "@limit.bdf", "@out.llf"});
        QCOMPARE(convert.err, QByteArray());
        QCOMPARE(convert.status, 0);
        QVERIFY(QFileInfo(path("out.llf")).size() > kMaxFileSize);
        const Run info = cli({"font", "info", "@out.llf"});
        QCOMPARE(info.err, QByteArray());
        QCOMPARE(info.status, 0);
        QVERIFY2(info.out.contains("  68  D      4096 x 4096 000000 FFFFFF\n"), info.out.constData());
    }

    // The written picture: the project's picture with the X at the text area's
    // corner plus (2, lineSpacing + 4 - its height), its black in the text
    // colour, its green kept and its white left out.
    void renderedPixels_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("sketch");  // columns 11..14, rows 31..34; '?' is the grey picture
        QTest::newRow("black by default") << QStringList{} << QStringList{"????", "?#g?", "??#?", "????"};
        // look.llp: red text with a blue square outline of 1.
        QTest::newRow("the project's colour and outline")
            << QStringList{"@look.llp"} << QStringList{"bbbb", "brgb", "bbrb", "?bbb"};
        QTest::newRow("--color over the project's") << QStringList{"@look.llp", "--color", "00FF00"}
                                                    << QStringList{"bbbb", "bggb", "bbgb", "?bbb"};
        QTest::newRow("--no-effects") << QStringList{"@look.llp", "--no-effects"}
                                      << QStringList{"????", "?rg?", "??r?", "????"};
        QTest::newRow("--outline 0 drops the project's") << QStringList{"@look.llp", "--outline", "0"}
                                                         << QStringList{"????", "?rg?", "??r?", "????"};
        QTest::newRow("a plate with --no-effects") << QStringList{"@look.llp", "--no-effects", "--plate", "0:FFFF00"}
                                                   << QStringList{"????", "?rg?", "?yr?", "????"};
        QTest::newRow("round outline of 1") << QStringList{"--outline", "1:0000FF,round"}
                                            << QStringList{"?bb?", "b#gb", "?b#b", "??b?"};
        QTest::newRow("shadow of the text") << QStringList{"--shadow=1,1:00FFFF"}
                                            << QStringList{"????", "?#g?", "??#c", "???c"};
        QTest::newRow("red") << QStringList{"--color", "FF0000"} << QStringList{"????", "?rg?", "??r?", "????"};
        QTest::newRow("blue, with a hash, lower case") << QStringList{"--color", "#0000ff"}
                                                       << QStringList{"????", "?bg?", "??b?", "????"};
        QTest::newRow("white text vanishes into the background") << QStringList{"--color", "FFFFFF"}
                                                                 << QStringList{"????", "??g?", "????", "????"};
    }

    void renderedPixels()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, sketch);
        const bool project = !options.isEmpty() && options.front().startsWith(u'@');
        const Run run = cli(QStringList{"render", project ? options.takeFirst() : "@fits.llp", "-o", "@out.bmp"} + options);
        QCOMPARE(run.status, 0);
        const raster::Raster picture = raster::Raster::readBmpFile(path("out.bmp"));
        QCOMPARE(picture.size(), QSize(80, 60));
        raster::Raster corner(4, 4);
        corner.drawOpaque(picture, -11, -31);
        QCOMPARE(rasterSketch(corner), sketch);
        QCOMPARE(picture.pixel(0, 0), kGrey);
        QCOMPARE(picture.pixel(79, 59), kGrey);
    }

    // Each line as "word,word|width,width|lineWidth|gap", words as bytes; the
    // project may be followed by options.
    void layoutJson_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QByteArray>("text");  // given with --text; empty for the project's own
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QString>("overflow");  // overflowPixels,overflowLines
        using Lines = QList<QByteArray>;
        QTest::newRow("two words") << "fits.llp" << QByteArray("aa b") << 0 << "none" << Lines{"aa,b|10,3|23|43"} << "0,0";
        QTest::newRow("CR LF breaks the line") << "fits.llp" << QByteArray("aa\r\nb") << 0 << "none"
                                               << Lines{"aa|10|15|0", "b|3|8|0"} << "0,0";
        QTest::newRow("LF counts as CR LF") << "fits.llp" << QByteArray("aa\nb") << 0 << "none"
                                            << Lines{"aa|10|15|0", "b|3|8|0"} << "0,0";
        QTest::newRow("a lone CR ends a line of a text file") << "fits.llp" << QByteArray("aa\rb") << 0 << "none"
                                                               << Lines{"aa|10|15|0", "b|3|8|0"} << "0,0";
        QTest::newRow("a lone CR in a project stays inside its word") << "lone-cr.llp" << QByteArray() << 0 << "none"
                                                                       << Lines{"aa\rb|13|18|0"} << "0,0";
        QTest::newRow("bytes above 127") << "fits.llp" << QByteArray("\xE9" "a \xFF") << 0 << "none"
                                         << Lines{"\xE9" "a,\xFF|10,0|20|46"} << "0,0";
        QTest::newRow("escapes resolved, widths as typed") << "fits.llp" << QByteArray("$97a$$") << 0 << "none"
                                                           << Lines{"aa$|5|10|0"} << "0,0";
        QTest::newRow("--tracking between a word's letters") << "fits.llp --tracking 2" << QByteArray("aa b") << 0
                                                            << "none" << Lines{"aa,b|12,3|25|41"} << "0,0";
        QTest::newRow("--tracking counts resolved characters") << "fits.llp --tracking 1" << QByteArray("$97a$$") << 0
                                                              << "none" << Lines{"aa$|7|12|0"} << "0,0";
        QTest::newRow("--word-spacing in the line width only") << "fits.llp --word-spacing -3" << QByteArray("aa b")
                                                              << 0 << "none" << Lines{"aa,b|10,3|17|43"} << "0,0";
        QTest::newRow("the font's kerning inside words") << "fits.llp --font @kerned.llf" << QByteArray("aab ba") << 0
                                                        << "none" << Lines{"aab,ba|10,8|28|38"} << "0,0";
        QTest::newRow("--tracking beside kerning") << "fits.llp --font @kerned.llf --tracking 1" << QByteArray("aab")
                                                   << 0 << "none" << Lines{"aab|12|17|0"} << "0,0";
        QTest::newRow("a line too many") << "fits.llp" << QByteArray("aa aa aa aa aa aa aa aa aa aa") << 3 << "height"
                                         << Lines(3, "aa,aa,aa|10,10,10|45|13") << "0,1";
        QTest::newRow("the project's own text") << "tall.llp" << QByteArray() << 3 << "height" << Lines{"aa|10|15|0"} << "0,2";
        QTest::newRow("nothing placed before a wide word") << "wide.llp" << QByteArray() << 3 << "width" << Lines{} << "11,0";
    }

    void layoutJson()
    {
        QFETCH(QString, project);
        QFETCH(QByteArray, text);
        QFETCH(int, status);
        QFETCH(QString, notice);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QString, overflow);

        QStringList options = project.split(u' ');  // the project, then options
        QStringList arguments = QStringList{"layout", "@" + options.takeFirst(), "--json"} + options;
        if (!text.isEmpty()) {
            write("out.txt", text);
            arguments << "--text" << "@out.txt";
        }
        const Run run = cli(arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.out.startsWith("{\"notice\": "), run.out.constData());

        QJsonParseError error;
        const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(root.keys(), (QStringList{"lines", "notice", "overflowLines", "overflowPixels"}));
        QCOMPARE(root["notice"].toString(), notice);
        QCOMPARE(QStringLiteral("%1,%2").arg(root["overflowPixels"].toInt()).arg(root["overflowLines"].toInt()), overflow);
        QList<QByteArray> got;
        for (const QJsonValue &value : root["lines"].toArray()) {
            const QJsonObject line = value.toObject();
            QCOMPARE(line.keys(), (QStringList{"gap", "lineWidth", "wordWidths", "words"}));
            QByteArrayList words, widths;
            for (const QJsonValue &word : line["words"].toArray())
                words << word.toString().toLatin1();
            for (const QJsonValue &width : line["wordWidths"].toArray())
                widths << QByteArray::number(width.toInt());
            got << words.join(',') + '|' + widths.join(',') + '|' + QByteArray::number(line["lineWidth"].toInt()) + '|'
                       + QByteArray::number(line["gap"].toInt());
        }
        QCOMPARE(got, lines);
    }

    // Each area of areas.llp laid out as the one-area project of that area
    // alone lays it out: "N" in singles stands for the output of the same
    // command on areaN.llp without --area.
    void layoutOfAreas_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("singles");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        const QString width = "letterloom-cli: Text area 2: Text does not fit in the specified area by width!\n";
        const QString height = "letterloom-cli: Text area 3: Text does not fit in the specified area by height!\n";
        QTest::newRow("every area") << QStringList{} << QStringList{"1", "2", "3"} << 3 << width + height;
        QTest::newRow("area 1 alone") << QStringList{"--area", "1"} << QStringList{"1"} << 0 << "";
        QTest::newRow("area 2 alone, as today's notice")
            << QStringList{"--area", "2"} << QStringList{"2"} << 3
            << "letterloom-cli: Text does not fit in the specified area by width!\n";
        QTest::newRow("--text replaces the text of the area named")
            << QStringList{"--area", "3", "--text", "@out.txt"} << QStringList{"3"} << 0 << "";
        QTest::newRow("--text without --area") << QStringList{"--text", "@out.txt"} << QStringList{} << 2
                                               << "letterloom-cli: The project has 3 text areas: give --area N";
        QTest::newRow("no area 4") << QStringList{"--area", "4"} << QStringList{} << 1
                                   << "letterloom-cli: The project has 3 text areas: there is no area 4\n";
        QTest::newRow("area 0") << QStringList{"--area", "0"} << QStringList{} << 2
                                << "letterloom-cli: --area takes a whole number from 1, not '0'";
    }

    void layoutOfAreas()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, singles);
        QFETCH(int, status);
        QFETCH(QString, err);
        write("out.txt", "b");
        const QStringList single = options.mid(options.indexOf("--area") == 0 ? 2 : 0);
        QByteArrayList objects;
        for (const QString &n : singles)
            objects << cli(QStringList{"layout", "@area" + n + ".llp", "--json"} + single).out;
        QByteArray expected = objects.value(0);
        if (objects.size() > 1) {
            for (QByteArray &object : objects)
                object.chop(1);
            expected = "{\"areas\": [\n" + objects.join(",\n") + "]}\n";
        }
        const Run run = cli(QStringList{"layout", "@areas.llp", "--json"} + options);
        QCOMPARE(run.status, status);
        QVERIFY2(QString::fromUtf8(run.err).startsWith(expand(err)) || (err.isEmpty() && run.err.isEmpty()), run.err.constData());
        QCOMPARE(run.out, expected);
        if (objects.size() > 1)
            QCOMPARE(QJsonDocument::fromJson(run.out).object()["areas"].toArray().size(), objects.size());
    }

    // render draws every area as the one-area project of each draws it; with
    // --area only that one.
    void renderOfAreas_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QList<int>>("drawn");
        QTest::addColumn<int>("status");
        QTest::newRow("every area") << QStringList{} << QList<int>{1, 2, 3} << 3;
        QTest::newRow("area 1") << QStringList{"--area", "1"} << QList<int>{1} << 0;
        QTest::newRow("area 3 in red") << QStringList{"--area", "3", "--color", "FF0000"} << QList<int>{3} << 3;
    }

    void renderOfAreas()
    {
        QFETCH(QStringList, options);
        QFETCH(QList<int>, drawn);
        QFETCH(int, status);
        const QStringList colour = options.mid(options.indexOf("--color") >= 0 ? options.indexOf("--color") : options.size());
        raster::Raster expected(80, 60);
        expected.fill(kGrey);
        for (int n : drawn) {
            QCOMPARE(cli(QStringList{"render", QStringLiteral("@area%1.llp").arg(n), "-o", "@out.bmp"} + colour).status,
                     n == 1 ? 0 : 3);
            const raster::Raster single = raster::Raster::readBmpFile(path("out.bmp"));
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 80; ++x)
                    if (single.pixel(x, y) != kGrey)
                        expected.setPixel(x, y, single.pixel(x, y));
        }
        raster::Raster grey(80, 60);
        grey.fill(kGrey);
        QVERIFY(!(expected == grey));
        const Run run = cli(QStringList{"render", "@areas.llp", "-o", "@out.bmp"} + options);
        QCOMPARE(run.status, status);
        QVERIFY(raster::Raster::readBmpFile(path("out.bmp")) == expected);
    }

    // fit checks each paragraph against every area, naming the area.
    void fitOfAreas_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString width = "Text does not fit in the specified area by width!\n";
        const QString height = "Text does not fit in the specified area by height!\n";
        QTest::newRow("every area") << "areas.llp" << QStringList{}
                                    << "@out.txt:3: area 2: paragraph 2: " + width + "@out.txt:3: area 3: paragraph 2: " + height
                                           + "@out.txt:5: area 1: paragraph 3: " + width + "@out.txt:5: area 2: paragraph 3: "
                                           + width + "@out.txt:5: area 3: paragraph 3: " + width
                                    << "letterloom-cli: 2 of 3 paragraphs do not fit one or more of the 3 text areas\n";
        QTest::newRow("area 3 alone, still named") << "areas.llp" << QStringList{"--area", "3"}
                                                   << "@out.txt:3: area 3: paragraph 2: " + height
                                                          + "@out.txt:5: area 3: paragraph 3: " + width
                                                   << "letterloom-cli: 2 of 3 paragraphs do not fit\n";
        QTest::newRow("one area: no name, as before") << "area1.llp" << QStringList{"--area", "1"}
                                                      << "@out.txt:5: paragraph 3: " + width
                                                      << "letterloom-cli: 1 of 3 paragraphs do not fit\n";
    }

    void fitOfAreas()
    {
        QFETCH(QString, project);
        QFETCH(QStringList, options);
        QFETCH(QString, out);
        QFETCH(QString, err);
        write("out.txt", "X\n\naa aa aa\n\n" + QByteArray(22, 'b') + "\n");
        const Run run = cli(QStringList{"fit", "@" + project, "--text", "@out.txt"} + options);
        QCOMPARE(run.status, 3);
        QCOMPARE(QString::fromUtf8(run.out), expand(out));
        QCOMPARE(QString::fromUtf8(run.err), err);
    }

    // batch: a line for each row that fails or does not fit, in row order, the
    // exit status, and each picture as the one-area projects draw the same
    // texts ("out.a.bmp=area1.llp:X|area2.llp:b": area 1 drew X, area 2 b;
    // nothing after "=": not written). The table lies in jobs/.
    void batchRows_data()
    {
        QTest::addColumn<QByteArray>("jobs");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QStringList>("pictures");
        const QString table = "@jobs/jobs.csv:";
        const QString width = "Text does not fit in the specified area by width!\n";
        const QString height = "Text does not fit in the specified area by height!\n";
        QTest::newRow("every row fits, columns in any order")
            << QByteArray("output,text,area,project,note\r\n../out.a.bmp,X,1,../areas.llp,ignored\r\n"
                          "../out.a.bmp,b,2,../areas.llp,\r\n../out.b.bmp,bb,1,../fits.llp,\r\n"
                          "../out.a.bmp,aa,3,../areas.llp,\r\n")
            << QStringList{} << 0 << "" << ""
            << QStringList{"out.a.bmp=area1.llp:X|area2.llp:b|area3.llp:aa", "out.b.bmp=fits.llp:bb"};
        QTest::newRow("a row's text and the project's own do not fit")
            << QByteArray("project,area,text,output\n../areas.llp,2,aa,../out.a.bmp\n") << QStringList{} << 3
            << table + "2: text area 2: " + width + table + "2: text area 3: " + height
            << "letterloom-cli: 0 of 1 rows failed, 1 do not fit\n"
            << QStringList{"out.a.bmp=area1.llp:X|area2.llp:aa|area3.llp:aa aa aa"};
        const QByteArray failing("project,area,text,output\n../areas.llp,4,X,../out.a.bmp\n../none.llp,1,X,../out.b.bmp\n"
                                 "../fits.llp,1,@missing.txt,../out.c.bmp\n../fits.llp,1,@@a,../out.d.bmp\n\n"
                                 "../fits.llp,x,a,../out.e.bmp\n");
        const QString failures = table + "2: there is no text area 4: the project has 3; @out.a.bmp was not written\n"
                                 + table + "3: none.llp: File not found\n"
                                 + table + "4: missing.txt: File not found; @out.c.bmp was not written\n"
                                 + table + "7: the area is a whole number from 1, not \"x\"; @out.e.bmp was not written\n";
        const QStringList failed{"out.a.bmp=", "out.b.bmp=", "out.c.bmp=", "out.d.bmp=fits.llp:@a", "out.e.bmp="};
        QTest::newRow("failing rows, the others still run") << failing << QStringList{} << 1 << failures
                                                            << "letterloom-cli: 4 of 5 rows failed, 0 do not fit\n" << failed;
        QTest::newRow("two threads, still in row order") << failing << QStringList{"-j", "2"} << 1 << failures
                                                         << "letterloom-cli: 4 of 5 rows failed, 0 do not fit\n" << failed;
        QTest::newRow("@file beside the table, a quoted line break, an area given twice")
            << QByteArray("project,area,text,output\r\n../fits.llp,1,@text.txt,../out.a.bmp\r\n"
                          "../areas.llp,3,\"a\r\nb\",../out.b.bmp\r\n../areas.llp,3,X,../out.b.bmp\r\n"
                          "../fits.llp,1,\"a\nb\",../out.c.bmp\r\n")
            << QStringList{} << 1
            << table + "4: text area 3 of @out.b.bmp is given twice, first in row 3; @out.b.bmp was not written\n"
            << "letterloom-cli: 1 of 4 rows failed, 0 do not fit\n"
            << QStringList{"out.a.bmp=fits.llp:bb b", "out.b.bmp=", "out.c.bmp=fits.llp:a\r\nb"};
    }

    void batchRows()
    {
        QFETCH(QByteArray, jobs);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QStringList, pictures);
        QDir(dir_.path()).mkpath("jobs");
        write("jobs/jobs.csv", jobs);
        write("jobs/text.txt", "bb b");
        const Run run = cli(QStringList{"batch", "@jobs/jobs.csv"} + options);
        QCOMPARE(QString::fromUtf8(run.out), expand(out));
        QCOMPARE(QString::fromUtf8(run.err), err);
        QCOMPARE(run.status, status);
        for (const QString &picture : pictures) {
            const QString name = picture.section(u'=', 0, 0);
            const QString drawn = picture.section(u'=', 1);
            QCOMPARE(QFile::exists(path(name)), !drawn.isEmpty());
            if (drawn.isEmpty())
                continue;
            const raster::Raster got = raster::Raster::readBmpFile(path(name));
            raster::Raster expected(80, 60);
            expected.fill(kGrey);
            for (const QString &area : drawn.split(u'|')) {
                write("single.txt", area.section(u':', 1).toLatin1());
                cli({"render", "@" + area.section(u':', 0, 0), "--text-bytes", "@single.txt", "-o", "@single.bmp"});
                const raster::Raster single = raster::Raster::readBmpFile(path("single.bmp"));
                for (int y = 0; y < 60; ++y)
                    for (int x = 0; x < 80; ++x)
                        if (single.pixel(x, y) != kGrey)
                            expected.setPixel(x, y, single.pixel(x, y));
            }
            QVERIFY2(got == expected, qPrintable(name));
        }
    }

    // texts export writes every area's text; texts import takes a table back,
    // keeping the bytes of every cell left as it was.
    void textsRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("table");  // "" for the exported one, unchanged
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArrayList>("texts");  // the areas' texts after the import
        const QByteArrayList odd{"a\r\nb\xE9", "x\ry", "\x01$97"};
        QTest::newRow("unchanged: every byte kept") << QByteArray() << 0 << "" << odd;
        QTest::newRow("line breaks made LF by a spreadsheet, still unchanged")
            << QByteArray("area,text\n1,\"a\nb\xC3\xA9\"\n2,\"x\ny\"\n") << 0 << "" << odd;
        QTest::newRow("a changed cell with a comma, columns swapped, area 3 left out")
            << QByteArray("text,area\r\n\"Hello, \"\"you\"\"\",2\r\n\"one\ntwo\",1\r\n") << 0 << ""
            << QByteArrayList{"one\r\ntwo", "Hello, \"you\"", odd[2]};
        QTest::newRow("an unknown area") << QByteArray("area,text\n1,a\n4,b\n") << 1
                                         << "letterloom-cli: @t.csv:3: there is no text area 4: the project has 3\n"
                                         << QByteArrayList{};
        QTest::newRow("an area twice") << QByteArray("area,text\n2,a\n\n2,b\n") << 1
                                       << "letterloom-cli: @t.csv:4: text area 2 is given twice, first in row 2\n"
                                       << QByteArrayList{};
        QTest::newRow("a character without a code")
            << QByteArray("area,text\n1,\xD0\xB6\n") << 1
            << QStringLiteral("letterloom-cli: @t.csv:2: \u201C\u0436\u201D (U+0436) has no code: without a character map "
                              "the font's codes are U+0000 to U+00FF\n")
            << QByteArrayList{};
        QTest::newRow("no column text") << QByteArray("area,texts\n1,a\n") << 1
                                        << "letterloom-cli: @t.csv: the header row has no column \"text\" (it needs area,text)\n"
                                        << QByteArrayList{};
        QTest::newRow("rows of spaces are blank") << QByteArray("area,text\n2,a\n  ,\t\n \n2,b\n") << 1
                                                  << "letterloom-cli: @t.csv:5: text area 2 is given twice, first in row 2\n"
                                                  << QByteArrayList{};
        QTest::newRow("two byte-order marks, the header after them")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "area,text\n2,\"x\ry\"\n") << 0 << "" << odd;
        QTest::newRow("a cut-off last character is not UTF-8") << QByteArray("area,text\n1,a\xC3") << 1
                                                               << "letterloom-cli: @t.csv: not UTF-8 text\n" << QByteArrayList{};
        QTest::newRow("a byte-order mark inside a cell is a character")
            << QByteArray("area,text\n1,\xEF\xBB\xBFx\n") << 1
            << QStringLiteral("letterloom-cli: @t.csv:2: \u201C\uFEFF\u201D (U+FEFF) has no code: without a character map "
                              "the font's codes are U+0000 to U+00FF\n")
            << QByteArrayList{};
        QTest::newRow("a broken table is refused before its rows are used")
            << QByteArray("area,text\n4,b\n1,\"a\n") << 1
            << "letterloom-cli: @t.csv: Row 3: a quoted field is never closed\n" << QByteArrayList{};
        QTest::newRow("a quote never closed") << QByteArray("area,text\n1,\"a\n") << 1
                                              << "letterloom-cli: @t.csv: Row 2: a quoted field is never closed\n"
                                              << QByteArrayList{};
    }

    void textsRoundTrip()
    {
        QFETCH(QByteArray, table);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QByteArrayList, texts);
        std::vector<project::AreaText> areas = kThreeAreas;
        for (size_t i = 0; i < areas.size(); ++i)
            areas[i].text = QByteArrayList{"a\r\nb\xE9", "x\ry", "\x01$97"}[qsizetype(i)];
        write("odd.llp", areasFile(areas, path("font.llf")));
        const Run exported = cli({"texts", "export", "@odd.llp"});
        QCOMPARE(exported.status, 0);
        QCOMPARE(exported.out, QByteArray("area,text\r\n1,\"a\r\nb\xC3\xA9\"\r\n2,\"x\ry\"\r\n3,\x01$97\r\n"));
        write("t.csv", table.isEmpty() ? exported.out : table);
        const Run run = cli({"texts", "import", "@odd.llp", "@t.csv", "-o", "@out.llp"});
        QCOMPARE(QString::fromUtf8(run.err), expand(err));
        QCOMPARE(run.status, status);
        QCOMPARE(QFile::exists(path("out.llp")), status == 0);
        if (status != 0)
            return;
        for (size_t i = 0; i < areas.size(); ++i)
            areas[i].text = texts[qsizetype(i)];
        QCOMPARE(readWholeFile(path("out.llp")), areasFile(areas, path("font.llf")));
    }

    // --map reads the text file and names the words' text through a map;
    // --text-bytes takes the codes as they are.
    void layoutThroughMap_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("words");  // the words' bytes, one line, hex
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("err");
        const QByteArray privet = u"Привет мир"_qs.toUtf8();
        QTest::newRow("windows-1251") << QStringList{"--map", "windows-1251"} << privet << 0
                                      << QByteArray("cff0e8e2e5f2,ece8f0") << QStringList{u"Привет"_qs, u"мир"_qs}
                                      << "";
        QTest::newRow("KOI8-R, any spelling") << QStringList{"--map", "koi8r"} << privet << 0
                                              << QByteArray("f0d2c9d7c5d4,cdc9d2") << QStringList{u"Привет"_qs, u"мир"_qs}
                                              << "";
        QTest::newRow("bytes as they are") << QStringList{"--map", "WINDOWS_1251", "--text-bytes"}
                                           << QByteArray::fromHex("cff0e8e2e5f220ece8f0") << 0
                                           << QByteArray("cff0e8e2e5f2,ece8f0") << QStringList{u"Привет"_qs, u"мир"_qs}
                                           << "";
        QTest::newRow("Greek") << QStringList{"--map", "ISO-8859-7"} << u"Καλημέρα"_qs.toUtf8() << 0
                               << QByteArray("cae1ebe7ecddf1e1") << QStringList{u"Καλημέρα"_qs} << "";
        QTest::newRow("DTE table") << QStringList{"--map", "@game.tbl"} << QByteArray("the ht") << 0
                                   << QByteArray("e1,939d") << QStringList{"the", "ht"} << "letterloom-cli: @game.tbl: line 3: the code 8140 is longer than one byte\n";
        QTest::newRow("no map: UTF-8 bytes kept, no text") << QStringList{} << u"é"_qs.toUtf8() << 0
                                                           << QByteArray("c3a9") << QStringList{} << "";
        QTest::newRow("a character without code") << QStringList{"--map", "cp866"} << u"Да é"_qs.toUtf8() << 1
                                                  << QByteArray() << QStringList{}
                                                  << u"letterloom-cli: Line 1: \u201Cé\u201D (U+00E9) has no code in the "
                                                     "font's character map (cp866)\n"_qs;
        QTest::newRow("unknown map") << QStringList{"--map", "klingon"} << QByteArray("a") << 2 << QByteArray()
                                     << QStringList{} << "";
    }

    void layoutThroughMap()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(QByteArray, words);
        QFETCH(QStringList, texts);
        QFETCH(QString, err);
        write("game.tbl", "9D=t\n93=h\n8140=x\nE1=the\n");
        write("out.txt", file);
        QStringList arguments{"layout", "@fits.llp", "--json"};
        arguments += options;
        if (!options.contains(QStringLiteral("--text-bytes")))
            arguments << "--text";
        arguments << "@out.txt";
        const Run run = cli(arguments);
        QCOMPARE(run.status, status);
        if (status == 2) {
            QVERIFY(run.err.contains("Unknown character map \"klingon\"; known: none, ISO-8859-1,"));
            QVERIFY(run.err.contains("KOI8-R, KOI8-U, MacRoman, or a table FILE.tbl"));
            return;
        }
        QCOMPARE(QString::fromUtf8(run.err), expand(err));
        if (status != 0)
            return;
        const QJsonObject line = QJsonDocument::fromJson(run.out).object()["lines"].toArray().first().toObject();
        QByteArrayList hex;
        for (const QJsonValue &word : line["words"].toArray())
            hex << word.toString().toLatin1().toHex();
        QCOMPARE(hex.join(','), words);
        QCOMPARE(line.contains("text"), !texts.isEmpty());
        QStringList got;
        for (const QJsonValue &text : line["text"].toArray())
            got << text.toString();
        QCOMPARE(got, texts);
    }

    void fontInfoThroughMap()
    {
        const Run listing = cli({"font", "info", "@font.llf", "--map", "windows-1251"});
        QCOMPARE(listing.status, 0);
        const QStringList lines = QString::fromUtf8(listing.out).split(u'\n');
        QCOMPARE(lines.mid(0, 2), (QStringList{"font.llf: 5 glyphs defined", "character map: windows-1251"}));
        QVERIFY(lines.contains(u" 233  й         5 x 7    000000"_qs));
        const Run json = cli({"font", "info", "@font.llf", "--map", "windows-1251", "--json"});
        const QJsonObject root = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(root["charMap"].toString(), QStringLiteral("windows-1251"));
        QCOMPARE(root["glyphs"].toArray().last()["text"].toString(), u"й"_qs);
    }

    // The text area of fits.llp takes 56 pixels a line and three wrapped lines.
    void fitParagraphs_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QStringList>("json");  // "paragraph line notice overflowPixels overflowLines" each
        const QByteArray wide(22, 'b');  // 66 + 5 pixels for 56
        const QByteArray tall("aa aa aa aa aa aa aa aa aa aa");  // a fourth line for three
        QTest::newRow("all fit") << QByteArray("aa\n\nb b\n") << 0 << "" << ""
                                 << QStringList{"1 1 none 0 0", "2 3 none 0 0"};
        QTest::newRow("one too wide") << "aa\n\n" + wide + "\n" << 3
                                      << "@out.txt:3: paragraph 2: Text does not fit in the specified area by width!\n"
                                      << "letterloom-cli: 1 of 2 paragraphs do not fit\n"
                                      << QStringList{"1 1 none 0 0", "2 3 width 15 0"};
        QTest::newRow("one too tall, CR LF and blank lines of spaces") << "\r\n" + tall + "\r\n  \r\n\r\naa\r\n" << 3
                                      << "@out.txt:2: paragraph 1: Text does not fit in the specified area by height!\n"
                                      << "letterloom-cli: 1 of 2 paragraphs do not fit\n"
                                      << QStringList{"1 2 height 0 1", "2 5 none 0 0"};
        QTest::newRow("line breaks inside a paragraph are kept") << QByteArray(tall).replace(' ', '\n') << 0 << "" << ""
                                                                 << QStringList{"1 1 none 0 0"};
        QTest::newRow("every one fails") << wide + "\n\n" + tall + "\n\naa" << 3
                                         << "@out.txt:1: paragraph 1: Text does not fit in the specified area by width!\n"
                                            "@out.txt:3: paragraph 2: Text does not fit in the specified area by height!\n"
                                         << "letterloom-cli: 2 of 3 paragraphs do not fit\n"
                                         << QStringList{"1 1 width 15 0", "2 3 height 0 1", "3 5 none 0 0"};
    }

    void fitParagraphs()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QStringList, json);
        write("out.txt", text);
        const Run run = cli({"fit", "@fits.llp", "--text", "@out.txt"});
        QCOMPARE(run.status, status);
        QCOMPARE(QString::fromUtf8(run.out), expand(out));
        QCOMPARE(QString::fromUtf8(run.err), err);

        // The same paragraphs as JSON, one object a line, every one of them.
        const Run asJson = cli({"fit", "@fits.llp", "--text", "@out.txt", "--json"});
        QCOMPARE(asJson.status, status);
        QCOMPARE(QString::fromUtf8(asJson.err), err);
        QStringList got;
        for (const QByteArray &line : asJson.out.split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            QCOMPARE(object.keys(), (QStringList{"line", "notice", "overflowLines", "overflowPixels", "paragraph"}));
            got << QStringLiteral("%1 %2 %3 %4 %5").arg(object["paragraph"].toInt()).arg(object["line"].toInt())
                       .arg(object["notice"].toString()).arg(object["overflowPixels"].toInt())
                       .arg(object["overflowLines"].toInt());
        }
        QCOMPARE(got, json);
        QVERIFY(asJson.out.endsWith('\n'));
    }

    // fit --suggest on fits.llp (56 pixels a line, three lines at line
    // spacing 10, four from 6 on): an "aa" of the test font is 10 wide
    // (9 at tracking -1), a space 5 (1 at the least word spacing, -4).
    void fitSuggest_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        auto words = [](int count, const char *word) {
            QByteArrayList list;
            for (int i = 0; i < count; ++i)
                list << word;
            return list.join(' ');
        };
        const QByteArray four = words(10, "aa");       // 3 a line at 15 each: 4 lines
        const QByteArray tracked = words(13, "aa");    // 5 lines, 4 at 14 each
        const QByteArray spaced = words(17, "aa");     // 5 lines until 11 each
        const QByteArray wide(22, 'b');                // 66, 45 at tracking -1
        const QByteArray wider(30, 'b');               // 61 at tracking -1
        const QString summary = QStringLiteral("letterloom-cli: %1 of %2 paragraphs do not fit: %3 with a setting "
                                               "found, %4 with none\n");
        QTest::newRow("all fit") << QStringList{} << QByteArray("aa\n\nb b\n") << 0 << "" << "";
        QTest::newRow("each step") << QStringList{} << "aa\n\n" + four + "\n\n" + tracked + "\n\n" + spaced << 0
                                   << "@out.txt:3: paragraph 2: fits with line spacing 6\n"
                                      "@out.txt:5: paragraph 3: fits with line spacing 6, tracking -1\n"
                                      "@out.txt:7: paragraph 4: fits with line spacing 6, tracking -1, word spacing -3\n"
                                   << summary.arg(3).arg(4).arg(3).arg(0);
        QTest::newRow("too wide goes to the floor at once") << QStringList{} << wide << 0
                                   << "@out.txt:1: paragraph 1: fits with line spacing 6, tracking -1\n"
                                   << summary.arg(1).arg(1).arg(1).arg(0);
        QTest::newRow("nothing fits") << QStringList{} << wider + "\n\n" + four << 3
                                   << "@out.txt:1: paragraph 1: no setting fits (by width)\n"
                                      "@out.txt:3: paragraph 2: fits with line spacing 6\n"
                                   << summary.arg(2).arg(2).arg(1).arg(1);
        QTest::newRow("a higher floor") << QStringList{"--floor", "8"} << four << 0
                                   << "@out.txt:1: paragraph 1: fits with line spacing 8, tracking -1\n"
                                   << summary.arg(1).arg(1).arg(1).arg(0);
        QTest::newRow("spacing given") << QStringList{"--tracking", "-1"} << tracked << 0
                                   << "@out.txt:1: paragraph 1: fits with line spacing 6\n"
                                   << summary.arg(1).arg(1).arg(1).arg(0);
        QTest::newRow("alternate fonts") << QStringList{"--alt-font", "@narrow.llf", "--alt-font", "@font.llf"}
                                   << wider + "\n\n" + four << 3
                                   << "@out.txt:1: paragraph 1: no setting fits (by width)\n"
                                      "@out.txt:1: paragraph 1: with @narrow.llf: fits as it is\n"
                                      "@out.txt:1: paragraph 1: with @font.llf: no setting fits (by width)\n"
                                      "@out.txt:3: paragraph 2: fits with line spacing 6\n"
                                      "@out.txt:3: paragraph 2: with @narrow.llf: fits as it is\n"
                                      "@out.txt:3: paragraph 2: with @font.llf: fits with line spacing 6\n"
                                   << summary.arg(2).arg(2).arg(1).arg(1);
    }

    void fitSuggest()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, text);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        font::GlyphTable narrow = testFont();
        narrow['a'] = block(3, 7, raster::kBlack);
        narrow['b'] = block(1, 7, raster::kBlack);
        write("narrow.llf", font::fontBytes(narrow));
        write("out.txt", text);
        const Run run = cli(QStringList{"fit", "@fits.llp", "--text", "@out.txt", "--suggest"} + options);
        QCOMPARE(QString::fromUtf8(run.err), err);
        QCOMPARE(QString::fromUtf8(run.out), expand(out));
        QCOMPARE(run.status, status);

        // The same as JSON: every paragraph, the keys of fit --json and the setting.
        const Run asJson = cli(QStringList{"fit", "@fits.llp", "--text", "@out.txt", "--suggest", "--json"} + options);
        QCOMPARE(asJson.status, status);
        QStringList lines;
        for (const QByteArray &line : asJson.out.split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            QStringList keys{"line", "notice", "overflowLines", "overflowPixels", "paragraph", "suggestion"};
            if (options.contains("--alt-font"))
                keys.prepend("altFonts");
            QCOMPARE(object.keys(), keys);
            const QJsonObject setting = object["suggestion"].toObject();
            if (object["suggestion"].isNull() || setting["lineSpacing"].toInt() != 10
                || setting["tracking"].toInt() != options.contains("-1") * -1 || setting["wordSpacing"].toInt() != 0)
                lines << QStringLiteral("%1 %2").arg(object["paragraph"].toInt()).arg(object["notice"].toString());
        }
        // Exactly the paragraphs the lines name do not fit as they are.
        QStringList named;
        for (const QString &line : out.split('\n', Qt::SkipEmptyParts))
            if (!line.contains(" with @"))
                named << line.section(' ', 2, 2).chopped(1);
        QStringList numbers;
        for (const QString &line : lines)
            numbers << line.section(' ', 0, 0);
        QCOMPARE(numbers, named);
    }

    // --apply: the one setting that fits every paragraph (each area's own
    // text without --text) into a new project; the input stays as it was.
    void fitApply_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("text");  // empty: no --text
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("written");  // "lineSpacing,tracking,wordSpacing" of each area; empty: none
        QTest::addColumn<QString>("err");
        const QByteArray four = "aa aa aa aa aa aa aa aa aa aa";
        const QByteArray tracked = four + " aa aa aa";
        QTest::newRow("the latest setting of all") << "fits.llp" << QStringList{} << "aa\n\n" + four + "\n\n" + tracked
                                                   << 0 << "6,-1,0"
                                                   << "letterloom-cli: 2 of 3 paragraphs do not fit: 2 with a setting "
                                                      "found, 0 with none\n"
                                                      "letterloom-cli: @new.llp written with line spacing 6, tracking -1\n";
        QTest::newRow("all fit as they are") << "fits.llp" << QStringList{} << QByteArray("aa") << 0 << "10,0,0"
                                             << "letterloom-cli: @new.llp written with line spacing 10\n";
        QTest::newRow("none fits one") << "fits.llp" << QStringList{} << "aa\n\n" + QByteArray(30, 'b') << 1 << ""
                                       << "letterloom-cli: 1 of 2 paragraphs do not fit: 0 with a setting found, "
                                          "1 with none\n"
                                          "letterloom-cli: No one setting fits every paragraph; paragraph 2 is the "
                                          "first left without one: @new.llp is not written\n";
        QTest::newRow("the project's own text") << "tall.llp" << QStringList{"--floor", "0"} << QByteArray() << 0
                                                << "3,0,0"
                                                << "letterloom-cli: 1 of 1 text areas do not fit: 1 with a setting "
                                                   "found, 0 with none\n"
                                                   "letterloom-cli: @new.llp written with line spacing 3\n";
        QTest::newRow("one area of several") << "areas.llp" << QStringList{"--floor", "0", "--area", "3"}
                                             << QByteArray() << 0 << "10,0,0 10,0,0 3,0,0"
                                             << "letterloom-cli: 1 of 1 text areas do not fit: 1 with a setting "
                                                "found, 0 with none\n"
                                                "letterloom-cli: @new.llp written with text area 3: line spacing 3\n";
        // Area 2's second word is too wide for every setting.
        QTest::newRow("an area without one") << "areas.llp" << QStringList{"--floor", "0"} << QByteArray() << 1 << ""
                                             << "letterloom-cli: 2 of 3 text areas do not fit: 1 with a setting "
                                                "found, 1 with none\n"
                                                "letterloom-cli: No setting fits the text in text area 2: @new.llp "
                                                "is not written\n";
    }

    void fitApply()
    {
        QFETCH(QString, project);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, text);
        QFETCH(int, status);
        QFETCH(QString, written);
        QFETCH(QString, err);
        QFile::remove(path("new.llp"));
        write("out.txt", text);
        const QByteArray before = readWholeFile(path(project));
        QStringList arguments{"fit", "@" + project, "--suggest", "--apply", "-o", "@new.llp"};
        if (!text.isEmpty())
            arguments << "--text" << "@out.txt";
        const Run run = cli(arguments + options);
        QCOMPARE(QString::fromUtf8(run.err), expand(err));
        QCOMPARE(run.status, status);
        QCOMPARE(readWholeFile(path(project)), before);
        QCOMPARE(QFileInfo::exists(path("new.llp")), !written.isEmpty());
        if (written.isEmpty())
            return;
        // The written project: the settings changed, nothing else.
        const project::ProjectFile file = project::parseProject(readWholeFile(path("new.llp")));
        const project::ProjectFile old = project::parseProject(before);
        QStringList notices;
        std::vector<project::AreaText> areas =
            project::joinAreas(file.settings, file.text, project::extrasOf(file, "new.llp", notices));
        const std::vector<project::AreaText> oldAreas =
            project::joinAreas(old.settings, old.text, project::extrasOf(old, "old.llp", notices));
        QStringList settings;
        for (size_t i = 0; i < areas.size(); ++i) {
            settings << QStringLiteral("%1,%2,%3").arg(areas[i].lineSpacing).arg(areas[i].spacing.tracking)
                            .arg(areas[i].spacing.wordSpacing);
            areas[i].lineSpacing = oldAreas[i].lineSpacing;
            areas[i].spacing = oldAreas[i].spacing;
        }
        QCOMPARE(settings.join(' '), written);
        QVERIFY(areas == oldAreas);
        QCOMPARE(file.pictureBmp, old.pictureBmp);
        QCOMPARE(file.storedFontPath, old.storedFontPath);
    }

    // What fit --suggest refuses before it reads anything, and fit without it.
    void fitSuggestRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        const QString tryHelp = QStringLiteral("letterloom-cli: Try 'letterloom-cli fit --help'.\n");
        QTest::newRow("floor without suggest") << QStringList{"--text", "@out.txt", "--floor", "3"} << 2
                                               << "letterloom-cli: --floor goes with --suggest\n" + tryHelp;
        QTest::newRow("apply without suggest") << QStringList{"--text", "@out.txt", "--apply"} << 2
                                               << "letterloom-cli: --apply goes with --suggest\n" + tryHelp;
        QTest::newRow("apply without output") << QStringList{"--suggest", "--apply"} << 2
                                              << "letterloom-cli: --apply needs -o NEW.llp, the project to write\n"
                                                     + tryHelp;
        QTest::newRow("output without apply") << QStringList{"--suggest", "-o", "@new.llp"} << 2
                                              << "letterloom-cli: -o goes with --apply\n" + tryHelp;
        QTest::newRow("negative floor") << QStringList{"--suggest", "--floor", "-1"} << 2
                                        << "letterloom-cli: --floor takes a whole number from 0, not '-1'\n" + tryHelp;
        QTest::newRow("apply with another font") << QStringList{"--suggest", "--apply", "-o", "@new.llp", "--font",
                                                                "@font.llf"}
                                                 << 2
                                                 << "letterloom-cli: --apply writes settings for the project's own "
                                                    "font; leave out --font\n" + tryHelp;
        QTest::newRow("over the project") << QStringList{"--suggest", "--apply", "-o", "@fits.llp"} << 1
                                          << "letterloom-cli: -o names the project read: --apply writes the project "
                                             "to another file\n";
        QTest::newRow("missing alternate font") << QStringList{"--suggest", "--alt-font", "@none.llf"} << 1 << "";
    }

    void fitSuggestRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, err);
        write("out.txt", "aa");
        QFile::remove(path("new.llp"));
        const QByteArray before = readWholeFile(path("fits.llp"));
        const Run run = cli(QStringList{"fit", "@fits.llp"} + arguments);
        QCOMPARE(run.status, status);
        if (!err.isEmpty())
            QCOMPARE(QString::fromUtf8(run.err), expand(err));
        QCOMPARE(run.out, QByteArray());
        QVERIFY(!QFileInfo::exists(path("new.llp")));
        QCOMPARE(readWholeFile(path("fits.llp")), before);
    }

    void fontConvertRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray test = font::fontBytes(testFont());
        const QByteArray sample = readWholeFile(QStringLiteral(LETTERLOOM_BUILD_DIR "/sample.llf"));
        font::GlyphTable highByte;
        highByte['H'] = sketchGlyph({"#"});
        highByte['H'].pixels[0][0] = 0x7F123456;
        const QByteArray high = font::fontBytes(highByte);
        QTest::newRow("sample font") << sample << sample;
        QTest::newRow("undefined glyph with pixels") << test << test;
        QTest::newRow("colour with a high byte") << high << high;
        QTest::newRow("bytes after the last glyph are dropped") << test + "tail" << test;
        const QByteArray block("LLX1\x0b\x00\x00\x00{\"later\":1}", 19);
        QTest::newRow("the extension block is kept") << test + block << test + block;
    }

    void fontConvertRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        write("in.llf", bytes);
        write("out.llf", "an older file");
        const Run run = cli({"font", "convert", "@in.llf", "@out.llf"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(readWholeFile(path("out.llf")), expected);
    }

    void standardStreams_data()
    {
        QTest::addColumn<QStringList>("arguments");  // reading or writing "-" or /dev/stdin
        QTest::addColumn<QStringList>("same");       // the same with the file @in.txt or @out.*
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("render -o -") << QStringList{"render", "@fits.llp", "-o", "-"}
                                     << QStringList{"render", "@fits.llp", "-o", "@out.bmp"} << QByteArray();
        QTest::newRow("font sheet -o -") << QStringList{"font", "sheet", "@font.llf", "-o", "-"}
                                         << QStringList{"font", "sheet", "@font.llf", "-o", "@out.bmp"} << QByteArray();
        QTest::newRow("render --text -") << QStringList{"render", "@fits.llp", "--text", "-", "-o", "-"}
                                         << QStringList{"render", "@fits.llp", "--text", "@in.txt", "-o", "@out.bmp"}
                                         << QByteArray("ab\nba");
        QTest::newRow("layout --text -") << QStringList{"layout", "@fits.llp", "--json", "--text", "-"}
                                         << QStringList{"layout", "@fits.llp", "--json", "--text", "@in.txt"}
                                         << QByteArray("a b\rab\r\nb");
        QTest::newRow("layout --text /dev/stdin") << QStringList{"layout", "@fits.llp", "--json", "--text", "/dev/stdin"}
                                                  << QStringList{"layout", "@fits.llp", "--json", "--text", "@in.txt"}
                                                  << QByteArray("aa aa aa aa aa aa");
        QTest::newRow("layout --text-bytes -") << QStringList{"layout", "@fits.llp", "--json", "--text-bytes", "-"}
                                               << QStringList{"layout", "@fits.llp", "--json", "--text-bytes", "@in.txt"}
                                               << QByteArray("\xC3\xA9 a");
    }

    // A text may come from stdin and a picture go to stdout, byte for byte as
    // through files.
    void standardStreams()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, same);
        QFETCH(QByteArray, input);
        write("in.txt", input);
        const Run run = cli(arguments, 0, {}, input);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.status, 0);
        const Run throughFiles = cli(same);
        QCOMPARE(throughFiles.status, 0);
        QCOMPARE(run.out, same.last() == "@out.bmp" ? readWholeFile(path("out.bmp")) : throughFiles.out);
        QVERIFY(!QFile::exists("-"));
    }

    void specialOutputs_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("pipe");     // made as a named pipe
        QTest::addColumn<QString>("link");     // a link to the pipe, when not empty
        QTest::addColumn<QString>("refused");  // the path named in the message
        QTest::newRow("render to a pipe") << QStringList{"render", "@fits.llp", "-o", "@out.bmp"} << "out.bmp" << "" << "@out.bmp";
        QTest::newRow("render through a link to a pipe")
            << QStringList{"render", "@fits.llp", "-o", "@out.link.png"} << "out.pipe" << "out.link.png" << "@out.link.png";
        QTest::newRow("font convert to a pipe") << QStringList{"font", "convert", "@font.llf", "@out.bdf"} << "out.bdf" << "" << "@out.bdf";
        QTest::newRow("font convert, BMFont page a pipe")
            << QStringList{"font", "convert", "@font.llf", "@out.fnt"} << "out_0.png" << "" << "@out_0.png";
        QTest::newRow("font convert, the .fnt a pipe: no page written either")
            << QStringList{"font", "convert", "@font.llf", "@out.fnt"} << "out.fnt" << "" << "@out.fnt";
        QTest::newRow("font sheet through a link to a pipe")
            << QStringList{"font", "sheet", "@font.llf", "-o", "@out.link.bmp"} << "out.pipe" << "out.link.bmp" << "@out.link.bmp";
        QTest::newRow("texts export to a pipe") << QStringList{"texts", "export", "@areas.llp", "-o", "@out.csv"} << "out.csv" << "" << "@out.csv";
        QTest::newRow("project read from a pipe") << QStringList{"render", "@out.llp", "-o", "@out.bmp"} << "out.llp" << "" << "@out.llp";
        QTest::newRow("font read through a link to a pipe")
            << QStringList{"font", "info", "@out.link.llf"} << "out.pipe" << "out.link.llf" << "@out.link.llf";
    }

    // A pipe (or a device, or a link to one) is never opened as a font,
    // project or picture and never replaced by a file: the command fails and
    // leaves the folder as it was.
    void specialOutputs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, pipe);
        QFETCH(QString, link);
        QFETCH(QString, refused);
        QVERIFY(::mkfifo(QFile::encodeName(path(pipe)).constData(), 0644) == 0);
        if (!link.isEmpty())
            QVERIFY(QFile::link(pipe, path(link)));
        const QDir folder(dir_.path());
        const QStringList before = folder.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);

        const Run run = cli(arguments);
        QCOMPARE(run.err, "letterloom-cli: \"" + expand(refused).toUtf8() + "\" is not a regular file\n");
        QCOMPARE(run.status, 1);
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot), before);
        QVERIFY(QFileInfo(path(pipe)).isFile() == false && QFileInfo::exists(path(pipe)));
        if (!link.isEmpty())
            QVERIFY(QFileInfo(path(link)).isSymLink());
    }

    void fullDisk_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("outputs");
        const QStringList convert{"font", "convert", "@font.llf"};
        QTest::newRow("font to .llf") << convert + QStringList{"@out.llf"} << QStringList{"out.llf"};
        QTest::newRow("font to .bdf") << convert + QStringList{"@out.bdf"} << QStringList{"out.bdf"};
        QTest::newRow("font to .fnt and its page") << convert + QStringList{"@out.fnt"} << QStringList{"out.fnt", "out_0.png"};
        QTest::newRow("font to .psf") << convert + QStringList{"@out.psf"} << QStringList{"out.psf"};
        QTest::newRow("render to .bmp") << QStringList{"render", "@fits.llp", "-o", "@out.bmp"} << QStringList{"out.bmp"};
        QTest::newRow("render to .png") << QStringList{"render", "@fits.llp", "-o", "@out.png"} << QStringList{"out.png"};
    }

    // A command whose output finds no room ends with "Disk full" and leaves
    // the older files as they were, and no other file behind.
    void fullDisk()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, outputs);
        LETTERLOOM_ON_A_FULL_DISK();
        for (const QString &output : outputs)
            write(output, "older " + output.toUtf8());
        const QDir folder(dir_.path());
        const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY(testing::fillDisk());

        const Run run = cli(arguments);
        QCOMPARE(run.err, QByteArray("letterloom-cli: Disk full\n"));
        QCOMPARE(run.status, 1);
        for (const QString &output : outputs)
            QCOMPARE(readWholeFile(path(output)), "older " + output.toUtf8());
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    }

    // Commands that draw no text start no platform: told to use one that does
    // not exist, they work and write the same bytes as on the offscreen one.
    void commandsWithoutPlatform_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");  // the file it writes, "" for stdout
        QTest::newRow("render BMP") << QStringList{"render", "@fits.llp", "-o", "@out.bmp"} << "out.bmp";
        QTest::newRow("render PNG") << QStringList{"render", "@look.llp", "-o", "@out.png"} << "out.png";
        QTest::newRow("layout") << QStringList{"layout", "@fits.llp", "--json"} << "";
        QTest::newRow("font info") << QStringList{"font", "info", "@font.llf", "--json"} << "";
        QTest::newRow("font convert") << QStringList{"font", "convert", "@font.llf", "@out.bdf"} << "out.bdf";
        QTest::newRow("import-grid from PNG")
            << QStringList{"font", "import-grid", "@grid.png", "--cell", "2x2", "-o", "@out.llf"} << "out.llf";
    }
    void commandsWithoutPlatform()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        const auto result = [&](const QString &platform) {
            const Run run = cli(arguments, 0, platform);
            const QByteArray bytes = output.isEmpty() ? run.out : readWholeFile(path(output));
            if (!output.isEmpty())
                QFile::remove(path(output));
            return std::make_tuple(run.status, run.err, bytes);
        };
        const auto offscreen = result(QStringLiteral("offscreen"));
        QCOMPARE(std::get<0>(offscreen), 0);
        QVERIFY(!std::get<2>(offscreen).isEmpty());
        QCOMPARE(result(QStringLiteral("no-such-platform")), offscreen);
    }

    void fontInfo_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("json");  // the glyph's entry, "" when not listed
        QTest::addColumn<QString>("line");  // its line of the plain listing
        QTest::newRow("space") << 32 << R"({"code":32,"colours":["FFFFFF"],"height":7,"width":5})"
                               << "  32  space     5 x 7    FFFFFF";
        QTest::newRow("two colours and white") << 88 << R"({"code":88,"colours":["000000","00FF00","FFFFFF"],"height":2,"width":2})"
                                               << "  88  X         2 x 2    000000 00FF00 FFFFFF";
        QTest::newRow("Latin-1") << 233 << R"({"code":233,"colours":["000000"],"height":7,"width":5})"
                                 << " 233  \u00E9         5 x 7    000000";
        QTest::newRow("undefined glyph with pixels") << 7 << "" << "";
    }

    void fontInfo()
    {
        QFETCH(int, code);
        QFETCH(QString, json);
        QFETCH(QString, line);

        const Run listing = cli({"font", "info", "@font.llf"});
        QCOMPARE(listing.status, 0);
        const QStringList lines = QString::fromUtf8(listing.out).split(u'\n');
        QCOMPARE(lines.first(), QStringLiteral("font.llf: 5 glyphs defined"));
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^ *%1  ").arg(code))).value(0), line);

        const Run run = cli({"font", "info", "@font.llf", "--json"});
        QCOMPARE(run.status, 0);
        const QJsonObject root = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(root["colours"].toArray(), (QJsonArray{"000000", "00FF00", "FFFFFF"}));
        QString found;
        for (const QJsonValue &glyph : root["glyphs"].toArray())
            if (glyph["code"].toInt() == code)
                found = QString::fromUtf8(QJsonDocument(glyph.toObject()).toJson(QJsonDocument::Compact));
        QCOMPARE(found, json);
    }

    // The fields of the plain listing, each as wide as its column or wider:
    // a text of many characters or of two bytes, sizes of four digits and of
    // 0, a glyph without pixels, a colour with a high byte.
    void fontInfoFields_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("listing");
        const QByteArray table("41=long text here\n42=\xc3\xa9\n43=$\nE0=th\n");
        const QString rest = QStringLiteral(
            "colours used (glyphs using each): 000000 (1), 100000 (1), FF0000 (1), EFCDAB (1), FFFFFF (1), "
            "7F563412 (1)\n");
        QTest::newRow("no map") << QStringList() << table
                                << "wide.llf: 5 glyphs defined\ncode  char    size      colours\n"
                                   "  65  A         3 x 1    FF0000 FFFFFF 7F563412\n"
                                   "  66  B      4096 x 1    000000\n"
                                   "  67  C        10 x 1000 EFCDAB\n"
                                   "  68  D         0 x 7    \n"
                                   " 224  \u00E0         1 x 1    100000\n" + rest;
        QTest::newRow("through a table") << QStringList{"--map", "@wide.tbl"} << table
                                         << "wide.llf: 5 glyphs defined\ncharacter map: table wide.tbl\n"
                                            "code  char    size      colours\n"
                                            "  65  long text here    3 x 1    FF0000 FFFFFF 7F563412\n"
                                            "  66  \u00E9      4096 x 1    000000\n"
                                            "  67  $        10 x 1000 EFCDAB\n"
                                            "  68  $68       0 x 7    \n"
                                            " 224  th        1 x 1    100000\n" + rest;
        // A text that looks like a placeholder is shown as it is.
        QTest::newRow("percent signs") << QStringList{"--map", "@wide.tbl"} << QByteArray("41=%1\n42=%2 %\n")
                                       << "wide.llf: 5 glyphs defined\ncharacter map: table wide.tbl\n"
                                          "code  char    size      colours\n"
                                          "  65  %1        3 x 1    FF0000 FFFFFF 7F563412\n"
                                          "  66  %2 %   4096 x 1    000000\n"
                                          "  67  $67      10 x 1000 EFCDAB\n"
                                          "  68  $68       0 x 7    \n"
                                          " 224" + QString(12, u' ') + "1 x 1    100000\n" + rest;
    }
    void fontInfoFields()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, table);
        QFETCH(QString, listing);
        ByteWriter font;
        const auto glyph = [&font](qint32 width, qint32 height, const QList<quint32> &colours) {
            font.u8(1);
            font.i32(width);
            font.i32(height);
            for (qint64 i = 0; i < qint64(width) * height; ++i)
                font.u32(colours[i % colours.size()]);
        };
        for (int code = 0; code < 256; ++code) {
            if (code == 'A')
                glyph(3, 1, {0x7F123456, 0x0000FF, 0xFFFFFF});
            else if (code == 'B')
                glyph(4096, 1, {0});
            else if (code == 'C')
                glyph(10, 1000, {0xABCDEF});
            else if (code == 'D')
                glyph(0, 7, {});
            else if (code == 0xE0)
                glyph(1, 1, {0x10});
            else
                font.bytes(QByteArray(9, '\0'));
        }
        write("wide.llf", font.result());
        write("wide.tbl", table);
        const Run run = cli(QStringList{"font", "info", "@wide.llf"} + options);
        QCOMPARE(run.status, 0);
        QCOMPARE(QString::fromUtf8(run.out), listing);
    }

    // A sheet of a font with one red 1 x 1 glyph, A (code 65: row 4, column 1).
    void fontSheet_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::newRow("zoom 1") << 1;
        QTest::newRow("zoom 2") << 2;
        QTest::newRow("zoom 5") << 5;
    }

    void fontSheet()
    {
        QFETCH(int, zoom);
        font::GlyphTable glyphs;
        glyphs['A'] = sketchGlyph({"r"});
        write("one.llf", font::fontBytes(glyphs));
        const Run run = cli({"font", "sheet", "@one.llf", "-o", "@out.bmp", "--zoom", QString::number(zoom)});
        QCOMPARE(run.status, 0);

        // Cells are 8 pixels a side times the zoom plus 3 on every side, with
        // one-pixel lines between them, below and right of the label bands.
        const int cell = 8 * zoom + 6 + 1;
        const raster::Raster sheet = raster::Raster::readBmpFile(path("out.bmp"));
        QCOMPARE(sheet.size(), QSize(24 + 16 * cell + 1, 16 + 16 * cell + 1));
        QRect red;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                if (sheet.pixel(x, y) == raster::kRed)
                    red |= QRect(x, y, 1, 1);
        QCOMPARE(red, QRect(24 + 1 * cell + 1 + 3, 16 + 4 * cell + 1 + 3, zoom, zoom));
    }

    // A font drawn as a grid by "font sheet --grid" and read back by
    // "font import-grid" with the same options: random fonts of one height
    // whose widths follow the trimming rule come back as they were.
    void gridRoundTrip_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("the defaults, one cell size") << QStringList{"--cell", "9x7"};
        QTest::newRow("margins, gaps, columns, spacing 2")
            << QStringList{"--cell", "10x7", "--margin", "3,2", "--gap", "1,2", "--columns", "12", "--first", "0", "--spacing", "2"};
        QTest::newRow("characters, colours given, as BMP")
            << QStringList{"--cell", "9x7", "--chars", QStringLiteral("Gr\u00FC\u00DFe!"), "--background", "102030", "--ink", "FFAA00"};
        QTest::newRow("Cyrillic characters through windows-1251")
            << QStringList{"--cell", "9x7", "--chars", u"Привет, мой!"_qs, "--map", "windows-1251"};
    }

    void gridRoundTrip()
    {
        QFETCH(QStringList, options);
        const int spacing = options.contains("--spacing") ? 2 : 1;
        const bool bmp = options.contains("--ink");
        QRandomGenerator random(quint32(options.size()));
        font::GlyphTable glyphs;
        for (int code = 0; code < 256; ++code) {
            if (code == ' ') {
                glyphs[code] = block(4, 7, raster::kWhite);  // half the cell width
                if (options.contains("--cell") && options[options.indexOf("--cell") + 1] == "10x7")
                    glyphs[code] = block(5, 7, raster::kWhite);
                continue;
            }
            if (random.bounded(3) == 0)
                continue;
            const int rightmost = random.bounded(7);
            QStringList rows(7, QString());
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < rightmost + 1 + spacing; ++x)
                    rows[y] += x > rightmost ? u'.' : QStringLiteral("##..rgb")[random.bounded(7)];
            rows[random.bounded(7)][rightmost] = u'#';
            glyphs[code] = sketchGlyph(rows);
        }
        write("random.llf", font::fontBytes(glyphs));
        const QString picture = bmp ? "@out.bmp" : "@out.png";
        const Run drawn = cli(QStringList{"font", "sheet", "@random.llf", "-o", picture, "--grid"} + options);
        QCOMPARE(drawn.status, 0);
        QCOMPARE(drawn.err, QByteArray());
        const Run read = cli(QStringList{"font", "import-grid", picture, "-o", "@out.llf"} + options);
        QCOMPARE(read.status, 0);
        QCOMPARE(read.err, QByteArray());

        // Only the codes the cells cover come back.
        font::GlyphTable expected;
        const QString chars = options.contains("--chars") ? options[options.indexOf("--chars") + 1] : QString();
        const int first = options.contains("--first") ? 0 : 32;
        const font::CharMap map = options.contains("--map") ? font::CharMap::fromCodePage(options.last()) : font::CharMap();
        for (int code = 0; code < 256; ++code)
            if (chars.isEmpty() ? code >= first : !map.text(code).isEmpty() && chars.contains(map.text(code)))
                expected[code] = glyphs[code];
        QVERIFY(font::readFontFile(path("out.llf")) == expected);
    }

    // Fonts of Unicode characters through --map: written as the characters
    // of their codes and placed back at the codes of the map, and a grid's
    // --chars read through the map of the font it goes into, which keeps it.
    void fontsThroughMaps_data()
    {
        QTest::addColumn<QList<QStringList>>("commands");
        QTest::addColumn<Widths>("widths");  // of out.llf
        QTest::addColumn<QString>("map");    // of out.llf
        QTest::addColumn<QString>("err");

        // windows-1251 gives 0x98 the control character U+0098, which KOI8-R has no code for.
        QTest::newRow("BDF in Unicode and back through windows-1251")
            << QList<QStringList>{{"font", "convert", "@cyr.llf", "@out.bdf"},
                                  {"font", "convert", "@out.bdf", "@out.llf", "--map", "windows-1251"}}
            << Widths{{0xCF, 1}, {0xF0, 2}, {'A', 3}, {0x98, 4}} << "windows-1251" << "";
        QTest::newRow("BMFont in Unicode, placed through KOI8-R")
            << QList<QStringList>{{"font", "convert", "@cyr.llf", "@out.fnt"},
                                  {"font", "convert", "@out.fnt", "@out.llf", "--map", "koi8-r"}}
            << Widths{{0xF0, 1}, {0xD2, 2}, {'A', 3}} << "KOI8-R"
            << "letterloom-cli: Skipped 1 glyph whose characters have no code in the character map (KOI8-R)\n";
        QTest::newRow("a Unicode font without --map: Latin-1")
            << QList<QStringList>{{"font", "convert", "@cyr.llf", "@out.bdf"}, {"font", "convert", "@out.bdf", "@out.llf"}}
            << Widths{{'A', 3}, {0x98, 4}} << "none" << "letterloom-cli: Skipped 2 glyphs with codes above 255\n";
        QTest::newRow("a DTE table: th is neither written nor read")
            << QList<QStringList>{{"font", "import-grid", "@grid.png", "--cell", "2x2", "--chars", "thA", "--map", "@dte.tbl",
                                   "-o", "@mid.llf"},
                                  {"font", "convert", "@mid.llf", "@out.bdf"},
                                  {"font", "convert", "@out.bdf", "@out.llf", "--map", "@dte.tbl"}}
            << Widths{{'A', 3}} << "table dte.tbl"
            << "letterloom-cli: Skipped, no single character in the character map (table dte.tbl): glyphs 224\n"
               "letterloom-cli: Left undefined, their texts in the character map (table dte.tbl) have several characters: codes 224\n";
        QTest::newRow("import-grid --into keeps the font's map")
            << QList<QStringList>{{"font", "import-grid", "@grid.png", "--cell", "2x2", "--chars", u"Пр"_qs, "--into",
                                   "@cyr.llf", "-o", "@out.llf"}}
            << Widths{{0xCF, 3}, {0xF0, 3}, {'A', 3}, {0x98, 4}} << "windows-1251" << "";
        QTest::newRow("import-grid through a DTE table")
            << QList<QStringList>{{"font", "import-grid", "@grid.png", "--cell", "2x2", "--chars", "thA", "--map", "@dte.tbl",
                                   "-o", "@out.llf"}}
            << Widths{{0xE0, 3}, {'A', 3}} << "table dte.tbl" << "";
    }

    void fontsThroughMaps()
    {
        QFETCH(QList<QStringList>, commands);
        QFETCH(Widths, widths);
        QFETCH(QString, map);
        QFETCH(QString, err);
        font::GlyphTable cyrillic;
        cyrillic[0xCF] = block(1, 2, raster::kBlack);  // П
        cyrillic[0xF0] = block(2, 2, raster::kBlack);  // р
        cyrillic['A'] = block(3, 2, raster::kBlack);
        cyrillic[0x98] = block(4, 2, raster::kBlack);  // no character in windows-1251
        font::FontExtras extras;
        extras.charMap = font::CharMap::fromCodePage(QStringLiteral("windows-1251"));
        font::writeFontFile(path("cyr.llf"), cyrillic, extras);
        write("dte.tbl", "E0=th\n41=A\n");
        QString errors;
        for (const QStringList &command : commands) {
            const Run run = cli(command);
            QCOMPARE(run.status, 0);
            errors += QString::fromUtf8(run.err);
        }
        QCOMPARE(errors, err);
        const font::FontFile out = font::loadFontFile(path("out.llf"));
        Widths got;
        for (int code = 0; code < 256; ++code)
            if (out.glyphs[code].defined)
                got[code] = out.glyphs[code].width;
        QCOMPARE(got, widths);
        QCOMPARE(out.extras.charMap.description(), map);
    }

    // --into keeps the font's glyphs but the codes whose cells hold a glyph.
    void importGridInto()
    {
        write("into.llf", font::fontBytes(testFont()));
        const Run run = cli({"font", "import-grid", "@grid.png", "--cell", "2x2", "--chars", "ab", "--into", "@into.llf",
                             "-o", "@out.llf"});
        QCOMPARE(run.status, 0);
        font::GlyphTable expected = testFont();
        expected['a'] = sketchGlyph({".#.", "#.."});
        expected['b'] = sketchGlyph({".#.", "##."});
        QVERIFY(font::readFontFile(path("out.llf")) == expected);
        QCOMPARE(readWholeFile(path("into.llf")), font::fontBytes(testFont()));
    }

    void helpForEveryCommand_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("usage");
        for (const char *command : {"render", "layout", "fit", "font info", "font sheet", "font convert", "font import-grid",
                                    "batch", "texts export", "texts import"}) {
            const QStringList words = QString::fromLatin1(command).split(u' ');
            QTest::newRow(command) << words + QStringList{"--help"} << QStringLiteral("Usage: letterloom-cli %1 [options]").arg(command);
        }
        QTest::newRow("overview") << QStringList{"--help"} << "Usage: letterloom-cli COMMAND";
    }

    void helpForEveryCommand()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, usage);
        const Run run = cli(arguments);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(usage.toUtf8()), run.out.constData());
        QCOMPARE(run.err, QByteArray());
    }

    // The text form of fonts that tools/make_examples turns into font files.
    void fontSource_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("error");  // "" when the font is made
        QTest::addColumn<QStringList>("glyph65");
        const QByteArray palette = "// test\npalette\n. FFFFFF // paper\n# 000000\nr ff0000\nend\n\n";
        QTest::newRow("colours by the palette, red first")
            << palette + "glyph 65 3x2  // A\n#r.\n.#r\n" << "" << QStringList{"#r.", ".#r"};
        QTest::newRow("CR LF lines, rows kept as they stand")
            << QByteArray(palette + "glyph 65 2x1\n..\n").replace("\n", "\r\n") << "" << QStringList{".."};
        QTest::newRow("row too short") << palette + "glyph 65 3x2\n#r.\n.#\n"
                                       << "src.txt:10: row of 2 characters; glyph 65 is 3 wide" << QStringList{};
        QTest::newRow("rows missing") << palette + "glyph 65 3x2\n#r.\n"
                                      << "src.txt:9: glyph 65 ends after 1 of its 2 rows" << QStringList{};
        QTest::newRow("colour not in the palette") << palette + "glyph 65 1x1\nx\n"
                                                   << "src.txt:9: 'x' is not in the palette" << QStringList{};
        QTest::newRow("code above 255") << palette + "glyph 256 1x1\n.\n"
                                        << "src.txt:8: glyph code 256 is not from 0 to 255" << QStringList{};
        QTest::newRow("glyph drawn twice") << palette + "glyph 65 1x1\n.\nglyph 65 1x1\n#\n"
                                           << "src.txt:10: glyph 65 is drawn twice" << QStringList{};
        QTest::newRow("palette without end") << QByteArray("palette\n. FFFFFF\n")
                                             << "src.txt:2: the palette has no \"end\"" << QStringList{};
        QTest::newRow("unknown line") << palette + "glyf 65 1x1\n.\n"
                                      << "src.txt:8: expected \"palette\" or \"glyph CODE WxH\"" << QStringList{};
    }

    void fontSource()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, error);
        QFETCH(QStringList, glyph65);
        write("src.txt", source);
        QProcess tool;
        tool.start(QStringLiteral(LETTERLOOM_BUILD_DIR "/tools/make_examples"), {"font", path("src.txt"), path("out.llf")});
        QVERIFY(tool.waitForFinished(-1));
        QCOMPARE(QString::fromUtf8(tool.readAllStandardError()), error.isEmpty() ? QString() : "make_examples: " + error + "\n");
        QCOMPARE(tool.exitCode(), error.isEmpty() ? 0 : 1);
        QCOMPARE(QFile::exists(path("out.llf")), error.isEmpty());
        if (error.isEmpty()) {
            const font::GlyphTable glyphs = font::readFontFile(path("out.llf"));
            QCOMPARE(glyphs['A'].defined, std::uint8_t(1));
            QCOMPARE(testing::pixelSketch(glyphs['A']), glyph65);
            QCOMPARE(glyphs['B'], font::tGraphChar());
        }
    }

    // The sample files the build puts next to the programs.
    void sampleFiles()
    {
        const QString programDirectory = QStringLiteral(LETTERLOOM_BUILD_DIR "/");
        const font::GlyphTable glyphs = font::readFontFile(programDirectory + "sample.llf");
        for (int code = 32; code <= 126; ++code) {
            QVERIFY2(glyphs[code].defined && glyphs[code].width > 0, qPrintable(QString::number(code)));
            QCOMPARE(glyphs[code].height, glyphs['A'].height);
        }
        for (int code : {1, 2, 3}) {
            int coloured = 0;
            for (const auto &column : glyphs[code].pixels)
                for (raster::Colour colour : column)
                    coloured += colour != raster::kBlack && colour != raster::kWhite;
            QVERIFY2(coloured > 10, qPrintable(QString::number(code)));
        }

        const project::ProjectFile sample = project::parseProject(readWholeFile(programDirectory + "sample.llp"));
        QCOMPARE(sample.storedFontPath, QByteArray("sample.llf"));
        QVERIFY(sample.text.contains("\r\n"));
        const Run run = cli({"render", programDirectory + "sample.llp", "-o", "@out.bmp"});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.status, 0);
        QCOMPARE(raster::Raster::readBmpFile(path("out.bmp")).size(), QSize(320, 200));
        QVERIFY(!(raster::Raster::readBmpFile(path("out.bmp")) == project::embeddedPicture(sample.pictureBmp)));

        // The second sample: three areas, each text fitting its own.
        const Run areas = cli({"layout", programDirectory + "areas.llp", "--json"});
        QCOMPARE(areas.err, QByteArray());
        QCOMPARE(areas.status, 0);
        const QJsonArray laidOut = QJsonDocument::fromJson(areas.out).object()["areas"].toArray();
        QCOMPARE(laidOut.size(), 3);
        for (const QJsonValue &area : laidOut)
            QVERIFY(!area["lines"].toArray().isEmpty());
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"

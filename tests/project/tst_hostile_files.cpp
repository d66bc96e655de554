// Files made to hurt the program: tiny files that claim huge glyphs, lengths,
// pictures and text areas, and the inputs that fuzzing once found breaking a
// reader (tests/data/regressions). Each must end with a clear message, and a
// crafted file must do so without taking more than a few megabytes.

#include "../fuzz/reader_checks.h"

#include "base/byte_reader.h"
#include "base/file_io.h"
#include "base/gzip.h"
#include "font/bdf_font.h"
#include "font/bmfont.h"
#include "font/font_file.h"
#include "font/psf_font.h"
#include "project/project_file.h"
#include "raster/raster.h"
#include "text/render.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <new>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/sanitized.h"

using namespace letterloom;

namespace {

// How far a reader's process may grow while it refuses a crafted file.
constexpr qint64 kHeadroom = 8 * 1024 * 1024;

// The readers a crafted file goes through, each from a file on disk.
// FontNotices and ProjectNotices read the whole file and come to the notices
// about its extension block, one a line.
enum class Reader { Font, Project, Bmp, Refresh, Bdf, BmFont, Psf, Grid, Allocate64MB, FontNotices, ProjectNotices };

QByteArray int32Bytes(std::int32_t value)
{
    ByteWriter out;
    out.i32(value);
    return out.result();
}

// A font file whose first glyph claims width x height and brings no pixels.
QByteArray fontClaiming(std::int32_t width, std::int32_t height, int emptyGlyphsBefore = 0)
{
    return font::fontBytes({}).left(9 * emptyGlyphsBefore) + '\x01' + int32Bytes(width) + int32Bytes(height);
}

// Field offsets of a project file.
enum ProjectOffset { kAreaWidth = 11, kAreaHeight = 15, kFontPathLength = 36, kTextLength = 40, kPictureLength = 44 };

QByteArray projectWith(std::initializer_list<std::pair<int, std::int32_t>> fields, const QByteArray &picture = {})
{
    project::ProjectFile file;
    file.pictureBmp = picture;
    QByteArray bytes = project::projectBytes(file);
    for (const auto &[offset, value] : fields)
        bytes.replace(offset, 4, int32Bytes(value));
    return bytes;
}

// A BMP header of a width x height picture, followed by pixels.
QByteArray bmpClaiming(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel,
                       std::uint32_t compression, const QByteArray &pixels, std::uint32_t colours = 0)
{
    const std::uint32_t tableSize = colours ? colours : bitsPerPixel <= 8 ? 1u << bitsPerPixel : 0;
    const std::uint32_t offset = 14 + 40 + 4 * std::min<std::uint32_t>(tableSize, 256);
    ByteWriter out;
    out.bytes("BM");
    for (std::uint32_t field : {offset + std::uint32_t(pixels.size()), 0u, offset, 40u, std::uint32_t(width),
                                std::uint32_t(height), 1u | (std::uint32_t(bitsPerPixel) << 16), compression,
                                std::uint32_t(pixels.size()), 0u, 0u, colours, 0u})
        out.u32(field);
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(tableSize, 256); ++i)
        out.u32(i * 0x112233u & 0xFFFFFFu);  // blue, green, red, 0: colour 0 is black
    out.bytes(pixels);
    return out.result();
}

// Colour 1 of the tables above, as the raster holds it.
constexpr raster::Colour kColourOne = 0x332211;

// One run of 255 pixels per line, then the end of the picture: the few bytes
// a run-length picture of any size needs.
const QByteArray kRunsToTheEnd = QByteArray::fromHex("ff00 0000 ff00 0001");

// PNG bytes whose header chunk claims width x height (the checksums are not
// right, and need not be: the size alone must stop the reader).
QByteArray pngClaiming(std::uint32_t width, std::uint32_t height)
{
    auto bigEndian = [](std::uint32_t value) {
        QByteArray bytes;
        for (int shift : {24, 16, 8, 0})
            bytes.append(char(value >> shift));
        return bytes;
    };
    return QByteArray::fromHex("89504e470d0a1a0a") + bigEndian(13) + "IHDR" + bigEndian(width) + bigEndian(height) +
           QByteArray::fromHex("0806000000 00000000") + bigEndian(0) + "IEND" + QByteArray(4, '\0');
}

// The header of a PSF2 font: count glyphs of width x height, no table.
QByteArray psf2Claiming(std::uint32_t count, std::uint32_t width, std::uint32_t height)
{
    ByteWriter out;
    out.bytes(QByteArray::fromHex("72b54a86"));
    for (std::uint32_t field : {0u, 32u, 0u, count, (width + 7) / 8 * height, height, width})
        out.u32(field);
    return out.result();
}

// A grid input: the settings, then a PNG picture of width x height, white
// with a black top row.
QByteArray gridClaiming(int cellWidth, int cellHeight, int spacing, int pictureWidth, int pictureHeight)
{
    QImage picture(pictureWidth, pictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < pictureWidth; ++x)
        picture.setPixel(x, 0, qRgb(0, 0, 0));
    return fuzz::gridSettingsBytes(cellWidth, cellHeight, spacing, 0) + raster::encodePng(picture);
}

// An extension block of the given length field followed by json.
QByteArray blockClaiming(std::uint32_t length, const QByteArray &json)
{
    ByteWriter out;
    out.bytes("LLX1");
    out.u32(length);
    out.bytes(json);
    return out.result();
}

// The reader's outcome on bytes written to a file of the given name.
QString readAs(Reader reader, const QByteArray &bytes, const QString &folder, const QString &name)
{
    const QString path = folder + u'/' + name;
    writeWholeFile(path, bytes);
    QStringList notices;
    const QString outcome = fuzz::outcomeOf([&] {
        switch (reader) {
        case Reader::Font:
            font::readFontFile(path);
            break;
        case Reader::Project:
            project::readProjectFile(path, folder + u'/');
            break;
        case Reader::Bmp:
            raster::Raster::readBmpFile(path);
            break;
        case Reader::Refresh: {
            const project::ProjectFile file = project::parseProject(readWholeFile(path));
            const text::TextSettings settings{file.settings.area.width, file.settings.area.height,
                                              file.settings.lineSpacing, file.settings.alignment, raster::kRed, {}};
            text::LineTable lines;
            raster::Raster overlay;
            text::RefreshText("Hello", settings, font::GlyphTable{}, lines, overlay);
            break;
        }
        case Reader::Bdf:
            font::readBdfFile(path);
            break;
        case Reader::BmFont:
            writeWholeFile(folder + "/page.png", pngClaiming(30000, 30000));
            font::readBmFontFile(path);
            break;
        case Reader::Psf:
            font::readPsfFile(path);
            break;
        case Reader::Grid: {
            const fuzz::GridInput input = fuzz::decodeGridInput(readWholeFile(path));
            font::importGrid(input.picture, input.settings);
            break;
        }
        case Reader::Allocate64MB: {
            // The measure itself: a plain allocation beyond the headroom fails.
            const std::vector<char> block(64 * 1024 * 1024, 'x');
            const volatile char last = block.back();
            (void)last;
            break;
        }
        case Reader::FontNotices:
            notices = font::loadFontFile(path).notices;
            break;
        case Reader::ProjectNotices:
            notices = project::readProjectFile(path, folder + u'/').notices;
            break;
        }
    });
    return outcome.isEmpty() ? notices.join(u'\n') : outcome;
}

qint64 addressSpaceInUse()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
}

// Runs read in a child process whose address space may grow by `headroom`
// bytes at most, and returns its outcome: empty when it read, the message of
// its error, "Out of memory" when an allocation failed, or how it died.
QString outcomeWithin(qint64 headroom, const std::function<QString()> &read)
{
    int channel[2];
    if (pipe(channel) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const rlim_t limit = rlim_t(addressSpaceInUse() + headroom);
        const rlimit bounds{limit, limit};
        QString outcome;
        if (setrlimit(RLIMIT_AS, &bounds) != 0) {
            outcome = QStringLiteral("no limit");
        } else {
            try {
                outcome = read();
            } catch (const std::bad_alloc &) {
                outcome = QStringLiteral("Out of memory");
            }
        }
        const QByteArray bytes = outcome.toUtf8();
        const ssize_t written = write(channel[1], bytes.constData(), std::size_t(bytes.size()));
        _exit(written == bytes.size() ? 0 : 1);
    }
    close(channel[1]);
    QByteArray message;
    char buffer[256];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, got);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        return QStringLiteral("killed by signal %1").arg(WTERMSIG(status));
    return QString::fromUtf8(message);
}

// What each kept input of tests/data/regressions must come to, from its
// outcomes file: "TARGET/FILE | outcome" a line, "read" when it loads.
QList<std::pair<QString, QString>> keptOutcomes()
{
    QFile list(QStringLiteral(LETTERLOOM_TEST_DATA "/regressions/outcomes.txt"));
    if (!list.open(QIODevice::ReadOnly))
        return {};
    QList<std::pair<QString, QString>> outcomes;
    for (const QByteArray &line : list.readAll().split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype bar = line.indexOf('|');
        const QString outcome = QString::fromUtf8(line.mid(bar + 1).trimmed());
        outcomes.append({QString::fromUtf8(line.left(bar).trimmed()), outcome == u"read" ? QString() : outcome});
    }
    return outcomes;
}

const QMap<QString, fuzz::Check> kChecks = {
    {QStringLiteral("font_file"), fuzz::checkFontFile}, {QStringLiteral("project_file"), fuzz::checkProjectFile},
    {QStringLiteral("bmp"), fuzz::checkBmp},            {QStringLiteral("text_layout"), fuzz::checkScene},
    {QStringLiteral("bdf_font"), fuzz::checkBdfFont},   {QStringLiteral("bmfont"), fuzz::checkBmFont},
    {QStringLiteral("psf_font"), fuzz::checkPsfFont},   {QStringLiteral("grid_import"), fuzz::checkGridImport},
    {QStringLiteral("extension_block"), fuzz::checkExtensionBlock},
};

}  // namespace

Q_DECLARE_METATYPE(Reader)

class TestHostileFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Whatever the image readers load once (format plugins, caches) is
        // loaded here, so that a child's headroom measures the reader alone.
        raster::Raster::fromBmp(raster::Raster(2, 2).toBmp());
        QImageReader::supportedImageFormats();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(2, 2, QImage::Format_ARGB32).save(&buffer, "PNG");
        QImage::fromData(png, "PNG");
    }

    void craftedFiles_data()
    {
        QTest::addColumn<Reader>("reader");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("outcome");

        const QString beyondEnd = QStringLiteral("Read beyond end of file");
        const QString badPicture = QStringLiteral("Bitmap image is not valid");
        const QString areaTooLarge = QStringLiteral("Text area is too large");
        const std::int32_t twoGB = 2147483647;

        QTest::newRow("a plain 64 MB allocation") << Reader::Allocate64MB << "none" << QByteArray() << "Out of memory";

        QTest::newRow("font of 100000 x 100000 glyphs")
            << Reader::Font << "huge.llf" << fontClaiming(100000, 100000) << "Invalid glyph size in font file";
        QTest::newRow("font of the largest glyphs, without their pixels")
            << Reader::Font << "largest.llf" << fontClaiming(4096, 4096) << beyondEnd;
        QTest::newRow("font whose last glyph claims the largest size")
            << Reader::Font << "last.llf" << fontClaiming(4096, 4096, 255) << beyondEnd;

        QTest::newRow("project with a 2 GB font path")
            << Reader::Project << "path.llp" << projectWith({{kFontPathLength, twoGB}}) << beyondEnd;
        QTest::newRow("project with a 2 GB text")
            << Reader::Project << "text.llp" << projectWith({{kTextLength, twoGB}}) << beyondEnd;
        QTest::newRow("project with a 2 GB picture")
            << Reader::Project << "picture.llp" << projectWith({{kPictureLength, twoGB}}) << beyondEnd;
        QTest::newRow("project with a text of length -1")
            << Reader::Project << "negative.llp" << projectWith({{kTextLength, -1}}) << beyondEnd;
        QTest::newRow("project with a 2147483647 x 2147483647 text area")
            << Reader::Project << "area.llp" << projectWith({{kAreaWidth, twoGB}, {kAreaHeight, twoGB}})
            << areaTooLarge;
        QTest::newRow("project with a 30000 x 30000 picture")
            << Reader::Project << "bigpicture.llp" << projectWith({}, bmpClaiming(30000, 30000, 24, 0, {}))
            << badPicture;
        QTest::newRow("project with a run-length picture of 8000 x 8000 pixels")
            << Reader::Project << "runs.llp" << projectWith({}, bmpClaiming(8000, 8000, 8, 1, kRunsToTheEnd))
            << badPicture;

        // Extension blocks: the described part opens, the block is left out.
        const QByteArray emptyFont = font::fontBytes({});
        const QString damaged = QStringLiteral("The extras stored at the end of \"%1\" are damaged and were left out: %2.");
        QTest::newRow("font whose block claims four gigabytes")
            << Reader::FontNotices << "huge.llf" << emptyFont + blockClaiming(0xFFFFFFFFu, "{}")
            << damaged.arg("huge.llf", "its length of 4294967295 bytes runs past the end of the file");
        QTest::newRow("project whose block claims 2 GB")
            << Reader::ProjectNotices << "huge.llp" << projectWith({}) + blockClaiming(0x7FFFFFFFu, "{}")
            << damaged.arg("huge.llp", "its length of 2147483647 bytes runs past the end of the file");
        QTest::newRow("project whose block runs one byte past the end")
            << Reader::ProjectNotices << "past.llp" << projectWith({}) + blockClaiming(3, "{}")
            << damaged.arg("past.llp", "its length of 3 bytes runs past the end of the file");
        QTest::newRow("font whose block nests 4000 arrays")
            << Reader::FontNotices << "deep.llf" << emptyFont + blockClaiming(4000, QByteArray(4000, '['))
            << damaged.arg("deep.llf", "its JSON is not valid (too deeply nested document at byte 1025)");
        QTest::newRow("project whose block nests 1500 objects")
            << Reader::ProjectNotices << "deep.llp"
            << projectWith({}) + blockClaiming(7500, QByteArray("{\"a\":").repeated(1500))
            << damaged.arg("deep.llp", "its JSON is not valid (too deeply nested document at byte 5121)");

        QTest::newRow("BMP of 30000 x 30000 pixels")
            << Reader::Bmp << "huge.bmp" << bmpClaiming(30000, 30000, 24, 0, {}) << badPicture;
        QTest::newRow("run-length BMP of 30000 x 30000 pixels")
            << Reader::Bmp << "runs.bmp" << bmpClaiming(30000, 30000, 8, 1, kRunsToTheEnd) << badPicture;
        QTest::newRow("run-length BMP of 8000 x 8000 pixels that sets 510")
            << Reader::Bmp << "gaps.bmp" << bmpClaiming(8000, 8000, 8, 1, kRunsToTheEnd) << badPicture;
        QTest::newRow("BMP of 32767 x 2048 pixels without its rows")
            << Reader::Bmp << "rows.bmp" << bmpClaiming(32767, 2048, 32, 0, QByteArray(64, '\0')) << badPicture;
        QTest::newRow("BMP claiming four billion colours")
            << Reader::Bmp << "colours.bmp" << bmpClaiming(4, 4, 8, 0, QByteArray(16, '\0'), 0xFFFFFFFFu)
            << badPicture;

        QTest::newRow("refresh of a 2147483647 x 2147483647 text area")
            << Reader::Refresh << "area.llp" << projectWith({{kAreaWidth, twoGB}, {kAreaHeight, twoGB}})
            << areaTooLarge;
        QTest::newRow("refresh of a 2147483647 x 1 text area")
            << Reader::Refresh << "wide.llp" << projectWith({{kAreaWidth, twoGB}, {kAreaHeight, 1}}) << areaTooLarge;

        QTest::newRow("BDF font with a cell 100000 pixels high")
            << Reader::Bdf << "tall.bdf"
            << QByteArray("STARTFONT 2.1\nFONTBOUNDINGBOX 8 100000 0 0\nCHARS 0\nENDFONT\n")
            << "Invalid BDF font: its cell height 100000 is not between 0 and 4096";
        QByteArray bigCells("STARTFONT 2.1\nFONTBOUNDINGBOX 4096 4096 0 0\nCHARS 4\n");
        for (int code = 65; code < 69; ++code)
            bigCells += "STARTCHAR g\nENCODING " + QByteArray::number(code)
                        + "\nDWIDTH 4096 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n";
        bigCells += "ENDFONT\n";
        QTest::newRow("BDF font of four 4096 x 4096 cells in a few hundred bytes")
            << Reader::Bdf << "cells.bdf" << bigCells
            << QStringLiteral("Invalid BDF font: its glyphs together hold more than %1 pixels")
                   .arg(font::fontPixelBudget(bigCells.size()));
        QTest::newRow("BMFont whose page claims 30000 x 30000 pixels")
            << Reader::BmFont << "page.fnt"
            << QByteArray("common lineHeight=8 base=7 scaleW=30000 scaleH=30000 pages=1\npage id=0 file=\"page.png\"\n"
                          "chars count=1\nchar id=65 x=0 y=0 width=4 height=4 xoffset=0 yoffset=0 xadvance=5 "
                          "page=0 chnl=15\n")
            << "Invalid BMFont file: its page \"page.png\" is not a valid PNG image";

        QTest::newRow("PSF2 font claiming four billion glyphs of 4096 x 4096 pixels")
            << Reader::Psf << "glyphs.psf" << psf2Claiming(0xFFFFFFFFu, 4096, 4096)
            << "Invalid PSF font: it ends inside its 4294967295 glyphs";
        QTest::newRow("PSF2 font of glyphs 100000 pixels high")
            << Reader::Psf << "tall.psf" << psf2Claiming(1, 8, 100000)
            << "Invalid PSF font: its glyphs of 8 x 100000 pixels are not between 1 and 4096 a side";
        const QByteArray packedGlyph = gzip(psf2Claiming(1, 4096, 4096) + QByteArray(4096 / 8 * 4096, '\0'));
        QTest::newRow("gzip-compressed PSF2 font of one 4096 x 4096 glyph in 2 KB")
            << Reader::Psf << "packed.psf.gz" << packedGlyph
            << QStringLiteral("Invalid PSF font: its glyphs together hold more than %1 pixels")
                   .arg(font::fontPixelBudget(packedGlyph.size()));
        QByteArray longEntry = psf2Claiming(1, 8, 1) + QByteArray(1, '\0') + QByteArray(2 << 20, '\0');
        longEntry[12] = 1;  // with a table, whose one entry is two million characters U+0000
        QTest::newRow("gzip-compressed PSF2 font whose table entry is 2 MiB long")
            << Reader::Psf << "entry.psf.gz" << gzip(longEntry)
            << "Invalid PSF font: its Unicode table ends inside the entry of glyph 0";
        QTest::newRow("PSF1 font whose Unicode table is cut short")
            << Reader::Psf << "table.psf" << QByteArray::fromHex("36040201") + QByteArray(256, '\x10') + "A"
            << "Invalid PSF font: its Unicode table ends inside the entry of glyph 0";
        QTest::newRow("grid of 4096 x 4096 cells on a picture of 16 x 16 pixels")
            << Reader::Grid << "cells.bin" << gridClaiming(4096, 4096, 1, 16, 16)
            << "No cell of 4096 x 4096 pixels fits in the picture of 16 x 16 pixels";
        QTest::newRow("grid of 30000 cells of 1 x 1 pixels")
            << Reader::Grid << "many.bin" << gridClaiming(1, 1, 1, 30000, 1) << "";
        QTest::newRow("grid of 256 cells of 1 x 1024 pixels, a spacing of 4096")
            << Reader::Grid << "spacing.bin" << gridClaiming(1, 1024, 4096, 256, 1024)
            << "The glyphs would hold 1073741824 pixels, more than the 4718592 a picture of this size may give: "
               "make the spacing or the space width smaller";
    }

    void craftedFiles()
    {
#ifdef LETTERLOOM_SANITIZED
        QSKIP("The sanitizers reserve terabytes of address space: no limit on it can be set here");
#endif
        QFETCH(Reader, reader);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, outcome);

        QVERIFY2(bytes.size() <= 8192, "a crafted file is a few KB at most");
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.path();
        QCOMPARE(outcomeWithin(kHeadroom, [&] { return readAs(reader, bytes, path, name); }), outcome);
    }

    void runLengthGapsShowColourZero_data()
    {
        QTest::addColumn<std::uint16_t>("bitsPerPixel");
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QList<QPoint>>("colourOne");  // every other pixel is colour 0

        // Streams of a 64 x 64 picture, bottom row first.
        QTest::newRow("8 bits, ending at once") << std::uint16_t(8) << QByteArray::fromHex("0001") << QList<QPoint>{};
        QTest::newRow("4 bits, ending at once") << std::uint16_t(4) << QByteArray::fromHex("0001") << QList<QPoint>{};
        QTest::newRow("lines ended early") << std::uint16_t(8) << QByteArray::fromHex("0201 0000 0101 0001")
                                           << QList<QPoint>{{0, 63}, {1, 63}, {0, 62}};
        QTest::newRow("a move over pixels") << std::uint16_t(8) << QByteArray::fromHex("0101 0002 0201 0101 0001")
                                            << QList<QPoint>{{0, 63}, {3, 62}};
    }

    // What a stream leaves out is colour 0, never what the memory held.
    void runLengthGapsShowColourZero()
    {
        QFETCH(std::uint16_t, bitsPerPixel);
        QFETCH(QByteArray, stream);
        QFETCH(QList<QPoint>, colourOne);

        {
            // Memory of the picture's size, dirtied and freed: likely the decoder's next.
            const std::vector<char> stale(64 * 64, '\x55');
            (void)stale;
        }
        const raster::Raster picture =
            raster::Raster::fromBmp(bmpClaiming(64, 64, bitsPerPixel, bitsPerPixel == 8 ? 1 : 2, stream));
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                QCOMPARE(picture.pixel(x, y), colourOne.contains(QPoint(x, y)) ? kColourOne : raster::kBlack);
    }

    void keptInputs_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("outcome");
        for (const auto &[file, outcome] : keptOutcomes())
            QTest::newRow(qPrintable(file)) << file << outcome;
    }

    // Every input fuzzing found goes through the very check that caught it.
    void keptInputs()
    {
        if (keptOutcomes().isEmpty())
            QSKIP("No input is kept yet");
        QFETCH(QString, file);
        QFETCH(QString, outcome);

        const QString target = file.section(u'/', 0, 0);
        QVERIFY2(kChecks.contains(target), qPrintable(QStringLiteral("no fuzz target ") + target));
        const QByteArray bytes = readWholeFile(QStringLiteral(LETTERLOOM_TEST_DATA "/regressions/") + file);
        try {
            QCOMPARE(kChecks[target](bytes), outcome);
        } catch (const fuzz::Broken &broken) {
            QFAIL(broken.what());
        }
    }

    // A kept input that the outcomes file does not name would never be read.
    void everyKeptInputHasAnOutcome()
    {
        QStringList named;
        for (const auto &kept : keptOutcomes())
            named << kept.first;
        const QDir folder(QStringLiteral(LETTERLOOM_TEST_DATA "/regressions"));
        for (const QString &target : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QString &file : QDir(folder.filePath(target)).entryList(QDir::Files))
                QVERIFY2(named.contains(target + u'/' + file), qPrintable(target + u'/' + file));
    }
};

QTEST_MAIN(TestHostileFiles)
#include "tst_hostile_files.moc"

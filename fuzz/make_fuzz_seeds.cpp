// Writes the seed inputs of the fuzz targets, one folder per target, from the
// sample font, picture, project and text that the build makes and from the
// fonts of the test data:
//
//   make_fuzz_seeds OUT_DIR SAMPLE_DIR EXAMPLES_DIR TEST_DATA_DIR
//
// Seeds are kept small (pictures are cut down to a corner of the sample) so
// that the fuzzer mutates quickly; between them they reach every variant of
// each format the readers know.

#include "fuzz_scene.h"
#include "reader_checks.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/extension_block.h"
#include "base/file_io.h"
#include "base/gzip.h"
#include "font/font_file.h"
#include "font/grid_import.h"
#include "font/psf_font.h"
#include "project/project_file.h"
#include "raster/raster.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QJsonDocument>

#include <cstdio>

namespace {

using namespace letterloom;

class SeedWriter {
public:
    explicit SeedWriter(QString directory) : directory_(std::move(directory)) {}

    void add(const QString &target, const QString &name, const QByteArray &bytes) const
    {
        const QString folder = directory_ + u'/' + target;
        QDir().mkpath(folder);
        writeWholeFile(folder + u'/' + name, bytes);
    }

private:
    QString directory_;
};

// A BMP file built field by field, for the variants the program itself never
// writes: old core headers, run lengths, bit fields, top-down rows.
struct BmpLayout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 8;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> table;  // colours, or the three masks of bit fields
    QByteArray pixels;
};

QByteArray bmpBytes(const BmpLayout &layout)
{
    const bool core = layout.headerSize == 12;
    const std::uint32_t tableBytes = std::uint32_t(layout.table.size()) * (core ? 3 : 4);
    const std::uint32_t offset = 14 + layout.headerSize + tableBytes;
    ByteWriter out;
    out.bytes("BM");
    out.u32(offset + std::uint32_t(layout.pixels.size()));
    out.u32(0);
    out.u32(offset);
    out.u32(layout.headerSize);
    if (core) {
        for (std::uint16_t field : {std::uint16_t(layout.width), std::uint16_t(layout.height), std::uint16_t(1),
                                    layout.bitsPerPixel}) {
            out.u8(field & 0xFF);
            out.u8(field >> 8);
        }
        for (std::uint32_t colour : layout.table)
            for (int shift : {0, 8, 16})
                out.u8((colour >> shift) & 0xFF);
    } else {
        out.i32(layout.width);
        out.i32(layout.height);
        out.u32(1u | (std::uint32_t(layout.bitsPerPixel) << 16));
        out.u32(layout.compression);
        out.u32(std::uint32_t(layout.pixels.size()));
        out.u32(2835);
        out.u32(2835);
        out.u32(layout.compression == 3 ? 0 : std::uint32_t(layout.table.size()));
        out.u32(0);
        for (std::uint32_t i = 40; i < layout.headerSize; ++i)
            out.u8(0);
        for (std::uint32_t colour : layout.table)
            out.u32(colour);
    }
    out.bytes(layout.pixels);
    return out.result();
}

QByteArray savedBmp(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// The sample picture in the bit depths and layouts the BMP reader meets.
std::vector<std::pair<QString, QByteArray>> pictureSeeds(const raster::Raster &sample)
{
    const QImage corner = sample.image().copy(0, sample.height() - 16, 24, 16);
    std::vector<std::pair<QString, QByteArray>> seeds = {
        {"rgb24.bmp", savedBmp(corner)},
        {"argb32.bmp", savedBmp(corner.convertToFormat(QImage::Format_ARGB32))},
        {"indexed8.bmp", savedBmp(corner.convertToFormat(QImage::Format_Indexed8))},
        {"mono.bmp", savedBmp(corner.convertToFormat(QImage::Format_Mono))},
    };
    const std::vector<std::uint32_t> twoColours = {0x00FF0000, 0x00FFFFFF};
    // Rows of 4 pixels: runs, a literal, a move, line ends and the end mark.
    seeds.push_back({"rle8.bmp", bmpBytes({40, 4, 3, 8, 1, twoColours,
                                           QByteArray::fromHex("0400 0000 0003 010001 00 0000 00020100 0001")})});
    seeds.push_back({"rle4.bmp", bmpBytes({40, 4, 2, 4, 2, twoColours, QByteArray::fromHex("0401 0000 0003 1010 0001")})});
    seeds.push_back({"bitfields16.bmp", bmpBytes({40, 2, 2, 16, 3, {0xF800, 0x07E0, 0x001F},
                                                  QByteArray::fromHex("00f8e007 1f00ffff")})});
    seeds.push_back({"topdown24.bmp", bmpBytes({40, 2, -2, 24, 0, {}, QByteArray::fromHex("0000ffffffff0000 00ff00ff000000 00")})});
    std::vector<std::uint32_t> sixteenColours(16, 0x00FFFFFF);
    sixteenColours[0] = 0x000000FF;
    seeds.push_back({"core4.bmp", bmpBytes({12, 3, 2, 4, 0, sixteenColours, QByteArray::fromHex("01000000 10100000")})});
    seeds.push_back({"v4header1.bmp", bmpBytes({108, 9, 1, 1, 0, twoColours, QByteArray::fromHex("aa800000")})});
    return seeds;
}

void writeProjectSeeds(const SeedWriter &seeds, const QByteArray &sampleProject, const QByteArray &smallPicture,
                       const QByteArray &runLengthPicture)
{
    project::ProjectFile file = project::parseProject(sampleProject);
    file.pictureBmp = smallPicture;
    seeds.add("project_file", "sample_small_picture.llp", project::projectBytes(file));
    file.pictureBmp = runLengthPicture;
    seeds.add("project_file", "run_length_picture.llp", project::projectBytes(file));
    file.pictureBmp.clear();
    file.storedFontPath = "/fonts/absolute.llf";
    seeds.add("project_file", "no_picture.llp", project::projectBytes(file));
    seeds.add("project_file", "defaults.llp", project::projectBytes({}));
}

// Extension blocks with every key the program reads, and keys of others.
const QByteArray kBlockSeeds[] = {
    R"({"textColour":"FFFFFF","effects":{"outline":{"size":2,"shape":"round","colour":"1A2B3C"},)"
    R"("shadow":{"dx":1,"dy":-2,"colour":"000000"},"plate":{"padding":3,"colour":"FFEEDD"}}})",
    R"({"textColour":"00FF00","later":[1,2.5,"x",null,true,{"deep":{}}]})",
    R"({"effects":{"outline":{"size":8,"shape":"square","colour":"FF0000"}},"charMap":"cp437"})",
    R"({"charMap":{"name":"cp437"},"kerning":[[65,86,-2],[86,65,64],[0,255,-64],[65,86,1],[1,2,0],[256,1,1],)"
    R"([1,1,1.5],[1,2],"AV"]})",
};

QByteArray blockSeed(const QByteArray &json)
{
    return extensionBlockBytes(QJsonDocument::fromJson(json).object());
}

void writeBlockSeeds(const SeedWriter &seeds, const QByteArray &sampleFont)
{
    for (int i = 0; i < int(std::size(kBlockSeeds)); ++i)
        seeds.add("extension_block", QStringLiteral("block_%1.bin").arg(i), blockSeed(kBlockSeeds[i]));
    seeds.add("font_file", "sample_with_extras.llf",
              font::fontBytes(font::parseFont(sampleFont)) + blockSeed(kBlockSeeds[2]));
    seeds.add("font_file", "sample_with_kerning.llf",
              font::fontBytes(font::parseFont(sampleFont)) + blockSeed(kBlockSeeds[3]));
    seeds.add("project_file", "defaults_with_extras.llp", project::projectBytes({}) + blockSeed(kBlockSeeds[0]));
}

// Scenes of the sample text in the sample font's glyphs that it uses.
void writeSceneSeeds(const SeedWriter &seeds, const font::GlyphTable &font, const QByteArray &text)
{
    fuzz::SceneInput input;
    input.width = 120;
    input.height = 60;
    input.x = 10;
    input.y = 8;
    input.lineSpacing = 2;
    input.text = text.left(120) + "\r\n$$ $65$066 $1 $";
    for (int code = 0; code < font::GlyphTable::kSize; ++code) {
        const font::tGraphChar &glyph = font[code];
        if (!glyph.defined || !input.text.contains(char(code)))
            continue;
        fuzz::SceneGlyph seed{std::uint8_t(code), 1, std::uint16_t(glyph.width), std::uint8_t(glyph.height), {}};
        for (const auto &column : glyph.pixels)
            for (raster::Colour pixel : column)
                seed.pattern.append(char(pixel == raster::kBlack ? 0 : pixel == raster::kWhite ? 1 : 2));
        seed.pattern.truncate(255);
        input.glyphs.push_back(seed);
    }
    for (std::uint8_t alignment = text::kAlignLeft; alignment <= text::kAlignJustify; ++alignment) {
        input.alignment = alignment;
        input.colour = alignment == text::kAlignRight ? raster::kBlack : raster::rgb(200, 30, 60);
        seeds.add("text_layout", QStringLiteral("sample_alignment_%1.bin").arg(alignment), fuzz::sceneBytes(input));
    }
    input.flags |= fuzz::kExporting | fuzz::kSelectionMode;
    input.lineSpacing = -7;
    input.x = -30;
    seeds.add("text_layout", "negative_spacing.bin", fuzz::sceneBytes(input));
    input.width = 2147483647;
    input.height = 2147483647;
    seeds.add("text_layout", "huge_area.bin", fuzz::sceneBytes(input));
}

// Console fonts: the sample font as PSF1 (it is 8 wide) plain and packed,
// its glyphs cut to 5 columns as PSF2, and one console font of the machine
// when it has them.
void writeConsoleFontSeeds(const SeedWriter &seeds, const font::GlyphTable &sample)
{
    const QByteArray psf1 = font::psfBytes(sample).bytes;
    seeds.add("psf_font", "sample.psf", psf1);
    seeds.add("psf_font", "sample.psf.gz", gzip(psf1));
    font::GlyphTable narrow = sample;
    for (int code = 0; code < font::GlyphTable::kSize; ++code)
        if (narrow[code].defined)
            font::setGlyphSize(narrow[code], 5, narrow[code].height);
    seeds.add("psf_font", "narrow.psf", font::psfBytes(narrow).bytes);
    const QString console = QStringLiteral("/usr/share/consolefonts/CyrKoi-VGA8.psf.gz");
    if (isRegularFile(console))
        seeds.add("psf_font", "console.psf.gz", readWholeFile(console));
}

// Picture grids: the sample font drawn as a grid, read as PNG and as BMP,
// and with margins, gaps and a given background.
void writeGridSeeds(const SeedWriter &seeds, const font::GlyphTable &sample)
{
    font::GridExportSettings draw;
    const font::GridExport plain = font::exportGrid(sample, draw);
    const QByteArray settings = fuzz::gridSettingsBytes(plain.grid.cellWidth, plain.grid.cellHeight);
    seeds.add("grid_import", "sample_png.bin", settings + plain.picture.toPng());
    seeds.add("grid_import", "sample_bmp.bin", settings + plain.picture.toBmp());
    draw.grid = {plain.grid.cellWidth, plain.grid.cellHeight, 3, 2, 1, 1, 10};
    draw.background = 0x203040;
    const font::GridExport spaced = font::exportGrid(sample, draw);
    QByteArray spacedSettings = fuzz::gridSettingsBytes(plain.grid.cellWidth, plain.grid.cellHeight, 2, 32, 2 | 8);
    spacedSettings.replace(4, 5, QByteArray::fromHex("030201010a"));  // margins 3, 2, gaps 1, 1, 10 columns
    spacedSettings.replace(13, 3, QByteArray::fromHex("403020"));     // the background, red first
    seeds.add("grid_import", "spaced.bin", spacedSettings + spaced.picture.toPng());
}

void writeSeeds(const QStringList &arguments)
{
    const SeedWriter seeds(arguments[0]);
    const QString samples = arguments[1] + u'/', examples = arguments[2] + u'/', data = arguments[3] + u'/';

    const QByteArray sampleFont = readWholeFile(samples + "sample.llf");
    seeds.add("font_file", "sample.llf", sampleFont);
    seeds.add("font_file", "blank.llf", font::fontBytes({}));

    const auto pictures = pictureSeeds(raster::Raster::readBmpFile(samples + "sample.bmp"));
    for (const auto &[name, bytes] : pictures)
        seeds.add("bmp", name, bytes);
    writeProjectSeeds(seeds, readWholeFile(samples + "sample.llp"), pictures[0].second, pictures[4].second);

    writeSceneSeeds(seeds, font::parseFont(sampleFont), readWholeFile(examples + "sample_text.txt"));
    writeBlockSeeds(seeds, sampleFont);

    seeds.add("bdf_font", "handmade.bdf", readWholeFile(data + "fonts/handmade.bdf"));
    const QByteArray fnt = readWholeFile(data + "fonts/handmade.fnt");
    ByteWriter bmFont;
    bmFont.u8(fnt.size() & 0xFF);
    bmFont.u8(fnt.size() >> 8);
    bmFont.bytes(fnt);
    bmFont.bytes(readWholeFile(data + "fonts/handmade_0.png"));
    seeds.add("bmfont", "handmade.bin", bmFont.result());

    writeConsoleFontSeeds(seeds, font::parseFont(sampleFont));
    writeGridSeeds(seeds, font::parseFont(sampleFont));
    seeds.add("char_table", "handmade.tbl", readWholeFile(data + "tables/handmade.tbl"));
    seeds.add("csv", "jobs.csv", "project,area,text,output\r\nareas.llp,2,\"Hello, \"\"you\"\"\r\nthere\",out.bmp\r\n"
                                 "areas.llp,1,@title.txt,out.bmp\r\n\r\n");
    seeds.add("csv", "texts.csv", "\xEF\xBB\xBF" "area,text\n1,\"a\nb\xC3\xA9\"\n2,x\ry\n3,");
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: make_fuzz_seeds OUT_DIR SAMPLE_DIR EXAMPLES_DIR TEST_DATA_DIR\n");
        return 2;
    }
    try {
        writeSeeds(arguments);
    } catch (const Error &error) {
        std::fprintf(stderr, "make_fuzz_seeds: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}

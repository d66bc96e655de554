// Helper of bench_compare.sh, which renders many generated projects with two
// builds of letterloom-cli and compares what they write.
//   bench_compare projects DIR N SEED   writes DIR/pNNNN.llp, its font
//                                       DIR/pNNNN.llf and DIR/pNNNN.args, the
//                                       render options for it, one a line
//
// Each project has its own font (glyphs of 0 to 16 pixels a side, some of
// many colours, some undefined), picture (1 to 1000 x 1 to 700, embedded as
// a 24-bit BMP, sometimes top-down, 8 or 32 bits), text (words, runs of
// spaces, line breaks, escapes, any byte), text area, alignment and line
// spacing; the options pick a colour, effects and now and then a PNG.

#include "base/error.h"
#include "bench_main.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "project/project_file.h"
#include "support/split_mix.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QStringList>

#include <cstdint>
#include <cstdio>

namespace {

using namespace letterloom;
using raster::Colour;

struct Random : testing::SplitMix {
    explicit Random(std::uint64_t seed) : SplitMix(seed, 77ULL) {}
};

Colour colourOf(Random &random)
{
    switch (random.range(0, 5)) {
    case 0:
    case 1: return raster::kBlack;
    case 2: return raster::kWhite;
    case 3: return raster::kRed;
    default: return Colour(random.next() & 0xFFFFFF);
    }
}

QString hexOf(Colour colour)
{
    // RRGGBB, red first; colours are 0x00BBGGRR.
    const std::uint32_t rgb = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    return QString::number(rgb, 16).rightJustified(6, QLatin1Char('0'));
}

font::GlyphTable randomFont(Random &random)
{
    font::GlyphTable glyphs;
    const int codes = random.chance(40) ? 256 : random.range(4, 60);
    const int tall = random.range(0, 16);
    for (int i = 0; i < codes; ++i) {
        const int code = codes == 256 ? i : random.chance(70) ? random.range(32, 127) : random.range(0, 255);
        const int width = random.range(0, 16);
        const int height = random.chance(70) ? tall : random.range(0, 16);
        glyphs.setGlyphSize(code, width, height);
        font::tGraphChar &glyph = glyphs[code];
        const bool plain = random.chance(60);
        for (auto &column : glyph.pixels)
            for (auto &colour : column)
                colour = plain ? (random.chance(50) ? raster::kBlack : raster::kWhite) : colourOf(random);
        font::syncImage(glyph);
        glyph.defined = random.chance(90) ? 1 : 0;
    }
    if (random.chance(80))
        glyphs[32].defined = 1;
    return glyphs;
}

QByteArray randomText(Random &random)
{
    QByteArray text;
    const int kind = random.range(0, 9);
    const int length = kind < 5 ? random.range(0, 300) : kind < 8 ? random.range(300, 3000) : random.range(3000, 30000);
    while (text.size() < length) {
        const int pick = random.range(0, 99);
        if (pick < 55)
            text += char('a' + random.range(0, 25));
        else if (pick < 70)
            text += ' ';
        else if (pick < 76)
            text += "\r\n";
        else if (pick < 78)
            text += random.chance(50) ? '\r' : '\n';
        else if (pick < 84)
            text += '$' + QByteArray::number(random.range(0, 300));
        else if (pick < 86)
            text += "$$";
        else if (pick < 90)
            text += char(random.range(0, 255));
        else if (pick < 93)
            text += QByteArray(random.range(1, 60), char('a' + random.range(0, 25)));
        else
            text += char('A' + random.range(0, 25));
    }
    return text;
}

// The picture as BMP bytes: mostly as the program writes it, sometimes as
// other programs do (top-down rows, a colour table, 32 bits a pixel).
QByteArray randomPicture(Random &random, int &width, int &height)
{
    width = random.chance(10) ? random.range(1, 8) : random.range(1, 1000);
    height = random.chance(10) ? random.range(1, 8) : random.range(1, 700);
    raster::Raster picture(width, height);
    picture.fill(colourOf(random));
    for (int i = random.range(0, 40); i > 0; --i)
        picture.fillRect(random.range(-10, width), random.range(-10, height), random.range(0, width + 10),
                         random.range(0, height + 10), colourOf(random));
    if (random.chance(30))
        for (int y = 0; y < height; ++y)
            for (int x = random.range(0, 3); x < width; x += random.range(1, 9))
                picture.setPixel(x, y, Colour(random.next() & 0xFFFFFF));
    const int kind = random.range(0, 9);
    if (kind < 6)
        return picture.toBmp();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (kind < 8) {
        picture.image().convertToFormat(QImage::Format_Indexed8).save(&buffer, "BMP");
        return bytes;
    }
    if (kind < 9) {
        picture.image().convertToFormat(QImage::Format_ARGB32).save(&buffer, "BMP");
        return bytes;
    }
    // Top-down: the same file with its rows in the other order.
    bytes = picture.toBmp();
    const qsizetype rowBytes = (qsizetype(width) * 3 + 3) / 4 * 4;
    QByteArray flipped = bytes.left(54);
    for (int row = height - 1; row >= 0; --row)
        flipped += bytes.mid(54 + row * rowBytes, rowBytes);
    const std::uint32_t negative = std::uint32_t(-height);
    for (int i = 0; i < 4; ++i)
        flipped[22 + i] = char((negative >> (8 * i)) & 0xFF);
    return flipped;
}

QStringList randomOptions(Random &random)
{
    QStringList options;
    if (random.chance(70))
        options << QStringLiteral("--color") << hexOf(colourOf(random));
    if (random.chance(25))
        options << QStringLiteral("--outline")
                << QStringLiteral("%1:%2,%3").arg(random.range(0, 8)).arg(hexOf(colourOf(random)),
                                                                        random.chance(50) ? "round" : "square");
    if (random.chance(20))
        options << QStringLiteral("--shadow")
                << QStringLiteral("%1,%2:%3").arg(random.range(-16, 16)).arg(random.range(-16, 16)).arg(
                       hexOf(colourOf(random)));
    if (random.chance(15))
        options << QStringLiteral("--plate") << QStringLiteral("%1:%2").arg(random.range(0, 32)).arg(hexOf(colourOf(random)));
    options << (random.chance(10) ? QStringLiteral("png") : QStringLiteral("bmp"));
    return options;
}

void makeProjects(const QString &folder, int count, int seed)
{
    const QDir dir(folder);
    for (int i = 0; i < count; ++i) {
        Random random(std::uint64_t(seed) * 100003 + std::uint64_t(i));
        const QString name = QStringLiteral("p%1").arg(i, 4, 10, QLatin1Char('0'));
        font::writeFontFile(dir.filePath(name + ".llf"), randomFont(random));
        project::ProjectFile file;
        int width = 0, height = 0;
        file.pictureBmp = randomPicture(random, width, height);
        auto &settings = file.settings;
        settings.showHelp = random.chance(50) ? 1 : 0;
        settings.showSelection = random.chance(50) ? 1 : 0;
        settings.area.x = random.chance(80) ? random.range(0, width / 2) : random.range(-40, width + 10);
        settings.area.y = random.chance(80) ? random.range(0, height / 2) : random.range(-40, height + 10);
        settings.area.width = random.chance(5) ? random.range(-5, 4) : random.range(5, width + 40);
        settings.area.height = random.chance(5) ? random.range(-5, 4) : random.range(5, height + 40);
        settings.alignment = std::uint8_t(random.chance(8) ? random.range(0, 6) : random.range(1, 4));
        settings.lineSpacing = random.chance(10) ? random.range(-6, -1) : random.range(0, 14);
        file.storedFontPath = dir.absoluteFilePath(name + ".llf").toUtf8();
        file.text = randomText(random);
        writeWholeFile(dir.filePath(name + ".llp"), project::projectBytes(file));
        writeWholeFile(dir.filePath(name + ".args"), randomOptions(random).join('\n').toUtf8() + '\n');
    }
}

}  // namespace

int main(int argc, char *argv[])
{
    return bench::runCommand(
        argc, argv, "bench_compare", "projects DIR N SEED",
        {{"projects", 3, [](const QStringList &a) { makeProjects(a[0], a[1].toInt(), a[2].toInt()); }}});
}

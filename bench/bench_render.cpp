// Helper of bench_render.sh, which times letterloom-cli render against the
// same work done with Pillow and against a plain read of the project and
// write of its picture.
//   bench_render project DIR    writes DIR/bench.llf, DIR/bench.bmp and
//                               DIR/bench.llp: a 1920 x 1080 picture whose
//                               text area holds 20 000 words
//   bench_render floor PROJECT OUT
//                               reads the project file PROJECT and writes its
//                               picture as the BMP file OUT

#include "base/error.h"
#include "bench_main.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "project/project_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdint>
#include <cstdio>

namespace {

using namespace letterloom;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kWords = 20000;

// A small font so that every word shows: a to z of 4 x 6 pixels (3 columns
// of ink patterned by the letter, a spacing column and a row below) and a
// space of 2.
font::GlyphTable benchFont()
{
    font::GlyphTable glyphs;
    for (int letter = 'a'; letter <= 'z'; ++letter) {
        glyphs.setGlyphSize(letter, 4, 6);
        glyphs.clearOutside(letter, 0, 0);
        std::uint32_t bits = std::uint32_t(letter) * 2654435761u;
        for (int x = 0; x < 3; ++x)
            for (int y = 0; y < 5; ++y, bits = bits * 1103515245u + 12345u)
                glyphs[letter].pixels[size_t(x)][size_t(y)] = (bits >> 16) & 1 ? raster::kBlack : raster::kWhite;
        glyphs[letter].defined = 1;
        font::syncImage(glyphs[letter]);
    }
    glyphs.setGlyphSize(' ', 2, 6);
    glyphs.clearOutside(' ', 0, 0);
    glyphs[' '].defined = 1;
    font::syncImage(glyphs[' ']);
    return glyphs;
}

raster::Raster benchPicture()
{
    raster::Raster picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        picture.fillRect(0, y, kWidth, y + 1, raster::rgb(40 + y * 160 / kHeight, 120, 220 - y * 120 / kHeight));
    return picture;
}

// Words of 1 to 4 letters, from a fixed sequence so every run is the same.
QByteArray benchText()
{
    QByteArray text;
    std::uint32_t seed = 7;
    auto next = [&seed](unsigned range) { seed = seed * 1103515245u + 12345u; return (seed >> 16) % range; };
    for (int word = 0; word < kWords; ++word) {
        if (word > 0)
            text += ' ';
        const unsigned length = 1 + next(4);
        for (unsigned i = 0; i < length; ++i)
            text += char('a' + next(26));
    }
    return text;
}

void makeProject(const QString &folder)
{
    const QDir dir(folder);
    font::writeFontFile(dir.filePath("bench.llf"), benchFont());
    const raster::Raster picture = benchPicture();
    picture.writeBmpFile(dir.filePath("bench.bmp"));
    project::ProjectFile file;
    file.settings.area = {8, 8, kWidth - 16, kHeight - 16};
    file.settings.lineSpacing = 4;
    file.storedFontPath = QDir(folder).absoluteFilePath("bench.llf").toUtf8();
    file.text = benchText();
    file.pictureBmp = picture.toBmp();
    writeWholeFile(dir.filePath("bench.llp"), project::projectBytes(file));
}

}  // namespace

int main(int argc, char *argv[])
{
    return bench::runCommand(
        argc, argv, "bench_render", "project DIR | floor PROJECT OUT.bmp",
        {{"project", 1, [](const QStringList &a) { makeProject(a[0]); }},
         {"floor", 2, [](const QStringList &a) { project::readProjectFile(a[0], QString()).picture.writeBmpFile(a[1]); }}});
}

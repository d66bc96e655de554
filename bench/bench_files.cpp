// Fonts and line tables at size, in process, and the files that
// bench_files.sh feeds to letterloom-cli.
//   bench_files font              times reading and writing a 10 MB font
//                                 (256 glyphs of 100 x 100), in memory and
//                                 through a file, medians of 9
//   bench_files linetable         the heap a line table takes for each line
//                                 and each word beyond the words' own bytes
//   bench_files files DIR         writes DIR/big.llf (the 10 MB font),
//                                 DIR/small.llf, DIR/lines.llp (a 1920 x 1080
//                                 project whose lines all stand on one
//                                 baseline, line spacing -2), DIR/lines.txt
//                                 (20 MB of one-letter lines), DIR/breaks.txt
//                                 (100 MB of line breaks), DIR/long.bdf
//                                 (a BDF font with a 20 MB line) and
//                                 DIR/words.bdf (one whose name is 10
//                                 million words)

#include "base/error.h"
#include "bench_main.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "project/project_file.h"
#include "text/layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

using namespace letterloom;

font::GlyphTable bigFont()
{
    font::GlyphTable glyphs;
    for (int code = 0; code < font::GlyphTable::kSize; ++code) {
        glyphs.setGlyphSize(code, 100, 100);
        std::uint32_t bits = std::uint32_t(code + 1) * 2654435761u;
        for (auto &column : glyphs[code].pixels)
            for (auto &colour : column) {
                bits = bits * 1103515245u + 12345u;
                colour = bits >> 8;
            }
        glyphs[code].defined = 1;
        font::syncImage(glyphs[code]);
    }
    return glyphs;
}

// One-pixel letters, so that any text fits any width.
font::GlyphTable smallFont()
{
    font::GlyphTable glyphs;
    for (int code = 32; code < 127; ++code) {
        glyphs.setGlyphSize(code, 1, 1);
        glyphs[code].pixels[0][0] = raster::kBlack;
        glyphs[code].defined = 1;
        font::syncImage(glyphs[code]);
    }
    return glyphs;
}

double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The medians of a step's wall-clock time and of its thread's processor
// time (which a machine busy with other programs disturbs far less).
struct Times {
    double wall;
    double processor;
};

template <typename Step>
Times medianMilliseconds(Step step, int runs = 9)
{
    std::vector<double> walls, processors;
    for (int run = 0; run < runs; ++run) {
        const double processor = threadMilliseconds();
        const auto start = std::chrono::steady_clock::now();
        step();
        walls.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        processors.push_back(threadMilliseconds() - processor);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(processors.begin(), processors.end());
    return {walls[walls.size() / 2], processors[processors.size() / 2]};
}

void fontTimes()
{
    const font::GlyphTable glyphs = bigFont();
    QByteArray bytes;
    const Times write = medianMilliseconds([&] { bytes = font::fontBytes(glyphs); });
    font::GlyphTable back;
    const Times read = medianMilliseconds([&] { back = font::parseFont(bytes); });
    if (!(back == glyphs))
        throw Error(QStringLiteral("the font read back differs"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.llf"));
    const Times writeFile = medianMilliseconds([&] { font::writeFontFile(path, glyphs); });
    const Times readFile = medianMilliseconds([&] { back = font::readFontFile(path); });
    std::printf("font of 256 glyphs of 100 x 100 (%.2f MB), medians of 9 (wall clock / processor time):\n",
                bytes.size() / 1e6);
    std::printf("  write in memory %7.1f / %5.1f ms   read from memory %7.1f / %5.1f ms\n", write.wall,
                write.processor, read.wall, read.processor);
    std::printf("  write the file  %7.1f / %5.1f ms   read the file    %7.1f / %5.1f ms\n", writeFile.wall,
                writeFile.processor, readFile.wall, readFile.processor);
}

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;  // small blocks and mapped ones
}

// Heap of the line table of text, less the bytes of its words.
double tableBytes(const QByteArray &text, qsizetype wordBytes)
{
    const font::GlyphTable glyphs = smallFont();
    const std::size_t before = heapInUse();
    text::LineTable lines;
    text::LayoutText(text, 32767, std::numeric_limits<std::int32_t>::max(), -2, glyphs, lines);
    return double(heapInUse() - before) - double(wordBytes);
}

void lineTableBytes()
{
    constexpr int kCount = 1000000;
    // A million one-letter lines: one line and one word each.
    QByteArray lines;
    for (int i = 0; i < kCount; ++i)
        lines += "a\r\n";
    const double perLineAndWord = tableBytes(lines, kCount) / kCount;
    // A million one-letter words on lines of 10 000 words (each 2 pixels with its space).
    QByteArray words;
    for (int i = 0; i < kCount; ++i)
        words += i % 10000 == 9999 ? "a\r\n" : "a ";
    const double perWord = (tableBytes(words, kCount) - 100 * perLineAndWord) / kCount;
    std::printf("line table, beyond the words' own bytes:\n");
    std::printf("  a word          %6.1f bytes\n", perWord);
    std::printf("  a line          %6.1f bytes (a line of one word: %.1f)\n", perLineAndWord - perWord, perLineAndWord);
}

void writeFiles(const QString &folder)
{
    const QDir dir(folder);
    font::writeFontFile(dir.filePath("big.llf"), bigFont());
    font::writeFontFile(dir.filePath("small.llf"), smallFont());
    raster::Raster picture(1920, 1080);
    project::ProjectFile file;
    file.settings.area = {8, 8, 1904, 1064};
    file.settings.lineSpacing = -2;
    file.storedFontPath = dir.absoluteFilePath("small.llf").toUtf8();
    file.text = "a";
    file.pictureBmp = picture.toBmp();
    writeWholeFile(dir.filePath("lines.llp"), project::projectBytes(file));
    QByteArray lines;
    lines.reserve(20000001);
    while (lines.size() < 20000000)
        lines += "a\r\n";
    writeWholeFile(dir.filePath("lines.txt"), lines);
    writeWholeFile(dir.filePath("breaks.txt"), QByteArray(100000000, '\n'));
    QByteArray bdf = "STARTFONT 2.1\nCOMMENT " + QByteArray(20000000, 'x') + "\nFONT f\nSIZE 8 75 75\n"
                     "FONTBOUNDINGBOX 1 1 0 0\nCHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 1 0\n"
                     "BBX 1 1 0 0\nBITMAP\n80\nENDCHAR\nENDFONT\n";
    writeWholeFile(dir.filePath("long.bdf"), bdf);
    bdf.replace("COMMENT " + QByteArray(20000000, 'x') + '\n', "");
    bdf.replace("FONT f\n", "FONT " + QByteArray("x ").repeated(10000000) + '\n');
    writeWholeFile(dir.filePath("words.bdf"), bdf);
}

}  // namespace

int main(int argc, char *argv[])
{
    return bench::runCommand(argc, argv, "bench_files", "font | linetable | files DIR",
                             {{"font", 0, [](const QStringList &) { fontTimes(); }},
                              {"linetable", 0, [](const QStringList &) { lineTableBytes(); }},
                              {"files", 1, [](const QStringList &a) { writeFiles(a[0]); }}});
}

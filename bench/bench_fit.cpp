// Helper of bench_fit.sh, which times letterloom-cli fit --suggest.
//   bench_fit setup DIR FONT PARAGRAPHS   writes DIR/fit.llp (a 320 x 120
//                                picture with a text area of 300 x 80 at line
//                                spacing 10, in the font FONT) and
//                                DIR/texts.txt, PARAGRAPHS paragraphs of 8 to
//                                80 words, the same on every run: the shorter
//                                fit as they are, the longer need lower
//                                settings, the longest and those with a word
//                                too long fit none

#include "base/error.h"
#include "bench_main.h"
#include "base/file_io.h"
#include "project/project_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdint>
#include <cstdio>

namespace {

using namespace letterloom;

constexpr int kWidth = 320, kHeight = 120;

// 8 to 80 words of 2 to 9 letters, the same on every run; one paragraph
// in 50 ends in a word too long for any setting.
QByteArray paragraph(int index)
{
    std::uint32_t seed = std::uint32_t(index) * 2654435761u + 7;
    auto next = [&seed](unsigned range) { seed = seed * 1103515245u + 12345u; return (seed >> 16) % range; };
    QByteArray text;
    const unsigned words = 8 + next(73);
    for (unsigned word = 0; word < words; ++word) {
        if (word > 0)
            text += word % 9 == 8 ? '\n' : ' ';
        const unsigned length = 2 + next(8);
        for (unsigned i = 0; i < length; ++i)
            text += char((i == 0 && word == 0 ? 'A' : 'a') + next(26));
    }
    if (index % 50 == 49)
        text += ' ' + QByteArray(80, 'm');
    return text;
}

void setup(const QString &folder, const QString &font, int paragraphs)
{
    const QDir dir(folder);
    raster::Raster picture(kWidth, kHeight);
    picture.fill(raster::rgb(230, 220, 190));
    project::ProjectFile file;
    file.settings.area = {10, 20, 300, 80};
    file.settings.lineSpacing = 10;
    file.storedFontPath = QDir(font).absolutePath().toUtf8();
    file.pictureBmp = picture.toBmp();
    writeWholeFile(dir.filePath(QStringLiteral("fit.llp")), project::projectBytes(file));

    QByteArray texts;
    for (int i = 0; i < paragraphs; ++i)
        texts += paragraph(i) + "\n\n";
    writeWholeFile(dir.filePath(QStringLiteral("texts.txt")), texts);
}

}  // namespace

int main(int argc, char *argv[])
{
    return bench::runCommand(argc, argv, "bench_fit", "setup DIR FONT PARAGRAPHS",
                             {{"setup", 3, [](const QStringList &a) { setup(a[0], a[1], a[2].toInt()); }}});
}

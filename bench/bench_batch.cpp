// Helper of bench_batch.sh, which times letterloom-cli batch against as many
// separate letterloom-cli render processes.
//   bench_batch setup DIR FONT ROWS   writes DIR/batch.llp (a 320 x 240 picture
//                                with a speech bubble's text area, in the font
//                                FONT), DIR/jobs.csv with ROWS rows, one
//                                picture each, and DIR/texts/N.txt, the text of
//                                row N for render --text

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

constexpr int kWidth = 320, kHeight = 240;

// Lines of 2 to 6 words of 3 to 8 letters, the same on every run.
QByteArray rowText(int row)
{
    std::uint32_t seed = std::uint32_t(row) * 2654435761u + 1;
    auto next = [&seed](unsigned range) { seed = seed * 1103515245u + 12345u; return (seed >> 16) % range; };
    QByteArray text;
    const unsigned words = 2 + next(5);
    for (unsigned word = 0; word < words; ++word) {
        if (word > 0)
            text += ' ';
        const unsigned length = 3 + next(6);
        for (unsigned i = 0; i < length; ++i)
            text += char((i == 0 ? 'A' : 'a') + next(26));
    }
    return text;
}

void setup(const QString &folder, const QString &font, int rows)
{
    const QDir dir(folder);
    dir.mkpath(QStringLiteral("texts"));
    dir.mkpath(QStringLiteral("out"));
    raster::Raster picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        picture.fillRect(0, y, kWidth, y + 1, raster::rgb(200 - y * 80 / kHeight, 220, 160 + y * 80 / kHeight));
    project::ProjectFile file;
    file.settings.area = {24, 70, 200, 90};
    file.settings.lineSpacing = 2;
    file.storedFontPath = QDir(font).absolutePath().toUtf8();
    file.pictureBmp = picture.toBmp();
    writeWholeFile(dir.filePath(QStringLiteral("batch.llp")), project::projectBytes(file));

    QByteArray jobs("project,area,text,output\r\n");
    for (int row = 1; row <= rows; ++row) {
        const QString name = QStringLiteral("%1").arg(row, 4, 10, QLatin1Char('0'));
        writeWholeFile(dir.filePath(QStringLiteral("texts/%1.txt").arg(name)), rowText(row));
        jobs += QStringLiteral("batch.llp,1,%1,out/%2.bmp\r\n").arg(QString::fromLatin1(rowText(row)), name).toUtf8();
    }
    writeWholeFile(dir.filePath(QStringLiteral("jobs.csv")), jobs);
}

}  // namespace

int main(int argc, char *argv[])
{
    return bench::runCommand(argc, argv, "bench_batch", "setup DIR FONT ROWS",
                             {{"setup", 3, [](const QStringList &a) { setup(a[0], a[1], a[2].toInt()); }}});
}

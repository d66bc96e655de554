// Builds the sample files that the build puts next to the programs:
//   make_examples font SOURCE.txt OUT.llf     the sample font from its drawing
//   make_examples picture OUT.bmp             the sample picture
//   make_examples project OUT.llp FONT PICTURE.bmp TEXT.txt
//                                             a project of the picture and the
//                                             text, naming FONT as it is given
//                                             (relative to the program directory)

#include "font_source.h"
#include "sample_picture.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "project/project_file.h"
#include "project/text_file.h"
#include "text/render.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

using namespace letterloom;

void makeFont(const QStringList &arguments)
{
    const QByteArray source = readWholeFile(arguments[0]);
    font::writeFontFile(arguments[1], tools::parseFontSource(source, fileNameOf(arguments[0])));
}

void makePicture(const QStringList &arguments)
{
    tools::drawSamplePicture().writeBmpFile(arguments[0]);
}

void makeProject(const QStringList &arguments)
{
    project::ProjectFile file;
    file.settings.area = tools::samplePictureTextArea();
    file.settings.alignment = text::kAlignCentre;
    file.storedFontPath = arguments[1].toUtf8();
    file.pictureBmp = raster::Raster::readBmpFile(arguments[2]).toBmp();
    file.text = project::readTextFile(arguments[3]);
    writeWholeFile(arguments[0], project::projectBytes(file));
}

struct Step {
    const char *name;
    qsizetype argumentCount;
    void (*make)(const QStringList &arguments);
};

constexpr Step kSteps[] = {{"font", 2, makeFont}, {"picture", 1, makePicture}, {"project", 4, makeProject}};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const Step &step : kSteps) {
        if (arguments.value(0) != QLatin1String(step.name) || arguments.size() != step.argumentCount + 1)
            continue;
        try {
            step.make(arguments.mid(1));
            return 0;
        } catch (const std::exception &failure) {
            std::fprintf(stderr, "make_examples: %s\n", qPrintable(messageOf(failure)));
            return 1;
        }
    }
    std::fprintf(stderr, "usage: make_examples font SOURCE.txt OUT.llf | picture OUT.bmp |"
                         " project OUT.llp FONT PICTURE.bmp TEXT.txt\n");
    return 2;
}

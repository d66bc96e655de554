// Builds the sample files that the build puts next to the programs:
//   make_examples font SOURCE.txt OUT.llf     the sample font from its drawing
//   make_examples picture OUT.bmp             the sample picture
//   make_examples project OUT.llp FONT PICTURE.bmp TEXT.txt
//                                             a project of the picture and the
//                                             text, naming FONT as it is given
//                                             (relative to the program directory)
//   make_examples areas OUT.llp FONT TEXTS.txt
//                                             the second sample: a picture of three
//                                             text areas, whose texts are the
//                                             paragraphs of TEXTS.txt in order
//   make_examples outlined OUT.llp FONT PICTURE.bmp TEXT.txt
//                                             the same with a caption across the
//                                             hills: white text, a round black
//                                             outline and a shadow

#include "font_source.h"
#include "sample_picture.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "project/project_extras.h"
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

void makeAreasProject(const QStringList &arguments)
{
    const std::vector<project::TextArea> rects = tools::areasPictureTextAreas();
    const QList<QByteArray> texts = project::readTextFile(arguments[2]).split('\n');
    std::vector<project::AreaText> areas;
    const std::uint8_t alignments[] = {text::kAlignCentre, text::kAlignLeft, text::kAlignCentre};
    for (size_t i = 0; i < rects.size(); ++i) {
        project::AreaText &area = areas.emplace_back();
        area.rect = rects[i];
        area.text = texts.value(qsizetype(i) * 2).trimmed();
        area.alignment = alignments[i];
    }
    project::ProjectFile file;
    project::ProjectExtras extras;
    project::splitAreas(areas, file.settings, file.text, extras);
    file.extensions.keys = project::projectExtrasKeys(extras);
    file.storedFontPath = arguments[1].toUtf8();
    file.pictureBmp = tools::drawAreasPicture().toBmp();
    writeWholeFile(arguments[0], project::projectBytes(file));
}

void makeOutlined(const QStringList &arguments)
{
    project::ProjectFile file;
    file.settings.area = {8, 136, 304, 48};
    file.settings.alignment = text::kAlignCentre;
    file.settings.showHelp = 0;
    file.storedFontPath = arguments[1].toUtf8();
    file.pictureBmp = raster::Raster::readBmpFile(arguments[2]).toBmp();
    file.text = project::readTextFile(arguments[3]);
    project::ProjectExtras extras;
    extras.textColour = raster::kWhite;
    extras.effects.outline = text::OutlineEffect{2, text::OutlineShape::Round, raster::kBlack};
    extras.effects.shadow = text::ShadowEffect{3, 3, raster::rgb(0x20, 0x30, 0x40)};
    file.extensions.keys = project::projectExtrasKeys(extras);
    writeWholeFile(arguments[0], project::projectBytes(file));
}

struct Step {
    const char *name;
    qsizetype argumentCount;
    void (*make)(const QStringList &arguments);
};

constexpr Step kSteps[] = {{"font", 2, makeFont}, {"picture", 1, makePicture}, {"project", 4, makeProject},
                           {"areas", 3, makeAreasProject},
                           {"outlined", 4, makeOutlined}};

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
                         " project OUT.llp FONT PICTURE.bmp TEXT.txt | areas OUT.llp FONT TEXTS.txt |"
                         " outlined OUT.llp FONT PICTURE.bmp TEXT.txt\n");
    return 2;
}

#include "project_input.h"

#include "cli.h"
#include "font_formats.h"

#include "base/file_io.h"
#include "font/font_file.h"
#include "project/project_file.h"
#include "project/text_file.h"

#include <QRegularExpression>

namespace letterloom::cli {

ProjectInput openProject(const QString &projectPath, const InputFiles &files)
{
    const QString &fontFile = files.fontFile;
    ProjectInput input(project::applicationDirectory());
    project::Workspace &workspace = input.workspace;
    project::OpenedProject opened = project::readProjectFile(projectPath, workspace.programDirectory);

    for (const QString &notice : opened.notices)
        printMessage(notice);
    workspace.projectExtras = opened.extras;
    if (!fontFile.isEmpty()) {
        font::ImportedFont font = readFontWithExtras(fontFile, files.map);
        workspace.glyphs = std::move(font.glyphs);
        workspace.fontExtras = std::move(font.extras);
        workspace.fontPath = fontFile;
    } else {
        if (isRegularFile(opened.fontPath)) {
            font::FontFile font = font::loadFontFile(opened.fontPath);
            for (const QString &notice : font.notices)
                printMessage(notice);
            workspace.glyphs = std::move(font.glyphs);
            workspace.fontExtras = std::move(font.extras);
        } else
            printMessage(QStringLiteral("Font specified in project file was not found: %1").arg(opened.fontPath));
        workspace.fontPath = opened.fontPath;
    }
    if (files.map)
        workspace.fontExtras.charMap = *files.map;
    input.areas = project::joinAreas(opened.settings, opened.text, opened.extras);
    input.textGiven = !files.textFile.isEmpty();
    if (files.textFile.isEmpty())
        input.text = opened.text;
    else
        input.text = project::textFileBytes(readTextInput(files.textFile),
                                            files.textBytes ? font::CharMap() : workspace.fontExtras.charMap);
    workspace.settings = opened.settings;
    workspace.picture = std::move(opened.picture);
    workspace.pictureLoaded = true;
    workspace.projectPath = projectPath;
    return input;
}

std::optional<raster::Colour> parseColour(const QString &text)
{
    static const QRegularExpression hex(QStringLiteral("^#?([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})$"));
    const QRegularExpressionMatch match = hex.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return raster::rgb(match.captured(1).toInt(nullptr, 16), match.captured(2).toInt(nullptr, 16),
                       match.captured(3).toInt(nullptr, 16));
}

}  // namespace letterloom::cli

#pragma once

#include "project/workspace.h"
#include "raster/colour.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace letterloom::cli {

// A project opened for the text commands, as the desktop program's Open
// leaves it but without asking anything: settings, font, text and picture.
struct ProjectInput {
    explicit ProjectInput(const QString &programDirectory) : workspace(programDirectory) {}

    project::Workspace workspace;
    // Every text area of the project, each with the text the project holds.
    std::vector<project::AreaText> areas;
    QByteArray text;  // what the text input window would hold for the first area
    bool textGiven = false;  // text comes from --text or --text-bytes
};

// What replaces the project's own text and font.
struct InputFiles {
    QString textFile;   // read as Load Text reads it, through the map
    bool textBytes = false;  // textFile taken byte for byte instead
    QString fontFile;
    std::optional<font::CharMap> map;  // instead of the font's own
};

// Reads the project file; takes the text and the font from the files given
// (not empty) instead of the project's own, and the character map given
// instead of the font's. A font the project names that is missing is
// reported on stderr and leaves the glyph table empty, as in the desktop
// program. Throws the file's errors before anything is laid out.
ProjectInput openProject(const QString &projectPath, const InputFiles &files);

// A colour given as RRGGBB in hex (red first, as in web pages), with or
// without a leading '#'; nothing for anything else.
std::optional<raster::Colour> parseColour(const QString &text);

}  // namespace letterloom::cli

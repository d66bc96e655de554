#pragma once

#include "project/workspace.h"
#include "raster/colour.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace letterloom::cli {

// A project opened for the text commands, as the desktop program's Open
// leaves it but without asking anything: settings, font, text and picture.
struct ProjectInput {
    explicit ProjectInput(const QString &programDirectory) : workspace(programDirectory) {}

    project::Workspace workspace;
    QByteArray text;  // what the text input window would hold
};

// Reads the project file; takes the text from textFile and the font from
// fontFile instead of the project's own when they are given (not empty). A
// font the project names that is missing is reported on stderr and leaves
// the glyph table empty, as in the desktop program. Throws the file's errors
// before anything is laid out.
ProjectInput openProject(const QString &projectPath, const QString &textFile, const QString &fontFile);

// A colour given as RRGGBB in hex (red first, as in web pages), with or
// without a leading '#'; nothing for anything else.
std::optional<raster::Colour> parseColour(const QString &text);

}  // namespace letterloom::cli

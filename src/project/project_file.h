#pragma once

#include "base/extension_block.h"
#include "project/project_extras.h"
#include "project/settings.h"
#include "raster/raster.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace letterloom::project {

// A project file, little-endian, without padding:
//   format byte 16, showHelp, showSelection (1 byte each), the text area as
//   x, y, width, height (4 bytes each), alignment (1 byte), pixelSize,
//   lineSpacing, defaultGlyphWidth, defaultGlyphHeight (4 bytes each),
//   then three parts, each a signed 32-bit length and that many bytes: the
//   font path, the text (lines joined with CR LF) and the picture as a
//   complete BMP file (length 0 when there is none). An extension block
//   (base/extension_block.h) may follow; other bytes after the picture are
//   ignored.
inline constexpr std::uint8_t kProjectFormat = 16;

// The parts of a project file as they stand in it.
struct ProjectFile {
    ProjectSettings settings;
    QByteArray storedFontPath;  // relative to the program directory, or full
    QByteArray text;
    QByteArray pictureBmp;      // empty when the project has no picture
    ExtensionBlock extensions;  // written back with its keys only

    bool operator==(const ProjectFile &other) const = default;
};

// Parses a whole project file. Throws "Not a Letterloom project file" for a
// wrong format byte and "Read beyond end of file" for a length that is
// negative or runs past the end; nothing is allocated for a length before it
// has been proven against the bytes.
ProjectFile parseProject(const QByteArray &bytes);
// The bytes of a project file. Throws when the project would be larger than
// the program reads back.
QByteArray projectBytes(const ProjectFile &project);

// The font path as a project stores it: without the program directory when it
// begins with it (compared exactly, case included), otherwise as it is.
QByteArray storedFontPath(const QString &fontPath, const QString &programDirectory);
// The font path a project names: a relative (or empty) stored path lies in the
// program directory, a full one is used as it is.
QString resolveFontPath(const QByteArray &storedPath, const QString &programDirectory);

// Decodes a project's embedded picture; an empty one gives an empty raster.
// Throws "Bitmap image is not valid" for bytes that are not a sound BMP file:
// the same pictures as Load Image accepts (raster/bmp_check.h).
raster::Raster embeddedPicture(const QByteArray &bmp);

// A project file read and checked as a whole, ready to replace the current
// project: the picture decoded, the font path resolved and the extension
// block read, with notices for the user about a damaged block or keys left out.
struct OpenedProject {
    ProjectSettings settings;
    QString fontPath;
    QByteArray text;
    raster::Raster picture;
    ProjectExtras extras;
    QStringList notices;
};

// The extras of a parsed project and the notices about them; fileName names
// the file in the notices.
ProjectExtras extrasOf(const ProjectFile &file, const QString &fileName, QStringList &notices);

// Throws the errors of the file, of parseProject and of embeddedPicture, and
// "Text area is too large" for a text area the program cannot render.
OpenedProject readProjectFile(const QString &path, const QString &programDirectory);

}  // namespace letterloom::project

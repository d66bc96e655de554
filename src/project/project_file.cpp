#include "project/project_file.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/file_io.h"

#include <QDir>
#include <QFile>

namespace letterloom::project {

namespace {

ProjectSettings readSettings(ByteReader &in)
{
    ProjectSettings settings;
    settings.showHelp = in.u8();
    settings.showSelection = in.u8();
    settings.area.x = in.i32();
    settings.area.y = in.i32();
    settings.area.width = in.i32();
    settings.area.height = in.i32();
    settings.alignment = in.u8();
    settings.pixelSize = in.i32();
    settings.lineSpacing = in.i32();
    settings.defaultGlyphWidth = in.i32();
    settings.defaultGlyphHeight = in.i32();
    return settings;
}

void writeSettings(ByteWriter &out, const ProjectSettings &settings)
{
    out.u8(settings.showHelp);
    out.u8(settings.showSelection);
    out.i32(settings.area.x);
    out.i32(settings.area.y);
    out.i32(settings.area.width);
    out.i32(settings.area.height);
    out.u8(settings.alignment);
    out.i32(settings.pixelSize);
    out.i32(settings.lineSpacing);
    out.i32(settings.defaultGlyphWidth);
    out.i32(settings.defaultGlyphHeight);
}

QByteArray readPart(ByteReader &in)
{
    return in.take(in.i32());  // a negative length fails like one past the end
}

void writePart(ByteWriter &out, const QByteArray &part)
{
    out.i32(std::int32_t(part.size()));
    out.bytes(part);
}

// The parts of a project file. With pictureInPlace the picture's BMP bytes
// stay where they lie in bytes: pictureBmp is a view of them, valid only
// while bytes are, so that opening a project decodes its picture without a
// copy of it.
ProjectFile parseParts(const QByteArray &bytes, bool pictureInPlace)
{
    ByteReader in(bytes);
    if (in.u8() != kProjectFormat)
        throw Error(QStringLiteral("Not a Letterloom project file"));
    ProjectFile project;
    project.settings = readSettings(in);
    project.storedFontPath = readPart(in);
    project.text = readPart(in);
    if (pictureInPlace) {
        const std::int32_t size = in.i32();
        const char *at = in.skip(size);  // a negative length fails like one past the end
        project.pictureBmp = QByteArray::fromRawData(at, size);
    } else
        project.pictureBmp = readPart(in);
    project.extensions = readExtensionBlock(bytes, in.position());
    return project;
}

}  // namespace

ProjectFile parseProject(const QByteArray &bytes)
{
    return parseParts(bytes, false);
}

QByteArray projectBytes(const ProjectFile &project)
{
    const QByteArray block = extensionBlockBytes(project.extensions.keys);
    const qint64 size = 48 + qint64(project.storedFontPath.size()) + project.text.size() + project.pictureBmp.size()
                        + block.size();
    if (size > kMaxFileSize)
        throw Error(QStringLiteral("The project is too large to be saved"));
    ByteWriter out;
    out.reserve(size);
    out.u8(kProjectFormat);
    writeSettings(out, project.settings);
    writePart(out, project.storedFontPath);
    writePart(out, project.text);
    writePart(out, project.pictureBmp);
    out.bytes(block);
    return out.result();
}

QByteArray storedFontPath(const QString &fontPath, const QString &programDirectory)
{
    const QByteArray path = QFile::encodeName(fontPath);
    const QByteArray base = QFile::encodeName(programDirectory);
    if (!base.isEmpty() && path.startsWith(base))
        return path.mid(base.size());
    return path;
}

QString resolveFontPath(const QByteArray &storedPath, const QString &programDirectory)
{
    const QString path = QFile::decodeName(storedPath);
    if (QDir::isRelativePath(path))
        return programDirectory + path;
    return path;
}

raster::Raster embeddedPicture(const QByteArray &bmp)
{
    if (bmp.isEmpty())
        return {};
    return raster::Raster::fromBmp(bmp);
}

ProjectExtras extrasOf(const ProjectFile &file, const QString &fileName, QStringList &notices)
{
    if (!file.extensions.damage.isEmpty())
        notices << extensionDamageNotice(fileName, file.extensions.damage);
    ExtensionKeys keys(file.extensions.keys);
    ProjectExtras extras = readProjectExtras(keys);
    if (!keys.dropped().isEmpty())
        notices << droppedKeysNotice(fileName, keys.dropped());
    return extras;
}

OpenedProject readProjectFile(const QString &path, const QString &programDirectory)
{
    // The file's bytes outlive the parts, whose picture is a view of them.
    const QByteArray bytes = readWholeFile(path);
    const ProjectFile file = parseParts(bytes, true);
    // Refused here rather than by the refresh, so that opening stays all or nothing.
    QStringList notices;
    ProjectExtras extras = extrasOf(file, fileNameOf(path), notices);
    for (const AreaText &area : joinAreas(file.settings, {}, extras)) {
        const TextArea &rect = area.rect;
        if (rect.width > 0 && rect.height > 0 && !raster::Raster::sizeAllowed(rect.width, rect.height))
            throw Error(QStringLiteral("Text area is too large"));
    }
    return {file.settings, resolveFontPath(file.storedFontPath, programDirectory), file.text,
            embeddedPicture(file.pictureBmp), std::move(extras), std::move(notices)};
}

}  // namespace letterloom::project

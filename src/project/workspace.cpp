#include "project/workspace.h"

#include "text/render.h"

#include <QCoreApplication>
#include <QDir>

namespace letterloom::project {

Workspace::Workspace(QString programDirectory)
    : programDirectory(std::move(programDirectory))
{
    if (!this->programDirectory.isEmpty() && !this->programDirectory.endsWith(u'/'))
        this->programDirectory += u'/';
}

text::Notice refreshText(Workspace &workspace, const QByteArray &text, raster::Colour colour)
{
    const ProjectSettings &settings = workspace.settings;
    workspace.bumpRevision();
    return text::RefreshText(text,
                             {settings.area.width, settings.area.height, settings.lineSpacing, settings.alignment, colour},
                             workspace.glyphs, workspace.lines, workspace.overlay);
}

QString applicationDirectory()
{
    return QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
}

}  // namespace letterloom::project

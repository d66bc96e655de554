#include "project/workspace.h"

#include <QCoreApplication>
#include <QDir>

namespace letterloom::project {

Workspace::Workspace(QString programDirectory)
    : programDirectory(std::move(programDirectory))
{
    if (!this->programDirectory.isEmpty() && !this->programDirectory.endsWith(u'/'))
        this->programDirectory += u'/';
}

QString applicationDirectory()
{
    return QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
}

}  // namespace letterloom::project

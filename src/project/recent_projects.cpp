#include "project/recent_projects.h"

#include <QFileInfo>
#include <QSettings>

namespace letterloom::project {

namespace {

const QString kKey = QStringLiteral("recentProjects");

// The program's own settings, whatever the running application calls itself.
QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Letterloom"),
                     QStringLiteral("Letterloom"));
}

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

void store(const QStringList &paths)
{
    settings().setValue(kKey, paths);
}

}  // namespace

QStringList withRecent(QStringList paths, const QString &path)
{
    paths.removeAll(path);
    paths.prepend(path);
    return paths.mid(0, RecentProjects::kLimit);
}

QStringList RecentProjects::paths() const
{
    // Whatever the settings file holds, the menu gets a short list of
    // absolute paths without repeats.
    QStringList kept;
    for (const QString &path : settings().value(kKey).toStringList()) {
        if (path.isEmpty())
            continue;
        const QString full = absolute(path);
        if (!kept.contains(full))
            kept << full;
        if (kept.size() == kLimit)
            break;
    }
    return kept;
}

void RecentProjects::add(const QString &path)
{
    store(withRecent(paths(), absolute(path)));
}

void RecentProjects::remove(const QString &path)
{
    QStringList kept = paths();
    kept.removeAll(absolute(path));
    store(kept);
}

void RecentProjects::clear()
{
    store({});
}

}  // namespace letterloom::project

#pragma once

#include <QString>
#include <QStringList>

namespace letterloom::project {

// The projects the user opened or saved last, newest first, for Project >
// Open Recent. A preference of the person, not part of any document: kept
// between runs in the user's settings (QSettings), and nowhere else.
class RecentProjects {
public:
    static constexpr int kLimit = 10;

    // The list as it is kept now: absolute paths, at most kLimit, no repeats.
    QStringList paths() const;
    // Puts a project at the top; an older entry of the same file goes.
    void add(const QString &path);
    void remove(const QString &path);
    void clear();
};

// The list after a project was opened or saved: the path first, the others
// after it in their order without it, cut to RecentProjects::kLimit.
QStringList withRecent(QStringList paths, const QString &path);

}  // namespace letterloom::project

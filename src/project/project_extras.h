#pragma once

#include "project/text_areas.h"

#include <QJsonObject>

#include <vector>

namespace letterloom {
class ExtensionKeys;
}

namespace letterloom::project {

// What a project file keeps in its extension block beyond the described
// settings, path, text and picture. The keys of the project level are read
// into fields here; every other key stays in otherKeys exactly as read and is
// written back with the project.
struct ProjectExtras {
    // The text areas after the first ("areas"); the first is the described one.
    std::vector<AreaText> areas;
    QJsonObject otherKeys;

    bool operator==(const ProjectExtras &other) const = default;
};

// Takes the project's keys out of a block's keys; the rest become otherKeys.
// Keys of the wrong type, or whose values make no sense, are dropped and
// named in keys.dropped().
ProjectExtras readProjectExtras(ExtensionKeys &keys);
// The block's keys for a project's extras.
QJsonObject projectExtrasKeys(const ProjectExtras &extras);

}  // namespace letterloom::project

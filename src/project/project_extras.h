#pragma once

#include "project/text_areas.h"
#include "raster/colour.h"
#include "raster/colour_hex.h"
#include "text/effects.h"
#include "text/layout.h"

#include <QJsonObject>
#include <QStringList>

#include <optional>

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
    // The first area's text colour ("textColour"); none when the file has
    // none, which leaves the colour as it is.
    std::optional<raster::Colour> textColour;
    // The first area's effects ("effects").
    text::Effects effects;
    // The first area's tracking and word spacing ("spacing").
    text::Spacing spacing;
    // The text areas after the first ("areas"); the first is the described one.
    std::vector<AreaText> areas;
    QJsonObject otherKeys;

    bool operator==(const ProjectExtras &other) const = default;
};

// Takes the project's keys out of a block's keys; the rest become otherKeys.
// Keys of the wrong type, or whose values make no sense, are dropped and
// named in keys.dropped().
ProjectExtras readProjectExtras(ExtensionKeys &keys);
// The block's keys for a project's extras: "textColour" only for a colour
// that is not black, "effects" only while one is on.
QJsonObject projectExtrasKeys(const ProjectExtras &extras);

// A colour as "RRGGBB", red first, in capital hex digits, and back (either
// case); nothing for any other value.
using raster::colourHex;
std::optional<raster::Colour> colourFromHex(const QJsonValue &value);

// Effects as {"outline": {"size", "shape": "square"|"round", "colour"},
// "shadow": {"dx", "dy", "colour"}, "plate": {"padding", "colour"}}, each
// member only while its effect is on.
QJsonObject effectsJson(const text::Effects &effects);
// A member that is no object, or whose values are out of range or of the
// wrong kind, is left off and named in bad ("effects.outline"); a missing
// colour is black, a missing shape square. An outline of size 0 is off.
text::Effects effectsFromJson(const QJsonValue &value, QStringList &bad);

// Spacing as {"tracking": n, "wordSpacing": n}, each member only while it is
// not 0; nothing for a value that is no such object or whose numbers are no
// whole numbers within their ranges.
QJsonObject spacingJson(const text::Spacing &spacing);
std::optional<text::Spacing> spacingFromJson(const QJsonValue &value);

}  // namespace letterloom::project

#pragma once

#include "project/settings.h"
#include "raster/raster.h"
#include "text/effects.h"
#include "text/layout.h"
#include "text/line_table.h"
#include "text/overflow.h"
#include "text/render.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

namespace letterloom::project {

struct Workspace;
struct ProjectExtras;

// One text area of a project: its rectangle and what is laid out in it.
// A project has one or more; the first is kept in the settings and the text
// of the project file, the others in its extension block.
struct AreaText {
    TextArea rect;
    QByteArray text;                 // lines joined with CR LF
    std::uint8_t alignment = 1;      // as ProjectSettings::alignment
    std::int32_t lineSpacing = 10;
    QJsonObject otherKeys;           // keys of later versions, written back as read
    raster::Colour colour = raster::kBlack;  // the text's, before its effects
    text::Effects effects;
    text::Spacing spacing;

    bool operator==(const AreaText &other) const = default;
};

// A project holds at most this many text areas. A file whose list holds more
// was made by no version of the program; reading it would cost memory out of
// all proportion to its bytes.
inline constexpr int kMaxAreas = 1024;

// What an area's text is laid out and drawn with.
text::TextSettings textSettingsOf(const AreaText &area);

// An area as one object of the block's "areas" list: the rectangle as "x",
// "y", "width", "height", the text as a string in which U+00nn stands for
// the byte nn, "alignment" and "lineSpacing", and while they are not black,
// on and not 0, "textColour", "effects" and "spacing" (project_extras.h).
QJsonObject areaJson(const AreaText &area);
// Nothing for a value that is no such object, or whose values the program
// cannot use (a number that is no 32-bit integer, a character past U+00FF).
std::optional<AreaText> areaFromJson(const QJsonValue &value);

// Every area of a project file's parts: the first from the settings, the
// text and the extras' top-level colour (black when it has none) and
// effects, the others from the extras.
std::vector<AreaText> joinAreas(const ProjectSettings &settings, const QByteArray &text, const ProjectExtras &extras);
// The other way: the first area into the settings and the text, the others
// into extras.areas. areas must not be empty.
void splitAreas(const std::vector<AreaText> &areas, ProjectSettings &settings, QByteArray &text,
                ProjectExtras &extras);

// An area of a workspace with its layout and rendered text.
struct AreaSlot {
    AreaText values;
    text::LineTable lines;
    raster::Raster overlay;
    text::TextMask mask;  // as Workspace::mask
    text::Overflow overflow;  // as Workspace::overflow
};

// The text areas of a workspace. The current one is live: its rectangle,
// alignment and line spacing are the workspace's settings (which the
// toolbars, the drag and the nudges change), its colour and effects the
// workspace's textColour and effects, its layout and rendered text the
// workspace's lines, overlay and mask, and its text whatever the text input
// window holds (given here as currentText). The other areas keep theirs in
// Workspace::areas.

// Every area with its values, the current one's taken from the live ones.
std::vector<AreaText> workspaceAreas(const Workspace &workspace, const QByteArray &currentText);
// Replaces the workspace's areas, with the first current; returns its text,
// for the text input window. Layouts are emptied. areas must not be empty.
QByteArray setWorkspaceAreas(Workspace &workspace, std::vector<AreaText> areas);
// Makes area index current: the current one's values, layout and rendered
// text are kept in its place and index's become the live ones. Returns the
// text of the new current area.
QByteArray switchArea(Workspace &workspace, const QByteArray &currentText, int index);
// Adds an empty area after the others (with the current one's alignment,
// line spacing and colour) and makes it current; returns its (empty) text.
// The workspace must hold fewer than kMaxAreas.
QByteArray addArea(Workspace &workspace, const QByteArray &currentText);
// Removes the current area; the one before it becomes current (the next
// when it was the first). Returns the new current one's text. Nothing
// happens for the only area.
QByteArray removeCurrentArea(Workspace &workspace);

// The area a plain click at (picture pixels) makes current: the current one
// when its frame holds the point, else the last whose frame holds it; -1
// when none does.
int areaAt(const Workspace &workspace, QPoint at);

// A caption of the text input window: with several areas followed by which
// one it shows, "Text Input Window - 2 of 3".
QString areaCaption(const QString &caption, const Workspace &workspace);

// The refresh of every area: each laid out, rendered and tinted, the current
// one in colour (which becomes its colour), the others in their own.
// Returns each area's notice, in order.
std::vector<text::Notice> refreshAreas(Workspace &workspace, const QByteArray &currentText, raster::Colour colour);

// The notice of a refresh of several areas: the first one's words, naming
// the areas that do not fit ("Text area 2: ..."); with one area its notice
// as it is. Empty when every area fits.
QString areasNotice(const std::vector<text::Notice> &notices);

// By how much the texts of the last refresh miss their areas, for the status
// line: "43 px too wide"; with several areas each that misses named, "Text
// area 2: 2 lines too many", joined by "; ". Empty when every text fits.
QString overflowStatus(const Workspace &workspace);

}  // namespace letterloom::project

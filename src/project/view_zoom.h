#pragma once

#include <QPoint>
#include <QSize>

#include <array>

namespace letterloom::project {

// The image view shows the picture at a whole number of screen pixels per
// picture pixel. Its geometry is plain arithmetic here; the window only
// asks.

inline constexpr std::array<int, 6> kZoomLevels{1, 2, 3, 4, 6, 8};

bool isZoomLevel(int zoom);
// The next level up or down; the last level stays where it is.
int zoomedIn(int zoom);
int zoomedOut(int zoom);

// The zoom the user chose last, kept in the user's settings (QSettings) as a
// preference of the person, not of any document: 1 when there is none or it
// is no level.
int storedZoom();
void storeZoom(int zoom);

// The picture pixel under a point of the visible part whose top-left corner
// lies at origin in the zoomed picture. Points left of or above the view
// (a drag goes on outside the window) round towards minus infinity, so each
// picture pixel covers exactly zoom x zoom points.
QPoint toPicture(QPoint atView, QPoint origin, int zoom);

// How a content of some size (the picture at its zoom) is shown in at most
// `room` of client area. Where it does not fit, the visible part shrinks to
// the room and a scroll bar of the given thickness takes its side; a bar
// taken for one side can make the other side need one too.
struct ViewLayout {
    QSize viewport;  // the visible part of the content, in screen pixels
    bool horizontalBar = false;
    bool verticalBar = false;
    QSize client;    // the viewport with its bars
    bool operator==(const ViewLayout &other) const = default;
};
ViewLayout layOutView(QSize content, QSize room, int barThickness);

// The corner that keeps the picture point under `atView` where it is after
// a change of zoom from `from` to `to` (before clamping).
QPoint originKeeping(QPoint atView, QPoint origin, int from, int to);

}  // namespace letterloom::project

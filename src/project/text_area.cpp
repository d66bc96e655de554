#include "project/text_area.h"

#include "project/workspace.h"
#include "text/decimal.h"
#include "text/line_table.h"

#include <algorithm>
#include <limits>

namespace letterloom::project {

namespace {

using Wide = std::int64_t;

std::int32_t narrow(Wide value)
{
    return std::int32_t(std::clamp<Wide>(value, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max()));
}

// The bounds of the toolbar and the key release, one per edge.
// A new text area, shown on the windows' next tick.
void setArea(Workspace &workspace, const TextArea &area)
{
    if (workspace.settings.area == area)
        return;
    workspace.settings.area = area;
    workspace.bumpRevision();
}

void keepRightEdgeBySize(TextArea &area, Wide surfaceWidth)
{
    if (Wide(area.x) + area.width > surfaceWidth)
        area.width = narrow(surfaceWidth - area.x);
}

void keepBottomEdgeBySize(TextArea &area, Wide surfaceHeight)
{
    if (Wide(area.y) + area.height > surfaceHeight)
        area.height = narrow(surfaceHeight - area.y);
}

void keepRightEdgeByMoving(TextArea &area, Wide surfaceWidth)
{
    if (Wide(area.x) + area.width > surfaceWidth)
        area.x = narrow(surfaceWidth - area.width);
}

void keepBottomEdgeByMoving(TextArea &area, Wide surfaceHeight)
{
    if (Wide(area.y) + area.height > surfaceHeight)
        area.y = narrow(surfaceHeight - area.height);
}

// A negative corner coordinate with the side measured from it.
void cutAtZero(std::int32_t &position, std::int32_t &side)
{
    if (position < 0) {
        side = narrow(Wide(side) + position);
        position = 0;
    }
}

// One side of a released drag: a negative extent flips the corner to the
// release point.
void normalise(std::int32_t &position, std::int32_t &side, int releasedAt)
{
    const Wide extent = Wide(releasedAt) - position;
    if (extent < 0) {
        side = narrow(-extent);
        position = narrow(Wide(position) + extent);
    } else {
        side = narrow(extent);
    }
}

}  // namespace

TextArea clampToSurface(TextArea area, QSize surface)
{
    keepRightEdgeBySize(area, surface.width());
    keepBottomEdgeBySize(area, surface.height());
    cutAtZero(area.x, area.width);
    cutAtZero(area.y, area.height);
    return area;
}

TextArea nudged(TextArea area, Nudge nudge, std::int32_t step, QSize surface)
{
    switch (nudge) {
    case Nudge::Left:
        area.x = std::max(narrow(Wide(area.x) - step), 0);
        break;
    case Nudge::Right:
        area.x = narrow(Wide(area.x) + step);
        keepRightEdgeByMoving(area, surface.width());
        break;
    case Nudge::Up:
        area.y = std::max(narrow(Wide(area.y) - step), 0);
        break;
    case Nudge::Down:
        area.y = narrow(Wide(area.y) + step);
        keepBottomEdgeByMoving(area, surface.height());
        break;
    case Nudge::WidthInc:
        area.width = narrow(Wide(area.width) + step);
        keepRightEdgeBySize(area, surface.width());
        break;
    case Nudge::WidthDec:
        area.width = std::max(narrow(Wide(area.width) - step), 0);
        break;
    case Nudge::HeightInc:
        area.height = narrow(Wide(area.height) + step);
        keepBottomEdgeBySize(area, surface.height());
        break;
    case Nudge::HeightDec:
        area.height = std::max(narrow(Wide(area.height) - step), 0);
        break;
    }
    return area;
}

TextArea dragTo(TextArea area, QPoint to)
{
    area.width = narrow(Wide(to.x()) - area.x);
    area.height = narrow(Wide(to.y()) - area.y);
    return area;
}

TextArea releaseDragAt(TextArea area, QPoint to)
{
    normalise(area.x, area.width, to.x());
    normalise(area.y, area.height, to.y());
    return area;
}

void nudgeTextArea(Workspace &workspace, Nudge nudge, bool fivePixelStep, QSize surface)
{
    if (!workspace.pictureLoaded)
        return;
    const TextArea before = workspace.settings.area;
    setArea(workspace, nudged(before, nudge, text::Choose(fivePixelStep, 5, 1), surface));
    if (workspace.settings.area != before)
        workspace.areaChanged = true;
}

void AreaSelection::keyPress(bool ctrlHeld)
{
    if (ctrlHeld)
        selectionMode_ = true;
}

void AreaSelection::keyRelease(Workspace &workspace, QSize surface)
{
    selectionMode_ = false;
    setArea(workspace, clampToSurface(workspace.settings.area, surface));
}

void AreaSelection::keyboardLost()
{
    selectionMode_ = false;
}

void AreaSelection::mousePress(Workspace &workspace, QPoint at, bool ctrlHeld)
{
    selectionMode_ = ctrlHeld;
    if (!selectionMode_ || !workspace.pictureLoaded)
        return;
    text::ClearLineTable(workspace.lines);
    workspace.overflow = {};
    dragging_ = true;
    setArea(workspace, TextArea{at.x(), at.y(), 0, 0});
}

void AreaSelection::mouseMove(Workspace &workspace, QPoint at)
{
    if (!dragging_)
        return;
    setArea(workspace, dragTo(workspace.settings.area, at));
    workspace.areaChanged = true;
}

void AreaSelection::mouseRelease(Workspace &workspace, QPoint at)
{
    if (dragging_)
        setArea(workspace, releaseDragAt(workspace.settings.area, at));
    dragging_ = false;
}

}  // namespace letterloom::project

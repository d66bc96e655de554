#pragma once

#include "project/settings.h"

#include <QPoint>
#include <QSize>

#include <cstdint>

namespace letterloom::project {

struct Workspace;

// The text area arithmetic of the image view and the toolbar. Positions come
// from project files and the mouse and can be anything, so everything is
// computed in 64 bits and clamped back into the 32-bit range of the area.

// The bounds applied on every key release in the image view: the right and
// bottom edges are pulled inside the drawing surface, then a negative x or y
// is cut off at 0 (the width or height shrinking with it).
TextArea clampToSurface(TextArea area, QSize surface);

// The eight toolbar buttons that move or resize the text area.
enum class Nudge { Left, Right, Up, Down, WidthInc, WidthDec, HeightInc, HeightDec };

// The area after one nudge by step pixels, with the one bound of that button.
TextArea nudged(TextArea area, Nudge nudge, std::int32_t step, QSize surface);

// The width and height of a drag that started at the area's corner and is now
// at `to`; they are negative while the mouse is left of or above the start.
TextArea dragTo(TextArea area, QPoint to);

// The area of a finished drag: (x, y) becomes the top-left corner and the
// width and height are not negative. It is not clamped to the surface.
TextArea releaseDragAt(TextArea area, QPoint to);

// A toolbar nudge of the workspace's text area: nothing without a picture.
// The step is 5 when its group's toggle is down, else 1. A nudge that changes
// the area counts as a change of the project (areaChanged), so leaving the
// program offers to save it.
void nudgeTextArea(Workspace &workspace, Nudge nudge, bool fivePixelStep, QSize surface);

// Drawing the text area with Ctrl and the mouse in the image view. The state
// belongs to the image view window; the area and the flags to the workspace.
class AreaSelection {
public:
    // Set from a key press with Ctrl held until the next key release; the
    // image view shows its second hint line meanwhile.
    bool selectionMode() const { return selectionMode_; }
    // From a mouse press that started a drag until the next mouse release.
    bool dragging() const { return dragging_; }

    void keyPress(bool ctrlHeld);
    // Ends selection mode and brings the area back inside the surface.
    void keyRelease(Workspace &workspace, QSize surface);
    // The image view has lost the keyboard (a shortcut such as Ctrl+O opened
    // a dialog), so it would not see Ctrl being let go: selection mode and its
    // hint end here. A drag already started goes on.
    void keyboardLost();

    // A press starts a drag only with Ctrl really held at that moment (a Ctrl
    // released while a dialog had the keyboard leaves no stale mode behind)
    // and only over a picture. The drag empties the line table: the old
    // layout no longer belongs to the area.
    void mousePress(Workspace &workspace, QPoint at, bool ctrlHeld);
    // During a drag the area follows the mouse, Ctrl held or not.
    void mouseMove(Workspace &workspace, QPoint at);
    void mouseRelease(Workspace &workspace, QPoint at);

private:
    bool selectionMode_ = false;
    bool dragging_ = false;
};

}  // namespace letterloom::project

#pragma once

#include "project/workspace.h"
#include "raster/raster.h"

#include <QPoint>

#include <optional>
#include <vector>

namespace letterloom::project {

// Composes the scene into the view raster: white, then the picture, then
// (unless exporting) the red text area frame and the hint lines, then the
// rendered text at the text area's corner, then (unless exporting) the first
// word of each area that was not placed, in red where it would have gone. Without a picture only the centred
// red "Load picture here!" is drawn. selectionMode shows the second hint line.
//
// The hint lines belong to the part of the view on screen: hintsAt is that
// part's top-left corner, and nothing leaves them out for a caller that draws
// them itself once the scene is on screen (drawHints).
void ComposeView(const Workspace &workspace, raster::Raster &view, bool exporting, bool selectionMode = false,
                 std::optional<QPoint> hintsAt = QPoint());

// refreshAreas followed by the export of ComposeView, drawn onto the
// workspace's picture itself, which then is the exported scene (the picture
// with every area's text): what a command that writes the scene once and
// forgets the picture draws. Returns refreshAreas' notices. Each area is laid
// out and drawn in turn; one without effects whose glyphs never meet goes
// straight onto the picture, without an overlay. Leaves the workspace fit
// for writing the picture only.
std::vector<text::Notice> ExportOntoPicture(Workspace &workspace, const QByteArray &currentText,
                                            raster::Colour colour);

// The hint lines (while showHelp is on), 10 pixels in from offset.
void drawHints(const ProjectSettings &settings, raster::Raster &view, bool selectionMode, QPoint offset = QPoint());

}  // namespace letterloom::project

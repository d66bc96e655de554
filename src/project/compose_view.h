#pragma once

#include "project/workspace.h"
#include "raster/raster.h"

namespace letterloom::project {

// Composes the scene into the view raster: white, then the picture, then
// (unless exporting) the red text area frame and the hint lines, then the
// rendered text at the text area's corner. Without a picture only the centred
// red "Load picture here!" is drawn. selectionMode shows the second hint line.
void ComposeView(const Workspace &workspace, raster::Raster &view, bool exporting, bool selectionMode = false);

}  // namespace letterloom::project

#pragma once

#include "project/settings.h"
#include "raster/raster.h"

#include <vector>

namespace letterloom::tools {

// The sample picture: a 320 x 200 pixel-art landscape under a blue sky, with
// a wooden sign whose board is left plain for text.
raster::Raster drawSamplePicture();

// The text area on the sign's board, with a little margin to its frame.
project::TextArea samplePictureTextArea();

// The second sample picture, for a project of three text areas: a title
// banner across the sky, a speech bubble over a little creature and a small
// plate in the meadow for a label.
raster::Raster drawAreasPicture();
// Its text areas: the banner's, the bubble's and the plate's, in that order.
std::vector<project::TextArea> areasPictureTextAreas();

}  // namespace letterloom::tools

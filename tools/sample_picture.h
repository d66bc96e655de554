#pragma once

#include "project/settings.h"
#include "raster/raster.h"

namespace letterloom::tools {

// The sample picture: a 320 x 200 pixel-art landscape under a blue sky, with
// a wooden sign whose board is left plain for text.
raster::Raster drawSamplePicture();

// The text area on the sign's board, with a little margin to its frame.
project::TextArea samplePictureTextArea();

}  // namespace letterloom::tools

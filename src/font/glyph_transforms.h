#pragma once

#include "font/glyph_table.h"

namespace letterloom::font {

// The eight whole-glyph commands of the drawing tools. They work on any glyph,
// defined or not, and never change its flag.

// The shifts move every pixel one step; what is pushed over the edge is lost
// and the vacated column or row becomes white, in pixels and image alike.
void shiftLeft(tGraphChar &glyph);
void shiftRight(tGraphChar &glyph);
void shiftUp(tGraphChar &glyph);
void shiftDown(tGraphChar &glyph);

// The size commands add a white column at the right or a white row at the
// bottom, or drop the rightmost column or the bottom row. A side never goes
// below 1: shrinking a 1-pixel side keeps the glyph as it is, and an empty
// 0 x 0 glyph becomes one white pixel either way.
void increaseWidth(tGraphChar &glyph);
void decreaseWidth(tGraphChar &glyph);
void increaseHeight(tGraphChar &glyph);
void decreaseHeight(tGraphChar &glyph);

}  // namespace letterloom::font

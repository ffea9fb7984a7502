// Block transfers between surfaces: the only way anything reaches the screen.
// Every transfer clips to both surfaces, so a rectangle half off an edge (an
// actor at y = -32, text past the last column) draws just its visible part.
#pragma once

#include "render/surface.h"

namespace bd {

enum class TRasterOp { Copy, And, Or, Xor };

// Combines the w x h rectangle of src at (sx, sy) into dst at (dx, dy).
// src and dst may be the same surface, with overlapping rectangles.
void BlockTransfer(TSurface& dst, int dx, int dy, const TSurface& src, int sx, int sy, int w, int h,
                   TRasterOp op);

// Sets a rectangle to black.
void FillBlack(TSurface& dst, int x, int y, int w, int h);

}  // namespace bd

// The drawing primitives every screen is built from: cells of the sprite
// sheet copied, composited or written as text onto a surface.
#pragma once

#include "render/sprite_sheet.h"
#include "render/surface.h"

namespace bd {

// Copies a w x h cell of the sheet opaquely to (x, y).
void CopyCell(TSurface& dst, int x, int y, const TSurface& sheet, TSheetCell cell, int w = kCellPixels,
              int h = kCellPixels);

// One runner or guard frame at any pixel position: mask by AND, then sprite by XOR.
void DrawActor(TSurface& dst, const TSurface& sheet, TSheetCell sprite, TSheetCell mask, int x, int y);

// Text in 16 x 16 glyphs from text cell (column, row) until the terminating zero.
// Glyphs are ORed; ":" (the cursor ball) is copied opaque; a blank draws nothing.
void DrawText16(TSurface& dst, const TSurface& sheet, int column, int row, const char* text);

// The 32 x 32 square of the background at (x, y) put back onto the visible surface.
void RestoreFromBackground(TSurface& screen, const TSurface& background, int x, int y);

}  // namespace bd

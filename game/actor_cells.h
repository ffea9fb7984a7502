// The play-field cells around an actor, as every movement rule reads them.
#pragma once

#include <cstdint>

#include "stage/play_field.h"

namespace bd {

struct TActorCells {
  int fx = 0, fy = 0;       // offsets within the cell, 0..31 also for negative y
  int column = 0, row = 0;  // column and field row of C
  int8_t C = 0;             // the cell under the sprite's top-left corner
  int8_t A = 0, B = 0;      // above and below C
  int8_t L = 0, R = 0;      // left and right of C
  int8_t BR = 0;            // below R
};

// Divisions truncate toward zero, so y = -31..-1 is still stage row 0 and
// y = -32 is the virtual row. Cells outside the field read as solid.
inline TActorCells CellsAround(const TPlayField& field, int x, int y) {
  TActorCells cells;
  cells.fx = x & (kCellPixels - 1);
  cells.fy = y & (kCellPixels - 1);
  cells.column = x / kCellPixels;
  cells.row = y / kCellPixels + 1;
  const int c = cells.column;
  const int r = cells.row;
  cells.C = field.Read(c, r);
  cells.A = field.Read(c, r - 1);
  cells.B = field.Read(c, r + 1);
  cells.L = field.Read(c - 1, r);
  cells.R = field.Read(c + 1, r);
  cells.BR = field.Read(c + 1, r + 1);
  return cells;
}

// Brick, solid block and ladder hold an actor up; brick and solid block stop him.
inline bool Supporting(int8_t value) { return value == tcBrick || value == tcSolid || value == tcLadder; }
inline bool Blocking(int8_t value) { return value == tcBrick || value == tcSolid; }

// An actor overlapping a brick has been crushed by a hole filling in on it.
inline bool OverlapsBrick(const TActorCells& cells) {
  return cells.C == tcBrick || (cells.fx != 0 && cells.R == tcBrick) || (cells.fy != 0 && cells.B == tcBrick);
}

}  // namespace bd

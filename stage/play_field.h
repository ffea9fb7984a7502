// The live grid of a stage in play: 15 rows of 16 signed cells. Row 0 is a
// virtual row above the stage, so the cell above stage row 0 can be read.
#pragma once

#include <array>
#include <cstdint>

#include "stage/tile_codes.h"

namespace bd {

inline constexpr int kPlayFieldRows = kStageRows + 1;
inline constexpr int kPlayFieldCells = kPlayFieldRows * kStageColumns;  // 240

struct TPlayField {
  std::array<int8_t, kPlayFieldCells> cells{};

  // Field index of stage cell (column, row).
  static constexpr int IndexOfStageCell(int column, int row) { return kStageColumns * (row + 1) + column; }
  // Field index of the cell under an actor whose sprite's top-left corner is
  // at (x, y); the divisions truncate toward zero, so y = -31..-1 is still
  // stage row 0 and only y = -32 reaches the virtual row.
  static constexpr int IndexOfPixel(int x, int y) {
    return kStageColumns * (y / kCellPixels) + x / kCellPixels + kStageColumns;
  }

  // Solid at columns 0 and 15, empty between.
  void WriteVirtualRow();
};

}  // namespace bd

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

  // The one rule for reading the field: a cell outside it (above the
  // virtual row, below the last row, left of column 0 or right of column 15)
  // reads as solid block. A stage with a broken frame then still walls its
  // actors in, and no rule reads outside the array. Inside, the value is the
  // signed byte, so an open hole reads as -1.
  int8_t Read(int column, int field_row) const {
    if (column < 0 || column >= kStageColumns || field_row < 0 || field_row >= kPlayFieldRows) return tcSolid;
    return cells[field_row * kStageColumns + column];
  }
  // The cell under pixel (x, y), read as Read does.
  int8_t ReadPixel(int x, int y) const { return Read(x / kCellPixels, y / kCellPixels + 1); }
  // Writes a cell inside the field; a cell outside it is left alone, as it
  // always reads as solid.
  void Write(int column, int field_row, int8_t value) {
    if (column < 0 || column >= kStageColumns || field_row < 0 || field_row >= kPlayFieldRows) return;
    cells[field_row * kStageColumns + column] = value;
  }
  // Field row of stage row r.
  static constexpr int FieldRowOfStageRow(int row) { return row + 1; }

  // Solid at columns 0 and 15, empty between.
  void WriteVirtualRow();

  bool operator==(const TPlayField&) const = default;
};

}  // namespace bd

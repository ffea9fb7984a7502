// One stage as a grid of tile codes, and its packed form (two cells a byte)
// used by the built-in table and by stage files.
#pragma once

#include <array>
#include <cstdint>

#include "stage/tile_codes.h"

namespace bd {

// 16 columns x 14 rows, one byte a cell, row-major: cell (c, r) is byte 16r + c.
struct TStageGrid {
  std::array<uint8_t, kStageColumns * kStageRows> cells{};

  uint8_t& at(int column, int row) { return cells[row * kStageColumns + column]; }
  uint8_t at(int column, int row) const { return cells[row * kStageColumns + column]; }
  bool operator==(const TStageGrid&) const = default;
};

inline constexpr int kPackedRowBytes = kStageColumns / 2;
inline constexpr int kPackedStageBytes = kPackedRowBytes * kStageRows;  // 112

// Byte b of row r holds column 2b in its high nibble and column 2b + 1 in its low one.
struct PackedStage {
  std::array<uint8_t, kPackedStageBytes> bytes{};
  bool operator==(const PackedStage&) const = default;
};

// Columns 0 and 15 and row 13 solid, the 14 x 13 interior empty.
void ClearToFrame(TStageGrid& grid);

// Cells must hold 0..15; higher bits of a cell are dropped.
PackedStage PackStage(const TStageGrid& grid);

TStageGrid UnpackStage(const PackedStage& packed);

}  // namespace bd

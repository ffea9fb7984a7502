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

  constexpr uint8_t& at(int column, int row) { return cells[row * kStageColumns + column]; }
  constexpr uint8_t at(int column, int row) const { return cells[row * kStageColumns + column]; }
  bool operator==(const TStageGrid&) const = default;
};

inline constexpr int kPackedRowBytes = kStageColumns / 2;
inline constexpr int kPackedStageBytes = kPackedRowBytes * kStageRows;  // 112

// Byte b of row r holds column 2b in its high nibble and column 2b + 1 in its low one.
struct TPackedStage {
  std::array<uint8_t, kPackedStageBytes> bytes{};
  bool operator==(const TPackedStage&) const = default;
};

// Columns 0 and 15 and row 13 solid, the 14 x 13 interior empty.
void ClearToFrame(TStageGrid& grid);

// Cells must hold 0..15; higher bits of a cell are dropped.
constexpr TPackedStage PackStage(const TStageGrid& grid) {
  TPackedStage packed{};
  for (int row = 0; row < kStageRows; ++row) {
    for (int b = 0; b < kPackedRowBytes; ++b) {
      const unsigned high = grid.at(2 * b, row) & 15u;
      const unsigned low = grid.at(2 * b + 1, row) & 15u;
      packed.bytes[row * kPackedRowBytes + b] = static_cast<uint8_t>(high << 4 | low);
    }
  }
  return packed;
}

TStageGrid UnpackStage(const TPackedStage& packed);

}  // namespace bd

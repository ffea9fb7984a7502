#include "stage/stage_grid.h"

namespace bd {

void ClearToFrame(TStageGrid& grid) {
  for (int row = 0; row < kStageRows; ++row) {
    for (int column = 0; column < kStageColumns; ++column) {
      const bool frame = row == kStageRows - 1 || column == 0 || column == kStageColumns - 1;
      grid.at(column, row) = frame ? tcSolid : tcEmpty;
    }
  }
}

TStageGrid UnpackStage(const TPackedStage& packed) {
  TStageGrid grid;
  for (int row = 0; row < kStageRows; ++row) {
    for (int b = 0; b < kPackedRowBytes; ++b) {
      // The byte is unsigned: 0x96 gives 9 and 6, never a sign-extended nibble.
      const uint8_t byte = packed.bytes[row * kPackedRowBytes + b];
      grid.at(2 * b, row) = byte >> 4;
      grid.at(2 * b + 1, row) = byte & 15;
    }
  }
  return grid;
}

}  // namespace bd

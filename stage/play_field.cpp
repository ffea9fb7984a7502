#include "stage/play_field.h"

namespace bd {

void TPlayField::WriteVirtualRow() {
  for (int column = 0; column < kStageColumns; ++column) {
    const bool edge = column == 0 || column == kStageColumns - 1;
    cells[column] = edge ? tcSolid : tcEmpty;
  }
}

}  // namespace bd

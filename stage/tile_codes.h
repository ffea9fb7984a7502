// Tile codes of a stage grid and the extra value of the live play field.
#pragma once

#include <cstdint>

namespace bd {

enum TTileCode : uint8_t {
  tcEmpty = 0,
  tcBrick = 1,
  tcSolid = 2,
  tcLadder = 3,
  tcBar = 4,
  tcTrapBrick = 5,
  tcHiddenLadder = 6,
  tcGold = 7,
  tcGuardStart = 8,
  tcRunnerStart = 9,
};

// An open hole in the live play field: the byte 255, read as -1 by the rules.
inline constexpr int8_t tcHole = -1;

inline constexpr int kStageColumns = 16;
inline constexpr int kStageRows = 14;
inline constexpr int kCellPixels = 32;

}  // namespace bd

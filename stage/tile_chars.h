// Stages written as text, one character a cell: '.' empty, 'B' brick,
// 'S' solid, 'H' ladder, '-' bar, 'T' trap brick, 'h' hidden ladder,
// '$' gold, 'G' guard start, 'R' runner start. Anything else is empty.
#pragma once

#include <cstdint>

#include "stage/tile_codes.h"

namespace bd {

constexpr uint8_t TileOfChar(char c) {
  switch (c) {
    case 'B': return tcBrick;
    case 'S': return tcSolid;
    case 'H': return tcLadder;
    case '-': return tcBar;
    case 'T': return tcTrapBrick;
    case 'h': return tcHiddenLadder;
    case '$': return tcGold;
    case 'G': return tcGuardStart;
    case 'R': return tcRunnerStart;
    default: return tcEmpty;
  }
}

}  // namespace bd

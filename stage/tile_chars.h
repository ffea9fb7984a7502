// Stages written as text, one character a cell. kTileChars is the legend,
// the character of each tile code in code order: '.' empty, 'B' brick,
// 'S' solid, 'H' ladder, '-' bar, 'T' trap brick, 'h' hidden ladder,
// '$' gold, 'G' guard start, 'R' runner start. The build's stage embedding
// and the fuzz seeds read this line; anything else reads as empty.
#pragma once

#include <cstdint>
#include <string_view>

#include "stage/tile_codes.h"

namespace bd {

inline constexpr std::string_view kTileChars = ".BSH-Th$GR";
static_assert(kTileChars.size() == tcRunnerStart + 1, "one character for every tile code");

constexpr uint8_t TileOfChar(char c) {
  const size_t code = kTileChars.find(c);
  return code == std::string_view::npos ? uint8_t{tcEmpty} : static_cast<uint8_t>(code);
}

}  // namespace bd

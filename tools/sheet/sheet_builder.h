// Lays the art out on the sprite sheet: every cell where the game looks for
// it, masks made from their sprites, hole frames made from the brick.
#pragma once

#include <cstdint>
#include <vector>

#include "render/surface.h"
#include "tools/sheet/art_file.h"

namespace bd::art {

// The whole 576 x 480 sheet as 0x00RRGGBB pixels.
TSurface BuildSpriteSheet(const ArtSet& art);

// The sheet as 8-bit indices into a colour table of at most 256 entries, black first.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> colours;
  std::vector<uint8_t> indices;
};
IndexedPicture ToIndexed(const TSurface& sheet);

}  // namespace bd::art

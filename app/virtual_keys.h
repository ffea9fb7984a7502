// Virtual-key codes of the keys the game reacts to, as the shell delivers them.
#pragma once

#include <cstdint>

namespace bd {

enum TVirtualKey : uint16_t {
  vkEscape = 27,
  vkSpace = 32,
  vkLeft = 37,
  vkUp = 38,
  vkRight = 39,
  vkDown = 40,
  vkX = 88,
  vkZ = 90,
};

}  // namespace bd

// Virtual-key codes of the keys the game reacts to, as the shell delivers them.
#pragma once

#include <cstdint>

namespace bd {

enum TVirtualKey : uint16_t {
  vkReturn = 13,  // Enter, both of them: a second confirm key
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

// Virtual-key codes of the keys the game reacts to, as the shell delivers
// them, and which of them are play keys.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/tick_input.h"

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
  vkF1 = 112,  // F1 to F12 follow in order
  vkF12 = 123,
};

// Shortcut codes: a virtual key plus any of these modifiers.
inline constexpr int kShortcutShift = 8192;
inline constexpr int kShortcutCtrl = 16384;
inline constexpr int kShortcutAlt = 32768;

// A shortcut as the player reads it: "Ctrl+P", "Alt+S", "F5".
inline std::string ShortcutName(int code) {
  std::string name;
  if (code & kShortcutShift) name += "Shift+";
  if (code & kShortcutCtrl) name += "Ctrl+";
  if (code & kShortcutAlt) name += "Alt+";
  const int key = code & 0xFF;
  if (key >= vkF1 && key <= vkF12) return name + "F" + std::to_string(key - vkF1 + 1);
  return name + static_cast<char>(key);
}

// The play key a virtual key latches, if it is one.
inline std::optional<TPlayKey> PlayKeyOf(uint16_t key) {
  switch (key) {
    case vkLeft: return TPlayKey::Left;
    case vkUp: return TPlayKey::Up;
    case vkRight: return TPlayKey::Right;
    case vkDown: return TPlayKey::Down;
    case vkZ: return TPlayKey::DigLeft;
    case vkX: return TPlayKey::DigRight;
    default: return std::nullopt;
  }
}

}  // namespace bd

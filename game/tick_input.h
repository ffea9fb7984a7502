// One tick's input as plain data: what the player asks for, keyboard and
// joystick already merged, and the one option a rule reads.
#pragma once

#include <cstdint>

#include "game/joystick.h"

namespace bd {

struct TTickInput {
  bool up = false, down = false, right = false, left = false;
  bool dig_left = false, dig_right = false;
  // The ending's closing lines come only with the music on.
  bool music_on = true;
};

// The six keys of play.
enum class TPlayKey : uint8_t { Left, Up, Right, Down, DigLeft, DigRight };

// A play key sets its latch when pressed and clears it when released; the
// next tick reads the latches. Key repeat does nothing new.
struct TInputLatches {
  int32_t KeyUp = 0, KeyRight = 0, KeyDown = 0, KeyLeft = 0, KeyDigLeft = 0, KeyDigRight = 0;

  void Set(TPlayKey key, bool down) {
    const int32_t latch = down ? 1 : 0;
    switch (key) {
      case TPlayKey::Left: KeyLeft = latch; break;
      case TPlayKey::Up: KeyUp = latch; break;
      case TPlayKey::Right: KeyRight = latch; break;
      case TPlayKey::Down: KeyDown = latch; break;
      case TPlayKey::DigLeft: KeyDigLeft = latch; break;
      case TPlayKey::DigRight: KeyDigRight = latch; break;
    }
  }
};

// A key latch or the joystick's state asks for a direction or a dig.
inline TTickInput MergeInput(const TInputLatches& keys, const TJoystickState& joy, bool music_on) {
  TTickInput input;
  input.up = keys.KeyUp || joy.JoyUp;
  input.down = keys.KeyDown || joy.JoyDown;
  input.right = keys.KeyRight || joy.JoyRight;
  input.left = keys.KeyLeft || joy.JoyLeft;
  input.dig_left = keys.KeyDigLeft || joy.JoyDigLeft;
  input.dig_right = keys.KeyDigRight || joy.JoyDigRight;
  input.music_on = music_on;
  return input;
}

}  // namespace bd

// Joystick 1: the dead-zone limits taken once at start-up and the states of the last good poll.
#pragma once

#include <cstdint>

#include "platform/services.h"

namespace bd {

struct TJoystickState {
  uint8_t JoyPresent = 0;
  uint32_t JoyLeftLimit = 0, JoyRightLimit = 0, JoyUpLimit = 0, JoyDownLimit = 0;
  int32_t JoyLeft = 0, JoyRight = 0, JoyUp = 0, JoyDown = 0;
  int32_t JoyDigLeft = 0, JoyDigRight = 0;
};

// The middle third of each axis is the dead zone. Unsigned arithmetic, truncating division.
void SetJoystickLimits(TJoystickState& joy, const platform::JoyCaps& caps);

struct TJoyPollResult {
  bool cursor_up = false;
  bool cursor_down = false;
  bool confirm = false;
};

// Updates the joystick states from one position record; says which actions the poll runs.
TJoyPollResult ApplyJoystickPosition(TJoystickState& joy, const platform::JoyPos& pos);

}  // namespace bd

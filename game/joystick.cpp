#include "game/joystick.h"

namespace bd {

namespace {
// The middle third of each axis is the dead zone.
constexpr uint32_t kAxisThirds = 3;
}  // namespace

void SetJoystickLimits(TJoystickState& joy, const platform::JoyCaps& caps) {
  joy.JoyPresent = 1;
  joy.JoyLeftLimit = caps.x_min + (caps.x_max - caps.x_min) / kAxisThirds;
  joy.JoyRightLimit = caps.x_max - (caps.x_max - caps.x_min) / kAxisThirds;
  joy.JoyUpLimit = caps.y_min + (caps.y_max - caps.y_min) / kAxisThirds;
  joy.JoyDownLimit = caps.y_max - (caps.y_max - caps.y_min) / kAxisThirds;
}

TJoyPollResult ApplyJoystickPosition(TJoystickState& joy, const platform::JoyPos& pos) {
  TJoyPollResult result;
  joy.JoyLeft = pos.x < joy.JoyLeftLimit;
  joy.JoyRight = pos.x > joy.JoyRightLimit;
  joy.JoyUp = pos.y < joy.JoyUpLimit;
  result.cursor_up = joy.JoyUp != 0;
  joy.JoyDown = pos.y > joy.JoyDownLimit;
  result.cursor_down = joy.JoyDown != 0;
  // Both buttons together count as no button at all.
  joy.JoyDigLeft = pos.buttons == 1;
  result.confirm = joy.JoyDigLeft != 0;
  joy.JoyDigRight = pos.buttons == 2;
  return result;
}

}  // namespace bd

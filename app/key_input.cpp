// Keys only set latches that the next play tick reads, except Space, Escape
// and the title cursor, which act at once.
#include "app/app.h"

namespace bd {

void TApp::KeyDown(uint16_t key) {
  if (Paused()) return;
  const bool title = GameMode == gmTitle;
  switch (key) {
    case vkEscape:
      if (GameMode == gmTestPlay) EditMode();
      return;
    case vkReturn:
    case vkSpace: ConfirmAction(); return;
    case vkUp:
      if (title) return TitleCursorUp();
      break;
    case vkDown:
      if (title) return TitleCursorDown();
      break;
    default: break;
  }
  if (const auto play_key = PlayKeyOf(key)) keys_.Set(*play_key, true);
}

void TApp::KeyUp(uint16_t key) {
  // Not paused-guarded: releasing a key always clears its latch.
  if (const auto play_key = PlayKeyOf(key)) keys_.Set(*play_key, false);
}

void TApp::ReleaseHeldInput() {
  // Key-ups that went to another window would otherwise leave the runner running.
  for (const uint16_t key : {vkLeft, vkUp, vkRight, vkDown, vkX, vkZ}) KeyUp(key);
  joy.JoyLeft = joy.JoyRight = joy.JoyUp = joy.JoyDown = 0;
  joy.JoyDigLeft = joy.JoyDigRight = 0;
}

}  // namespace bd

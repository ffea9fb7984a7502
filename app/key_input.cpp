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
      break;
    case vkReturn:
    case vkSpace: ConfirmAction(); break;
    case vkLeft: game.play.keys.KeyLeft = 1; break;
    case vkUp:
      if (title) {
        TitleCursorUp();
      } else {
        game.play.keys.KeyUp = 1;
      }
      break;
    case vkRight: game.play.keys.KeyRight = 1; break;
    case vkDown:
      if (title) {
        TitleCursorDown();
      } else {
        game.play.keys.KeyDown = 1;
      }
      break;
    case vkX: game.play.keys.KeyDigRight = 1; break;
    case vkZ: game.play.keys.KeyDigLeft = 1; break;
    default: break;
  }
}

void TApp::KeyUp(uint16_t key) {
  // Not paused-guarded: releasing a key always clears its latch.
  switch (key) {
    case vkLeft: game.play.keys.KeyLeft = 0; break;
    case vkUp: game.play.keys.KeyUp = 0; break;
    case vkRight: game.play.keys.KeyRight = 0; break;
    case vkDown: game.play.keys.KeyDown = 0; break;
    case vkX: game.play.keys.KeyDigRight = 0; break;
    case vkZ: game.play.keys.KeyDigLeft = 0; break;
    default: break;
  }
}

void TApp::ReleaseHeldInput() {
  // Key-ups that went to another window would otherwise leave the runner running.
  for (const uint16_t key : {vkLeft, vkUp, vkRight, vkDown, vkX, vkZ}) KeyUp(key);
  joy.JoyLeft = joy.JoyRight = joy.JoyUp = joy.JoyDown = 0;
  joy.JoyDigLeft = joy.JoyDigRight = 0;
}

}  // namespace bd

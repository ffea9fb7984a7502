// Keys only set latches that the next play tick reads, except Space, Escape
// and the title cursor, which act at once.
#include "app/main_window.h"

namespace bd {

void TForm1::FormKeyDown(uint16_t key) {
  if (Paused()) return;
  const bool title = game.GameMode == gmTitle;
  switch (key) {
    case vkEscape:
      if (game.GameMode == gmTestPlay) Edit1Click();
      break;
    case vkSpace: ConfirmAction(); break;
    case vkLeft: play.keys.KeyLeft = 1; break;
    case vkUp:
      if (title) {
        TitleCursorUp();
      } else {
        play.keys.KeyUp = 1;
      }
      break;
    case vkRight: play.keys.KeyRight = 1; break;
    case vkDown:
      if (title) {
        TitleCursorDown();
      } else {
        play.keys.KeyDown = 1;
      }
      break;
    case vkX: play.keys.KeyDigRight = 1; break;
    case vkZ: play.keys.KeyDigLeft = 1; break;
    default: break;
  }
}

void TForm1::FormKeyUp(uint16_t key) {
  // Not paused-guarded: releasing a key always clears its latch.
  switch (key) {
    case vkLeft: play.keys.KeyLeft = 0; break;
    case vkUp: play.keys.KeyUp = 0; break;
    case vkRight: play.keys.KeyRight = 0; break;
    case vkDown: play.keys.KeyDown = 0; break;
    case vkX: play.keys.KeyDigRight = 0; break;
    case vkZ: play.keys.KeyDigLeft = 0; break;
    default: break;
  }
}

}  // namespace bd

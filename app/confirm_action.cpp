#include "app/main_window.h"

namespace bd {

void TForm1::ConfirmAction() {
  // The order of these tests matters: a finished death is looked at before
  // the editor, so after a test play that ended in a death, Space in the
  // editor does nothing until something resets DeathTicks (F4 still works).
  if (game.GameMode == gmTitle) {
    if (game.TitleChoice == 1) {
      Start1Click();
    } else {
      Edit1Click();
    }
    return;
  }
  if (play.runner.DeathTicks == kDeathTicksOver) {
    if (game.GameMode == gmGame || game.GameMode == gmTestPlay) ContinuePlay();
    return;
  }
  if (game.GameMode == gmEdit) {
    TestPlay1Click();
    return;
  }
  if (play.phase == spTally) {
    ContinuePlay();
    return;
  }
  if (game.GameMode == gmGameOver) {
    Reset1Click();
    return;
  }
}

}  // namespace bd

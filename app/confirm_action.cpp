// Space and joystick button 1, and what they do at the end of a death or on
// the tally screen.
#include "app/app.h"

namespace bd {

void TApp::ConfirmAction() {
  // The order of these tests matters: a finished death is looked at before
  // the editor, so after a test play that ended in a death, Space in the
  // editor does nothing until something resets DeathTicks (F4 still works).
  if (GameMode == gmTitle) {
    if (TitleChoice == 1) {
      StartGame();
    } else {
      EditMode();
    }
    return;
  }
  if (game.play().runner.DeathTicks == kDeathTicksOver) {
    if (GameMode == gmGame || GameMode == gmTestPlay) ContinueAfterDeathOrTally();
    return;
  }
  if (GameMode == gmEdit) {
    TestPlay();
    return;
  }
  if (game.play().phase == spTally) {
    ContinueAfterDeathOrTally();
    return;
  }
  if (GameMode == gmGameOver) {
    GoToTitle();
    return;
  }
}

void TApp::ContinueAfterDeathOrTally() {
  if (game.play().runner.DeathTicks == kDeathTicksOver) {
    SetPlayClock(false);
    if (GameMode == gmGame) {
      if (game.LoseLife() == 0) {
        ShowGameOver();
      } else {
        StartStage();
      }
    } else if (GameMode == gmTestPlay) {
      EditMode();
    }
    return;
  }
  if (game.play().phase == spTally) {
    SetPlayClock(false);
    if (GameMode == gmGame) {
      if (game.NextStage()) {
        StartStage();
      } else {
        ShowGameOver();
      }
    } else if (GameMode == gmTestPlay) {
      EditMode();
    }
  }
}

}  // namespace bd

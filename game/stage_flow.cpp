// What the confirm action does at the end of a death and on the tally screen.
#include "app/main_window.h"
#include "stage/builtin_stages.h"

namespace bd {

void TForm1::ContinuePlay() {
  if (play.runner.DeathTicks == kDeathTicksOver) {
    SetTimer1(false);
    if (game.GameMode == gmGame) {
      game.Lives -= 1;
      if (game.Lives == 0) {
        ShowGameOver();
      } else {
        StartStage();
      }
    } else if (game.GameMode == gmTestPlay) {
      Edit1Click();
    }
    return;
  }
  if (play.phase == spTally) {
    SetTimer1(false);
    if (game.GameMode == gmGame) {
      game.StageIndex += 1;
      // A set has no stage after its last one: the game ends there rather
      // than reading past the table.
      const int stage_count = game.PlayEditSet ? kEditStageCount : kBuiltInStageCount;
      if (game.StageIndex >= stage_count) {
        ShowGameOver();
      } else {
        StartStage();
      }
    } else if (game.GameMode == gmTestPlay) {
      Edit1Click();
    }
  }
}

}  // namespace bd

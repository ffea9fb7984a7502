#include "game/game.h"

#include "stage/builtin_stages.h"

namespace bd {

bool TGame::NextStage() {
  TStageProgress& progress = state_.progress;
  progress.StageIndex += 1;
  // A set has no stage after its last one: the game ends there rather than
  // reading past the table.
  const int stage_count = progress.PlayEditSet ? kEditStageCount : kBuiltInStageCount;
  return progress.StageIndex < stage_count;
}

void TGame::ResetProgress() {
  TStageProgress& progress = state_.progress;
  progress.Lives = kStartingLives;
  progress.Score = 0;
  progress.PlayEditSet = false;
}

}  // namespace bd

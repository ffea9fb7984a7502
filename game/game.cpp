#include "game/game.h"

#include <cstdio>

#include "render/draw.h"
#include "stage/builtin_stages.h"

namespace bd {

bool TGame::NextStage() {
  progress.StageIndex += 1;
  // A set has no stage after its last one: the game ends there rather than
  // reading past the table.
  const int stage_count = progress.PlayEditSet ? kEditStageCount : kBuiltInStageCount;
  return progress.StageIndex < stage_count;
}

void TGame::ResetProgress() {
  progress.Lives = 5;
  progress.Score = 0;
  progress.PlayEditSet = false;
}

void TGame::DrawScoreLines() {
  char line[32];
  std::snprintf(line, sizeof line, "SCORE %05d00", progress.Score);
  DrawText16(surfaces_.screen, surfaces_.sprite_sheet, 10, 19, line);
  std::snprintf(line, sizeof line, "HISCORE %05d00", progress.HiScore);
  DrawText16(surfaces_.screen, surfaces_.sprite_sheet, 8, 21, line);
}

}  // namespace bd

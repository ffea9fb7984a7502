// Steps of the play tick that carry the stage's flow: gold taken, the
// escape with its hidden ladders, the ending texts, the guards' step,
// leaving over the top and the tally screen.
#include <cstdio>

#include "game/actor_cells.h"
#include "game/ending_texts.h"
#include "game/game.h"
#include "game/guards.h"
#include "render/draw.h"
#include "render/raster.h"

namespace bd {

void TGame::GoldPickup() {
  const TRunner& runner = play.runner;
  const TActorCells cells = CellsAround(play.field, runner.x, runner.y);
  // Gold passed over between cells stays where it is.
  if (cells.fx != 0 || cells.fy != 0 || cells.C != tcGold) return;
  play.field.cells[TPlayField::IndexOfPixel(runner.x, runner.y)] = tcEmpty;
  FillBlack(surfaces_.screen, runner.x, runner.y, kCellPixels, kCellPixels);
  sound_.PlayEffect(seTake);
  if (--play.GoldLeft != 0) return;
  play.phase = spEscape;
  play.RowToReveal = 1;
  if (!sound_.MusicOn) return;
  if (progress.StageIndex == kEndingStageIndex) {
    sound_.music.StartMusic("mus4.mid");
    play.EndingTicks = 1;
  } else {
    sound_.music.StartMusic("mus2.mid");
  }
}

void TGame::EndingTexts() {
  if (play.EndingTicks == 0) return;
  ++play.EndingTicks;
  if (play.EndingTicks == kThanksAt) DrawText16(surfaces_.screen, surfaces_.sprite_sheet, 4, 17, kThanksLine);
  if (play.EndingTicks == kCreditAt) DrawText16(surfaces_.screen, surfaces_.sprite_sheet, 9, 20, kCreditLine);
}

void TGame::RevealHiddenLadders() {
  if (play.phase == spCollect) return;
  // Two rows a tick from the top; the edge columns are never revealed.
  for (int pass = 0; pass < 2 && play.RowToReveal < kPlayFieldRows; ++pass) {
    const int stage_row = play.RowToReveal - 1;
    for (int column = 1; column <= kStageColumns - 2; ++column) {
      int8_t& cell = play.field.cells[TPlayField::IndexOfStageCell(column, stage_row)];
      if (cell != tcHiddenLadder) continue;
      cell = tcLadder;
      TLadderList& ladders = play.ladders;
      if (ladders.count < kListCapacity) {
        ladders.X[ladders.count] = column * kCellPixels;
        ladders.Y[ladders.count] = stage_row * kCellPixels;
        ++ladders.count;
      }
    }
    ++play.RowToReveal;
  }
}

void TGame::MoveGuards() {
  if (GuardPass(play, random, TGuardCanvas{surfaces_.screen, surfaces_.sprite_sheet}))
    sound_.PlayEffect(seKill);
}

void TGame::EnterTally() {
  play.phase = spTally;
  FillBlack(surfaces_.screen, 0, 0, kImageWidth, kImageHeight);
  for (int i = 0; i < 6; ++i)
    CopyCell(surfaces_.screen, 64 + 32 * i, 352, surfaces_.sprite_sheet, TileCell(tcBrick));
  // The ladder stands one pixel into the brick row.
  for (int i = 0; i < 3; ++i)
    CopyCell(surfaces_.screen, 128, 353 + 32 * i, surfaces_.sprite_sheet, TileCell(tcLadder));
  play.runner.x = 128;
  play.runner.y = 320;
  play.runner.RunnerFrame = 45;
  CopyCell(surfaces_.screen, 192, 88, surfaces_.sprite_sheet, TileCell(tcGold));
  CopyCell(surfaces_.screen, 192, 136, surfaces_.sprite_sheet, GuardSpriteCell(19));

  const int gold = play.gold.count;
  char line[32];
  std::snprintf(line, sizeof line, "%3d00 POINTS", gold);
  DrawText16(surfaces_.screen, surfaces_.sprite_sheet, 14, 6, line);
  std::snprintf(line, sizeof line, "%3d00 POINTS", play.CrushCount);
  DrawText16(surfaces_.screen, surfaces_.sprite_sheet, 14, 9, line);
  std::snprintf(line, sizeof line, "TOTAL%4d00 POINTS", gold + play.CrushCount);
  DrawText16(surfaces_.screen, surfaces_.sprite_sheet, 8, 15, line);

  progress.Score += gold + play.CrushCount;
  progress.Lives += 1;
  play.GoldTicks = 0;
  if (progress.Score > progress.HiScore) progress.HiScore = progress.Score;
}

void TGame::TallyTick() {
  TRunner& runner = play.runner;
  FillBlack(surfaces_.screen, runner.x, runner.y, kCellPixels, kCellPixels);
  ++play.GoldTicks;
  // The runner dances among sparkles: 45, 46, 47, 48, 45...
  if (play.GoldTicks % 4 == 0) runner.RunnerFrame = runner.RunnerFrame >= 48 ? 45 : runner.RunnerFrame + 1;
}

}  // namespace bd

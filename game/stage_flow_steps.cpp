// Steps of the play tick that carry the stage's flow: gold taken, the
// escape with its hidden ladders, the ending texts, the guards' step,
// leaving over the top and the tally screen.
#include <cstdio>

#include "app/main_window.h"
#include "game/actor_cells.h"
#include "game/ending_texts.h"
#include "game/guards.h"
#include "render/draw.h"
#include "render/raster.h"

namespace bd {

void TForm1::GoldPickup() {
  const TRunner& runner = play.runner;
  const TActorCells cells = CellsAround(play.field, runner.x, runner.y);
  // Gold passed over between cells stays where it is.
  if (cells.fx != 0 || cells.fy != 0 || cells.C != tcGold) return;
  play.field.cells[TPlayField::IndexOfPixel(runner.x, runner.y)] = tcEmpty;
  FillBlack(Image1, runner.x, runner.y, kCellPixels, kCellPixels);
  PlayEffect(seTake);
  if (--play.GoldLeft != 0) return;
  play.phase = spEscape;
  play.RowToReveal = 1;
  if (!game.MusicOn) return;
  if (game.StageIndex == kEndingStageIndex) {
    music_.StartMusic("mus4.mid");
    play.EndingTicks = 1;
  } else {
    music_.StartMusic("mus2.mid");
  }
}

void TForm1::EndingTexts() {
  if (play.EndingTicks == 0) return;
  ++play.EndingTicks;
  if (play.EndingTicks == kThanksAt) DrawText16(Image1, Image2, 4, 17, kThanksLine);
  if (play.EndingTicks == kCreditAt) DrawText16(Image1, Image2, 9, 20, kCreditLine);
}

void TForm1::RevealHiddenLadders() {
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

void TForm1::MoveGuards() {
  if (GuardPass(play, random, TGuardCanvas{Image1, Image2})) PlayEffect(seKill);
}

void TForm1::ClearStage() {
  play.phase = spTally;
  FillBlack(Image1, 0, 0, kImageWidth, kImageHeight);
  for (int i = 0; i < 6; ++i) CopyCell(Image1, 64 + 32 * i, 352, Image2, TileCell(tcBrick));
  // The ladder stands one pixel into the brick row.
  for (int i = 0; i < 3; ++i) CopyCell(Image1, 128, 353 + 32 * i, Image2, TileCell(tcLadder));
  play.runner.x = 128;
  play.runner.y = 320;
  play.runner.RunnerFrame = 45;
  CopyCell(Image1, 192, 88, Image2, TileCell(tcGold));
  CopyCell(Image1, 192, 136, Image2, GuardSpriteCell(19));

  const int gold = play.gold.count;
  char line[32];
  std::snprintf(line, sizeof line, "%3d00 POINTS", gold);
  DrawText16(Image1, Image2, 14, 6, line);
  std::snprintf(line, sizeof line, "%3d00 POINTS", play.CrushCount);
  DrawText16(Image1, Image2, 14, 9, line);
  std::snprintf(line, sizeof line, "TOTAL%4d00 POINTS", gold + play.CrushCount);
  DrawText16(Image1, Image2, 8, 15, line);

  game.Score += gold + play.CrushCount;
  game.Lives += 1;
  play.GoldTicks = 0;
  if (game.Score > game.HiScore) game.HiScore = game.Score;
}

void TForm1::TallyTick() {
  TRunner& runner = play.runner;
  FillBlack(Image1, runner.x, runner.y, kCellPixels, kCellPixels);
  ++play.GoldTicks;
  // The runner dances among sparkles: 45, 46, 47, 48, 45...
  if (play.GoldTicks % 4 == 0) runner.RunnerFrame = runner.RunnerFrame >= 48 ? 45 : runner.RunnerFrame + 1;
}

}  // namespace bd

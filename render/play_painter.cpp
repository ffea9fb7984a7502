#include "render/play_painter.h"

#include <cstdio>

#include "render/draw.h"
#include "render/raster.h"
#include "render/sprite_sheet.h"
#include "stage/tile_codes.h"

namespace bd {
namespace {

// Gold sparkles change every 2 ticks, ladders shimmer every 16.
constexpr int kGoldTicksPerStep = 2;
constexpr int kLadderTicksPerStep = 16;
constexpr int kCycleSteps = 4;

// The tally's picture: a floor of six bricks, a ladder of three standing one
// pixel into it, and the gold and a guard beside their lines.
constexpr int kTallyFloorX = 64, kTallyFloorY = 352, kTallyFloorBricks = 6;
constexpr int kTallyLadderX = 128, kTallyLadderY = 353, kTallyLadderCells = 3;
constexpr int kTallyIconX = 192, kTallyGoldY = 88, kTallyGuardY = 136;
constexpr int kTallyGuardFrame = 19;

// The picture a stage cell leaves in the background: ladders and gold are
// drawn every tick from their lists, a trap brick passes for brick.
uint8_t BackgroundTile(uint8_t code) {
  switch (code) {
    case tcLadder:
    case tcHiddenLadder:
    case tcGold:
    case tcGuardStart:
    case tcRunnerStart: return tcEmpty;
    case tcTrapBrick: return tcBrick;
    default: return code;
  }
}

}  // namespace

void TPlayPainter::PaintStageCell(int column, int row, uint8_t code) {
  // Codes past the tile row's end still name a cell of the sheet's width;
  // the copy clips whatever lies beyond it.
  CopyCell(background_, column * kCellPixels, row * kCellPixels, sheet_, TileCell(BackgroundTile(code)));
}

void TPlayPainter::ShowBanner(int stage_number, int lives, int score, int hiscore) {
  screen_.FillBlack();
  char line[40];
  std::snprintf(line, sizeof line, "STAGE %2d  LEFT %d", stage_number, lives);
  DrawText16(screen_, sheet_, kBannerColumn, kBannerRow, line);
  DrawScoreLines(score, hiscore);
}

void TPlayPainter::ShowStage() {
  BlockTransfer(screen_, 0, 0, background_, 0, 0, kImageWidth, kImageHeight, TRasterOp::Copy);
}

void TPlayPainter::DrawScoreLines(int score, int hiscore) {
  char line[32];
  std::snprintf(line, sizeof line, "SCORE %05d00", score);
  DrawText16(screen_, sheet_, kScoreColumn, kScoreRow, line);
  std::snprintf(line, sizeof line, "HISCORE %05d00", hiscore);
  DrawText16(screen_, sheet_, kHiScoreColumn, kHiScoreRow, line);
}

void TPlayPainter::EraseActor(int x, int y) { RestoreFromBackground(screen_, background_, x, y); }

void TPlayPainter::DrawGold(int gold_ticks, int x, int y) {
  CopyCell(screen_, x, y, sheet_, GoldFrameCell((gold_ticks / kGoldTicksPerStep) % kCycleSteps));
}

void TPlayPainter::DrawLadder(int ladder_ticks, int x, int y) {
  CopyCell(screen_, x, y, sheet_, LadderFrameCell((ladder_ticks / kLadderTicksPerStep) % kCycleSteps));
}

void TPlayPainter::ClearTakenGold(int x, int y) { FillBlack(screen_, x, y, kCellPixels, kCellPixels); }

void TPlayPainter::DrawRunner(int frame, int x, int y) {
  DrawActor(screen_, sheet_, RunnerSpriteCell(frame), RunnerMaskCell(frame), x, y);
}

void TPlayPainter::DrawGuard(int frame, int x, int y) {
  DrawActor(screen_, sheet_, GuardSpriteCell(frame), GuardMaskCell(frame), x, y);
}

void TPlayPainter::DrawHole(int counter, int column, int row) {
  if (HoleCounterShown(counter))
    CopyCell(screen_, column * kCellPixels, row * kCellPixels, sheet_, HoleFrameCell(counter));
}

void TPlayPainter::OpenHoleInBackground(int column, int row) {
  FillBlack(background_, column * kCellPixels, row * kCellPixels, kCellPixels, kCellPixels);
}

void TPlayPainter::RefillHoleInBackground(int column, int row) {
  CopyCell(background_, column * kCellPixels, row * kCellPixels, sheet_, TileCell(tcBrick));
}

void TPlayPainter::DrawEndingLine(TEndingLine line) {
  if (line == TEndingLine::Thanks) {
    DrawText16(screen_, sheet_, kThanksColumn, kThanksRow, kThanksLine);
  } else {
    DrawText16(screen_, sheet_, kCreditColumn, kCreditRow, kCreditLine);
  }
}

void TPlayPainter::ShowTally(int gold, int crushed) {
  FillBlack(screen_, 0, 0, kImageWidth, kImageHeight);
  for (int i = 0; i < kTallyFloorBricks; ++i)
    CopyCell(screen_, kTallyFloorX + kCellPixels * i, kTallyFloorY, sheet_, TileCell(tcBrick));
  for (int i = 0; i < kTallyLadderCells; ++i)
    CopyCell(screen_, kTallyLadderX, kTallyLadderY + kCellPixels * i, sheet_, TileCell(tcLadder));
  CopyCell(screen_, kTallyIconX, kTallyGoldY, sheet_, TileCell(tcGold));
  CopyCell(screen_, kTallyIconX, kTallyGuardY, sheet_, GuardSpriteCell(kTallyGuardFrame));

  char line[32];
  std::snprintf(line, sizeof line, "%3d00 POINTS", gold);
  DrawText16(screen_, sheet_, kTallyGoldColumn, kTallyGoldRow, line);
  std::snprintf(line, sizeof line, "%3d00 POINTS", crushed);
  DrawText16(screen_, sheet_, kTallyCrushColumn, kTallyCrushRow, line);
  std::snprintf(line, sizeof line, "TOTAL%4d00 POINTS", gold + crushed);
  DrawText16(screen_, sheet_, kTallyTotalColumn, kTallyTotalRow, line);
}

void TPlayPainter::ClearTallyRunner(int x, int y) { FillBlack(screen_, x, y, kCellPixels, kCellPixels); }

}  // namespace bd

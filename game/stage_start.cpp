// Stage start: one stage turned into the live play state and its opening picture.
#include <cstdio>

#include "game/game.h"
#include "render/draw.h"
#include "render/raster.h"
#include "stage/stage_source.h"

namespace bd {
namespace {

void ResetSlots(TPlayState& play) {
  play.guards.State.fill(0);
  play.holes.timer.fill(0);
}

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

// Converts one stage cell into its field value and list entries.
void ConvertCell(TPlayState& play, uint8_t code, int column, int row) {
  const int x = column * kCellPixels;
  const int y = row * kCellPixels;
  int8_t value = static_cast<int8_t>(code);
  switch (code) {
    case tcLadder:
      if (play.ladders.count < kListCapacity) {
        play.ladders.X[play.ladders.count] = x;
        play.ladders.Y[play.ladders.count] = y;
        ++play.ladders.count;
      }
      break;
    case tcTrapBrick:
      value = tcEmpty;  // looks like brick, holds nothing
      break;
    case tcGold:
      if (play.gold.count < kListCapacity) {
        play.gold.present[play.gold.count] = 1;
        play.gold.X[play.gold.count] = x;
        play.gold.Y[play.gold.count] = y;
        ++play.gold.count;
      }
      break;
    case tcGuardStart:
      value = tcEmpty;
      if (play.guard_count < kListCapacity) {  // later starts are ignored
        const int slot = play.guard_count++;
        play.guards.State[slot] = 1;
        play.guards.X[slot] = x;
        play.guards.Y[slot] = y;
        play.guards.DX[slot] = 4;
        play.guards.DY[slot] = 0;
        play.guards.Frame[slot] = 18;
      }
      break;
    case tcRunnerStart:
      value = tcEmpty;
      play.runner.x = x;  // the last start in reading order wins
      play.runner.y = y;
      play.runner.RunnerFrame = 18;
      break;
    default: break;
  }
  play.field.cells[TPlayField::IndexOfStageCell(column, row)] = value;
}

}  // namespace

void TGame::StartStage(const TEditSet* edited_set, bool with_banner) {
  ResetSlots(play);

  const TStageGrid* source = SourceGridForStage(progress.StageIndex, edited_set, stage_scratch_);
  if (source == nullptr) {
    // No stage of that index: play an empty frame rather than read outside a table.
    ClearToFrame(stage_scratch_);
    source = &stage_scratch_;
  }

  play.field.WriteVirtualRow();

  play.gold.count = 0;
  play.ladders.count = 0;
  play.guard_count = 0;
  play.runner.x = 32;
  play.runner.y = 0;
  play.runner.RunnerFrame = 18;  // also for a stage without a runner start

  for (int row = 0; row < kStageRows; ++row) {
    for (int column = 0; column < kStageColumns; ++column) {
      const uint8_t code = source->at(column, row);
      ConvertCell(play, code, column, row);
      // Codes past the tile row's end still name a cell of the sheet's width;
      // the copy clips whatever lies beyond it.
      CopyCell(surfaces_.background, column * kCellPixels, row * kCellPixels, surfaces_.sprite_sheet,
               TileCell(BackgroundTile(code)));
    }
  }

  play.phase = spCollect;
  play.GoldTicks = 0;
  play.LadderTicks = 0;
  play.keys = TInputLatches{};
  play.runner.DigTicks = 0;
  play.runner.DeathTicks = 0;
  play.runner.IdleTicks = 0;
  play.EndingTicks = 0;
  play.runner.StepX = 0;
  play.runner.StepY = 0;
  play.CrushCount = 0;
  play.GoldLeft = play.gold.count;

  if (sound_.MusicOn) sound_.music.StartMusic("mus1.mid");

  surfaces_.screen.FillBlack();

  if (!with_banner) {
    play.StartDelay = 0;
    BlockTransfer(surfaces_.screen, 0, 0, surfaces_.background, 0, 0, kImageWidth, kImageHeight,
                  TRasterOp::Copy);
  } else {
    play.StartDelay = kBannerTicks;
    char line[40];
    std::snprintf(line, sizeof line, "STAGE %2d  LEFT %d", progress.StageIndex + 1, progress.Lives);
    DrawText16(surfaces_.screen, surfaces_.sprite_sheet, 8, 9, line);
    DrawScoreLines();
  }
}

}  // namespace bd

// Stage start: one stage turned into the live play state and its opening picture.
#include "game/game.h"
#include "stage/stage_source.h"

namespace bd {
namespace {

void ResetSlots(TPlayState& play) {
  play.guards.State.fill(0);
  play.holes.timer.fill(0);
}

// A guard starts walking right, a step of 4 pixels, in its first right-facing frame.
constexpr int kGuardStartStep = 4;
constexpr int kGuardStartFrame = 18;
// The runner's standing frame, also for a stage without a runner start.
constexpr int kRunnerStartFrame = 18;
// Where the runner stands when the stage has no runner start.
constexpr int kDefaultRunnerX = 32;

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
        play.guards.DX[slot] = kGuardStartStep;
        play.guards.DY[slot] = 0;
        play.guards.Frame[slot] = kGuardStartFrame;
      }
      break;
    case tcRunnerStart:
      value = tcEmpty;
      play.runner.x = x;  // the last start in reading order wins
      play.runner.y = y;
      play.runner.RunnerFrame = kRunnerStartFrame;
      break;
    default: break;
  }
  play.field.Write(column, TPlayField::FieldRowOfStageRow(row), value);
}

}  // namespace

TSoundCueList TGame::StartStage(const TEditSet* edited_set, bool with_banner) {
  TPlayState& play = state_.play;
  const TStageProgress& progress = state_.progress;
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
  play.runner.x = kDefaultRunnerX;
  play.runner.y = 0;
  play.runner.RunnerFrame = kRunnerStartFrame;

  for (int row = 0; row < kStageRows; ++row) {
    for (int column = 0; column < kStageColumns; ++column) {
      const uint8_t code = source->at(column, row);
      ConvertCell(play, code, column, row);
      if (painter_) painter_->PaintStageCell(column, row, code);
    }
  }

  play.phase = spCollect;
  play.GoldTicks = 0;
  play.LadderTicks = 0;
  play.runner.DigTicks = 0;
  play.runner.DeathTicks = 0;
  play.runner.IdleTicks = 0;
  play.EndingTicks = 0;
  play.runner.StepX = 0;
  play.runner.StepY = 0;
  play.CrushCount = 0;
  play.GoldLeft = play.gold.count;

  if (!with_banner) {
    play.StartDelay = 0;
    if (painter_) painter_->ShowStage();
  } else {
    play.StartDelay = kBannerTicks;
    if (painter_)
      painter_->ShowBanner(progress.StageIndex + 1, progress.Lives, progress.Score, progress.HiScore);
  }
  TSoundCueList cues;
  cues.Music(TMusicPiece::Stage);
  return cues;
}

}  // namespace bd

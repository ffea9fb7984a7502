// Steps of the play tick that carry the stage's flow: gold taken, the
// escape with its hidden ladders, the ending texts, the guards' step,
// leaving over the top and the tally screen.
#include "game/actor_cells.h"
#include "game/ending_texts.h"
#include "game/game.h"
#include "game/guards.h"

namespace bd {
namespace {

// Hidden ladders appear two rows a tick, from the top.
constexpr int kRevealRowsPerTick = 2;
// The tally's runner: he dances through frames 45 to 48, a step every 4 ticks.
constexpr int kTallyFirstFrame = 45;
constexpr int kTallyLastFrame = 48;
constexpr int kTallyTicksPerFrame = 4;

}  // namespace

void TGame::GoldPickup(const TTickInput& input, TSoundCueList& cues) {
  TPlayState& play = state_.play;
  const TRunner& runner = play.runner;
  const TActorCells cells = CellsAround(play.field, runner.x, runner.y);
  // Gold passed over between cells stays where it is.
  if (cells.fx != 0 || cells.fy != 0 || cells.C != tcGold) return;
  play.field.Write(cells.column, cells.row, tcEmpty);
  if (painter_) painter_->ClearTakenGold(runner.x, runner.y);
  cues.Effect(seTake);
  if (--play.GoldLeft != 0) return;
  play.phase = spEscape;
  play.RowToReveal = 1;
  if (state_.progress.StageIndex == kEndingStageIndex) {
    cues.Music(TMusicPiece::Ending);
    // The closing lines belong to the ending's music: with the music off
    // the last stage ends without them.
    if (input.music_on) play.EndingTicks = 1;
  } else {
    cues.Music(TMusicPiece::Escape);
  }
}

void TGame::EndingTexts() {
  TPlayState& play = state_.play;
  if (play.EndingTicks == 0) return;
  ++play.EndingTicks;
  if (!painter_) return;
  if (play.EndingTicks == kThanksAt) painter_->DrawEndingLine(TEndingLine::Thanks);
  if (play.EndingTicks == kCreditAt) painter_->DrawEndingLine(TEndingLine::Credit);
}

void TGame::RevealHiddenLadders() {
  TPlayState& play = state_.play;
  if (play.phase == spCollect) return;
  // The edge columns are never revealed.
  for (int pass = 0; pass < kRevealRowsPerTick && play.RowToReveal < kPlayFieldRows; ++pass) {
    const int field_row = play.RowToReveal;
    for (int column = 1; column <= kStageColumns - 2; ++column) {
      if (play.field.Read(column, field_row) != tcHiddenLadder) continue;
      play.field.Write(column, field_row, tcLadder);
      TLadderList& ladders = play.ladders;
      if (ladders.count < kListCapacity) {
        ladders.X[ladders.count] = column * kCellPixels;
        ladders.Y[ladders.count] = (field_row - 1) * kCellPixels;
        ++ladders.count;
      }
    }
    ++play.RowToReveal;
  }
}

void TGame::MoveGuards(TSoundCueList& cues) {
  if (GuardPass(state_.play, state_.random, painter_)) cues.Effect(seKill);
}

void TGame::EnterTally() {
  TPlayState& play = state_.play;
  TStageProgress& progress = state_.progress;
  play.phase = spTally;
  play.runner.x = kTallyRunnerX;
  play.runner.y = kTallyRunnerY;
  play.runner.RunnerFrame = kTallyFirstFrame;
  const int gold = play.gold.count;
  if (painter_) painter_->ShowTally(gold, play.CrushCount);

  progress.Score += gold + play.CrushCount;
  progress.Lives += 1;
  play.GoldTicks = 0;
  if (progress.Score > progress.HiScore) progress.HiScore = progress.Score;
}

void TGame::TallyTick() {
  TPlayState& play = state_.play;
  TRunner& runner = play.runner;
  if (painter_) painter_->ClearTallyRunner(runner.x, runner.y);
  ++play.GoldTicks;
  if (play.GoldTicks % kTallyTicksPerFrame == 0)
    runner.RunnerFrame = runner.RunnerFrame >= kTallyLastFrame ? kTallyFirstFrame : runner.RunnerFrame + 1;
}

}  // namespace bd

// PlayTick, the play tick: one 24 ms step of the whole stage. With a painter
// attached the screen is changed incrementally as the steps run.
#include "game/game.h"
#include "game/holes.h"
#include "game/runner.h"

namespace bd {
namespace {

// The runner's death: frames 36 to 44 two ticks each; 44 is empty: he has vanished.
constexpr int kFirstDeathFrame = 36;
constexpr int kTicksPerDeathFrame = 2;

}  // namespace

TSoundCueList TGame::PlayTick(const TTickInput& input) {
  TSoundCueList cues;
  TPlayState& play = state_.play;
  if (play.phase == spTally) {
    TallyTick();
    DrawRunner();
    return cues;
  }

  // The banner stays up; nothing moves and the latches wait.
  if (play.StartDelay != 0) {
    --play.StartDelay;
    if (play.StartDelay != 0) return cues;
    if (painter_) painter_->ShowStage();
  }

  EraseActors();
  DrawGold();
  DrawLadders();
  MoveRunnerStep(input, cues);
  GoldPickup(input, cues);
  EndingTexts();
  if (play.runner.DeathTicks == 0 && RunnerCrushed(play)) play.runner.DeathTicks = 1;
  RevealHiddenLadders();
  MoveGuards(cues);
  DrawRunner();
  if (play.runner.y == -kCellPixels && play.phase == spEscape) EnterTally();
  return cues;
}

void TGame::EraseActors() {
  if (!painter_) return;
  const TPlayState& play = state_.play;
  painter_->EraseActor(play.runner.x, play.runner.y);
  for (int i = 0; i < kListCapacity; ++i) {
    if (play.guards.State[i] != 0) painter_->EraseActor(play.guards.X[i], play.guards.Y[i]);
  }
}

void TGame::DrawGold() {
  TPlayState& play = state_.play;
  const int gold_ticks = play.GoldTicks++;
  TGoldList& gold = play.gold;
  for (int i = 0; i < gold.count; ++i) {
    if (!gold.present[i]) continue;
    if (play.field.ReadPixel(gold.X[i], gold.Y[i]) != tcGold) {
      gold.present[i] = 0;  // taken: never drawn again
      continue;
    }
    if (painter_) painter_->DrawGold(gold_ticks, gold.X[i], gold.Y[i]);
  }
}

void TGame::DrawLadders() {
  TPlayState& play = state_.play;
  const int ladder_ticks = play.LadderTicks++;
  if (!painter_) return;
  for (int i = 0; i < play.ladders.count; ++i)
    painter_->DrawLadder(ladder_ticks, play.ladders.X[i], play.ladders.Y[i]);
}

void TGame::MoveRunnerStep(const TTickInput& input, TSoundCueList& cues) {
  TPlayState& play = state_.play;
  TRunner& runner = play.runner;
  if (runner.DeathTicks != 0) {
    DyingStep(cues);
    return;
  }
  HolePass(play, painter_);
  if (runner.DigTicks != 0) {
    DiggingPause(runner);
    return;
  }
  const TActorCells before = CellsAround(play.field, runner.x, runner.y);
  if (MoveRunner(play, input)) {
    runner.IdleTicks = 0;
  } else {
    SetIdleFrames(runner, before);
  }
  if (TryDig(play, input, painter_)) cues.Effect(seDig);
}

void TGame::DyingStep(TSoundCueList& cues) {
  TRunner& runner = state_.play.runner;
  if (runner.DeathTicks == 1) {
    cues.StopMusic();
    cues.Effect(seDying);
  }
  runner.RunnerFrame = kFirstDeathFrame + (runner.DeathTicks - 1) / kTicksPerDeathFrame;
  if (runner.DeathTicks != kDeathTicksOver) ++runner.DeathTicks;
}

void TGame::DrawRunner() {
  const TRunner& runner = state_.play.runner;
  if (painter_) painter_->DrawRunner(runner.RunnerFrame, runner.x, runner.y);
}

}  // namespace bd

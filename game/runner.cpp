#include "game/runner.h"

#include "game/actor_frames.h"
#include "game/guard_contacts.h"

namespace bd {
namespace {

constexpr int kIdleTurnTicks = 20;
constexpr int kIdleTurnEvery = 10;

void FallingFrames(TRunner& runner) {
  int32_t& f = runner.RunnerFrame;
  if ((f >= kRunnerFallLeft && f <= kRunnerFallLeft + 2) ||
      (f >= kRunnerFallRight && f <= kRunnerFallRight + 2)) {
    ++f;
  } else {
    f = runner.StepX == kRunnerStep ? kRunnerFallRight : kRunnerFallLeft;
  }
}

void ClimbingFrames(TRunner& runner) {
  int32_t& f = runner.RunnerFrame;
  f = (f >= kRunnerClimb && f <= kRunnerClimb + 2) ? f + 1 : kRunnerClimb;
}

// Used while a vertical key carries the runner on to the next cell edge.
// The odd ranges are kept as they are: a climbing pose just steps on.
void WalkingOnFrames(TRunner& runner) {
  int32_t& f = runner.RunnerFrame;
  if (f == kRunnerRunLeft + 2) {
    f = kRunnerRunLeft;
  } else if (f == kRunnerRunRight + 2) {
    f = kRunnerRunRight;
  } else if (f >= kRunnerStandLeft && f <= kRunnerRunRight + 1) {
    ++f;
  }
}

void StepFrames(TRunner& runner, bool on_bar, bool right) {
  int32_t& f = runner.RunnerFrame;
  if (on_bar) {
    const int first = right ? kRunnerBarRight : kRunnerBarLeft;
    f = (f >= first && f <= first + 2) ? f + 1 : first;
  } else {
    const int first = right ? kRunnerRunRight : kRunnerRunLeft;
    f = (f >= first && f <= first + 1) ? f + 1 : first;
  }
}

bool Supported(const TPlayState& play, const TActorCells& cells) {
  const TRunner& r = play.runner;
  return cells.C == tcLadder || (cells.fy == 0 && cells.C == tcBar) || Supporting(cells.B) ||
         StandsOnGuard(play, r.x, r.y);
}

// M3: the first pressed direction in the order up, down, right, left.
bool MoveByKeys(TRunner& runner, const TActorCells& cells, const TTickInput& input) {
  const int fx = cells.fx;
  const int fy = cells.fy;
  if (input.up) {
    if (fx != 0) {
      runner.x += runner.StepX;
      WalkingOnFrames(runner);
      return true;
    }
    if (fy == 0 && (cells.C != tcLadder || Blocking(cells.A))) return false;
    runner.y -= kRunnerStep;
    runner.StepY = -kRunnerStep;
    ClimbingFrames(runner);
    return true;
  }
  if (input.down) {
    if (fx != 0) {
      runner.x += runner.StepX;
      WalkingOnFrames(runner);
      return true;
    }
    if (cells.B == tcLadder || ((cells.C == tcLadder || cells.C == tcBar) && !Blocking(cells.B))) {
      runner.y += kRunnerStep;
      runner.StepY = kRunnerStep;
      ClimbingFrames(runner);
      return true;
    }
    return false;
  }
  if (input.right || input.left) {
    const bool right = input.right;
    if (fy != 0) {
      // He finishes the climb in his last vertical direction first.
      runner.y += runner.StepY;
      ClimbingFrames(runner);
      return true;
    }
    if (fx == 0 && Blocking(right ? cells.R : cells.L)) return false;
    runner.StepX = right ? kRunnerStep : -kRunnerStep;
    runner.x += runner.StepX;
    const bool on_bar =
        (fx < kBarGripPixels && cells.C == tcBar) || (fx > kBarGripPixels && cells.R == tcBar);
    StepFrames(runner, on_bar, right);
    return true;
  }
  return false;
}

}  // namespace

bool StandsOnGuard(const TPlayState& play, int x, int y) {
  return GuardNear(play.guards, x, y + kCellPixels);
}

bool MoveRunner(TPlayState& play, const TTickInput& input) {
  TRunner& runner = play.runner;
  const TActorCells cells = CellsAround(play.field, runner.x, runner.y);

  // M1: walking right over a gap, he drops in once 24 pixels into it.
  if (cells.fx == kGapDropPixels && cells.R != tcLadder && !(cells.fy == 0 && cells.R == tcBar) &&
      !Supporting(cells.BR) && !StandsOnGuard(play, runner.x, runner.y)) {
    runner.x += kRunnerStep;
    FallingFrames(runner);
    return true;
  }

  // M2: unsupported, he slides back onto his cell, then falls; a fall always ends aligned.
  if (!Supported(play, cells)) {
    FallingFrames(runner);
    if (cells.fx != 0) {
      runner.x -= kRunnerStep;
    } else {
      runner.y += kRunnerStep;
    }
    return true;
  }

  return MoveByKeys(runner, cells, input);
}

void SetIdleFrames(TRunner& runner, const TActorCells& cells) {
  int32_t& f = runner.RunnerFrame;
  const bool facing_right = runner.StepX == kRunnerStep;
  if (cells.fy == 0 && ((cells.fx <= kIdleBarGripPixels && cells.C == tcBar) ||
                        (cells.fx > kIdleBarGripPixels && cells.R == tcBar))) {
    const bool hanging = (f >= kRunnerBarLeft && f <= kRunnerBarLeft + kRunnerPoseFrames - 1) ||
                         (f >= kRunnerBarRight && f <= kRunnerBarRight + kRunnerPoseFrames - 1);
    if (!hanging) f = facing_right ? kRunnerBarRight : kRunnerBarLeft;
    return;
  }
  if (cells.fy != 0 || cells.C == tcLadder) return;

  // Standing: after 20 ticks he turns to face the other way every 10 ticks.
  ++runner.IdleTicks;
  if (runner.IdleTicks == kIdleTurnTicks) {
    f = f == kRunnerStandRight ? kRunnerStandLeft : kRunnerStandRight;
  } else if (runner.IdleTicks == kIdleTurnTicks + kIdleTurnEvery) {
    runner.IdleTicks = kIdleTurnTicks;
    f = f == kRunnerStandRight ? kRunnerStandLeft : kRunnerStandRight;
  } else if (runner.IdleTicks < kIdleTurnTicks && f != kRunnerDigLeft && f != kRunnerDigRight) {
    f = facing_right ? kRunnerStandRight : kRunnerStandLeft;
  }
}

}  // namespace bd

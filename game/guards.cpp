#include "game/guards.h"

#include <cstdlib>

#include "game/actor_cells.h"
#include "game/actor_frames.h"
#include "game/guard_contacts.h"

namespace bd {
namespace {

constexpr int kStep = 4;

// One slot's values while its step is worked out; the table keeps the old
// ones until the end, so the guard never meets itself in GuardNear.
struct TGuard {
  int S, X, Y, DX, DY, Frame;
  int shake = 0;
};

bool FallingFrame(int frame) {
  return frame == kGuardFallLeft || frame == kGuardFallLeft + 1 || frame == kGuardFallRight ||
         frame == kGuardFallRight + 1;
}

int NextFallingFrame(int frame, int dx) {
  if (dx < 0) return frame == kGuardFallLeft ? kGuardFallLeft + 1 : kGuardFallLeft;
  return frame == kGuardFallRight ? kGuardFallRight + 1 : kGuardFallRight;
}
int NextClimbingFrame(int frame) {
  return frame >= kGuardClimb && frame <= kGuardClimb + 2 ? frame + 1 : kGuardClimb;
}
int NextLeftFrame(int frame, bool on_bar) {
  if (on_bar) return frame >= kGuardBarLeft && frame <= kGuardBarLeft + 2 ? frame + 1 : kGuardBarLeft;
  return frame >= kGuardRunLeft && frame <= kGuardRunLeft + 1 ? frame + 1 : kGuardRunLeft;
}
int NextRightFrame(int frame, bool on_bar) {
  if (on_bar) return frame >= kGuardBarRight && frame <= kGuardBarRight + 2 ? frame + 1 : kGuardBarRight;
  return frame >= kGuardRunRight && frame <= kGuardRunRight + 1 ? frame + 1 : kGuardRunRight;
}

int Toward(int x, int runner_x) { return x < runner_x ? kStep : -kStep; }

// A bar moves down like a fall, anything else like a climb.
void DownwardFrame(TGuard& g, const TActorCells& c) {
  g.Frame = c.C == tcBar ? NextFallingFrame(g.Frame, g.DX) : NextClimbingFrame(g.Frame);
}

// Going on with a ladder or a bar, or leaving it. False when the guard's
// move is over; true when it goes on to walk.
bool VerticalStep(TGuard& g, const TActorCells& c, int rx, int ry) {
  if (g.DY == kStep) {
    if (rx == g.X && ry < g.Y) {
      g.DY = -kStep;
      return false;
    }
    if (c.fy == 0 && (c.B != tcLadder || g.Y == ry)) {
      g.DY = 0;
      g.DX = Toward(g.X, rx);
      return true;
    }
    g.Y += kStep;
    DownwardFrame(g, c);
    return false;
  }
  if (g.DY == -kStep) {
    // A guard climbing out of a hole does not turn back.
    if (g.S == kGuardFree && rx == g.X && ry > g.Y) {
      g.DY = kStep;
      return false;
    }
    if (c.fy == 0 && c.C != tcHole && (c.C != tcLadder || Blocking(c.A) || g.Y == ry)) {
      g.DY = 0;
      g.S = kGuardFree;
      g.DX = Toward(g.X, rx);
      return true;
    }
    g.Y -= kStep;
    g.Frame = NextClimbingFrame(g.Frame);
    return false;
  }
  if (c.fx == 0 && ry > g.Y && (c.B == tcLadder || ((c.C == tcLadder || c.C == tcBar) && !Blocking(c.B)))) {
    g.DY = kStep;
    g.Y += kStep;
    DownwardFrame(g, c);
    return false;
  }
  if (c.fx == 0 && c.C == tcLadder && !Blocking(c.A) && ry < g.Y) {
    g.DY = -kStep;
    g.Y -= kStep;
    g.Frame = NextClimbingFrame(g.Frame);
    return false;
  }
  return true;
}

// Walking on by its heading; turning back costs the tick.
void HorizontalStep(TGuard& g, const TActorCells& c, const TGuardTable& guards, int rx, int ry) {
  const bool on_bar = (c.fx < kBarGripPixels && c.C == tcBar) || (c.fx > kBarGripPixels && c.R == tcBar);
  if (g.DX == -kStep) {
    // Turns toward a runner on its row behind it, or at a wall or another guard.
    if ((g.Y == ry && g.X < rx) ||
        (c.fx == 0 && (Blocking(c.L) || GuardNear(guards, g.X - kCellPixels, g.Y)))) {
      g.DX = kStep;
    } else {
      g.X -= kStep;
      g.Frame = NextLeftFrame(g.Frame, on_bar);
    }
    return;
  }
  if ((g.Y == ry && g.X > rx) ||
      (c.fx == 0 && (Blocking(c.R) || GuardNear(guards, g.X + kCellPixels, g.Y)))) {
    g.DX = -kStep;
  } else {
    g.X += kStep;
    g.Frame = NextRightFrame(g.Frame, on_bar);
  }
}

// A free or trapped guard: trapped, falling, on a ladder or walking, in that order.
void Decide(TGuard& g, const TPlayState& play) {
  const int rx = play.runner.x;
  const int ry = play.runner.y;
  const TActorCells c = CellsAround(play.field, g.X, g.Y);

  if (c.C == tcHole && FallingFrame(g.Frame) && c.fy == 0) {
    if (g.S == kGuardShakesRightAt1 || g.S == kGuardShakesRightAt2) g.shake = kGuardShakePixels;
    if (g.S == kGuardShakesLeftAt1 || g.S == kGuardShakesLeftAt2) g.shake = -kGuardShakePixels;
    if (g.S != kGuardClimbsOut) {
      ++g.S;
      return;
    }
    if (c.A != tcEmpty) {
      g.S = kGuardTrapped;  // something above: it counts again
      return;
    }
    g.DY = -kStep;
  }

  if (c.fx == 0 && g.S == kGuardFree && !Supporting(c.B) && c.C != tcBar && c.C != tcLadder &&
      !GuardAt(play.guards, g.X, g.Y + kCellPixels)) {
    g.Frame = NextFallingFrame(g.Frame, g.DX);
    g.Y += kStep;
    return;
  }

  if (VerticalStep(g, c, rx, ry)) HorizontalStep(g, c, play.guards, rx, ry);
}

// Crushed guards wait, pick a free top cell and grow back there. False
// while the guard is not to be drawn.
bool ComeBack(TGuard& g, const TPlayField& field, TRandom& random) {
  ++g.S;
  if (g.S < kGuardPicksColumn) return false;
  if (g.S == kGuardPicksColumn) {
    // Any column but the two edges.
    const int column = random.Next() % (kStageColumns - 2) + 1;
    g.Y = 0;
    g.Frame = kGuardGrowing;
    if (field.Read(column, TPlayField::FieldRowOfStageRow(0)) != tcEmpty) {
      g.S = kGuardPicksColumn - 1;  // taken: pick again next tick
    } else {
      g.X = column * kCellPixels;
    }
    return false;
  }
  ++g.Frame;
  if (g.S == kGuardReturns) {
    g.DX = kStep;
    g.DY = 0;
    g.Frame = kGuardFallLeft;
    g.S = kGuardFree;
  }
  return true;
}

bool Touches(const TRunner& runner, int x, int y) {
  return runner.x < x + kCatchOverlapPixels &&
         x + kCatchOverlapPixels < runner.x + kCellPixels - kCatchOverlapPixels &&
         std::abs(runner.y - y) < kCellPixels;
}

}  // namespace

bool GuardPass(TPlayState& play, TRandom& random, TPlayPainter* painter) {
  TGuardTable& table = play.guards;
  TRunner& runner = play.runner;
  bool crushed = false;
  for (int i = 0; i < kListCapacity; ++i) {
    if (table.State[i] == 0) continue;
    TGuard g{table.State[i], table.X[i], table.Y[i], table.DX[i], table.DY[i], table.Frame[i]};
    const TGuard before = g;

    bool shown = true;
    if (g.S >= kGuardCrushed) {
      shown = ComeBack(g, play.field, random);
    } else {
      Decide(g, play);
    }
    if (shown) {
      if (OverlapsBrick(CellsAround(play.field, g.X, g.Y))) {
        g.S = kGuardCrushed;
        ++play.CrushCount;
        crushed = true;
      } else {
        if (runner.DeathTicks != 0) {
          // Frozen while the runner dies; State, DX and DY still change.
          g.X = before.X;
          g.Y = before.Y;
          g.Frame = before.Frame;
          g.shake = 0;
        }
        if (painter) painter->DrawGuard(g.Frame, g.X + g.shake, g.Y);
        if (runner.DeathTicks == 0 && Touches(runner, g.X, g.Y)) runner.DeathTicks = 1;
      }
    }

    table.State[i] = static_cast<int8_t>(g.S);
    table.X[i] = g.X;
    table.Y[i] = g.Y;
    table.DX[i] = g.DX;
    table.DY[i] = g.DY;
    table.Frame[i] = g.Frame;
  }
  return crushed;
}

}  // namespace bd

#include "game/holes.h"

#include "game/actor_frames.h"
#include "game/guard_contacts.h"

namespace bd {
namespace {

void SetStageCell(TPlayState& play, int column, int row, int8_t value) {
  play.field.Write(column, TPlayField::FieldRowOfStageRow(row), value);
}

void DiggingFrame(TRunner& runner, bool left) {
  int32_t& f = runner.RunnerFrame;
  const bool climbing = f >= kRunnerClimb && f <= kRunnerClimb + kRunnerPoseFrames - 1;
  const bool on_bar_left = f >= kRunnerBarLeft && f <= kRunnerBarLeft + kRunnerPoseFrames - 1;
  const bool on_bar_right = f >= kRunnerBarRight && f <= kRunnerBarRight + kRunnerPoseFrames - 1;
  // A climbing runner keeps his pose; one on a bar turns on it toward the hole.
  if (left) {
    if (climbing || on_bar_left) return;
    f = on_bar_right ? kRunnerBarLeft + 1 : kRunnerDigLeft;
  } else {
    if (climbing || on_bar_right) return;
    f = on_bar_left ? kRunnerBarRight + 1 : kRunnerDigRight;
  }
}

}  // namespace

void HolePass(TPlayState& play, TPlayPainter* painter) {
  THoleTable& holes = play.holes;
  for (int i = 0; i < kHoleSlots; ++i) {
    int t = holes.timer[i];  // NOLINT(bugprone-signed-char-misuse): a timer runs 0..101, never negative
    if (t == 0) continue;
    const int column = holes.column[i];
    const int row = holes.row[i];
    if (t == kHoleOpensAt) SetStageCell(play, column, row, tcHole);
    if (painter) painter->DrawHole(t, column, row);
    ++t;
    if (t == kHoleClosesAt) {
      t = 0;
      SetStageCell(play, column, row, tcBrick);
      if (painter) painter->RefillHoleInBackground(column, row);
    }
    holes.timer[i] = static_cast<int8_t>(t);
  }
}

void CreateHole(TPlayState& play, TPlayPainter* painter, int column, int row) {
  THoleTable& holes = play.holes;
  for (int i = 0; i < kHoleSlots; ++i) {
    if (holes.timer[i] != 0) continue;
    holes.timer[i] = 1;
    holes.column[i] = column;
    holes.row[i] = row;
    if (painter) painter->OpenHoleInBackground(column, row);
    // The new hole shows its first frame this tick; every other hole gains a step.
    HolePass(play, painter);
    return;
  }
}

bool TryDig(TPlayState& play, const TTickInput& input, TPlayPainter* painter) {
  if (!input.dig_left && !input.dig_right) return false;
  const bool left = input.dig_left;  // both keys dig to the left
  TRunner& runner = play.runner;
  const TActorCells cells = CellsAround(play.field, runner.x, runner.y);
  if (cells.fy >= kHalfCellPixels) return false;

  // H is the cell holding most of him.
  const bool home_is_c = cells.fx < kHalfCellPixels;
  const int home_column = home_is_c ? cells.column : cells.column + 1;
  const int hx = home_is_c ? runner.x : runner.x + kCellPixels;
  const int8_t home = home_is_c ? cells.C : cells.R;
  const int side_column = left ? home_column - 1 : home_column + 1;
  const int8_t side = play.field.Read(side_column, cells.row);
  const int8_t target = play.field.Read(side_column, cells.row + 1);

  if (side > 0) return false;  // only empty space or an open hole beside him
  if (target != tcBrick) return false;
  const bool stands = Supporting(play.field.Read(home_column, cells.row + 1)) || home == tcLadder ||
                      home == tcBar || GuardNear(play.guards, hx, runner.y + kCellPixels);
  if (!stands) return false;

  // The target was read inside the field as brick, so its stage row is 0..13.
  CreateHole(play, painter, side_column, cells.row);
  runner.DigTicks = kDigTicks;
  runner.DigStepX = home_is_c ? -kDigSlidePixels : kDigSlidePixels;
  runner.StepX = left ? -kRunnerStep : kRunnerStep;
  DiggingFrame(runner, left);
  return true;
}

void DiggingPause(TRunner& runner) {
  const int fx = runner.x & (kCellPixels - 1);
  const int fy = runner.y & (kCellPixels - 1);
  --runner.DigTicks;
  if (fx != 0) runner.x += runner.DigStepX;
  if (fy != 0) runner.y -= kDigSlidePixels;
}

bool RunnerCrushed(const TPlayState& play) {
  TActorCells cells = CellsAround(play.field, play.runner.x, play.runner.y);
  // Above the stage the division truncates toward zero, so C is stage row 0
  // and B the row below it, which the runner does not touch: he overlaps
  // only the virtual row and row 0 there. Climbing out over a one-cell
  // ladder that stands on brick must not crush him.
  if (play.runner.y < 0) cells.B = tcEmpty;
  return OverlapsBrick(cells);
}

}  // namespace bd

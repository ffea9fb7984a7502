// PlayTick, the play tick: one 24 ms step of the whole stage, drawn
// incrementally onto surfaces_.screen and shown with a single invalidate.
#include "game/game.h"
#include "game/holes.h"
#include "game/runner.h"
#include "render/draw.h"
#include "render/raster.h"

namespace bd {

void TGame::PlayTick(const TJoystickState& joy) {
  if (play.phase == spTally) {
    TallyTick();
    DrawRunner();
    return;
  }

  // The banner stays up; nothing moves and the latches wait.
  if (play.StartDelay != 0) {
    --play.StartDelay;
    if (play.StartDelay != 0) return;
    BlockTransfer(surfaces_.screen, 0, 0, surfaces_.background, 0, 0, kImageWidth, kImageHeight,
                  TRasterOp::Copy);
  }

  EraseActors();
  DrawGold();
  DrawLadders();
  MoveRunnerStep(joy);
  GoldPickup();
  EndingTexts();
  if (play.runner.DeathTicks == 0 && RunnerCrushed(play)) play.runner.DeathTicks = 1;
  RevealHiddenLadders();
  MoveGuards();
  DrawRunner();
  if (play.runner.y == -kCellPixels && play.phase == spEscape) EnterTally();
}

void TGame::EraseActors() {
  RestoreFromBackground(surfaces_.screen, surfaces_.background, play.runner.x, play.runner.y);
  for (int i = 0; i < kListCapacity; ++i) {
    if (play.guards.State[i] != 0)
      RestoreFromBackground(surfaces_.screen, surfaces_.background, play.guards.X[i], play.guards.Y[i]);
  }
}

void TGame::DrawGold() {
  const TSheetCell frame = GoldFrameCell((play.GoldTicks / 2) % 4);
  ++play.GoldTicks;
  TGoldList& gold = play.gold;
  for (int i = 0; i < gold.count; ++i) {
    if (!gold.present[i]) continue;
    const int index = TPlayField::IndexOfPixel(gold.X[i], gold.Y[i]);
    if (play.field.cells[index] != tcGold) {
      gold.present[i] = 0;  // taken: never drawn again
      continue;
    }
    CopyCell(surfaces_.screen, gold.X[i], gold.Y[i], surfaces_.sprite_sheet, frame);
  }
}

void TGame::DrawLadders() {
  const TSheetCell frame = LadderFrameCell((play.LadderTicks / 16) % 4);
  ++play.LadderTicks;
  for (int i = 0; i < play.ladders.count; ++i)
    CopyCell(surfaces_.screen, play.ladders.X[i], play.ladders.Y[i], surfaces_.sprite_sheet, frame);
}

void TGame::MoveRunnerStep(const TJoystickState& joy) {
  TRunner& runner = play.runner;
  if (runner.DeathTicks != 0) {
    DyingStep();
    return;
  }
  const THoleCanvas canvas{surfaces_.screen, surfaces_.background, surfaces_.sprite_sheet};
  HolePass(play, canvas);
  if (runner.DigTicks != 0) {
    DiggingPause(runner);
    return;
  }
  const TDirections input = ReadDirections(play.keys, joy);
  const TActorCells before = CellsAround(play.field, runner.x, runner.y);
  if (MoveRunner(play, input)) {
    runner.IdleTicks = 0;
  } else {
    SetIdleFrames(runner, before);
  }
  if (TryDig(play, input, canvas)) sound_.PlayEffect(seDig);
}

void TGame::DyingStep() {
  TRunner& runner = play.runner;
  if (runner.DeathTicks == 1) {
    if (sound_.MusicOn) sound_.music.StopMusic();
    sound_.PlayEffect(seDying);
  }
  // Frames 36 to 44 two ticks each; 44 is empty: he has vanished.
  runner.RunnerFrame = 36 + (runner.DeathTicks - 1) / 2;
  if (runner.DeathTicks != kDeathTicksOver) ++runner.DeathTicks;
}

void TGame::DrawRunner() {
  const int frame = play.runner.RunnerFrame;
  DrawActor(surfaces_.screen, surfaces_.sprite_sheet, RunnerSpriteCell(frame), RunnerMaskCell(frame),
            play.runner.x, play.runner.y);
}

}  // namespace bd

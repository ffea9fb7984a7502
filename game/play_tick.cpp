// Timer1Timer, the play tick: one 24 ms step of the whole stage, drawn
// incrementally onto Image1 and shown with a single invalidate.
#include "app/main_window.h"
#include "game/holes.h"
#include "game/runner.h"
#include "render/draw.h"
#include "render/raster.h"

namespace bd {

void TForm1::Timer1Timer() {
  effects_.SoundBusy = false;
  if ((game.GameMode != gmGame && game.GameMode != gmTestPlay) || Paused()) return;

  if (play.phase == spTally) {
    TallyTick();
    DrawRunner();
    services_.window.InvalidateImage1();
    return;
  }

  // The banner stays up; nothing moves and the latches wait.
  if (play.StartDelay != 0) {
    --play.StartDelay;
    if (play.StartDelay != 0) {
      services_.window.InvalidateImage1();
      return;
    }
    BlockTransfer(Image1, 0, 0, Image3, 0, 0, kImageWidth, kImageHeight, TRasterOp::Copy);
  }

  EraseActors();
  DrawGold();
  DrawLadders();
  MoveRunnerStep();
  GoldPickup();
  EndingTexts();
  if (play.runner.DeathTicks == 0 && RunnerCrushed(play)) play.runner.DeathTicks = 1;
  RevealHiddenLadders();
  MoveGuards();
  DrawRunner();
  if (play.runner.y == -kCellPixels && play.phase == spEscape) ClearStage();
  services_.window.InvalidateImage1();
}

void TForm1::EraseActors() {
  RestoreFromBackground(Image1, Image3, play.runner.x, play.runner.y);
  for (int i = 0; i < kListCapacity; ++i) {
    if (play.guards.State[i] != 0) RestoreFromBackground(Image1, Image3, play.guards.X[i], play.guards.Y[i]);
  }
}

void TForm1::DrawGold() {
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
    CopyCell(Image1, gold.X[i], gold.Y[i], Image2, frame);
  }
}

void TForm1::DrawLadders() {
  const TSheetCell frame = LadderFrameCell((play.LadderTicks / 16) % 4);
  ++play.LadderTicks;
  for (int i = 0; i < play.ladders.count; ++i)
    CopyCell(Image1, play.ladders.X[i], play.ladders.Y[i], Image2, frame);
}

void TForm1::MoveRunnerStep() {
  TRunner& runner = play.runner;
  if (runner.DeathTicks != 0) {
    DyingStep();
    return;
  }
  const THoleCanvas canvas{Image1, Image3, Image2};
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
  if (TryDig(play, input, canvas)) PlayEffect(seDig);
}

void TForm1::DyingStep() {
  TRunner& runner = play.runner;
  if (runner.DeathTicks == 1) {
    if (game.MusicOn) music_.StopMusic();
    PlayEffect(seDying);
  }
  // Frames 36 to 44 two ticks each; 44 is empty: he has vanished.
  runner.RunnerFrame = 36 + (runner.DeathTicks - 1) / 2;
  if (runner.DeathTicks != kDeathTicksOver) ++runner.DeathTicks;
}

void TForm1::DrawRunner() {
  const int frame = play.runner.RunnerFrame;
  DrawActor(Image1, Image2, RunnerSpriteCell(frame), RunnerMaskCell(frame), play.runner.x, play.runner.y);
}

void TForm1::PlayEffect(TSoundEffect effect) { effects_.PlayEffect(effect, game.SoundOn); }

}  // namespace bd

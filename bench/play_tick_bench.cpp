// The cost of one play tick on the headless core, drawing included.
// Usage: bd_play_tick_bench [--benchmark_filter=...]  (Google Benchmark options)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "app/app.h"
#include "game/holes.h"
#include "platform/headless/headless_services.h"
#include "render/raster.h"
#include "stage/builtin_stages.h"
#include "stage/tile_chars.h"

namespace {

using namespace bd;

// A fixed walk: right, a dig, left, up, down and a dig the other way, over and over.
struct TScriptStep {
  uint16_t key;
  int ticks;
};
constexpr TScriptStep kScript[] = {{vkRight, 24}, {vkZ, 12},    {vkLeft, 24},
                                   {vkUp, 16},    {vkDown, 16}, {vkX, 12}};

struct TBenchGame {
  platform::HeadlessServices headless;
  TApp app{headless.services()};
  int step = 0;
  int ticks_left = 0;

  TBenchGame() { app.Startup(); }

  void PlayBuiltIn(int stage) {
    app.StartGame(stage);
    for (int i = 0; i < kBannerTicks; ++i) app.PlayTick();
  }

  void TestPlay(const TStageGrid& grid) {
    app.editor.SetStage(0, grid);
    app.EditMode();
    app.TestPlay();
  }

  // The script's next key events, then the play tick.
  void ScriptedTick() {
    if (ticks_left == 0) {
      app.KeyUp(kScript[step].key);
      step = (step + 1) % std::size(kScript);
      app.KeyDown(kScript[step].key);
      ticks_left = kScript[step].ticks;
    }
    --ticks_left;
    app.PlayTick();
    headless.audio.waves.clear();
  }

  void Tick() {
    ScriptedTick();
    // A death ends in a restart, as the player's confirm would.
    if (app.game.play().runner.DeathTicks == kDeathTicksOver) app.StartStage();
  }
};

void BM_PlayTickBuiltInStage(benchmark::State& state) {
  auto game = std::make_unique<TBenchGame>();
  game->PlayBuiltIn(static_cast<int>(state.range(0)));
  for (auto _ : state) game->Tick();
}
BENCHMARK(BM_PlayTickBuiltInStage)
    ->DenseRange(0, kBuiltInStageCount - 1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The same walk on the rules alone, as the planner plays: no painter, no sound.
void BM_PlayTickHeadless(benchmark::State& state) {
  auto game = std::make_unique<TGame>();
  TInputLatches keys;
  const TJoystickState no_joystick;
  const auto start = [&] {
    game->SelectStage(static_cast<int>(state.range(0)));
    game->StartStage(nullptr, false);
  };
  start();
  int step = 0;
  int ticks_left = 0;
  for (auto _ : state) {
    if (ticks_left == 0) {
      keys.Set(*PlayKeyOf(kScript[step].key), false);
      step = (step + 1) % std::size(kScript);
      keys.Set(*PlayKeyOf(kScript[step].key), true);
      ticks_left = kScript[step].ticks;
    }
    --ticks_left;
    benchmark::DoNotOptimize(game->PlayTick(MergeInput(keys, no_joystick, true)));
    if (game->play().runner.DeathTicks == kDeathTicksOver) start();
  }
}
BENCHMARK(BM_PlayTickHeadless)->DenseRange(0, kBuiltInStageCount - 1)->Repetitions(5)->ReportAggregatesOnly();

// The heaviest stage the tables allow: a guard in every one of the 182
// slots, all 32 holes open and drawing a frame, gold and ladders in the
// other cells. The guard tables are set after stage start, as no stage can
// hold 182 guard starts and a runner.
constexpr int kRunnerColumn = 1;
constexpr int kRunnerRow = 12;
// Every hole stays open and shows a frame for this many ticks from its seeding.
constexpr int kWorstTicks = 4;

bool HoleCell(int column, int row) { return row == 4 || row == 9 || (row == 12 && column >= 11); }

TStageGrid WorstCaseGrid() {
  TStageGrid grid;
  ClearToFrame(grid);
  for (int row = 0; row < 13; ++row) {
    for (int column = 1; column < 15; ++column) {
      uint8_t code = column % 2 == 0 ? tcLadder : tcGold;
      if (HoleCell(column, row)) code = tcBrick;
      grid.at(column, row) = code;
    }
  }
  grid.at(kRunnerColumn, kRunnerRow) = tcRunnerStart;
  // One start, so that every guard begins the way the stage start makes one.
  grid.at(14, 0) = tcGuardStart;
  return grid;
}

// Fills the guard table and the hole table in the started stage.
void SeedWorstCase(TApp& app) {
  TGameState state = app.game.state();
  TPlayState& play = state.play;
  TGuardTable& guards = play.guards;
  // Each guard a copy of the one the stage start made, at its own cell.
  const auto place = [&guards](int slot, int column, int row) {
    guards.State[slot] = guards.State[0];
    guards.DX[slot] = guards.DX[0];
    guards.DY[slot] = guards.DY[0];
    guards.Frame[slot] = guards.Frame[0];
    guards.X[slot] = column * kCellPixels;
    guards.Y[slot] = row * kCellPixels;
  };
  int slot = 0;
  int hole = 0;
  for (int row = 0; row < 13; ++row) {
    for (int column = 1; column < 15; ++column) {
      if (HoleCell(column, row)) {
        // Timers 4..8 show a dig frame and 97 a refill one for kWorstTicks ticks.
        const int timer = hole % 6 < 5 ? kHoleOpensAt + hole % 6 : 97;
        play.holes.timer[hole] = static_cast<int8_t>(timer);
        play.holes.column[hole] = column;
        play.holes.row[hole] = row;
        play.field.Write(column, TPlayField::FieldRowOfStageRow(row), tcHole);
        FillBlack(app.background, column * kCellPixels, row * kCellPixels, kCellPixels, kCellPixels);
        ++hole;
      }
      // The runner's cell stays free; the last slot shares the far corner.
      if (column != kRunnerColumn || row != kRunnerRow) place(slot++, column, row);
    }
  }
  for (; slot < kListCapacity; ++slot) place(slot, 14, 0);
  play.guard_count = kListCapacity;
  app.game.Restore(state);
  BlockTransfer(app.screen, 0, 0, app.background, 0, 0, kImageWidth, kImageHeight, TRasterOp::Copy);
}

void BM_PlayTickWorstCase(benchmark::State& state) {
  auto game = std::make_unique<TBenchGame>();
  TApp& app = game->app;
  game->TestPlay(WorstCaseGrid());
  if (app.game.play().guard_count != 1) {
    state.SkipWithError("the stage did not start with its one guard");
    return;
  }
  SeedWorstCase(app);
  const TGameState seeded = app.game.state();
  const TSurface seeded_screen = app.screen;
  const TSurface seeded_background = app.background;

  // Back to the seeded state every few ticks and whenever the runner dies or
  // the stage moves on; the keys he holds carry over.
  int since_seeding = 0;
  int64_t reseeds = 0;
  for (auto _ : state) {
    game->ScriptedTick();
    if (++since_seeding == kWorstTicks || app.game.play().runner.DeathTicks != 0 ||
        app.game.play().phase != spCollect) {
      state.PauseTiming();
      app.game.Restore(seeded);
      app.screen = seeded_screen;
      app.background = seeded_background;
      since_seeding = 0;
      ++reseeds;
      state.ResumeTiming();
    }
  }
  state.counters["ticks_per_reseed"] = benchmark::Counter(static_cast<double>(state.iterations()) /
                                                          static_cast<double>(std::max<int64_t>(reseeds, 1)));
}
BENCHMARK(BM_PlayTickWorstCase)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();

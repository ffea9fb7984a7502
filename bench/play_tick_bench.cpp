// The cost of one play tick on the headless core, drawing included.
// Usage: bd_play_tick_bench [--benchmark_filter=...]  (Google Benchmark options)
#include <benchmark/benchmark.h>

#include <memory>

#include "app/main_window.h"
#include "platform/headless/headless_services.h"
#include "stage/builtin_stages.h"

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
  TForm1 form{headless.services()};
  int step = 0;
  int ticks_left = 0;

  explicit TBenchGame(int stage) {
    form.FormCreate();
    form.Start1Click();
    form.game.StageIndex = stage;
    form.StartStage();
    for (int i = 0; i < kBannerTicks; ++i) form.Timer1Timer();
  }

  void Tick() {
    if (ticks_left == 0) {
      form.FormKeyUp(kScript[step].key);
      step = (step + 1) % std::size(kScript);
      form.FormKeyDown(kScript[step].key);
      ticks_left = kScript[step].ticks;
    }
    --ticks_left;
    form.Timer1Timer();
    // A death ends in a restart, as the player's confirm would.
    if (form.play.runner.DeathTicks == kDeathTicksOver) form.StartStage();
    headless.audio.waves.clear();
  }
};

void BM_PlayTickBuiltInStage(benchmark::State& state) {
  auto game = std::make_unique<TBenchGame>(static_cast<int>(state.range(0)));
  for (auto _ : state) game->Tick();
}
BENCHMARK(BM_PlayTickBuiltInStage)
    ->DenseRange(0, kBuiltInStageCount - 1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();

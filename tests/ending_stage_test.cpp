// The ending stage, searched through: every position the runner can reach
// under the real rules, from its start, with any keys at any tick.
#include <gtest/gtest.h>

#include <memory>
#include <unordered_set>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_services.h"
#include "stage/builtin_stages.h"
#include "tests/game_seam.h"

namespace bd {
namespace {

using testing::EditGame;

constexpr int kEndingStage = kBuiltInStageCount - 1;

struct TEndingGame {
  platform::HeadlessServices headless;
  TApp app{headless.services()};

  TEndingGame() {
    app.Startup();
    app.StartGame();
    EditGame(app.game, [&](TGameState& s) { s.progress.StageIndex = kEndingStage; });
    app.StartStage();
    while (app.game.play().StartDelay > 1) app.PlayTick();
  }
};

// Everything about the runner and the stage that can change what he does
// next. Frames and animation counters only change pictures; there are no
// bricks to dig and no guards.
uint64_t MovementKey(const TPlayState& play) {
  const TRunner& runner = play.runner;
  uint64_t key = static_cast<uint64_t>(runner.x + 64) | static_cast<uint64_t>(runner.y + 64) << 10;
  key |= static_cast<uint64_t>(runner.StepX + 8) << 20 | static_cast<uint64_t>(runner.StepY + 8) << 25;
  for (int i = 0; i < play.gold.count; ++i)
    if (play.field.cells[TPlayField::IndexOfPixel(play.gold.X[i], play.gold.Y[i])] == tcGold)
      key |= 1ull << (30 + i);
  key |= static_cast<uint64_t>(play.phase) << 34;
  key |= static_cast<uint64_t>(play.RowToReveal) << 36;
  return key;
}

// With several directions held the runner obeys only the first of up, down,
// right, left, so these five cover every combination of keys.
constexpr TTickInput kInputs[] = {
    {}, {.up = true}, {.right = true}, {.down = true}, {.left = true},
};

TEST(EndingStage, AllGoldCanBeTakenTheWordAppearsAndRowZeroIsOutOfReach) {
  auto game = std::make_unique<TEndingGame>();
  TApp& app = game->app;
  const TPlayField start_field = app.game.play().field;
  ASSERT_EQ(app.game.play().gold.count, 3);
  ASSERT_EQ(app.game.play().guard_count, 0);

  std::vector<TPlayState> frontier{app.game.play()};
  std::unordered_set<uint64_t> seen{MovementKey(app.game.play())};
  int highest_y = app.game.play().runner.y;
  bool all_gold_taken = false;
  bool revealed_checked = false;
  while (!frontier.empty()) {
    std::vector<TPlayState> next;
    for (const TPlayState& state : frontier) {
      for (const TTickInput& input : kInputs) {
        EditGame(app.game, [&](TGameState& s) { s.play = state; });
        app.game.PlayTick(input);
        const TPlayState& play = app.game.play();
        ASSERT_EQ(play.runner.DeathTicks, 0);
        ASSERT_NE(play.phase, spTally);
        highest_y = std::min(highest_y, play.runner.y);
        if (play.GoldLeft == 0) all_gold_taken = true;
        if (play.GoldLeft == 0 && !revealed_checked && play.RowToReveal == state.RowToReveal &&
            state.phase == spEscape) {
          // The reveal is over: the 40 hidden ladders and nothing else became ladders.
          revealed_checked = true;
          int turned = 0;
          for (int i = 0; i < kPlayFieldCells; ++i) {
            if (start_field.cells[i] == tcHiddenLadder) {
              EXPECT_EQ(play.field.cells[i], tcLadder) << "cell " << i;
              ++turned;
            } else if (start_field.cells[i] == tcGold) {
              EXPECT_EQ(play.field.cells[i], tcEmpty) << "cell " << i;
            } else {
              EXPECT_EQ(play.field.cells[i], start_field.cells[i]) << "cell " << i;
            }
          }
          EXPECT_EQ(turned, 40);
          EXPECT_EQ(play.ladders.count, 41);
        }
        if (seen.insert(MovementKey(play)).second) next.push_back(play);
      }
    }
    frontier.swap(next);
    ASSERT_LT(seen.size(), 100'000u) << "the search should close long before this";
  }
  EXPECT_TRUE(all_gold_taken);
  EXPECT_TRUE(revealed_checked);
  // Row 0 is y from -31 to 31: the runner's top never gets above row 1.
  EXPECT_GE(highest_y, 32);
  EXPECT_GT(seen.size(), 100u);  // the search did wander the stage
}

}  // namespace
}  // namespace bd

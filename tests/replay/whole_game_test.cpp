// A whole game as a player goes through it, from the title over a given-up
// life and the first stage cleared by its recorded solution to the game-over
// screen and back to the title.
#include <cstdio>

#include "tests/play_fixture.h"
#include "tools/replay/replay.h"

namespace bd::testing {
namespace {

class WholeGame : public PlayFixture {
 protected:
  // Space, as the player presses it.
  void Confirm() { Press(vkSpace); }

  void GiveUp() {
    app.RunCommand(TMenuItemId::GiveUp);  // F5
    ASSERT_TRUE(TickUntil([this] { return runner().DeathTicks == kDeathTicksOver; }));
  }

  // The recorded solution of the first stage, its steps counted from the stage start.
  void ClearFirstStage() {
    const auto text = replay::ReadText(std::string(BD_SOLUTIONS_DIR) + "/stage01.keys");
    ASSERT_TRUE(text);
    const std::vector<replay::TKeyEvent> events = replay::ParseKeyScript(*text);
    ASSERT_FALSE(events.empty());
    auto next = events.begin();
    for (int tick = 1; tick <= 20000 && app.game.play().phase != spTally; ++tick) {
      for (; next != events.end() && next->tick == tick; ++next) replay::Deliver(app, *next);
      Tick();
      ASSERT_EQ(runner().DeathTicks, 0) << "tick " << tick;
    }
    ASSERT_EQ(app.game.play().phase, spTally);
  }
};

TEST_F(WholeGame, FromTheTitleToGameOverAndBack) {
  EditGame(app.game, [&](TGameState& s) { s.random.seed = 1; });
  ASSERT_EQ(app.GameMode, gmTitle);
  Confirm();
  ASSERT_EQ(app.GameMode, gmGame);
  ASSERT_EQ(app.game.progress().StageIndex, 0);
  const TRunner start = runner();
  const int gold = app.game.play().GoldLeft;

  // Giving up costs a life and restarts the stage as it was.
  Tick(kBannerTicks + 40);
  GiveUp();
  Confirm();
  EXPECT_EQ(app.game.progress().Lives, 4);
  EXPECT_EQ(app.game.progress().StageIndex, 0);
  EXPECT_EQ(app.game.play().GoldLeft, gold);
  EXPECT_EQ(runner().x, start.x);
  EXPECT_EQ(runner().y, start.y);

  // A clear pays a hundred points a gold and a crushed guard, and a life.
  EditGame(app.game,
           [&](TGameState& s) { s.random.seed = 1; });  // as the solution was recorded, from a fresh start
  ClearFirstStage();
  const int score = gold + app.game.play().CrushCount;
  EXPECT_EQ(app.game.progress().Score, score);
  EXPECT_EQ(app.game.progress().HiScore, score);
  EXPECT_EQ(app.game.progress().Lives, 5);
  Tick(20);  // the tally waits for the player
  EXPECT_EQ(app.game.play().phase, spTally);
  Confirm();
  ASSERT_EQ(app.game.progress().StageIndex, 1);
  EXPECT_EQ(app.game.play().phase, spCollect);

  // On the second stage the lives run out.
  int deaths = 0;
  while (app.GameMode == gmGame && deaths < 10) {
    Tick(kBannerTicks);
    GiveUp();
    ++deaths;
    Confirm();
  }
  EXPECT_EQ(deaths, 5);
  ASSERT_EQ(app.GameMode, gmGameOver);
  char line[32];
  std::snprintf(line, sizeof line, "SCORE %07d", score * 100);
  EXPECT_TRUE(TextDrawn(app.screen, app.sprite_sheet(), 10, 19, line, kBlack));
  std::snprintf(line, sizeof line, "HISCORE %07d", score * 100);
  EXPECT_TRUE(TextDrawn(app.screen, app.sprite_sheet(), 8, 21, line, kBlack));
  EXPECT_EQ(headless.audio.music_calls.back(), "start " + app.ProgramFolder + "mus3.mid");

  Confirm();
  EXPECT_EQ(app.GameMode, gmTitle);
  EXPECT_EQ(app.game.progress().Lives, 5);
  EXPECT_EQ(app.game.progress().Score, 0);
  EXPECT_EQ(app.game.progress().HiScore, score);
}

}  // namespace
}  // namespace bd::testing

// A whole game as a player goes through it, from the title over a given-up
// life, a cleared stage and the guard of the next one to the game-over
// screen and back to the title.
#include "tests/play_fixture.h"

namespace bd::testing {
namespace {

class WholeGame : public PlayFixture {
 protected:
  // Space, as the player presses it.
  void Confirm() { Press(vkSpace); }

  // The first built-in stage, gold by gold, then up the hidden ladder.
  void ClearFirstStage() {
    ASSERT_TRUE(HoldUntil(vkLeft, AtX(96)));
    EXPECT_EQ(form.play.GoldLeft, 2);
    ASSERT_TRUE(HoldUntil(vkRight, AtX(288)));
    ASSERT_TRUE(HoldUntil(vkUp, AtY(160)));
    ASSERT_TRUE(HoldUntil(vkRight, AtX(416)));
    ASSERT_TRUE(TickUntil(AtY(256)));  // dropped onto the shelf and its gold
    EXPECT_EQ(form.play.GoldLeft, 1);
    ASSERT_TRUE(HoldUntil(vkLeft, AtX(320)));
    ASSERT_TRUE(TickUntil(AtY(352)));
    ASSERT_TRUE(HoldUntil(vkLeft, AtX(288)));
    ASSERT_TRUE(HoldUntil(vkUp, AtY(160)));
    ASSERT_TRUE(HoldUntil(vkLeft, AtX(160)));
    ASSERT_TRUE(HoldUntil(vkUp, AtY(32)));
    ASSERT_TRUE(HoldUntil(vkLeft, AtX(64)));
    EXPECT_EQ(form.play.phase, spEscape);
    ASSERT_TRUE(HoldUntil(vkRight, AtX(416)));
    ASSERT_TRUE(HoldUntil(vkUp, [this] { return form.play.phase == spTally; }));
  }
};

TEST_F(WholeGame, FromTheTitleToGameOverAndBack) {
  form.random.seed = 1;
  ASSERT_EQ(form.game.GameMode, gmTitle);
  Confirm();
  ASSERT_EQ(form.game.GameMode, gmGame);
  ASSERT_EQ(form.game.StageIndex, 0);
  Tick(kBannerTicks);

  // Giving up costs a life and restarts the stage as it was.
  ASSERT_TRUE(HoldUntil(vkLeft, AtX(96)));
  EXPECT_EQ(form.play.GoldLeft, 2);
  form.MenuClick(TMenuItemId::Replay1);  // F5
  ASSERT_TRUE(TickUntil([this] { return runner().DeathTicks == kDeathTicksOver; }));
  Confirm();
  EXPECT_EQ(form.game.Lives, 4);
  EXPECT_EQ(form.game.StageIndex, 0);
  EXPECT_EQ(form.play.GoldLeft, 3);
  EXPECT_EQ(runner().x, 192);
  Tick(kBannerTicks);

  ClearFirstStage();
  EXPECT_EQ(form.game.Score, 3);
  EXPECT_EQ(form.game.HiScore, 3);
  EXPECT_EQ(form.game.Lives, 5);
  Tick(20);  // the tally waits for the player
  EXPECT_EQ(form.play.phase, spTally);
  Confirm();
  ASSERT_EQ(form.game.StageIndex, 1);
  EXPECT_EQ(form.play.phase, spCollect);

  // The second stage's guard walks up to the runner, life after life.
  int deaths = 0;
  while (form.game.GameMode == gmGame && deaths < 10) {
    Tick(kBannerTicks);
    ASSERT_TRUE(TickUntil([this] { return runner().DeathTicks == kDeathTicksOver; }, 300));
    ++deaths;
    Confirm();
  }
  EXPECT_EQ(deaths, 5);
  ASSERT_EQ(form.game.GameMode, gmGameOver);
  EXPECT_TRUE(TextDrawn(form.Image1, form.Image2, 10, 19, "SCORE 0000300", kBlack));
  EXPECT_TRUE(TextDrawn(form.Image1, form.Image2, 8, 21, "HISCORE 0000300", kBlack));
  EXPECT_EQ(headless.audio.music_calls.back(), "start " + form.ProgramFolder + "mus3.mid");

  Confirm();
  EXPECT_EQ(form.game.GameMode, gmTitle);
  EXPECT_EQ(form.game.Lives, 5);
  EXPECT_EQ(form.game.Score, 0);
  EXPECT_EQ(form.game.HiScore, 3);
}

}  // namespace
}  // namespace bd::testing

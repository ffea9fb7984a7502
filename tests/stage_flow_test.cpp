// How a stage is won: gold taken, the escape with its hidden ladders, leaving
// over the top, the tally screen and the ending of the last stage.
#include "game/ending_texts.h"
#include "render/play_painter.h"
#include "stage/builtin_stages.h"
#include "tests/play_fixture.h"

namespace bd::testing {
namespace {

class StageFlowTest : public PlayFixture {
 protected:
  std::string Music(const char* file) const { return "start " + app.ProgramFolder + file; }
};

TEST_F(StageFlowTest, GoldIsTakenOnlyWhenTheRunnerIsAlignedWithIt) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", ".R$.$", "BBBBBBBBBBBBBB"}));
  EditGame(app.game, [&](TGameState& s) { s.play.runner.x = 3 * 32 + 8; });  // over the gold, but not aligned
  Tick(3);
  EXPECT_EQ(Field(3, 11), tcGold);
  EXPECT_EQ(app.game.play().GoldLeft, 2);

  Press(vkLeft);
  Tick();
  EXPECT_EQ(runner().x, 96);
  EXPECT_EQ(Field(3, 11), tcEmpty);
  EXPECT_EQ(app.game.play().GoldLeft, 1);
  EXPECT_EQ(Waves("take.wav"), 1);
  EXPECT_EQ(app.game.play().phase, spCollect);
  EXPECT_EQ(app.game.play().gold.present[0], 1);  // the gold step forgets it next tick
  Tick();
  EXPECT_EQ(app.game.play().gold.present[0], 0);
  Release(vkLeft);

  ASSERT_TRUE(HoldUntil(vkRight, AtX(5 * 32)));
  EXPECT_EQ(app.game.play().GoldLeft, 0);
  EXPECT_EQ(app.game.play().phase, spEscape);
  EXPECT_EQ(headless.audio.music_calls.back(), Music("mus2.mid"));
  EXPECT_EQ(app.game.play().EndingTicks, 0);  // only the last built-in stage has an ending
}

TEST_F(StageFlowTest, HiddenLaddersAppearTwoRowsATickFromTheTop) {
  TStageGrid grid = FramedStage({"....h", "....h", "....h", "....h", "....h", "....h", "....h", "....h",
                                 "....h", "....h", "....h", "R$..h", "BBBBBBBBBBBBBB"});
  grid.at(5, 12) = tcHiddenLadder;
  grid.at(0, 4) = tcHiddenLadder;  // the edge columns never show theirs
  grid.at(15, 5) = tcHiddenLadder;
  TestPlay(grid);
  const int ladders_before = app.game.play().ladders.count;

  ASSERT_TRUE(HoldUntil(vkRight, [this] { return app.game.play().GoldLeft == 0; }));
  // The tick that took the last gold revealed stage rows 0 and 1.
  EXPECT_EQ(Field(5, 0), tcLadder);
  EXPECT_EQ(Field(5, 1), tcLadder);
  EXPECT_EQ(Field(5, 2), tcHiddenLadder);
  ASSERT_EQ(app.game.play().ladders.count, ladders_before + 2);
  EXPECT_EQ(app.game.play().ladders.X[ladders_before + 1], 160);
  EXPECT_EQ(app.game.play().ladders.Y[ladders_before + 1], 32);

  Tick(5);
  EXPECT_EQ(Field(5, 12), tcHiddenLadder);
  Tick();  // the seventh tick reaches the bottom row
  for (int row = 0; row <= 12; ++row) EXPECT_EQ(Field(5, row), tcLadder) << "row " << row;
  EXPECT_EQ(app.game.play().ladders.count, ladders_before + 13);
  Tick(3);
  EXPECT_EQ(app.game.play().ladders.count, ladders_before + 13);
  EXPECT_EQ(Field(0, 4), tcHiddenLadder);
  EXPECT_EQ(Field(15, 5), tcHiddenLadder);
}

TEST_F(StageFlowTest, LeavingOverTheTopScoresTheGoldAndTheCrushedGuards) {
  TestPlay(FramedStage(
      {"h", "h", "h", "h", "h", "h", "h", "h", "h", "h", "h", "hR$$$$$$$$$$$$", "BBBBBBBBBBBBBB"}));
  EditGame(app.game, [&](TGameState& s) {
    s.progress.Score = 5;
    s.progress.HiScore = 7;
  });
  ASSERT_TRUE(HoldUntil(vkRight, AtX(14 * 32)));
  ASSERT_EQ(app.game.play().phase, spEscape);
  EditGame(app.game,
           [&](TGameState& s) { s.play.CrushCount = 2; });  // as if two guards had been crushed on the way
  ASSERT_TRUE(HoldUntil(vkLeft, AtX(32)));
  ASSERT_TRUE(HoldUntil(vkUp, [this] { return app.game.play().phase == spTally; }));

  EXPECT_EQ(app.game.progress().Score, 19);
  EXPECT_EQ(app.game.progress().HiScore, 19);
  EXPECT_EQ(app.game.progress().Lives, 6);
  EXPECT_EQ(runner().x, 128);
  EXPECT_EQ(runner().y, 320);
  EXPECT_EQ(runner().RunnerFrame, 45);
  EXPECT_TRUE(TextDrawn(app.screen, app.sprite_sheet(), 14, 6, " 1200 POINTS", kBlack));
  EXPECT_TRUE(TextDrawn(app.screen, app.sprite_sheet(), 14, 9, "  200 POINTS", kBlack));
  EXPECT_TRUE(TextDrawn(app.screen, app.sprite_sheet(), 8, 15, "TOTAL  1400 POINTS", kBlack));
  EXPECT_TRUE(SquareEquals(app.screen, 192, 88, app.sprite_sheet(), TileCell(tcGold), 32, 32));
  EXPECT_TRUE(SquareEquals(app.screen, 192, 136, app.sprite_sheet(), GuardSpriteCell(19), 32, 32));
  // The ladder starts one pixel into the brick row.
  for (int i = 0; i < 6; ++i)
    EXPECT_TRUE(SquareEquals(app.screen, 64 + 32 * i, 352, app.sprite_sheet(), TileCell(tcBrick), 32, 1));
  EXPECT_TRUE(SquareEquals(app.screen, 128, 353, app.sprite_sheet(), TileCell(tcLadder), 32, 32));

  // The dance: a new frame every fourth tick, and Give up does not stop it.
  Tick(3);
  EXPECT_EQ(runner().RunnerFrame, 45);
  Tick();
  EXPECT_EQ(runner().RunnerFrame, 46);
  app.GiveUp();
  Tick(8);
  EXPECT_EQ(runner().RunnerFrame, 48);
  Tick(4);
  EXPECT_EQ(runner().RunnerFrame, 45);
  EXPECT_EQ(runner().DeathTicks, 1);
  EXPECT_EQ(app.game.progress().Score, 19);
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmEdit);  // test play goes back to the editor
}

class EndingTest : public StageFlowTest {
 protected:
  // The last built-in stage with its guards gone and the runner on its last gold.
  void TakeLastGoldOnTheLastStage(bool music) {
    if (app.sound.MusicOn() != music) app.ToggleMusic();
    app.StartGame(kEndingStageIndex);
    Tick(kBannerTicks);
    ASSERT_GT(app.game.play().gold.count, 0);
    EditGame(app.game, [](TGameState& s) {
      TPlayState& play = s.play;
      play.guards.State.fill(0);
      play.GoldLeft = 1;
      play.runner.x = play.gold.X[0];
      play.runner.y = play.gold.Y[0];
      play.field.Write(play.runner.x / 32, play.runner.y / 32 + 2, tcSolid);  // he stays put
    });
    Tick();
    ASSERT_EQ(app.game.play().phase, spEscape);
  }
};

TEST_F(EndingTest, TheLastStageThanksThePlayerWhileItsMusicPlays) {
  TakeLastGoldOnTheLastStage(true);
  EXPECT_EQ(headless.audio.music_calls.back(), Music("mus4.mid"));
  EXPECT_EQ(app.game.play().EndingTicks, 2);  // set by the gold, counted in the same tick
  Tick(97);
  EXPECT_FALSE(GlyphsOredIn(app.screen, app.sprite_sheet(), 4, 17, kThanksLine));
  Tick();
  EXPECT_TRUE(GlyphsOredIn(app.screen, app.sprite_sheet(), 4, 17, kThanksLine));
  Tick(59);
  EXPECT_FALSE(GlyphsOredIn(app.screen, app.sprite_sheet(), 9, 20, kCreditLine));
  Tick();
  EXPECT_TRUE(GlyphsOredIn(app.screen, app.sprite_sheet(), 9, 20, kCreditLine));
}

TEST_F(EndingTest, WithMusicOffTheLastGoldStartsNoEnding) {
  TakeLastGoldOnTheLastStage(false);
  EXPECT_EQ(app.game.play().EndingTicks, 0);
  EXPECT_TRUE(headless.audio.music_calls.empty() ||
              headless.audio.music_calls.back().find("mus4.mid") == std::string::npos);
  Tick(200);
  EXPECT_FALSE(GlyphsOredIn(app.screen, app.sprite_sheet(), 4, 17, kThanksLine));
}

}  // namespace
}  // namespace bd::testing

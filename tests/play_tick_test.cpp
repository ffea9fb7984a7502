// The play tick's frame of work: stage start, the banner, the animations,
// what is drawn where, the one effect per tick and the latches across pause.
#include "render/raster.h"
#include "tests/play_fixture.h"

namespace bd::testing {
namespace {

class PlayTickTest : public PlayFixture {
 protected:
  // The 32 x 32 square at (x, y) of screen is the background with the actor drawn over it.
  ::testing::AssertionResult ActorDrawnOver(int frame, int x, int y) const {
    const TSheetCell sprite = RunnerSpriteCell(frame);
    const TSheetCell mask = RunnerMaskCell(frame);
    for (int j = 0; j < 32; ++j) {
      for (int i = 0; i < 32; ++i) {
        const uint32_t expected =
            (app.background.pixel(x + i, y + j) & app.sprite_sheet().pixel(mask.x + i, mask.y + j)) ^
            app.sprite_sheet().pixel(sprite.x + i, sprite.y + j);
        if (app.screen.pixel(x + i, y + j) != expected)
          return ::testing::AssertionFailure() << "pixel (" << x + i << "," << y + j << ")";
      }
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_F(PlayTickTest, StageStartDrawsTheStaticCellsIntoTheBackground) {
  TestPlay(FramedStage({"BSH-ThG$R"}));
  const uint8_t shown[] = {tcBrick, tcSolid, tcEmpty, tcBar, tcBrick, tcEmpty, tcEmpty, tcEmpty, tcEmpty};
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(
        SquareEquals(app.background, 32 * (i + 1), 0, app.sprite_sheet(), TileCell(shown[i]), 32, 32));
  }
  EXPECT_TRUE(SquareEquals(app.background, 0, 416, app.sprite_sheet(), TileCell(tcSolid), 32, 32));
  EXPECT_EQ(Field(5, 0), tcEmpty);  // trap brick
  EXPECT_EQ(Field(6, 0), tcHiddenLadder);
  EXPECT_TRUE(app.PlayClockRunning());
  EXPECT_EQ(app.game.play().StartDelay, 0);
  // Test play shows the stage at once.
  EXPECT_TRUE(SquareEquals(app.screen, 32, 0, app.sprite_sheet(), TileCell(tcBrick), 32, 32));
}

TEST_F(PlayTickTest, TheBannerStays31TicksAndThe32ndShowsTheStage) {
  EditGame(app.game, [&](TGameState& s) { s.progress.Score = 123; });
  app.StartGame();  // the built-in first stage
  const TRunner start = runner();
  EXPECT_TRUE(SquareEquals(app.screen, 16 * 8, 16 * 9, app.sprite_sheet(), GlyphCell('S'), 16, 16));
  EXPECT_TRUE(SquareEquals(app.screen, 16 * 15, 16 * 9, app.sprite_sheet(), GlyphCell('1'), 16, 16));
  EXPECT_TRUE(SquareEquals(app.screen, 16 * 23, 16 * 9, app.sprite_sheet(), GlyphCell('5'), 16, 16));
  EXPECT_TRUE(SquareEquals(app.screen, 16 * 20, 16 * 19, app.sprite_sheet(), GlyphCell('3'), 16,
                           16));  // SCORE 0012300
  EXPECT_TRUE(SquareEquals(app.screen, 16 * 8, 16 * 21, app.sprite_sheet(), GlyphCell('H'), 16, 16));
  const TSurface banner = app.screen;
  Press(vkRight);
  const int invalidations = headless.window.screen_invalidations;
  Tick(31);
  EXPECT_EQ(app.game.play().StartDelay, 1);
  EXPECT_EQ(runner().x, start.x);
  EXPECT_EQ(runner().y, start.y);
  EXPECT_EQ(app.game.play().GoldTicks, 0);
  EXPECT_TRUE(SquareEquals(app.screen, 0, 0, banner, {0, 0}, kImageWidth, kImageHeight));
  EXPECT_EQ(app.keys().KeyRight, 1);  // the latch waits
  EXPECT_EQ(headless.window.screen_invalidations, invalidations + 31);
  Tick();
  EXPECT_EQ(app.game.play().StartDelay, 0);
  EXPECT_TRUE(SquareEquals(app.screen, 0, 416, app.background, {0, 416}, kImageWidth, 32));
  EXPECT_EQ(runner().x, start.x + 8);  // the tick went on with the held key
}

TEST_F(PlayTickTest, GoldAndLaddersAnimateFromTheirLists) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "R$H", "BBBB"}));
  const int gold_steps[] = {0, 0, 1, 1, 2, 2, 3, 3, 0};
  for (int k = 0; k < 9; ++k) {
    Tick();
    EXPECT_TRUE(SquareEquals(app.screen, 64, 352, app.sprite_sheet(), GoldFrameCell(gold_steps[k]), 32, 32))
        << k;
  }
  Tick(6);  // 15 ticks: ladder step 0; the 17th shows step 1
  EXPECT_TRUE(SquareEquals(app.screen, 96, 352, app.sprite_sheet(), LadderFrameCell(0), 32, 32));
  Tick(2);
  EXPECT_TRUE(SquareEquals(app.screen, 96, 352, app.sprite_sheet(), LadderFrameCell(1), 32, 32));
}

TEST_F(PlayTickTest, TheRunnerIsErasedAndDrawnMaskedOverTheBackground) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "R", "BBBB"}));
  Press(vkRight);
  Tick();
  EXPECT_TRUE(ActorDrawnOver(19, 40, 352));
  Tick(3);
  EXPECT_TRUE(ActorDrawnOver(19, 64, 352));
  // The old square left of him is background again.
  EXPECT_TRUE(SquareEquals(app.screen, 32, 352, app.background, {32, 352}, 32, 32));
}

TEST_F(PlayTickTest, OnlyTheFirstEffectOfATickSounds) {
  TSoundCueList take_then_kill;
  take_then_kill.Effect(seTake);
  take_then_kill.Effect(seKill);
  app.sound.Play(take_then_kill);
  EXPECT_EQ(headless.audio.waves, std::vector<std::string>{app.ProgramFolder + "take.wav"});
  TSoundCueList kill;  // the next tick's cues sound again
  kill.Effect(seKill);
  app.sound.Play(kill);
  EXPECT_EQ(Waves("kil.wav"), 1);

  app.ToggleSound();  // sound off: a request changes nothing
  app.sound.Play(take_then_kill);
  EXPECT_EQ(headless.audio.waves.size(), 2u);
}

TEST_F(PlayTickTest, PauseIgnoresKeyDownsButNotKeyUps) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "R", "BBBBBBBBBBBBBB"}));
  Press(vkRight);
  app.RunCommand(TMenuItemId::Pause);
  EXPECT_FALSE(app.PlayClockRunning());
  Release(vkRight);
  Press(vkLeft);
  Press(vkX);
  EXPECT_EQ(app.keys().KeyRight, 0);
  EXPECT_EQ(app.keys().KeyLeft, 0);
  EXPECT_EQ(app.keys().KeyDigRight, 0);
  Tick();  // a tick that still arrives does nothing while paused
  EXPECT_EQ(runner().x, 32);
  app.RunCommand(TMenuItemId::Pause);
  Tick();
  EXPECT_EQ(runner().x, 32);
  Press(vkRight);
  Tick();
  EXPECT_EQ(runner().x, 40);
}

TEST_F(PlayTickTest, TheJoystickSteersAndDigsLikeTheKeys) {
  headless.joystick.caps = platform::JoyCaps{0, 65535, 0, 65535};
  app.Startup();
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "...R", "BBBBBBBBBBBBBB"}));
  headless.joystick.position = {65535, 32768, 0, 0};
  app.PollJoystick();
  Tick();
  EXPECT_EQ(runner().x, 136);
  headless.joystick.position = {32768, 32768, 0, 2};  // button 2 alone digs right
  app.PollJoystick();
  Tick();  // a dig off the grid goes from the cell holding most of him
  EXPECT_EQ(app.game.play().holes.column[0], 5);
  Tick();
  EXPECT_EQ(runner().x, 128);  // and slides him back onto it
}

}  // namespace
}  // namespace bd::testing

// Digging, the hole table's timeline and the crush test, tick by tick.
#include "tests/play_fixture.h"

namespace bd::testing {
namespace {

class HolesTest : public PlayFixture {
 protected:
  // The runner at column 5 of row 11 on a floor of brick.
  void FloorStage() {
    TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "....R", "BBBBBBBBBBBBBB"}));
  }
  // One tick with the key held, then released.
  void Tap(uint16_t key) {
    Press(key);
    Tick();
    Release(key);
  }
  bool HoleFrameShown(int column, int row, int counter) const {
    return SquareEquals(app.screen, column * 32, row * 32, app.sprite_sheet(), HoleFrameCell(counter), 32,
                        32);
  }
};

TEST_F(HolesTest, AHoleOpensOnItsFourthTickAndFillsInAfterItsHundredth) {
  FloorStage();
  Tick();
  Tap(vkZ);  // tick T
  EXPECT_EQ(Waves("dig.wav"), 1);
  EXPECT_EQ(runner().DigTicks, 10);
  EXPECT_EQ(runner().RunnerFrame, 17);
  EXPECT_TRUE(SquareIs(app.background, 128, 384, 32, 32, kBlack));
  for (int k = 0; k <= 100; ++k) {
    SCOPED_TRACE(k);
    if (k > 0) Tick();
    const int8_t cell = Field(4, 12);
    EXPECT_EQ(cell, k >= 3 && k <= 99 ? tcHole : int8_t{tcBrick});
    if (k <= 10 || k >= 96) {
      EXPECT_TRUE(HoleFrameShown(4, 12, k + 1));
    } else {
      EXPECT_TRUE(HoleFrameShown(4, 12, 11));  // nothing drawn: the last, empty frame stays
    }
    if (k < 100) {
      EXPECT_TRUE(SquareIs(app.background, 128, 384, 32, 32, kBlack));
    }
  }
  EXPECT_EQ(Field(4, 12), tcBrick);
  EXPECT_EQ(app.game.play().holes.timer[0], 0);
  EXPECT_TRUE(SquareEquals(app.background, 128, 384, app.sprite_sheet(), TileCell(tcBrick), 32, 32));
}

TEST_F(HolesTest, ASecondDigMakesTheFirstHoleFillInATickEarlier) {
  FloorStage();
  Tap(vkZ);  // tick T
  Tick(19);
  Tap(vkX);  // tick T + 20
  EXPECT_EQ(app.game.play().holes.timer[1], 2);
  EXPECT_EQ(app.game.play().holes.column[1], 6);
  Tick(78);  // T + 98
  EXPECT_EQ(Field(4, 12), tcHole);
  Tick();  // T + 99
  EXPECT_EQ(Field(4, 12), tcBrick);
  EXPECT_EQ(Field(6, 12), tcHole);
}

TEST_F(HolesTest, TheDiggingPauseHoldsHimThenHeMovesAgain) {
  FloorStage();
  Press(vkZ);
  Press(vkRight);  // keys are not obeyed while he digs
  Tick();
  Release(vkZ);
  Tick(10);
  EXPECT_EQ(runner().x, 160);
  EXPECT_EQ(runner().RunnerFrame, 17);
  Tick();
  EXPECT_EQ(runner().x, 168);
}

TEST_F(HolesTest, BothDigKeysDigToTheLeftOnly) {
  FloorStage();
  Press(vkX);
  Press(vkZ);
  Tick();
  EXPECT_EQ(app.game.play().holes.column[0], 4);
  EXPECT_EQ(app.game.play().holes.timer[1], 0);
  EXPECT_EQ(runner().StepX, -8);
}

TEST_F(HolesTest, OnlyEmptyOrOpenCellsBesideAndBrickBelowCanBeDug) {
  const struct {
    const char* row11;
    const char* row12;
    bool dug;
  } cases[] = {
      {"...$R", "BBBBBBBBBBBBBB", false},  // gold beside him
      {"...HR", "BBBBBBBBBBBBBB", false},  // ladder beside him
      {"...-R", "BBBBBBBBBBBBBB", false},  // bar beside him
      {"...BR", "BBBBBBBBBBBBBB", false},  // brick beside him
      {"....R", "BBBSBBBBBBBBBB", false},  // solid block below
      {"....R", "BBBTBBBBBBBBBB", false},  // a trap brick is empty space
      {"...TR", "BBBBBBBBBBBBBB", true},   // a trap brick beside him reads empty
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row11);
    TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", c.row11, c.row12}));
    headless.audio.waves.clear();
    Press(vkZ);
    Tick();
    Release(vkZ);
    EXPECT_EQ(app.game.play().holes.timer[0] != 0, c.dug);
    EXPECT_EQ(Waves("dig.wav"), c.dug ? 1 : 0);
  }
}

TEST_F(HolesTest, DigsFromABarALadderAndAGuardsHeadTurningOnTheBar) {
  // On a bar at row 10, brick diagonally below at row 11.
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "..-R", "...B", "BBBBBBBBBBBBBB"}));
  Press(vkLeft);
  Tick(4);
  Release(vkLeft);
  ASSERT_EQ(runner().RunnerFrame, 12);  // hanging, facing left
  Tap(vkX);
  EXPECT_EQ(app.game.play().holes.column[0], 4);
  EXPECT_EQ(runner().RunnerFrame, 31);

  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "....R", "...BG", "BBBBBBBBBBBBBB"}));
  Tap(vkZ);
  EXPECT_EQ(app.game.play().holes.column[0], 4);
  EXPECT_EQ(app.game.play().holes.row[0], 11);
}

TEST_F(HolesTest, ADigHalfWayDownALadderLiftsHimOntoTheRowAbove) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "....R", "...BH", "BBBBHBBBBBBBBB"}));
  // Start on the ladder top at row 10: step down 8 pixels onto the ladder.
  Press(vkDown);
  Tick();
  Release(vkDown);
  ASSERT_EQ(runner().y, 328);
  Tap(vkZ);
  EXPECT_EQ(app.game.play().holes.column[0], 4);
  EXPECT_EQ(app.game.play().holes.row[0], 11);
  EXPECT_EQ(runner().RunnerFrame, 8);  // a climbing runner keeps his pose
  Tick();
  EXPECT_EQ(runner().y, 320);
  Tick(9);
  EXPECT_EQ(runner().y, 320);
  EXPECT_EQ(runner().DigTicks, 0);
}

TEST_F(HolesTest, AHoleFillingInOnTheRunnerKillsHim) {
  FloorStage();
  Tap(vkZ);  // tick T
  Tick(10);
  Press(vkLeft);
  Tick(12);  // he walks into the hole and falls to its bottom
  Release(vkLeft);
  ASSERT_EQ(runner().x, 128);
  ASSERT_EQ(runner().y, 384);
  Tick(77);  // T + 99
  EXPECT_EQ(runner().DeathTicks, 0);
  Tick();  // T + 100: brick again, on him
  EXPECT_EQ(runner().DeathTicks, 1);
  headless.audio.music_calls.clear();
  Tick();
  EXPECT_EQ(headless.audio.music_calls, std::vector<std::string>{"stop"});
  EXPECT_EQ(Waves("dying.wav"), 1);
  EXPECT_EQ(runner().RunnerFrame, 36);
  Tick(16);
  EXPECT_EQ(runner().DeathTicks, 18);
  EXPECT_EQ(runner().RunnerFrame, 44);
  Tick(5);
  EXPECT_EQ(runner().DeathTicks, 18);
  EXPECT_EQ(Waves("dying.wav"), 1);
  app.ConfirmAction();  // back to the editor from a test play
  EXPECT_EQ(app.GameMode, gmEdit);
}

TEST_F(HolesTest, HolesStandStillWhileTheRunnerDies) {
  FloorStage();
  Tap(vkZ);
  app.GiveUp();  // give up
  Tick(30);
  EXPECT_EQ(app.game.play().holes.timer[0], 2);
  EXPECT_EQ(Field(4, 12), tcBrick);
}

TEST_F(HolesTest, AFullHoleTableStillDigsAndSounds) {
  FloorStage();
  for (int i = 0; i < kHoleSlots; ++i) {
    EditGame(app.game, [&](TGameState& s) {
      s.play.holes.timer[i] = 50;
      s.play.holes.column[i] = 10;
      s.play.holes.row[i] = 12;
    });
  }
  Tap(vkZ);
  EXPECT_EQ(Field(4, 12), tcBrick);
  EXPECT_EQ(Waves("dig.wav"), 1);
  EXPECT_EQ(runner().DigTicks, 10);
  EXPECT_EQ(app.game.play().holes.timer[0], 51);  // one pass only: no hole was made
}

}  // namespace
}  // namespace bd::testing

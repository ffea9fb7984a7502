// The guards' chase, holes, crushes and returns, tick by tick on small stages.
#include <string>
#include <vector>

#include "game/random.h"
#include "tests/play_fixture.h"

namespace bd::testing {
namespace {

class GuardsTest : public PlayFixture {
 protected:
  const TGuardTable& guards() const { return app.game.play().guards; }
  // Puts guard slot 0's or another slot's values in place before the next tick.
  void SetGuard(int slot, int state, int x, int y, int frame) {
    EditGame(app.game, [&](TGameState& s) {
      TGuardTable& table = s.play.guards;
      table.State[slot] = static_cast<int8_t>(state);
      if (x >= 0) table.X[slot] = x;
      if (y >= 0) table.Y[slot] = y;
      if (frame >= 0) table.Frame[slot] = frame;
    });
  }
  void Tap(uint16_t key) {
    Press(key);
    Tick();
    Release(key);
  }
  void Put(int column, int row, int8_t value) {
    EditGame(app.game,
             [&](TGameState& s) { s.play.field.Write(column, TPlayField::FieldRowOfStageRow(row), value); });
  }
  void MoveRunnerTo(int x, int y) {
    EditGame(app.game, [&](TGameState& s) {
      s.play.runner.x = x;
      s.play.runner.y = y;
    });
  }
  // The runner digs at column 6 of the floor; the guard falls from row 8
  // straight into the hole and lands at the end of the 32nd tick.
  void DropGuardIntoHole() {
    TestPlay(FramedStage({"", "", "", "", "", "", "", "", ".....G", "", "", "....R.S", "BBBBBBBBBBBBBB"}));
    Tap(vkX);
    Tick(31);
    ASSERT_EQ(guards().Y[0], 384);
    ASSERT_EQ(guards().State[0], 1);
  }
};

TEST_F(GuardsTest, TurnsTowardTheRunnerOnlyOnHisRow) {
  TestPlay(FramedStage(
      {"", "", "", "", "", "", "", "....G", "SSSSSSSSSSSSSS", "", "", "R........G", "BBBBBBBBBBBBBB"}));
  Tick();
  EXPECT_EQ(guards().X[1], 320);  // turning costs the tick
  EXPECT_EQ(guards().DX[1], -4);
  EXPECT_EQ(guards().X[0], 164);  // the runner is on another row: it keeps on to the right
  EXPECT_EQ(guards().DX[0], 4);
  std::vector<int> frames;
  for (int i = 0; i < 4; ++i) {
    Tick();
    frames.push_back(guards().Frame[1]);
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 1}));
  EXPECT_EQ(guards().X[1], 304);
  EXPECT_EQ(guards().X[0], 180);
  EXPECT_EQ(guards().Frame[0], 20);

  MoveRunnerTo(304, 352);  // right where the guard is
  Tick();
  EXPECT_EQ(guards().X[1], 300);
  EXPECT_EQ(guards().DX[1], -4);
  EXPECT_EQ(runner().DeathTicks, 1);
}

TEST_F(GuardsTest, TurnsBackAtWallsAndAtAGuardLessThan64PixelsAhead) {
  TestPlay(FramedStage({"", "", "R", "S", "", "", "", "", "", "", "", "...........G.G", "BBBBBBBBBBBBBB"}));
  Tick();
  EXPECT_EQ(guards().X[0], 388);  // the other guard 64 pixels ahead is no reason to turn
  EXPECT_EQ(guards().DX[0], 4);
  EXPECT_EQ(guards().X[1], 448);  // at the frame
  EXPECT_EQ(guards().DX[1], -4);
  Tick();
  EXPECT_EQ(guards().X[0], 392);
  EXPECT_EQ(guards().X[1], 448);  // the first guard is now 56 pixels ahead of it
  EXPECT_EQ(guards().DX[1], 4);
  Tick(6);
  ASSERT_EQ(guards().X[0], 416);
  ASSERT_EQ(guards().DX[0], 4);
  Tick();
  EXPECT_EQ(guards().X[0], 416);
  EXPECT_EQ(guards().DX[0], -4);
  Tick();
  EXPECT_EQ(guards().X[0], 412);
}

TEST_F(GuardsTest, FallsIntoAHoleCountsClimbsOutAndStepsTowardTheRunner) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "G...R", "BBBBBBBBBBBBBB"}));
  Tap(vkZ);  // tick 1; the hole at column 4 is open from tick 4
  Tick(23);
  ASSERT_EQ(guards().X[0], 128);
  ASSERT_EQ(guards().Y[0], 352);
  Tick(8);
  EXPECT_EQ(guards().Y[0], 384);
  EXPECT_EQ(guards().State[0], 1);
  EXPECT_EQ(guards().Frame[0], 23);
  Tick();  // tick 33
  EXPECT_EQ(guards().State[0], 2);

  // The runner crosses on the guard's head to the far wall.
  Press(vkLeft);
  for (int i = 0; i < 16; ++i) {
    Tick();
    EXPECT_EQ(runner().y, 352);
    EXPECT_EQ(runner().DeathTicks, 0);
  }
  Release(vkLeft);
  ASSERT_EQ(runner().x, 32);

  Tick(21);  // tick 70
  EXPECT_EQ(guards().State[0], 39);
  EXPECT_EQ(guards().Y[0], 384);
  Tick();
  EXPECT_EQ(guards().State[0], 40);
  EXPECT_EQ(guards().Y[0], 384);
  Tick();
  EXPECT_EQ(guards().Y[0], 380);
  EXPECT_EQ(guards().DY[0], -4);
  Tick(7);  // tick 79
  EXPECT_EQ(guards().Y[0], 352);
  EXPECT_EQ(guards().State[0], 40);
  Tick();
  EXPECT_EQ(guards().State[0], 1);
  EXPECT_EQ(guards().DY[0], 0);
  EXPECT_EQ(guards().DX[0], -4);
  EXPECT_EQ(guards().X[0], 124);
  EXPECT_EQ(guards().Y[0], 352);
  EXPECT_EQ(guards().Frame[0], 1);
}

TEST_F(GuardsTest, FallsBackIntoTheHoleWhenItCannotStepOutTowardTheRunner) {
  DropGuardIntoHole();
  MoveRunnerTo(288, 352);  // beyond the solid block
  Tick(47);                // tick 79
  ASSERT_EQ(guards().Y[0], 352);
  ASSERT_EQ(guards().State[0], 40);
  Tick();
  EXPECT_EQ(guards().State[0], 1);
  EXPECT_EQ(guards().X[0], 192);
  EXPECT_EQ(guards().Y[0], 352);
  EXPECT_EQ(guards().DX[0], -4);
  Tick();
  EXPECT_EQ(guards().Y[0], 356);
  EXPECT_EQ(guards().Frame[0], 4);
  Tick();
  EXPECT_EQ(guards().Frame[0], 5);
  Tick(6);
  EXPECT_EQ(guards().Y[0], 384);
  Tick();
  EXPECT_EQ(guards().State[0], 2);
}

TEST_F(GuardsTest, StaysTrappedWhileTheCellAboveIsTaken) {
  for (const int8_t above : {tcBrick, tcLadder, tcGold}) {
    SCOPED_TRACE(static_cast<int>(above));
    DropGuardIntoHole();
    Put(6, 11, above);
    Tick(39);
    ASSERT_EQ(guards().State[0], 40);
    Tick();
    EXPECT_EQ(guards().State[0], 2);
    EXPECT_EQ(guards().Y[0], 384);
    Tick(4);
    EXPECT_EQ(guards().State[0], 6);
    EXPECT_EQ(guards().Y[0], 384);
  }
}

TEST_F(GuardsTest, WalksOverATrappedGuardsHeadUntilItsCountReaches32) {
  for (const int count : {31, 32}) {
    SCOPED_TRACE(count);
    TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "G.G.R", "BBBBBBBBBBBBBB"}));
    Tap(vkZ);
    Tick(23);
    ASSERT_EQ(guards().X[1], 128);
    ASSERT_EQ(guards().Y[1], 384);
    ASSERT_EQ(guards().State[1], 9);
    ASSERT_EQ(guards().X[0], 128);
    SetGuard(1, count, -1, -1, -1);
    Tick();
    if (count == 31) {
      EXPECT_EQ(guards().X[0], 132);
      EXPECT_EQ(guards().Y[0], 352);
    } else {
      EXPECT_EQ(guards().X[0], 128);
      EXPECT_EQ(guards().Y[0], 356);
    }
  }
}

TEST_F(GuardsTest, ACrushedGuardComesBackInAFreeCellOfTheTopRow) {
  TestPlay(
      FramedStage({"BBBBBGBBBB.BBB", "", "", "", "", "", "", "", "", "", "", "....R", "BBBBBBBBBBBBBB"}));
  EditGame(app.game, [&](TGameState& s) { s.random.seed = 17; });
  TRandom copy = app.game.random();
  int picks = 0;
  int column = 0;
  do {
    column = copy.Next() % 14 + 1;
    ++picks;
  } while (Field(column, 0) != tcEmpty);
  ASSERT_GT(picks, 1);

  Tap(vkX);  // tick 1: the hole at column 6 fills in at tick 101
  Tick(95);  // the guard has fallen from the top row into it
  ASSERT_EQ(guards().Y[0], 384);
  Tick(4);
  ASSERT_EQ(guards().State[0], 5);
  EXPECT_EQ(app.game.play().CrushCount, 0);
  Tick();
  EXPECT_EQ(guards().State[0], 52);
  EXPECT_EQ(app.game.play().CrushCount, 1);
  EXPECT_EQ(Waves("kil.wav"), 1);
  EXPECT_EQ(guards().X[0], 192);
  EXPECT_EQ(guards().Y[0], 384);

  Tick(17);
  EXPECT_EQ(guards().State[0], 69);
  Tick();  // the first pick finds its cell taken
  EXPECT_EQ(guards().State[0], 69);
  EXPECT_EQ(guards().X[0], 192);
  EXPECT_EQ(guards().Y[0], 0);
  EXPECT_EQ(guards().Frame[0], 13);
  Tick(picks - 1);
  EXPECT_EQ(guards().State[0], 70);
  EXPECT_EQ(guards().X[0], column * 32);
  std::vector<int> frames;
  for (int i = 0; i < 4; ++i) {
    Tick();
    frames.push_back(guards().Frame[0]);
  }
  EXPECT_EQ(frames, (std::vector<int>{14, 15, 16, 17}));
  EXPECT_EQ(guards().State[0], 74);
  Tick();
  EXPECT_EQ(guards().State[0], 1);
  EXPECT_EQ(guards().Frame[0], 4);
  EXPECT_EQ(guards().DX[0], 4);
  EXPECT_EQ(guards().DY[0], 0);
  EXPECT_EQ(guards().X[0], column * 32);
  EXPECT_EQ(guards().Y[0], 0);
  EXPECT_EQ(app.game.play().CrushCount, 1);
}

TEST_F(GuardsTest, OnALadderTurnsToClimbTowardTheRunnerRightAboveOrBelow) {
  TestPlay(FramedStage({"", "", "...R", "...H", "...H", "...H", "...H", "...H", "...H", "...H", "...H",
                        "..GH", "BBBBBBBBBBBBBB"}));
  Tick(9);
  ASSERT_EQ(guards().X[0], 128);
  ASSERT_EQ(guards().Y[0], 348);
  ASSERT_EQ(guards().DY[0], -4);
  Tick(11);
  ASSERT_EQ(guards().Y[0], 304);
  MoveRunnerTo(128, 352);  // the foot of the ladder
  Tick();
  EXPECT_EQ(guards().Y[0], 304);
  EXPECT_EQ(guards().DY[0], 4);
  Tick();
  EXPECT_EQ(guards().Y[0], 308);
  MoveRunnerTo(128, 64);
  Tick();
  EXPECT_EQ(guards().Y[0], 308);
  EXPECT_EQ(guards().DY[0], -4);
  Tick();
  EXPECT_EQ(guards().Y[0], 304);
  MoveRunnerTo(136, 352);  // below, but not at its x
  Tick();
  EXPECT_EQ(guards().Y[0], 300);
  EXPECT_EQ(guards().DY[0], -4);
}

TEST_F(GuardsTest, ClimbingOutOfAHoleItDoesNotTurnForTheRunnerBelow) {
  TestPlay(
      FramedStage({"", "", "", "", "", "", "", "", "G...R", "BBBBBBBBBBBBBB", "", "", "BBBBBBBBBBBBBB"}));
  Tap(vkZ);
  Tick(31);
  ASSERT_EQ(guards().X[0], 128);
  ASSERT_EQ(guards().Y[0], 288);
  MoveRunnerTo(128, 352);  // right under the hole
  Tick(40);                // tick 72: climbing out
  EXPECT_EQ(guards().Y[0], 284);
  EXPECT_EQ(guards().DY[0], -4);
  Tick(7);
  EXPECT_EQ(guards().Y[0], 256);
  EXPECT_EQ(guards().DY[0], -4);
  Tick();
  EXPECT_EQ(guards().State[0], 1);
  EXPECT_EQ(guards().Y[0], 256);
  EXPECT_EQ(guards().X[0], 124);
  EXPECT_EQ(runner().DeathTicks, 0);
}

TEST_F(GuardsTest, CatchesTheRunnerSoonerFromHisRightThanFromHisLeft) {
  const struct {
    int guard_row;
    const char* guard_line;
    int ticks;  // until the catch
    int x, y;   // the guard then
  } cases[] = {
      {11, "G", 39, 188, 352},            // from the left: 4 pixels apart
      {11, "..........G", 38, 204, 352},  // from the right: 12 pixels apart
      {7, ".....G", 25, 192, 324},        // from above: 28 pixels apart
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.guard_line);
    TStageGrid grid = FramedStage({});
    for (int column = 1; column <= 14; ++column) grid.at(column, 12) = tcBrick;
    grid.at(6, 11) = tcRunnerStart;
    const std::string line(c.guard_line);
    grid.at(static_cast<int>(line.size()), c.guard_row) = tcGuardStart;
    TestPlay(grid);
    Tick(c.ticks - 1);
    EXPECT_EQ(runner().DeathTicks, 0);
    Tick();
    EXPECT_EQ(guards().X[0], c.x);
    EXPECT_EQ(guards().Y[0], c.y);
    EXPECT_EQ(runner().DeathTicks, 1);
  }
}

TEST_F(GuardsTest, ACrushedGuardCatchesNobodyUntilItMaterializes) {
  TestPlay(FramedStage({"G", "S", "", "", "", "", "", "", "", "", "", ".....R", "BBBBBBBBBBBBBB"}));
  SetGuard(0, 60, 192, 352, -1);
  Tick();
  EXPECT_EQ(guards().State[0], 61);
  EXPECT_EQ(runner().DeathTicks, 0);
  SetGuard(0, 71, -1, -1, 14);
  Tick();
  EXPECT_EQ(guards().State[0], 72);
  EXPECT_EQ(guards().Frame[0], 15);
  EXPECT_EQ(runner().DeathTicks, 1);
}

TEST_F(GuardsTest, FrozenWhileTheRunnerDies) {
  TestPlay(
      FramedStage({"", "", "R", "S......G", "", "", "", "", "", "", "", ".............G", "BBBBBBBBBBBBBB"}));
  app.GiveUp();  // give up
  Tick();
  EXPECT_EQ(guards().Y[0], 96);  // would have fallen
  EXPECT_EQ(guards().Frame[0], 18);
  EXPECT_EQ(guards().X[1], 448);
  EXPECT_EQ(guards().DX[1], -4);  // turned at the frame all the same
  Tick(5);
  EXPECT_EQ(guards().X[0], 256);
  EXPECT_EQ(guards().Y[0], 96);
  EXPECT_EQ(guards().Frame[0], 18);
  EXPECT_EQ(guards().X[1], 448);
  EXPECT_EQ(guards().Y[1], 352);
  EXPECT_EQ(guards().Frame[1], 18);
  EXPECT_EQ(guards().DX[1], -4);
}

TEST_F(GuardsTest, HangsOnABarAndDropsOffTowardTheRunnerBelow) {
  TestPlay(FramedStage(
      {"", "", "", "", "", "G---------...R", "S............S", "", "", "", "", "", "BBBBBBBBBBBBBB"}));
  std::vector<int> frames;
  for (int i = 0; i < 16; ++i) {
    Tick();
    frames.push_back(guards().Frame[0]);
  }
  // Walking while most of it is off the bar, then hanging.
  EXPECT_EQ(frames, (std::vector<int>{19, 20, 21, 19, 28, 29, 30, 31, 28, 29, 30, 31, 28, 29, 30, 31}));
  EXPECT_EQ(guards().X[0], 96);
  EXPECT_EQ(guards().Y[0], 160);
  MoveRunnerTo(448, 352);
  Tick();
  EXPECT_EQ(guards().X[0], 96);
  EXPECT_EQ(guards().Y[0], 164);
  EXPECT_EQ(guards().DY[0], 4);
  EXPECT_EQ(guards().Frame[0], 22);
  Tick();
  EXPECT_EQ(guards().Y[0], 168);
  EXPECT_EQ(guards().Frame[0], 23);
}

}  // namespace
}  // namespace bd::testing

// The runner's movement and poses, tick by tick on small stages.
#include <utility>
#include <vector>

#include "tests/play_fixture.h"

namespace bd::testing {
namespace {

using Positions = std::vector<std::pair<int, int>>;

class RunnerTest : public PlayFixture {
 protected:
  // Runs n ticks and returns where the runner was after each.
  Positions Run(int n) {
    Positions seen;
    for (int i = 0; i < n; ++i) {
      Tick();
      seen.emplace_back(runner().x, runner().y);
    }
    return seen;
  }
};

// A floor of brick with a gap at column 5; the runner starts at column 4 or 8.
TStageGrid GapStage(int runner_column) {
  TStageGrid grid = FramedStage({});
  for (int c = 1; c <= 14; ++c) grid.at(c, 12) = c == 5 ? tcEmpty : tcBrick;
  grid.at(runner_column, 11) = tcRunnerStart;
  return grid;
}

TEST_F(RunnerTest, WalkingRightDropsIntoAGapOnce24PixelsIntoIt) {
  TestPlay(GapStage(4));
  Press(vkRight);
  EXPECT_EQ(Run(8), (Positions{{136, 352},
                               {144, 352},
                               {152, 352},
                               {160, 352},  // M1 at x = 152
                               {160, 360},
                               {160, 368},
                               {160, 376},
                               {160, 384}}));
  EXPECT_EQ(runner().RunnerFrame, 22);  // falling right: 22, 23, 24, 25, 22
  EXPECT_EQ(runner().StepX, 8);
}

TEST_F(RunnerTest, WalkingLeftIsCarriedOverTheGapOnce8PixelsIntoIt) {
  TestPlay(GapStage(8));
  Press(vkLeft);
  const Positions seen = Run(13);
  // 256 -> 184 by walking, then M2 carries him on to the gap's column and he falls.
  EXPECT_EQ(seen[8], (std::pair{184, 352}));
  EXPECT_EQ(seen[9], (std::pair{176, 352}));
  EXPECT_EQ(seen[10], (std::pair{168, 352}));
  EXPECT_EQ(seen[11], (std::pair{160, 352}));
  EXPECT_EQ(seen[12], (std::pair{160, 360}));
  EXPECT_EQ(runner().RunnerFrame, 7);  // falling left from the slide on: 4, 5, 6, 7
}

TEST_F(RunnerTest, WalkingFramesCycleAndWallsStopHim) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "R.S", "BBBBBBBBBBBBBB"}));
  Press(vkRight);
  Tick();
  EXPECT_EQ(runner().RunnerFrame, 19);
  Tick();
  EXPECT_EQ(runner().RunnerFrame, 20);
  Tick();
  EXPECT_EQ(runner().RunnerFrame, 21);
  Tick();
  EXPECT_EQ(runner().RunnerFrame, 19);
  EXPECT_EQ(runner().x, 64);
  Tick(3);
  EXPECT_EQ(runner().x, 64);  // the solid block at column 3 blocks him
  Release(vkRight);
  Press(vkLeft);
  Tick();
  EXPECT_EQ(runner().RunnerFrame, 1);
  EXPECT_EQ(runner().StepX, -8);
}

// A ladder at column 5 from row 9 down to row 12, with floor below.
TStageGrid LadderStage() {
  return FramedStage({"", "", "", "", "", "", "", "", "", "....H", "....H", "....H", "....R"});
}

TEST_F(RunnerTest, ClimbsUpOntoTheLadderTopAndDownAgain) {
  TStageGrid grid = LadderStage();
  grid.at(5, 12) = tcLadder;
  grid.at(6, 12) = tcRunnerStart;
  TestPlay(grid);
  Press(vkLeft);
  Tick(4);
  Release(vkLeft);
  ASSERT_EQ(runner().x, 160);
  Press(vkUp);
  const Positions up = Run(18);
  EXPECT_EQ(up[0], (std::pair{160, 376}));
  EXPECT_EQ(up[15], (std::pair{160, 256}));  // standing on top of the ladder
  EXPECT_EQ(up[17], (std::pair{160, 256}));  // and no higher
  EXPECT_EQ(runner().RunnerFrame, 0);
  Release(vkUp);
  Press(vkDown);
  Tick();
  EXPECT_EQ(runner().y, 264);
  EXPECT_EQ(runner().StepY, 8);
}

TEST_F(RunnerTest, FinishesAStepBeforeClimbingAndAClimbBeforeWalking) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "....H", "....H", "....H", "...RH"}));
  Press(vkRight);
  Tick(2);      // x = 144: half-way to the ladder
  Press(vkUp);  // up wins over right, but he walks on to the cell edge first
  EXPECT_EQ(Run(3), (Positions{{152, 384}, {160, 384}, {160, 376}}));
  EXPECT_EQ(runner().RunnerFrame, 8);
  Release(vkUp);
  // Part-way up, right finishes the climb upward before he walks on.
  EXPECT_EQ(Run(4), (Positions{{160, 368}, {160, 360}, {160, 352}, {168, 352}}));
}

TEST_F(RunnerTest, HangsOnBarsAndDropsFromThem) {
  // A bar from column 3 to 8 on row 8, reached from a brick ledge at column 2.
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", ".R------", ".B"}));
  Press(vkRight);
  Tick(2);
  EXPECT_EQ(runner().RunnerFrame, 20);  // still walking while most of him is off the bar
  Tick(1);
  EXPECT_EQ(runner().RunnerFrame, 30);
  Tick(3);
  EXPECT_EQ(runner().RunnerFrame, 33);
  EXPECT_EQ(runner().x, 112);
  Release(vkRight);
  Tick(5);
  EXPECT_EQ(runner().y, 256);
  EXPECT_EQ(runner().RunnerFrame, 33);  // a hanging frame stays while he waits
  Press(vkLeft);
  Tick();
  EXPECT_EQ(runner().RunnerFrame, 12);
  Release(vkLeft);
  Press(vkDown);
  Tick(2);  // down first carries him on to the cell edge
  EXPECT_EQ(runner().x, 96);
  EXPECT_EQ(runner().y, 264);
  Release(vkDown);
  Tick();
  EXPECT_EQ(runner().y, 272);  // off the bar, he falls
  EXPECT_EQ(runner().RunnerFrame, 4);
}

TEST_F(RunnerTest, FallingOntoABarHangsFacingHisLastStep) {
  TestPlay(FramedStage({"R", "", "", "", "-"}));
  Tick(16);
  EXPECT_EQ(runner().y, 128);
  EXPECT_EQ(runner().RunnerFrame, 7);
  Tick();
  EXPECT_EQ(runner().y, 128);
  EXPECT_EQ(runner().RunnerFrame, 12);  // StepX is 0: he faces left
}

TEST_F(RunnerTest, StandingStillHeLooksAboutAfter20TicksThenEvery10) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "", "R", "BB"}));
  std::vector<int> frames;
  for (int i = 0; i < 41; ++i) {
    Tick();
    frames.push_back(runner().RunnerFrame);
  }
  EXPECT_EQ(frames[0], 0);  // StepX 0 at the start: facing left
  EXPECT_EQ(frames[18], 0);
  EXPECT_EQ(frames[19], 18);  // IdleTicks 20
  EXPECT_EQ(frames[28], 18);
  EXPECT_EQ(frames[29], 0);  // IdleTicks 30, set back to 20
  EXPECT_EQ(app.game.play().runner.IdleTicks, 21);
  EXPECT_EQ(frames[39], 18);
  Press(vkRight);
  Tick();
  EXPECT_EQ(runner().IdleTicks, 0);
}

TEST_F(RunnerTest, StandsOnAGuardsHead) {
  TestPlay(FramedStage({"", "", "", "", "", "", "", "", "", "", "R", "G", "B"}));
  Tick(5);
  EXPECT_EQ(runner().y, 320);
  EditGame(app.game, [&](TGameState& s) { s.play.guards.State[0] = 52; });  // a crushed guard holds nobody up
  Tick();
  EXPECT_EQ(runner().y, 328);
}

TEST_F(RunnerTest, ClimbsOutOverTheTopIntoTheRowAboveAndStopsThere) {
  TestPlay(FramedStage({"H", "H", "HR", "BB"}));
  Press(vkLeft);
  Tick(4);
  Release(vkLeft);
  Press(vkUp);
  Tick(12);
  EXPECT_EQ(runner().y, -32);
  Tick(3);
  EXPECT_EQ(runner().y, -32);  // the virtual row is no ladder; nothing above it
  EXPECT_EQ(app.game.play().phase, spCollect);
  Release(vkUp);
  Tick(3);
  EXPECT_EQ(runner().y, -32);  // the ladder top holds him
}

}  // namespace
}  // namespace bd::testing

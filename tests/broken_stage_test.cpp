// Stages no editor can make (no frame, codes 10..15, a guard start in every
// cell) played for thousands of ticks with random keys. Under the asan
// preset, bounds-checked arrays and the sanitizers catch any stray access;
// here the runner and the holes must also stay on the field.
#include "tests/play_fixture.h"

namespace bd::testing {
namespace {

// A small generator of our own, so the test replays the same way everywhere.
struct TestRandom {
  uint32_t state;
  uint32_t Next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
};

constexpr uint16_t kKeys[] = {vkLeft, vkUp, vkRight, vkDown, vkZ, vkX};

class BrokenStageTest : public PlayFixture {
 protected:
  void PlayWithRandomKeys(const TStageGrid& grid, uint32_t seed, int ticks) {
    TestPlay(grid);
    TestRandom random{seed};
    for (int t = 0; t < ticks; ++t) {
      // Every few ticks he lets go of everything and holds one key, now and
      // then a second one on top.
      const uint32_t r = random.Next();
      if (r % 5 == 0) {
        for (const uint16_t key : kKeys) Release(key);
        Press(kKeys[(r >> 3) % 6]);
      } else if (r % 11 == 0) {
        Press(kKeys[(r >> 3) % 6]);
      }
      Tick();
      ASSERT_GE(runner().x, 0) << t;
      ASSERT_LE(runner().x, 480) << t;
      ASSERT_GE(runner().y, -32) << t;
      ASSERT_LE(runner().y, 416) << t;
      for (int i = 0; i < kHoleSlots; ++i) {
        if (app.game.play().holes.timer[i] == 0) continue;
        ASSERT_TRUE(app.game.play().holes.column[i] >= 0 && app.game.play().holes.column[i] < 16) << t;
        ASSERT_TRUE(app.game.play().holes.row[i] >= 0 && app.game.play().holes.row[i] < 14) << t;
      }
      if (runner().DeathTicks == kDeathTicksOver) TestPlay(grid);  // keep playing
    }
  }
};

TEST_F(BrokenStageTest, RandomCodesWithoutAFrame) {
  int digs = 0;
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    TestRandom random{seed * 7919u};
    // Brick floors every third row and a ladder, so that he roams and digs,
    // with a quarter of the cells, frame included, any code 0..15.
    TStageGrid grid;
    for (int row = 0; row < 14; ++row)
      for (int column = 0; column < 16; ++column)
        grid.at(column, row) = column == 7 ? tcLadder : row % 3 == 2 ? tcBrick : tcEmpty;
    for (uint8_t& cell : grid.cells)
      if (random.Next() % 4 == 0) cell = static_cast<uint8_t>(random.Next() % 16);
    headless.audio.waves.clear();
    for (int attempt = 0; attempt < 10; ++attempt) {
      TStageGrid from_here = grid;
      from_here.at(random.Next() % 16, random.Next() % 14) = tcRunnerStart;
      PlayWithRandomKeys(from_here, seed * 10 + attempt, 300);
    }
    digs += Waves("dig.wav");
  }
  EXPECT_GT(digs, 20);  // the runs reached the digging rules
}

TEST_F(BrokenStageTest, EveryCellAGuardStartOrOneCodeEverywhere) {
  TStageGrid guards;
  guards.cells.fill(tcGuardStart);
  TestPlay(guards);
  EXPECT_EQ(app.game.play().guard_count, kListCapacity);
  EXPECT_EQ(app.game.play().guards.State[kListCapacity - 1], 1);
  EXPECT_EQ(Field(15, 13), tcEmpty);  // starts past the 182nd are empty cells
  PlayWithRandomKeys(guards, 11, 500);

  for (uint8_t code = 0; code < 16; ++code) {
    SCOPED_TRACE(code);
    TStageGrid grid;
    grid.cells.fill(code);
    PlayWithRandomKeys(grid, code, 400);
  }
}

TEST_F(BrokenStageTest, ARunnerOnTheEdgeColumnsIsWalledIn) {
  // No frame at all: the field's edges hold him like solid block.
  TStageGrid grid;
  grid.cells.fill(tcEmpty);
  for (int c = 0; c < 16; ++c) grid.at(c, 13) = tcBrick;
  grid.at(0, 12) = tcRunnerStart;
  TestPlay(grid);
  Press(vkLeft);
  Tick(3);
  EXPECT_EQ(runner().x, 0);
  Release(vkLeft);
  Press(vkZ);  // nothing to dig beyond the edge
  Tick();
  EXPECT_EQ(app.game.play().holes.timer[0], 0);
  Release(vkZ);
  Press(vkRight);
  Tick(70);
  EXPECT_EQ(runner().x, 480);
  EXPECT_EQ(runner().y, 384);
}

}  // namespace
}  // namespace bd::testing

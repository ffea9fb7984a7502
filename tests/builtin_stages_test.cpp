#include "stage/builtin_stages.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "stage/stage_grid.h"

namespace bd {
namespace {

// What each built-in stage holds inside its frame, stage 1 first.
struct TComposition {
  int runner_column, runner_row;
  int guards, gold, ladders, hidden_ladders, bars, bricks, trap_bricks, solid_blocks;
};

constexpr TComposition kCompositions[kBuiltInStageCount] = {
    {9, 11, 2, 8, 21, 3, 7, 57, 0, 1},    {2, 11, 2, 12, 19, 3, 0, 55, 0, 15},
    {10, 11, 3, 7, 25, 6, 3, 69, 0, 12},  {6, 7, 3, 17, 26, 2, 6, 61, 7, 0},
    {5, 11, 2, 13, 18, 2, 8, 50, 0, 14},  {4, 11, 2, 34, 23, 3, 0, 55, 0, 17},
    {7, 11, 3, 28, 30, 4, 0, 60, 2, 6},   {2, 11, 2, 16, 25, 2, 9, 33, 0, 31},
    {6, 11, 3, 17, 21, 4, 17, 56, 7, 12}, {6, 12, 5, 54, 54, 1, 0, 67, 0, 0},
    {3, 11, 2, 19, 23, 3, 3, 41, 4, 33},  {2, 12, 2, 24, 22, 3, 8, 48, 0, 22},
    {5, 0, 10, 6, 15, 21, 2, 10, 0, 86},  {1, 12, 4, 24, 27, 15, 0, 45, 0, 1},
    {6, 12, 2, 14, 24, 10, 15, 0, 0, 20}, {1, 12, 0, 3, 1, 40, 0, 0, 0, 0},
};

class BuiltInStage : public testing::TestWithParam<int> {};

TEST_P(BuiltInStage, KeepsTheFrameAndHoldsExactlyItsComposition) {
  const int stage = GetParam();
  const TStageGrid grid = UnpackStage(BuiltInStages[stage]);
  const TComposition& want = kCompositions[stage];

  for (int row = 0; row < kStageRows; ++row) {
    EXPECT_EQ(grid.at(0, row), tcSolid) << "left frame, row " << row;
    EXPECT_EQ(grid.at(kStageColumns - 1, row), tcSolid) << "right frame, row " << row;
  }
  for (int column = 0; column < kStageColumns; ++column)
    EXPECT_EQ(grid.at(column, kStageRows - 1), tcSolid) << "floor, column " << column;

  std::array<int, 10> counts{};
  for (int row = 0; row < kStageRows - 1; ++row) {
    for (int column = 1; column < kStageColumns - 1; ++column) {
      const uint8_t code = grid.at(column, row);
      ASSERT_LE(code, tcRunnerStart) << "cell (" << column << "," << row << ")";
      ++counts[code];
      if (code == tcRunnerStart) {
        EXPECT_EQ(column, want.runner_column);
        EXPECT_EQ(row, want.runner_row);
      }
    }
  }
  EXPECT_EQ(counts[tcRunnerStart], 1);
  EXPECT_EQ(counts[tcGuardStart], want.guards);
  EXPECT_EQ(counts[tcGold], want.gold);
  EXPECT_EQ(counts[tcLadder], want.ladders);
  EXPECT_EQ(counts[tcHiddenLadder], want.hidden_ladders);
  EXPECT_EQ(counts[tcBar], want.bars);
  EXPECT_EQ(counts[tcBrick], want.bricks);
  EXPECT_EQ(counts[tcTrapBrick], want.trap_bricks);
  EXPECT_EQ(counts[tcSolid], want.solid_blocks);
  int listed = 0;
  for (int code = tcBrick; code <= tcRunnerStart; ++code) listed += counts[code];
  EXPECT_EQ(counts[tcEmpty], 182 - listed);
}

INSTANTIATE_TEST_SUITE_P(Stages, BuiltInStage, testing::Range(0, kBuiltInStageCount),
                         [](const testing::TestParamInfo<int>& info) {
                           const int number = info.param + 1;
                           return std::string(number < 10 ? "Stage0" : "Stage") + std::to_string(number);
                         });

// The ending stage's hidden ladders spell END in rows 2 to 7, columns 2 to 13.
TEST(EndingStage, HiddenLaddersSpellEnd) {
  constexpr const char* kEnd[] = {
      "hhh.h..h.hh.",  //
      "h...hh.h.h.h",  //
      "hhh.hh.h.h.h",  //
      "h...h.hh.h.h",  //
      "h...h.hh.h.h",  //
      "hhh.h..h.hh.",  //
  };
  const TStageGrid grid = UnpackStage(BuiltInStages[kBuiltInStageCount - 1]);
  for (int row = 0; row < kStageRows - 1; ++row) {
    for (int column = 1; column < kStageColumns - 1; ++column) {
      const bool in_word =
          row >= 2 && row <= 7 && column >= 2 && column <= 13 && kEnd[row - 2][column - 2] == 'h';
      EXPECT_EQ(grid.at(column, row) == tcHiddenLadder, in_word) << "cell (" << column << "," << row << ")";
    }
  }
}

}  // namespace
}  // namespace bd

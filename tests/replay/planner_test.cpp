// The stage designers' planner: it must find plans the real rules accept,
// and read stage text strictly.
#include "tools/planner/planner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tools/planner/stage_text.h"

namespace bd::planner {
namespace {

// Gold on the upper floor and below it, reached by digging down; a guard
// waits below and a ladder leads back up.
constexpr const char* kSmallStage =
    "# a test stage\n"
    "S......h.......S\n"
    "S......h.......S\n"
    "S......h.......S\n"
    "S......h.......S\n"
    "S......h.......S\n"
    "S......h.......S\n"
    "S......h.......S\n"
    "S.$....HR....$.S\n"
    "SBBBBBBBBBBHBBBS\n"
    "S..........H...S\n"
    "S..........H...S\n"
    "S..$..G....H...S\n"
    "SBBBBBBBBBBBBBBS\n"
    "SSSSSSSSSSSSSSSS\n";

TEST(Planner, FindsAPlanThatTheRulesReplay) {
  std::string error;
  const auto grid = ParseStageText(kSmallStage, error);
  ASSERT_TRUE(grid) << error;
  std::ostringstream log;
  TSearchOptions options;
  options.beam = 100;
  const auto plan = FindPlan(*grid, options, log);
  ASSERT_TRUE(plan) << log.str();
  const TVerdict verdict = PlayScript(*grid, options.seed, plan->events, plan->clear_tick + 1);
  EXPECT_TRUE(verdict.cleared);
  EXPECT_EQ(verdict.tick, plan->clear_tick);
  // The written script reads back as the same events.
  EXPECT_EQ(replay::ParseKeyScript(ScriptText(plan->events, "test")), plan->events);
}

// A gap in the bottom row under the runner: he falls into it and is walled
// in, so the gold cannot be reached. The search reads the field below the
// last row as the rules do (solid), never past its end.
TEST(Planner, AGapInTheFloorIsSearchedInsideTheField) {
  std::string text;
  for (int row = 0; row < 12; ++row) text += "S..............S\n";
  text += "S$.....R.......S\nSSSSSSS.SSSSSSSS\n";
  std::string error;
  const auto grid = ParseStageText(text, error);
  ASSERT_TRUE(grid) << error;
  std::ostringstream log;
  TSearchOptions options;
  options.beam = 20;
  EXPECT_FALSE(FindPlan(*grid, options, log));
}

TEST(Planner, StageTextMustBeFourteenRowsOfSixteenKnownCells) {
  std::string error;
  std::string text = kSmallStage;
  EXPECT_FALSE(ParseStageText(text.substr(0, text.find("SSSSSSSSSSSSSSSS")), error));  // 13 rows
  EXPECT_NE(error.find("13 rows"), std::string::npos) << error;
  text[text.find("$")] = 'x';
  EXPECT_FALSE(ParseStageText(text, error));
  EXPECT_NE(error.find("row 7"), std::string::npos) << error;
}

}  // namespace
}  // namespace bd::planner

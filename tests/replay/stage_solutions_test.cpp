// Every built-in stage but the ending can be cleared: its recorded key
// script, played by the replay tool exactly as on the command line, reaches
// the tally with the real rules and the guards.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>

#include "game/game.h"
#include "game/play_state.h"
#include "stage/builtin_stages.h"
#include "tools/replay/replay.h"

namespace bd::replay {
namespace {

// Reads the trace line by line as it is written, keeping only the first
// step that shows the tally.
class TallyWatch : public std::streambuf {
 public:
  int tally_tick = 0;
  int lines = 0;

 protected:
  int overflow(int c) override {
    if (c == '\n') {
      ++lines;
      if (tally_tick == 0 && line_.find("\"phase\":\"tally\"") != std::string::npos)
        tally_tick = std::stoi(line_.substr(line_.find(':') + 1));
      line_.clear();
    } else if (c != traits_type::eof()) {
      line_ += static_cast<char>(c);
    }
    return c;
  }

 private:
  std::string line_;
};

std::smatch Match(const std::string& text, const std::regex& pattern) {
  std::smatch match;
  std::regex_search(text, match, pattern);
  return match;
}

class StageSolution : public testing::TestWithParam<int> {
 protected:
  std::string KeysPath() const {
    const int number = GetParam();
    return std::string(BD_SOLUTIONS_DIR) + "/" + (number < 10 ? "stage0" : "stage") + std::to_string(number) +
           ".keys";
  }
};

TEST_P(StageSolution, ReachesTheTally) {
  const int number = GetParam();
  const std::string name = (number < 10 ? "stage0" : "stage") + std::to_string(number) + ".keys";
  TallyWatch watch;
  std::ostream trace(&watch);
  std::ostringstream errors;
  const int status = ReplayMain({"--builtin", std::to_string(number - 1), "--seed", "1", "--input",
                                 std::string(BD_SOLUTIONS_DIR) + "/" + name, "--ticks", "20000", "--trace"},
                                trace, errors);
  ASSERT_EQ(status, 0) << errors.str();
  EXPECT_EQ(watch.lines, 20000);
  EXPECT_GT(watch.tally_tick, kBannerTicks) << name << " does not clear its stage";
  // The heading records the tick it cleared on when it was made: the rules
  // still play it out to the very tick.
  std::ifstream file(std::string(BD_SOLUTIONS_DIR) + "/" + name);
  std::string heading;
  std::getline(file, heading);
  const std::smatch recorded = Match(heading, std::regex("tally begins at tick ([0-9]+)"));
  ASSERT_FALSE(recorded.empty()) << heading;
  EXPECT_EQ(watch.tally_tick, std::stoi(recorded[1]));
}

// The rules with no painter attached, given each tick the same input as the
// painted game, keep exactly the same state through a whole solution.
TEST_P(StageSolution, PlaysTheSameWithoutAPainter) {
  TGame headless_game;  // no painter
  bool started = false;
  int first_difference = 0;
  const auto twin_tick = [&](TApp& app, platform::HeadlessServices&, int tick) {
    if (!started) headless_game.Restore(app.game.state());
    started = true;
    headless_game.PlayTick(MergeInput(app.keys(), app.joy, app.sound.MusicOn()));
    app.PlayTick();
    if (first_difference == 0 && !(headless_game.state() == app.game.state())) first_difference = tick;
  };
  std::ifstream keys(KeysPath());
  const std::string script((std::istreambuf_iterator<char>(keys)), std::istreambuf_iterator<char>());
  std::ostringstream out, errors;
  const int status = RunReplay(
      ParseArguments({"--builtin", std::to_string(GetParam() - 1), "--seed", "1", "--ticks", "6000"}),
      ParseKeyScript(script), out, errors, twin_tick);
  ASSERT_EQ(status, 0) << errors.str();
  EXPECT_TRUE(started);
  EXPECT_EQ(first_difference, 0) << "the states part at tick " << first_difference;
  EXPECT_EQ(headless_game.play().phase, spTally);
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, StageSolution, testing::Range(1, kBuiltInStageCount),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(info.param < 10 ? "Stage0" : "Stage") +
                                  std::to_string(info.param);
                         });

}  // namespace
}  // namespace bd::replay

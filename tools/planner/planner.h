// A beam search over the runner's moves with the real rules, guards and
// holes included, looking for a way to take every gold and climb out.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "stage/stage_grid.h"
#include "tools/replay/replay.h"

namespace bd::planner {

using replay::TKeyEvent;

struct TSearchOptions {
  uint32_t seed = 1;
  int beam = 400;                  // states kept after each move
  int max_ticks = 20000;           // a plan may not take longer
  int guard_penalty = 40;          // score lost for a free guard close by
  int patience = 600;              // moves without gold taken (or the escape begun) before giving up
  bool verbose = false;            // a progress line after every move
  std::vector<TKeyEvent> opening;  // played first; the search goes on from its last tick
};

struct TPlan {
  std::vector<TKeyEvent> events;
  int clear_tick = 0;  // the tick that reached the tally
};

// The search; progress lines go to log. Nothing when no plan was found.
std::optional<TPlan> FindPlan(const TStageGrid& grid, const TSearchOptions& options, std::ostream& log);

// A key script burrow-dash-replay reads.
std::string ScriptText(const std::vector<TKeyEvent>& events, const std::string& heading);

// The stage played from its start with the key events, as burrow-dash-replay
// plays a built-in stage.
struct TVerdict {
  bool cleared = false;
  int tick = 0;  // of the tally, of the death, or the last one played
  bool died = false;
  int gold_left = 0;
};
TVerdict PlayScript(const TStageGrid& grid, uint32_t seed, const std::vector<TKeyEvent>& events,
                    int max_ticks);

}  // namespace bd::planner

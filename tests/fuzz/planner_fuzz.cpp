// The planner's search on any stage: the first 112 bytes are one packed
// stage (broken frames, holes in the floor, codes 10..15 and all). A short
// search must stay inside every grid and list, and a plan it finds must be
// one the rules replay. Built by the fuzz preset.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "stage/stage_grid.h"
#include "tools/planner/planner.h"
#include "tools/planner/route_distance.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bd::TPackedStage packed;
  std::memcpy(packed.bytes.data(), data, std::min(size, packed.bytes.size()));
  const bd::TStageGrid grid = bd::UnpackStage(packed);

  bd::planner::TSearchOptions options;
  options.beam = 4;
  options.max_ticks = 400;
  options.patience = 40;
  std::ostringstream log;
  const auto plan = bd::planner::FindPlan(grid, options, log);
  if (plan) {
    const bd::planner::TVerdict verdict =
        bd::planner::PlayScript(grid, options.seed, plan->events, plan->clear_tick + 1);
    Check(verdict.cleared && verdict.tick == plan->clear_tick);
  }
  return 0;
}

// How far the runner is from his next goal, on a rough map of where he can
// go: walking along floors, climbing ladders, hanging on bars, falling, and
// digging down through brick. Guards are left out; the search meets them.
#pragma once

#include <optional>

#include "game/play_state.h"

namespace bd::planner {

// Cells to the nearest gold still lying, or in the escape to the top of a
// ladder in row 0. Nothing when some gold or the way out cannot be reached.
std::optional<int> RouteDistance(const TPlayState& play);

}  // namespace bd::planner

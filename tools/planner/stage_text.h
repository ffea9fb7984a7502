// A stage written as text (stage/stages/*.txt): '#' lines are notes, then
// 14 rows of 16 cells in the legend of stage/tile_chars.h.
#pragma once

#include <optional>
#include <string>

#include "stage/stage_grid.h"

namespace bd::planner {

// The grid, or nothing with the reason in error.
std::optional<TStageGrid> ParseStageText(const std::string& text, std::string& error);

}  // namespace bd::planner

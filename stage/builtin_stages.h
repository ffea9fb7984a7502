// The sixteen stages that ship with the game, packed.
#pragma once

#include <array>

#include "stage/stage_grid.h"

namespace bd {

inline constexpr int kBuiltInStageCount = 16;

using TBuiltInStages = std::array<TPackedStage, kBuiltInStageCount>;

// Never written; stage k is shown to the player as stage k + 1.
extern const TBuiltInStages BuiltInStages;

}  // namespace bd

// The editor's six stages, edited in place and played by test play and Play Edit.
#pragma once

#include <array>

#include "stage/stage_grid.h"

namespace bd {

inline constexpr int kEditStageCount = 6;

// One block of 6 x 224 bytes; stage k is shown to the user as stage k + 1.
using TEditSet = std::array<TStageGrid, kEditStageCount>;

static_assert(sizeof(TEditSet) == kEditStageCount * kStageColumns * kStageRows);

void ClearAll(TEditSet& set);

}  // namespace bd

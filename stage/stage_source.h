// Which grid a stage index names: the editor's stage itself in test play and
// in a Play Edit game, otherwise a built-in stage unpacked into scratch space.
#pragma once

#include "stage/builtin_stages.h"
#include "stage/edit_set.h"

namespace bd {

// Null when the index names no stage of the chosen set.
const TStageGrid* SourceGridForStage(int stage_index, bool from_edit_set, const TEditSet& edit_set,
                                     TStageGrid& scratch);

}  // namespace bd

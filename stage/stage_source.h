// Which grid a stage index names: the editor's stage itself in test play and
// in a Play Edit game, otherwise a built-in stage unpacked into scratch space.
#pragma once

#include "stage/builtin_stages.h"
#include "stage/edit_set.h"

namespace bd {

// From edited_set when given, else from the built-in table. Null when the
// index names no stage of that set.
const TStageGrid* SourceGridForStage(int stage_index, const TEditSet* edited_set, TStageGrid& scratch);

}  // namespace bd
